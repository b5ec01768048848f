#pragma once
// Every window message of the program's own, in one place so that no two
// share a number. Only the main window's three carry data in their
// parameters; the worker messages carry none: the progress window reads the
// counters from the worker object itself.

#include <cstdint>

// To the main window.
inline constexpr uint32_t WM_TRAYNOTIFY = 10001;     // notification icon: icon id 150, mouse message
inline constexpr uint32_t WM_SPLITTERMOVED = 10002;  // sent: 0, signed distance in pixels
inline constexpr uint32_t WM_SHOWPAGE = 10035;       // sent: page id, 0

// To the progress window.
inline constexpr uint32_t WM_WORKER_FINISHED = 10070;  // posted by the worker: close in 300 ms
inline constexpr uint32_t WM_WORKER_STOP = 10080;      // sent by the exit sequence: set the stop flag
inline constexpr uint32_t WM_WORKER_PAUSE = 10085;     // sent by the exit sequence: hold the worker
inline constexpr uint32_t WM_WORKER_RESUME = 10090;    // sent by the exit sequence: let it go on
inline constexpr uint32_t WM_WORKER_STARTED = 10096;   // sent by the worker: show its status text
inline constexpr uint32_t WM_WORKER_PROGRESS = 10098;  // sent or posted by the worker: show its counters

// To a results or folder list, from another thread: lParam points to a
// std::function<void()> that the list's own thread runs before the sender
// goes on. It lets a worker hand a whole refill to the user-interface thread
// in one synchronous message instead of one per cell.
inline constexpr uint32_t WM_LIST_RUNTASK = 10100;

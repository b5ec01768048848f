#pragma once
// Every window message of the program's own, in one place so that no two
// share a number. Only the main window's three carry data in their
// parameters; the worker messages carry none: the progress window reads the
// counters from the worker object itself.
//
//   number  to                from                        wParam, lParam
//   10001   main window       notification icon           icon id 150, mouse message
//   10002   main window       splitter bar, sent          0, signed distance in pixels
//   10003   main window       a second start, posted      0, 0: show yourself
//   10004   main window       a scheduled run, posted     0, 0: it ended
//   10005   main window       itself, posted              0, 0: open the asked search
//   10035   main window       navigation tree, sent       page id, 0
//   10070   progress window   worker, posted              close in 300 ms
//   10080   progress window   exit sequence, sent         set the worker's stop flag
//   10085   progress window   exit sequence, sent         hold the worker at its gate
//   10090   progress window   exit sequence, sent         let it go on
//   10096   progress window   worker, sent                show its status text
//   10098   progress window   worker, sent or posted      show its counters
//   10100   any of its windows another thread, sent        0, std::function<void()>*
//                                                          (run only when this process
//                                                          handed it over)

#include <cstdint>

inline constexpr uint32_t WM_TRAYNOTIFY = 10001;
inline constexpr uint32_t WM_SPLITTERMOVED = 10002;
// From another process: the running instance decides, from its own settings,
// whether to ask the password before it shows itself.
inline constexpr uint32_t WM_SECONDSTART = 10003;
// From the worker of a saved search's run by itself, posted: the run ended.
inline constexpr uint32_t WM_SCHEDULED_RUN_DONE = 10004;
// Posted to itself: open the saved search that was asked for (a click on
// the notification, a start with /search).
inline constexpr uint32_t WM_OPENSEARCH = 10005;
inline constexpr uint32_t WM_SHOWPAGE = 10035;

inline constexpr uint32_t WM_WORKER_FINISHED = 10070;
inline constexpr uint32_t WM_WORKER_STOP = 10080;
inline constexpr uint32_t WM_WORKER_PAUSE = 10085;
inline constexpr uint32_t WM_WORKER_RESUME = 10090;
inline constexpr uint32_t WM_WORKER_STARTED = 10096;
inline constexpr uint32_t WM_WORKER_PROGRESS = 10098;

// The window's own thread runs the task before the sender goes on
// (fw::RunOnWindowThread).
inline constexpr uint32_t WM_RUN_TASK = 10100;

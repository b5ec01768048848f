#pragma once
// Window messages of our own that the main window receives, and the three
// requests its exit sequence sends to the progress window.

#include <cstdint>

// The notification icon's mouse events: wParam the icon id, lParam the mouse
// message.
inline constexpr uint32_t WM_TRAYNOTIFY = 10001;
// End of a splitter drag: wParam 0, lParam the signed distance in pixels.
inline constexpr uint32_t WM_SPLITTERMOVED = 10002;
// The navigation tree asks to show a page: wParam the page id, lParam 0.
// The answer: 0 allows the change, 1 refuses it.
inline constexpr uint32_t WM_SHOWPAGE = 10035;

// The progress window's requests (no parameters).
inline constexpr uint32_t WM_WORKER_STOP = 10080;
inline constexpr uint32_t WM_WORKER_PAUSE = 10085;
inline constexpr uint32_t WM_WORKER_RESUME = 10090;

#pragma once
// What a window needs to draw itself at its own DPI. The program declares
// per-monitor awareness and still starts on Windows 7 and 8: every function
// newer than Windows 7 is looked up at run time, and without it the system's
// DPI (which every window then has) serves the old way.

#include <windows.h>

namespace fw {

// The DPI of the window's monitor; the system's for a null window, or where
// windows have no DPI of their own.
int DpiOf(HWND window);
// GetSystemMetrics for a window of this DPI.
int SystemMetricForDpi(int index, int dpi);
// The side of a small icon (caption, notification area, boxes) at this DPI.
int SmallIconSize(int dpi);
// An icon of the program's resources, `size` pixels square, from the frame
// of the icon file that fits best. The caller owns it.
HICON LoadIconOfSize(int id, int size);
// The system's font for messages at this DPI. The caller owns it.
HFONT CreateMessageFont(int dpi);
// Every column of every list view among the window's children, scaled from
// one DPI to another: the columns keep their proportions.
void ScaleListColumns(HWND parent, int fromDpi, int toDpi);

}  // namespace fw

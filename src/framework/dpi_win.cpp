#include "framework/dpi_win.h"

#include <commctrl.h>

#include <cstring>

#include "framework/dpi.h"

namespace fw {

namespace {

// A function of user32 that older systems lack, or null there.
template <class Function>
Function LookUp(const char* name) {
  Function function = nullptr;
  if (HMODULE user32 = ::GetModuleHandleA("user32.dll")) {
    if (FARPROC found = ::GetProcAddress(user32, name)) {
      static_assert(sizeof function == sizeof found);
      std::memcpy(&function, &found, sizeof function);
    }
  }
  return function;
}

// Windows 10 1607 and later.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : kDesignDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

BOOL CALLBACK ScaleColumnsOf(HWND child, LPARAM lParam) {
  const auto* dpis = reinterpret_cast<const int*>(lParam);
  char className[32] = {};
  ::GetClassNameA(child, className, sizeof className);
  if (std::strcmp(className, WC_LISTVIEWA) != 0) return TRUE;
  HWND header = reinterpret_cast<HWND>(::SendMessageA(child, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < columns; ++column) {
    const int width = static_cast<int>(::SendMessageA(child, LVM_GETCOLUMNWIDTH, column, 0));
    ::SendMessageA(child, LVM_SETCOLUMNWIDTH, column,
                   MAKELPARAM(ScaleForDpi(width, dpis[1], dpis[0]), 0));
  }
  return TRUE;
}

}  // namespace

int DpiOf(HWND window) {
  static const auto getDpiForWindow = LookUp<GetDpiForWindowFn>("GetDpiForWindow");
  if (window && getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi = LookUp<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return ScaleForDpi(::GetSystemMetrics(index), dpi, SystemDpi());
}

int SmallIconSize(int dpi) { return SystemMetricForDpi(SM_CXSMICON, dpi); }

HICON LoadIconOfSize(int id, int size) {
  return static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

HFONT CreateMessageFont(int dpi) {
  static const auto forDpi = LookUp<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (forDpi &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
  }
  // The system's metrics are for the system's DPI.
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  metrics.lfMessageFont.lfHeight = ScaleForDpi(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

void ScaleListColumns(HWND parent, int fromDpi, int toDpi) {
  if (fromDpi == toDpi) return;
  int dpis[2] = {fromDpi, toDpi};
  ::EnumChildWindows(parent, ScaleColumnsOf, reinterpret_cast<LPARAM>(dpis));
}

}  // namespace fw

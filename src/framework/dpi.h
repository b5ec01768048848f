#pragma once
// Every pixel figure of the design is drawn for a screen of 96 DPI: the
// window that shows it scales it by its own DPI, through this one helper.
// Portable, so that the layout arithmetic that takes a DPI is tested natively.

#include <string_view>

inline constexpr int kDesignDpi = 96;

// `pixels` measured at `fromDpi` (the design's 96 unless told), at `dpi`:
// rounded half away from zero, as Windows scales its own metrics.
int ScaleForDpi(int pixels, int dpi, int fromDpi = kDesignDpi);

// How a program is scaled: not at all (the system stretches its bitmap), at
// the system's DPI, per monitor (v1: the program scales its windows, but
// dialogs and their fonts stay at the system's DPI), or per monitor v2
// (dialogs and their fonts follow the monitor too).
enum class DpiAwareness { kUnaware, kSystem, kPerMonitor, kPerMonitorV2 };

struct WindowsRelease {
  int major = 0;
  int minor = 0;
  int build = 0;
};

// The awareness Windows gives a program whose manifest says `dpiAware` and
// `dpiAwareness` (empty when absent), as Windows reads them: from Windows 10
// 1607 the first value of `dpiAwareness` it knows ("PerMonitorV2" only from
// 1703), before that `dpiAware` alone, whose "true/pm" and "per monitor" are
// per monitor from Windows 8.1 on. Windows is the only judge of this; the
// function lets the program's own manifest be tried against every release.
DpiAwareness AwarenessFromManifest(std::string_view dpiAware, std::string_view dpiAwareness,
                                   WindowsRelease release);

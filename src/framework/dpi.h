#pragma once
// Every pixel figure of the design is drawn for a screen of 96 DPI: the
// window that shows it scales it by its own DPI, through this one helper.
// Portable, so that the layout arithmetic that takes a DPI is tested natively.

inline constexpr int kDesignDpi = 96;

// `pixels` measured at `fromDpi` (the design's 96 unless told), at `dpi`:
// rounded half away from zero, as Windows scales its own metrics.
int ScaleForDpi(int pixels, int dpi, int fromDpi = kDesignDpi);

#include "framework/dpi.h"

int ScaleForDpi(int pixels, int dpi, int fromDpi) {
  if (fromDpi <= 0) return pixels;
  const long long product = static_cast<long long>(pixels) * dpi;
  const long long half = fromDpi / 2;
  const long long scaled =
      product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  return static_cast<int>(scaled);
}

#include "framework/dpi.h"

#include <cctype>
#include <optional>

int ScaleForDpi(int pixels, int dpi, int fromDpi) {
  if (fromDpi <= 0) return pixels;
  const long long product = static_cast<long long>(pixels) * dpi;
  const long long half = fromDpi / 2;
  const long long scaled =
      product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  return static_cast<int>(scaled);
}

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

constexpr int kBuild1607 = 14393;
constexpr int kBuild1703 = 15063;

std::optional<DpiAwareness> KnownAwareness(std::string_view value, const WindowsRelease& release) {
  if (SameWord(value, "unaware")) return DpiAwareness::kUnaware;
  if (SameWord(value, "system")) return DpiAwareness::kSystem;
  if (SameWord(value, "permonitor")) return DpiAwareness::kPerMonitor;
  if (SameWord(value, "permonitorv2") && release.build >= kBuild1703)
    return DpiAwareness::kPerMonitorV2;
  return std::nullopt;
}

}  // namespace

DpiAwareness AwarenessFromManifest(std::string_view dpiAware, std::string_view dpiAwareness,
                                   WindowsRelease release) {
  const bool windows10 = release.major >= 10;
  if (windows10 && release.build >= kBuild1607) {
    for (std::string_view rest = dpiAwareness; !rest.empty();) {
      const size_t comma = rest.find(',');
      const std::string_view value = Trimmed(rest.substr(0, comma));
      if (const auto known = KnownAwareness(value, release)) return *known;
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  const bool perMonitorKnown = windows10 || (release.major == 6 && release.minor >= 3);
  const std::string_view value = Trimmed(dpiAware);
  if (SameWord(value, "true")) return DpiAwareness::kSystem;
  if (SameWord(value, "true/pm"))
    return perMonitorKnown ? DpiAwareness::kPerMonitor : DpiAwareness::kSystem;
  if (SameWord(value, "per monitor"))
    return perMonitorKnown ? DpiAwareness::kPerMonitor : DpiAwareness::kUnaware;
  return DpiAwareness::kUnaware;
}

#pragma once
// The product's name, version and web addresses, each written here once.

#include <string>

#include "resources/version.h"

inline constexpr char kProductName[] = "Quillory";
inline constexpr int kVersionMajor = QUILLORY_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUILLORY_VERSION_MINOR;

inline constexpr char kHomePageAddress[] = "https://quillory.org/";

// The on-line help lives below the home page.
inline std::string HelpPageAddress() { return std::string(kHomePageAddress) + "help/"; }

#pragma once
// The product's name, version and web addresses, each written here once.

#include <string>

inline constexpr char kProductName[] = "Quillory";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;

inline constexpr char kHomePageAddress[] = "https://quillory.org/";

// The on-line help lives below the home page.
inline std::string HelpPageAddress() { return std::string(kHomePageAddress) + "help/"; }

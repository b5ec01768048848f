#pragma once
// The product's name, version and web addresses, each written here once.

#include <string>
#include <string_view>

#include "resources/version.h"

inline constexpr char kProductName[] = "Quillory";
inline constexpr int kVersionMajor = QUILLORY_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUILLORY_VERSION_MINOR;

// The title: the main window's caption, the notification tip, and what a
// second start finds the first by.
inline constexpr char g_strTitle[] = "Quillory";
// A title without its blanks: the main window's class name and the name of
// the Run value are the title's.
inline std::string WithoutBlanks(std::string_view title) {
  std::string name;
  for (const char c : title)
    if (c != ' ') name += c;
  return name;
}

inline constexpr char kHomePageAddress[] = "https://quillory.org/";

// The on-line help lives below the home page.
inline std::string HelpPageAddress() { return std::string(kHomePageAddress) + "help/"; }

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/dpi.h"
#include "framework/handles_win.h"
#include "resources/resource.h"

namespace {

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

struct IconLook {
  int width = 0;
  int bitsPerPixel = 0;
};

// Size and colour depth of the image the resource holds for `size` pixels.
IconLook LookAtIcon(int id, int size) {
  IconLook look;
  HRSRC group =
      ::FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (!group) return look;
  auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(Module(), group)));
  int imageId = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
  HRSRC image =
      ::FindResourceA(Module(), MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));  // RT_ICON
  if (!image) return look;
  auto* header = static_cast<BITMAPINFOHEADER*>(::LockResource(::LoadResource(Module(), image)));
  look.width = header->biWidth;
  look.bitsPerPixel = header->biBitCount;
  return look;
}

TEST(Resources, IconsHaveTheirSizesAndColours) {
  struct Expected {
    int id;
    int bits;
  };
  // 16 colours: 4 bits a pixel; 256 colours: 8.
  for (Expected e : {Expected{IDI_MESSAGE, 4}, Expected{IDI_QUESTION, 4}, Expected{IDI_TRAY, 8},
                     Expected{IDI_TRAY_CLASSIC, 4}, Expected{IDI_APP, 8}}) {
    // A frame of its own for the small-icon size of 96, 120, 144 and 192 DPI.
    for (int size : {16, 20, 24, 32}) {
      IconLook look = LookAtIcon(e.id, size);
      EXPECT_EQ(look.width, size) << e.id;
      EXPECT_EQ(look.bitsPerPixel, e.bits) << e.id;
    }
  }
  // And for the large icon's sizes.
  for (int size : {40, 48, 64}) EXPECT_EQ(LookAtIcon(IDI_APP, size).width, size);
}

TEST(Resources, IconsLoad) {
  for (int id : {IDI_APP, IDI_TRAY, IDI_TRAY_CLASSIC, IDI_MESSAGE, IDI_QUESTION}) {
    fw::CIcon icon(
        static_cast<HICON>(::LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
    EXPECT_TRUE(icon) << id;
  }
}

// The centre of the message icon is white (the disc) and its top-left corner
// transparent: the disc is round.
TEST(Resources, MessageIconIsADisc) {
  fw::CIcon icon(static_cast<HICON>(
      ::LoadImageA(Module(), MAKEINTRESOURCEA(IDI_MESSAGE), IMAGE_ICON, 16, 16, 0)));
  ASSERT_TRUE(icon);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all{0, 0, 16, 16};
  HBRUSH green = ::CreateSolidBrush(RGB(0, 255, 0));
  ::FillRect(dc, &all, green);
  ::DrawIconEx(dc, 0, 0, icon.Get(), 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(0, 255, 0));      // transparent corner
  EXPECT_EQ(::GetPixel(dc, 4, 8), RGB(255, 255, 255));  // the white disc
  EXPECT_EQ(::GetPixel(dc, 7, 5), RGB(255, 0, 0));      // the red mark
  ::SelectObject(dc, old);
  ::DeleteObject(green);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
}

TEST(Resources, TrayMenu) {
  fw::CMenu menu(::LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_TRAYMENU)));
  ASSERT_TRUE(menu);
  ASSERT_EQ(::GetMenuItemCount(menu.Get()), 1);
  HMENU popup = ::GetSubMenu(menu.Get(), 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(::GetMenuItemCount(popup), 5);
  const UINT ids[] = {ID_MENU_OPEN, 0, ID_MENU_HELP, 0, ID_MENU_EXIT};
  const char* texts[] = {"Open", "", "Help", "", "Exit"};
  for (int i = 0; i < 5; ++i) {
    char text[32] = {};
    MENUITEMINFOA item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof(text);
    ASSERT_TRUE(::GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &item));
    EXPECT_EQ(item.wID, ids[i]) << i;
    EXPECT_EQ((item.fType & MFT_SEPARATOR) != 0, ids[i] == 0) << i;
    EXPECT_STREQ(text, texts[i]) << i;
  }
}

std::string ManifestText() {
  HRSRC found =
      ::FindResourceA(Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  if (!found) return {};
  auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(Module(), found)));
  return std::string(bytes, ::SizeofResource(Module(), found));
}

// The value of `attribute` in the first <element ...> tag, quotes and blanks
// as XML allows them; empty when there is none.
std::string ManifestAttribute(const std::string& manifest, const std::string& element,
                              const std::string& attribute) {
  const size_t tag = manifest.find("<" + element);
  if (tag == std::string::npos) return {};
  const std::string inside = manifest.substr(tag, manifest.find('>', tag) - tag);
  for (size_t at = inside.find(attribute); at != std::string::npos;
       at = inside.find(attribute, at + 1)) {
    size_t i = at + attribute.size();
    if (!isspace(static_cast<unsigned char>(inside[at - 1]))) continue;
    while (i < inside.size() && isspace(static_cast<unsigned char>(inside[i]))) ++i;
    if (i >= inside.size() || inside[i] != '=') continue;
    for (++i; i < inside.size() && isspace(static_cast<unsigned char>(inside[i]));) ++i;
    const char quote = inside[i];
    return inside.substr(i + 1, inside.find(quote, i + 1) - i - 1);
  }
  return {};
}

TEST(Resources, ManifestRunsAsInvokerInUtf8WithCommonControlsSix) {
  const std::string manifest = ManifestText();
  // A program that asks for elevation is not started from the Run key at log-on.
  EXPECT_EQ(ManifestAttribute(manifest, "requestedExecutionLevel", "level"), "asInvoker");
  const std::string dependency =
      manifest.substr(std::min(manifest.find("<dependentAssembly"), manifest.size()));
  EXPECT_EQ(ManifestAttribute(dependency, "assemblyIdentity", "name"),
            "Microsoft.Windows.Common-Controls");
  EXPECT_EQ(ManifestAttribute(dependency, "assemblyIdentity", "version"), "6.0.0.0");
  const size_t codePage = manifest.find("<activeCodePage");
  ASSERT_NE(codePage, std::string::npos);
  const size_t text = manifest.find('>', codePage) + 1;
  EXPECT_EQ(manifest.substr(text, manifest.find('<', text) - text), "UTF-8");
  // This test program carries the same manifest: the code page it asks for is
  // the one the process got.
  EXPECT_EQ(::GetACP(), 65001u);
}

// The text of the first <element ...>text</element>.
std::string ManifestText(const std::string& manifest, const std::string& element) {
  const size_t tag = manifest.find("<" + element);
  if (tag == std::string::npos) return {};
  const size_t text = manifest.find('>', tag) + 1;
  return manifest.substr(text, manifest.find('<', text) - text);
}

TEST(Resources, ManifestIsPerMonitorDpiAwareAndNamesTheWindowsVersions) {
  const std::string manifest = ManifestText();
  // Never per monitor v1 (8.1 to 10 1607), which scales neither dialogs nor
  // their fonts: only Windows can show it, so each release's reading is tried.
  const std::string dpiAware = ManifestText(manifest, "dpiAware");
  const std::string dpiAwareness = ManifestText(manifest, "dpiAwareness");
  for (const WindowsRelease release : {WindowsRelease{6, 3, 9600}, {10, 0, 10240}, {10, 0, 14393}})
    EXPECT_EQ(AwarenessFromManifest(dpiAware, dpiAwareness, release), DpiAwareness::kSystem);
  EXPECT_EQ(AwarenessFromManifest(dpiAware, dpiAwareness, {10, 0, 15063}),
            DpiAwareness::kPerMonitorV2);
  std::vector<std::string> systems;
  for (size_t at = manifest.find("<supportedOS"); at != std::string::npos;
       at = manifest.find("<supportedOS", at + 1)) {
    systems.push_back(ManifestAttribute(manifest.substr(at), "supportedOS", "Id"));
  }
  EXPECT_EQ(systems, (std::vector<std::string>{"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));
}

// ---- the program still starts on Windows 7

struct Import {
  std::string library;
  std::string function;  // "#n" for one imported by ordinal
};

// Every function quillory.exe imports, read from its import table.
std::vector<Import> ReadImports(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  auto read = [&bytes](size_t offset, auto& value) {
    if (offset + sizeof value > bytes.size()) return false;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return true;
  };
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  if (!read(0, dos) || !read(static_cast<size_t>(dos.e_lfanew), nt)) return {};
  const size_t sections = static_cast<size_t>(dos.e_lfanew) +
                          offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  auto fileOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER section{};
      if (!read(sections + i * sizeof section, section)) break;
      const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return bytes.size();
  };
  auto text = [&](DWORD rva) {
    const size_t at = fileOffset(rva);
    return at < bytes.size() ? bytes.substr(at, bytes.find('\0', at) - at) : std::string();
  };

  std::vector<Import> imports;
  const DWORD table = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  IMAGE_IMPORT_DESCRIPTOR library{};
  for (size_t at = fileOffset(table); read(at, library) && library.Name; at += sizeof library) {
    const std::string name = text(library.Name);
    const DWORD thunks =
        library.OriginalFirstThunk ? library.OriginalFirstThunk : library.FirstThunk;
    ULONGLONG thunk = 0;
    for (size_t t = fileOffset(thunks); read(t, thunk) && thunk; t += sizeof thunk) {
      char ordinal[16];
      std::snprintf(ordinal, sizeof ordinal, "#%u", static_cast<unsigned>(thunk & 0xFFFF));
      imports.push_back({name, thunk & IMAGE_ORDINAL_FLAG64
                                   ? std::string(ordinal)
                                   : text(static_cast<DWORD>(thunk) + 2)});  // past the hint
    }
  }
  return imports;
}

// Why Windows 7 would refuse to start a program importing this, or empty.
// Its libraries are the ones below (no api-ms-win-* sets, no shcore.dll of
// 8.1, no universal C runtime). The per-monitor DPI functions (8.1, 10) all
// spell "Dpi" where Vista's SetProcessDPIAware spells "DPI"; the rest are the
// newer functions a program like this one could reach through its runtime.
std::string NewerThanWindows7(std::string library, const std::string& function) {
  std::transform(library.begin(), library.end(), library.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static const std::vector<std::string> kLibraries = {
      "kernel32.dll", "user32.dll", "gdi32.dll",    "comctl32.dll", "comdlg32.dll", "shell32.dll",
      "shlwapi.dll",  "ole32.dll",  "oleaut32.dll", "advapi32.dll", "version.dll",  "msvcrt.dll"};
  if (std::find(kLibraries.begin(), kLibraries.end(), library) == kLibraries.end()) {
    return library + " is not a library of Windows 7";
  }
  static const std::vector<std::string> kNewer = {"LogicalToPhysicalPointForPerMonitorDPI",
                                                  "PhysicalToLogicalPointForPerMonitorDPI",
                                                  "GetSystemTimePreciseAsFileTime",
                                                  "CreateFile2",
                                                  "CopyFile2",
                                                  "GetOverlappedResultEx",
                                                  "WaitOnAddress",
                                                  "WakeByAddressSingle",
                                                  "WakeByAddressAll",
                                                  "SetThreadDescription",
                                                  "GetThreadDescription",
                                                  "PrefetchVirtualMemory",
                                                  "GetCurrentThreadStackLimits",
                                                  "SetProcessMitigationPolicy",
                                                  "GetProcessMitigationPolicy",
                                                  "GetFirmwareType",
                                                  "SetThreadInformation",
                                                  "GetThreadInformation",
                                                  "SetDefaultDllDirectories",
                                                  "AddDllDirectory",
                                                  "RemoveDllDirectory",
                                                  "DiscardVirtualMemory",
                                                  "OfferVirtualMemory",
                                                  "ReclaimVirtualMemory",
                                                  "SetCoalescableTimer",
                                                  "GetPointerType",
                                                  "GetPointerInfo",
                                                  "EnableMouseInPointer",
                                                  "GetCurrentInputMessageSource",
                                                  "GetDisplayAutoRotationPreferences",
                                                  "IsImmersiveProcess",
                                                  "GetCurrentPackageId",
                                                  "GetCurrentPackageFullName"};
  if (function.find("Dpi") != std::string::npos ||
      std::find(kNewer.begin(), kNewer.end(), function) != kNewer.end()) {
    return library + "!" + function + " came after Windows 7";
  }
  return {};
}

TEST(Resources, TheRuleKnowsWhatWindows7Lacks) {
  EXPECT_NE(NewerThanWindows7("USER32.dll", "GetDpiForWindow"), "");
  EXPECT_NE(NewerThanWindows7("user32.dll", "SystemParametersInfoForDpi"), "");
  EXPECT_NE(NewerThanWindows7("USER32.dll", "AdjustWindowRectExForDpi"), "");
  EXPECT_NE(NewerThanWindows7("shcore.dll", "GetDpiForMonitor"), "");
  EXPECT_NE(NewerThanWindows7("api-ms-win-core-synch-l1-2-0.dll", "WaitOnAddress"), "");
  EXPECT_NE(NewerThanWindows7("KERNEL32.dll", "GetSystemTimePreciseAsFileTime"), "");
  EXPECT_EQ(NewerThanWindows7("USER32.dll", "SetProcessDPIAware"), "");  // Vista's
  EXPECT_EQ(NewerThanWindows7("KERNEL32.dll", "GetTickCount64"), "");
}

TEST(Resources, TheProgramImportsNothingNewerThanWindows7) {
  const std::vector<Import> imports = ReadImports(QUILLORY_EXE);
  // The table was read: the program's first window is made with this.
  ASSERT_TRUE(std::any_of(imports.begin(), imports.end(),
                          [](const Import& i) { return i.function == "CreateWindowExA"; }));
  for (const Import& import : imports) {
    EXPECT_EQ(NewerThanWindows7(import.library, import.function), "");
  }
}

// The boxes' templates: ids, default buttons and styles as the boxes expect them.
INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(Resources, BoxTemplates) {
  struct Expected {
    int id;
    std::vector<int> buttons;
    int defaultButton;
  };
  const Expected expected[] = {
      {IDD_MESSAGEBOX, {}, 0},
      {IDD_ANSWERBOX, {IDOK, IDCANCEL}, IDCANCEL},
      {IDD_ANSWERBOXFULL,
       {IDOK, IDC_BOX_YES_FOR_ALL, IDCANCEL, IDC_BOX_NO, IDC_BOX_NO_FOR_ALL},
       IDC_BOX_NO},
  };
  for (const Expected& e : expected) {
    HWND dialog = ::CreateDialogParamA(Module(), MAKEINTRESOURCEA(e.id), nullptr, NoHandling, 0);
    ASSERT_NE(dialog, nullptr) << e.id;
    DWORD style = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE));
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SYSMODAL;
    EXPECT_EQ(style & wanted, wanted) << e.id;
    int buttons = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      ++buttons;
    }
    EXPECT_EQ(buttons, static_cast<int>(e.buttons.size())) << e.id;
    for (size_t i = 0; i < e.buttons.size(); ++i) {
      HWND button = ::GetDlgItem(dialog, e.buttons[i]);
      ASSERT_NE(button, nullptr) << e.id << " " << e.buttons[i];
      LONG kind = ::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
      EXPECT_EQ(kind == BS_DEFPUSHBUTTON, e.buttons[i] == e.defaultButton) << e.buttons[i];
      if (i > 0) {
        // Template order is left to right: the tab order the focus follows.
        RECT left{}, right{};
        ::GetWindowRect(::GetDlgItem(dialog, e.buttons[i - 1]), &left);
        ::GetWindowRect(button, &right);
        EXPECT_LT(left.right, right.left);
      }
    }
    ::DestroyWindow(dialog);
  }
}

}  // namespace

#pragma once
// Owners of the Windows handles the program keeps: each releases its handle
// the one right way, once, whatever path leaves the scope.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

#include "framework/unique_handle.h"

namespace fw {

struct FontTraits {
  using Type = HFONT;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteObject(h); }
};

// Only for icons the program made or loaded without LR_SHARED: shared icons
// belong to the system.
struct IconTraits {
  using Type = HICON;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DestroyIcon(h); }
};

struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DestroyMenu(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::RegCloseKey(h); }
};

struct FindTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};

// A control given an image list does not destroy it; its owner does.
struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::ImageList_Destroy(h); }
};

// Threads, mutexes and the other kernel objects whose "none" is null.
struct KernelTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};

// Item lists the shell hands out (the folder browser's answer) go back to the
// shell's allocator.
struct ItemIdListTraits {
  using Type = LPITEMIDLIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type h);
};

using CFont = UniqueHandle<FontTraits>;
using CIcon = UniqueHandle<IconTraits>;
using CMenu = UniqueHandle<MenuTraits>;
using CImageList = UniqueHandle<ImageListTraits>;
using CRegKey = UniqueHandle<RegKeyTraits>;
using CFindHandle = UniqueHandle<FindTraits>;
using CKernelHandle = UniqueHandle<KernelTraits>;
using CItemIdList = UniqueHandle<ItemIdListTraits>;

}  // namespace fw

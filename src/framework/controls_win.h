#pragma once
// Thin wrappers over the controls the pages use: a handle and the messages
// the program sends, with std::string for text. They do not own the control.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "framework/window_win.h"

namespace fw {

class CButton : public CWnd {
 public:
  using CWnd::CWnd;
  int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
  void SetCheck(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CStatic : public CWnd {
 public:
  using CWnd::CWnd;
};

// Also serves the rich-edit text of the boxes, which answers the same messages.
class CEdit : public CWnd {
 public:
  using CWnd::CWnd;
  int GetLineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }
  void SetLimitText(int limit) const { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(limit)); }
};

// Drop-down lists.
class CComboBox : public CWnd {
 public:
  using CWnd::CWnd;
  int AddString(const std::string& text) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  void ResetContent() const { Send(CB_RESETCONTENT); }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  // -1 clears the selection.
  void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string GetLBText(int index) const;
  // The index of the item with exactly this text (case-insensitive), or -1.
  int FindStringExact(const std::string& text) const {
    return static_cast<int>(
        Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
  }
};

// Report-view list.
class CListView : public CWnd {
 public:
  using CWnd::CWnd;
  int InsertColumn(int index, const std::string& heading, int width,
                   int format = LVCFMT_LEFT) const;
  int InsertItem(int index, const std::string& text, LPARAM data = 0) const;
  bool SetItemText(int item, int subItem, const std::string& text) const;
  std::string GetItemText(int item, int subItem) const;
  bool SetItemData(int item, LPARAM data) const;
  LPARAM GetItemData(int item) const;
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  int GetSelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
  // The next item after `start` (-1: from the top) with the LVNI_* state.
  int GetNextItem(int start, UINT flags) const {
    return static_cast<int>(
        Send(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
  }
  bool DeleteItem(int item) const { return Send(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
  bool DeleteAllItems() const { return Send(LVM_DELETEALLITEMS) != 0; }
  void SetExtendedStyle(DWORD style) const {
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, static_cast<LPARAM>(style));
  }
  // Sorts with a comparison of the items' data.
  bool SortItems(PFNLVCOMPARE compare, LPARAM parameter) const {
    return Send(LVM_SORTITEMS, static_cast<WPARAM>(parameter), reinterpret_cast<LPARAM>(compare)) !=
           0;
  }
  HWND GetHeader() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
};

class CTreeView : public CWnd {
 public:
  using CWnd::CWnd;
  HTREEITEM InsertItem(const std::string& text, LPARAM data, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST) const;
  bool DeleteAllItems() const {
    return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0;
  }
  // Makes the item the caret (selected) item; null clears the selection.
  bool SelectItem(HTREEITEM item) const {
    return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
  }
  HTREEITEM GetSelection() const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
  }
  void EnsureVisible(HTREEITEM item) const {
    Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  }
  LPARAM GetItemData(HTREEITEM item) const;
  int GetCount() const { return static_cast<int>(Send(TVM_GETCOUNT)); }
};

class CDateTimePicker : public CWnd {
 public:
  using CWnd::CWnd;
  // False when the picker has no valid time (an unchecked optional picker).
  bool GetTime(SYSTEMTIME& time) const {
    return Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID;
  }
  bool SetTime(const SYSTEMTIME& time) const {
    return Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
  }
  // A display format such as "HH:mm"; null restores the style's default.
  bool SetFormat(const char* format) const {
    return Send(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(format)) != 0;
  }
};

}  // namespace fw

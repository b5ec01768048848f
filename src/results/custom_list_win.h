#pragma once
// The report-view list of the search page (results and folders): a list view
// whose column headers each show a tooltip, one tool per column with the
// identifier column + 1.
//
// The list and its header keep the system's window procedures; the object
// puts its own in front of both for the three things it adds: the tooltip
// follows a column's new width, the header's mouse messages reach the
// tooltip, and the list answers work handed over from another thread
// (fw::RunOnWindowThread).

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "framework/controls_win.h"

class CCustomList : public fw::CListView {
 public:
  CCustomList() = default;
  // Lets go of the list's window (if it still exists) and destroys the tooltip.
  ~CCustomList();
  CCustomList(const CCustomList&) = delete;
  CCustomList& operator=(const CCustomList&) = delete;

  // Report view with several rows selectable, the selection shown also
  // without the focus, grid lines and full-row selection.
  void SetListStyles() const;

  // Creates the header tooltip (once, before the columns are added) and
  // hooks the list and its header. The object must not move afterwards.
  // Its window user data of the list and of the header are the hooks' own.
  void InitHeaderToolTips();
  // The tooltip of one existing column; null takes the column's own header
  // text. FALSE when the column does not exist or its text cannot be read.
  BOOL AddHeaderToolTip(int nColumn, const char* pszText);
  // Lays every column's tool over its header item again.
  void UpdateHeaderToolTipRects();

  HWND GetHeaderTip() const { return m_wndHeaderTip.m_hWnd; }

 private:
  struct Hook;
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  RECT ToolRect(int left, int width) const;
  void Unhook();

  fw::CWnd m_wndHeaderTip;
  Hook* m_pListHook = nullptr;
  Hook* m_pHeaderHook = nullptr;
};

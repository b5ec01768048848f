#pragma once
// The report-view list of the search page (results and folders): a list view
// whose column headers each show a tooltip, one tool per column with the
// identifier column + 1.
//
// The list and its header keep the system's window procedures; the object
// puts its own in front of both for the three things it adds: the tooltip
// follows a column's new width, the header's mouse messages reach the
// tooltip, the list answers work handed over from another thread
// (fw::RunOnWindowThread), and it finishes deferred work before anyone can
// see it half done.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <functional>

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

  // Work on the list's rows that may wait: it runs a slice at a time while
  // nothing else waits on the list's thread (its timer comes after input and
  // painting), and all at once before the list takes any input or answers
  // any question about its items' states, so nobody sees it half done.
  // `work(all)` does a slice, or everything left when `all`, and returns true
  // once nothing is left; between small steps a slice asks ShouldYield().
  // New work replaces work not yet done.
  using DeferredWork = std::function<bool(bool all)>;
  void DeferWork(DeferredWork work);
  void FinishDeferredWork();
  void CancelDeferredWork();
  bool HasDeferredWork() const { return static_cast<bool>(m_fnDeferred); }
  // True when input, painting or a message waits on the calling thread.
  static bool ShouldYield();

 private:
  struct Hook;
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  RECT ToolRect(int left, int width) const;
  void Unhook();
  void RunDeferredSlice();

  fw::CWnd m_wndHeaderTip;
  Hook* m_pListHook = nullptr;
  Hook* m_pHeaderHook = nullptr;
  DeferredWork m_fnDeferred;
  // Moves on whenever work is replaced or cancelled, so that a slice tells
  // whether what it called did either.
  uint32_t m_nDeferredGeneration = 0;
  bool m_bRunningDeferred = false;
};

#pragma once
// The two panes below the main window's toolbar: the navigation panel on the
// left, whose tree asks the main window before a page change, and the page
// host on the right, the parent of the pages. Both are windows of the main
// window's own class, so they behave as dialog windows too.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <map>

#include "framework/controls_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"

class CWindowMain;

class CWindowLeftPanel : public fw::CBound<CWindowLeftPanel, fw::CWindow> {
 public:
  fw::CTreeView m_wndTree;
  std::map<int32_t, HTREEITEM> m_mapItems;  // the items of the current set, by page id
  CWindowMain* m_pMainWnd = nullptr;
  int32_t m_nPageSet = -1;

  // Creates the tree and shows page set 0. Once, after the panel exists.
  int InitPanel();
  // 0: "Settings" and "Delete Files"; 1: "Help". The set's first entry is
  // selected, which asks the main window to show its page.
  void SetPageSet(int32_t set);
  // Selects the page's entry, if the current set has one.
  void SelectPage(int32_t pageId);

 private:
  void OnSize(UINT type, int cx, int cy);
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  LRESULT OnSelChanging(NMHDR* header);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowLeftPanel> kMessageTable[] = {
      {fw::Message<WM_SIZE>, &CWindowLeftPanel::OnSize},
      {fw::Message<WM_ERASEBKGND>, &CWindowLeftPanel::OnEraseBackground},
      // The tree speaks the form its parent asks for; an ANSI window gets the
      // narrow one, but either must work.
      {fw::Notify(IDC_NAVTREE, TVN_SELCHANGINGA), &CWindowLeftPanel::OnSelChanging},
      {fw::Notify(IDC_NAVTREE, TVN_SELCHANGINGW), &CWindowLeftPanel::OnSelChanging},
  };
};

class CWindowRightPanel : public fw::CBound<CWindowRightPanel, fw::CWindow> {
 private:
  LRESULT OnEraseBackground(WPARAM, LPARAM);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowRightPanel> kMessageTable[] = {
      {fw::Message<WM_ERASEBKGND>, &CWindowRightPanel::OnEraseBackground},
  };
};

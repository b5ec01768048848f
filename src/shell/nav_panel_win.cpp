#include "shell/nav_panel_win.h"

#include <iterator>

#include "framework/worker_messages.h"
#include "shell/main_window_win.h"

namespace {

struct NavEntry {
  const char* text;
  int32_t pageId;
};

constexpr NavEntry kToolsSet[] = {{"Settings", PAGE_SETTINGS}, {"Delete Files", PAGE_DELETE_FILES}};
constexpr NavEntry kHelpSet[] = {{"Help", PAGE_HELP}};

}  // namespace

int CWindowLeftPanel::InitPanel() {
  m_pMainWnd = g_pMainWnd;
  RECT client = GetClientRect();
  HWND tree = ::CreateWindowExA(0, WC_TREEVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                                client.left, client.top, client.right - client.left,
                                client.bottom - client.top, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_NAVTREE)),
                                ::GetModuleHandleA(nullptr), nullptr);
  m_wndTree.Attach(tree);
  SetPageSet(0);
  return 0;
}

void CWindowLeftPanel::SetPageSet(int32_t set) {
  m_wndTree.DeleteAllItems();
  m_mapItems.clear();
  const NavEntry* begin = nullptr;
  const NavEntry* end = nullptr;
  if (set == 0) {
    begin = std::begin(kToolsSet);
    end = std::end(kToolsSet);
  } else if (set == 1) {
    begin = std::begin(kHelpSet);
    end = std::end(kHelpSet);
  }
  for (const NavEntry* entry = begin; entry != end; ++entry) {
    m_mapItems[entry->pageId] = m_wndTree.InsertItem(entry->text, entry->pageId);
  }
  // Selecting sends the tree's selection-changing notice, so the main window
  // shows the page (or refuses).
  if (begin != end) m_wndTree.SelectItem(m_mapItems[begin->pageId]);
  m_nPageSet = set;
}

void CWindowLeftPanel::SelectPage(int32_t pageId) {
  auto found = m_mapItems.find(pageId);
  if (found == m_mapItems.end()) return;
  m_wndTree.EnsureVisible(found->second);
  m_wndTree.SelectItem(found->second);
}

void CWindowLeftPanel::OnSize(UINT, int cx, int cy) {
  SetMsgHandled(false);
  if (m_wndTree.m_hWnd) m_wndTree.Move(0, 0, cx, cy);
}

LRESULT CWindowLeftPanel::OnEraseBackground(WPARAM, LPARAM) {
  return 0;  // the tree covers the panel
}

LRESULT CWindowLeftPanel::OnSelChanging(NMHDR* header) {
  if (!m_pMainWnd) return 0;
  // The wide form's record has the same layout up to the item data.
  const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
  return m_pMainWnd->Send(WM_SHOWPAGE, static_cast<WPARAM>(change->itemNew.lParam), 0);
}

LRESULT CWindowRightPanel::OnEraseBackground(WPARAM, LPARAM) {
  return 0;  // the pages cover the host
}

#include "support/main_window_ui_win.h"

#include <commctrl.h>

#include "dialogs/message_box_win.h"
#include "settings/app_data.h"
#include "settings/settings_page_win.h"

namespace {

HTREEITEM Next(HWND tree, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(::SendMessageA(
      tree, TVM_GETNEXTITEM, item ? TVGN_NEXT : TVGN_ROOT, reinterpret_cast<LPARAM>(item)));
}

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[64] = {};
  TVITEMA entry{};
  entry.mask = TVIF_TEXT;
  entry.hItem = item;
  entry.pszText = text;
  entry.cchTextMax = sizeof text;
  ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
  return text;
}

}  // namespace

MainWindowRun::MainWindowRun(NoStart) {
  static bool once = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    InstallDialogKit();
    return true;
  }();
  (void)once;
  g_AppData.m_strAppFolder = m_folder.Path() + "\\";
  g_AppData.ClearResults();
  g_AppData.m_arrFolders.clear();
  g_SettingsPage.m_bChanged = 0;
  g_AppData.m_bKeepUnreadSettingsFile = false;
}

MainWindowRun::MainWindowRun() : MainWindowRun(kNoStart) {
  g_AppData.SetDefaults();
  Start();
}

void MainWindowRun::Start() {
  m_pMain = std::make_unique<CWindowMain>();
  RegisterMainWindowClass();
  m_pMain->CreateInDialogClass(0, MainWindowClassName().c_str(), g_strTitle, WS_OVERLAPPEDWINDOW,
                               RECT{}, nullptr, 0);
  m_pMain->InitMainWindow();
}

MainWindowRun::~MainWindowRun() {
  m_pMain.reset();
  g_AppData.m_nRunningTask = TASK_NONE;
  g_AppData.m_nTask = TASK_NONE;
}

std::string MainWindowRun::SettingsBytes() const {
  return ReadWholeFile(g_AppData.m_strAppFolder + "settings.dat");
}

int32_t MainWindowRun::Saved(SavedField field) const {
  return settings_bytes::ReadInt(SettingsBytes(), settings_bytes::OffsetOf(field));
}

std::vector<std::string> MainWindowRun::TreeTexts() const {
  std::vector<std::string> texts;
  HWND tree = m_pMain->m_wndLeftPanel.m_wndTree.m_hWnd;
  for (HTREEITEM item = Next(tree, nullptr); item; item = Next(tree, item)) {
    texts.push_back(ItemText(tree, item));
  }
  return texts;
}

std::string MainWindowRun::SelectedTreeText() const {
  const fw::CTreeView& tree = m_pMain->m_wndLeftPanel.m_wndTree;
  HTREEITEM selected = tree.GetSelection();
  return selected ? ItemText(tree.m_hWnd, selected) : std::string();
}

bool MainWindowRun::SelectTreeEntry(const std::string& text) const {
  HWND tree = m_pMain->m_wndLeftPanel.m_wndTree.m_hWnd;
  for (HTREEITEM item = Next(tree, nullptr); item; item = Next(tree, item)) {
    if (ItemText(tree, item) == text) {
      return ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
    }
  }
  return false;
}

bool MainWindowRun::IsChecked(int buttonId) const {
  return m_pMain->m_wndToolBar.Send(TB_ISBUTTONCHECKED, static_cast<WPARAM>(buttonId)) != 0;
}

RECT MainWindowRun::InClient(HWND child) const {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int MainWindowRun::ToolbarHeight() const {
  RECT rect = m_pMain->m_wndToolBar.GetWindowRect();
  return rect.bottom - rect.top;
}

int MainWindowRun::ClientWidth() const { return m_pMain->GetClientRect().right; }

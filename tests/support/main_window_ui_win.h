#pragma once
// The real main window for a test, started as the program starts it but
// with its settings folder in a temporary folder; and what a test reads back
// (settings.dat fields, the tree's entries, positions in the client area).

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/app_data.h"
#include "shell/main_window_win.h"
#include "support/settings_bytes.h"
#include "support/temp_dir.h"

using SavedField = settings_bytes::Field;

class MainWindowRun {
 public:
  // Starts with default settings, or with `prepare` applied to the defaults
  // and saved as settings.dat first.
  MainWindowRun();
  template <class Prepare>
  explicit MainWindowRun(Prepare prepare) : MainWindowRun(prepare, [](const std::string&) {}) {}
  // `beforeStart` gets the saved settings.dat's path, to spoil or hold it.
  template <class Prepare, class BeforeStart>
  MainWindowRun(Prepare prepare, BeforeStart beforeStart) : MainWindowRun(kNoStart) {
    g_AppData.SetDefaults();
    prepare(g_AppData);
    g_AppData.SaveSettings();
    beforeStart(g_AppData.m_strAppFolder + "settings.dat");
    Start();
  }
  ~MainWindowRun();
  MainWindowRun(const MainWindowRun&) = delete;
  MainWindowRun& operator=(const MainWindowRun&) = delete;

  CWindowMain& Main() { return *m_pMain; }
  HWND Hwnd() const { return m_pMain->m_hWnd; }
  const TempDir& Folder() const { return m_folder; }

  std::string SettingsBytes() const;
  int32_t Saved(SavedField field) const;

  // The tree's entries from the top, and the selected one's text.
  std::vector<std::string> TreeTexts() const;
  std::string SelectedTreeText() const;
  // Selects the entry with this text the way a click does: the tree asks first.
  bool SelectTreeEntry(const std::string& text) const;
  bool IsChecked(int buttonId) const;

  // A child's window rectangle in the main window's client coordinates.
  RECT InClient(HWND child) const;
  int ToolbarHeight() const;
  int ClientWidth() const;

 private:
  enum NoStart { kNoStart };
  explicit MainWindowRun(NoStart);
  void Start();

  TempDir m_folder;
  std::unique_ptr<CWindowMain> m_pMain;
};

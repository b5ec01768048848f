#pragma once
// PLACEHOLDER for the settings page, until the real one replaces this file
// and its .cpp. The main window uses exactly these names: the one page object
// g_SettingsPage, its template, its minimum size, m_bChanged and Reset.

#include <cstdint>

#include "framework/window_win.h"
#include "resources/resource.h"

class CWindowSettings : public fw::CDialog {
 public:
  CWindowSettings() : CDialog(IDD_SETTINGS) {}

  int32_t m_nPageWidth = 480;
  int32_t m_nPageHeight = 350;
  int32_t m_bChanged = 0;  // changes made on the page and not applied yet

  // Discards the changes not applied.
  void Reset() { m_bChanged = 0; }
};

extern CWindowSettings g_SettingsPage;

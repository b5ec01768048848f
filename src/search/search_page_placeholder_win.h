#pragma once
// PLACEHOLDER for the search page, until the real one replaces this file and
// its .cpp. The main window uses exactly these names: the one page object
// g_SearchPage, its template, its minimum size, and GetWorkerHost, which the
// real page answers with its progress window (m_wndProgress).

#include <cstdint>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "shell/worker_host_win.h"

class CWindowWiperEntries : public fw::CDialog {
 public:
  CWindowWiperEntries() : CDialog(IDD_WIPERENTRIES) {}

  int32_t m_nPageWidth = 530;
  int32_t m_nPageHeight = 520;

  // The window that runs the search and delete workers.
  IWorkerHost* GetWorkerHost() { return nullptr; }
};

extern CWindowWiperEntries g_SearchPage;

#include "shell/main_app_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "dialogs/message_box_win.h"
#include "framework/window_win.h"
#include "framework/worker_messages.h"
#include "platform/wide_text_win.h"
#include "resources/product.h"
#include "settings/app_data.h"
#include "shell/command_line.h"
#include "shell/main_window_win.h"
#include "shell/program_folder.h"

namespace {

constexpr char kMsgProgramFolderInexpressible[] =
    "The name of the folder that holds quillory.exe cannot be represented in this system's "
    "code page, so the program cannot keep its settings there. Please move quillory.exe to a "
    "folder whose path uses only letters of this system's language.";

}  // namespace

CSingleInstanceMutex::CSingleInstanceMutex(const char* name)
    : m_hMutex(::CreateMutexA(nullptr, TRUE, name)) {
  const DWORD error = ::GetLastError();
  // A mutex we may not open (the first instance runs elevated) exists all
  // the same.
  m_bAlreadyExists = error == ERROR_ALREADY_EXISTS || (!m_hMutex && error == ERROR_ACCESS_DENIED);
}

std::string EnterProgramFolder() {
  std::string path;
  if (!platform::GetModulePath(path)) return {};
  const std::string folder = FolderOfModulePath(path);
  ::SetCurrentDirectoryA(folder.c_str());  // a failure changes nothing we rely on
  return folder;
}

std::optional<std::string> SearchAsked() {
  std::string line;
  if (!platform::NarrowExact(::GetCommandLineW(), line)) {
    // A name the program's text cannot hold names no saved search.
    return SearchOption(::GetCommandLineA());
  }
  return SearchOption(line);
}

void HandOverToFirstInstance(const std::string& title, const std::optional<std::string>& search) {
  // By class as well as title: an Explorer window on a folder of that name
  // has the title too.
  const std::string className = WithoutBlanks(title);
  HWND first = ::FindWindowA(className.c_str(), title.c_str());
  if (!first) return;
  // The running instance asks the password, from its own settings: a copy of
  // the program elsewhere, or one whose settings.dat is gone or damaged, must
  // not show a protected window. This start has the foreground the user gave
  // it, and hands it on.
  DWORD process = 0;
  ::GetWindowThreadProcessId(first, &process);
  ::AllowSetForegroundWindow(process);
  // With /search the running instance opens the search (asking the
  // password itself, as for the notification's click).
  if (!search || !HandSearchToFirstInstance(first, *search))
    ::PostMessageA(first, WM_SECONDSTART, 0, 0);
}

bool CMainApp::InitInstance() {
  const std::string folder = EnterProgramFolder();
  if (folder.empty()) {
    // A look-alike of the folder's name would read and write another
    // settings.dat: better to say so and not start.
    InstallDialogKit();
    ShowMessageBox(nullptr, "Error", "", kMsgProgramFolderInexpressible, IDI_MESSAGE);
    return false;
  }
  char title[64];
  std::snprintf(title, sizeof title, "%s", kProductName);

  const std::optional<std::string> search = SearchAsked();
  CSingleInstanceMutex mutex(kInstanceMutexName);
  if (mutex.AlreadyExists()) {
    HandOverToFirstInstance(title, search);
    mutex.Close();
    return false;
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  ::InitCommonControlsEx(&controls);
  const bool oleReady = SUCCEEDED(::OleInitialize(nullptr));
  ::LoadLibraryA("RICHED20.DLL");  // the boxes' text control; stays for the run
  InstallDialogKit();

  {
    CWindowMain window;
    g_AppData.m_strAppFolder = folder;
    RegisterMainWindowClass();
    const std::string className = MainWindowClassName();
    int init = CWindowMain::INIT_FAILED;
    if (window.CreateInDialogClass(0, className.c_str(), title, WS_OVERLAPPEDWINDOW, RECT{},
                                   nullptr, 0)) {
      fw::SetMainWindow(window.m_hWnd);
      init = window.InitMainWindow();
      if (init == CWindowMain::INIT_RUN && search) window.RequestSearch(*search);
    }
    switch (init) {
      case CWindowMain::INIT_RUN:
        fw::RunMessageLoop([&window](const MSG& msg) { return window.PreTranslateMessage(msg); });
        break;
      case CWindowMain::INIT_FAILED:
        ShowMessageBox(nullptr, "Error", "", "Initialization error.", IDI_MESSAGE);
        window.DestroyWindow();
        break;
      case CWindowMain::INIT_QUIT: window.DestroyWindow(); break;
      default: break;
    }
  }
  if (oleReady) ::OleUninitialize();
  mutex.Close();
  return false;
}

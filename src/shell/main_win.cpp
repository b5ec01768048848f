#include <windows.h>

#include "shell/main_app_win.h"

namespace {

CMainApp g_theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  g_theApp.InitInstance();
  return 0;
}

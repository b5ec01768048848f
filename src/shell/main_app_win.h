#pragma once
// Start-up: one instance per user session. A second start only asks the
// first instance to bring its window back (the first asks the password when
// the window is hidden and protected) and ends; the first creates the main window and runs the
// message loop until the window is destroyed.

#include <windows.h>

#include <optional>
#include <string>

#include "framework/handles_win.h"

// A named mutex that tells a second process that the first runs. It is never
// waited on, only tested for existence.
class CSingleInstanceMutex {
 public:
  explicit CSingleInstanceMutex(const char* name);

  bool AlreadyExists() const { return m_bAlreadyExists; }
  void Close() { m_hMutex.Reset(); }

 private:
  fw::CKernelHandle m_hMutex;
  bool m_bAlreadyExists = false;
};

inline constexpr char kInstanceMutexName[] = "quillorysweeptoolMutex";

class CMainApp {
 public:
  // The whole run: false in every case, as the message loop has already run
  // inside it when it returns.
  bool InitInstance();
};

// The executable's folder with its backslash; also made the current folder. Empty
// when its path has no exact form in the program's text.
std::string EnterProgramFolder();

// What a second start does: asks the first instance's window, found by its
// title and its class (the title without blanks), to show itself, or with
// /search to open that saved search. Nothing when there is none.
void HandOverToFirstInstance(const std::string& title,
                             const std::optional<std::string>& search = std::nullopt);

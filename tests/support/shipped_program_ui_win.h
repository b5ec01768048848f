#pragma once
// The shipped quillory.exe, started as a user starts it (from a folder of its
// own, where it keeps settings.dat) and driven from this process only through
// its windows: real clicks and keys, and the controls' own messages, each
// sent with a bound. Every wait watches the process. A program that ended
// mid-test (its exit code named), a window gone or one that stopped answering
// ends the journey at once: the helper throws, wherever the test called it
// (from the test's thread only), and GoogleTest reports it as a failure.

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

class ShippedProgram {
 public:
  // The program to drive: QUILLORY_EXE when set (a Windows or a host path),
  // else the release build's, the file the zip ships.
  static std::string Source();

  // Copies the program into `folder` and starts it there, as the shell does:
  // its quoted path and one blank; or starts the copy already there again.
  enum class Copy { kYes, kNo };
  // `arguments` follow the quoted path and its blank.
  explicit ShippedProgram(const std::string& folder, Copy copy = Copy::kYes,
                          const std::string& arguments = {});
  // A program still running is ended by its id, and that is a failure.
  ~ShippedProgram();
  ShippedProgram(const ShippedProgram&) = delete;
  ShippedProgram& operator=(const ShippedProgram&) = delete;

  DWORD Id() const { return m_info.dwProcessId; }
  const std::string& Exe() const { return m_strExe; }
  bool Running() const;

  // Waits for `done`; false, with a test failure unless `quietTimeout`, when
  // the bound passed.
  bool Until(const std::string& what, const std::function<bool()>& done,
             std::chrono::milliseconds bound = 30s, bool quietTimeout = false) const;
  // A click at `where` whose effect `done` tells, given again when it does
  // not come: for clicks that set a state (select, focus), never for commands.
  bool ClickUntil(const std::string& what, const std::function<POINT()>& where,
                  const std::function<bool()>& done) const;
  // Clicks into the edit, selects what it holds and types `text` over it.
  bool TypeInto(HWND edit, const std::string& text) const;
  // A visible top-level window of the program with this caption.
  HWND FindWindow(const std::string& caption) const;
  HWND WaitForWindow(const std::string& caption) const;
  bool WaitUntilGone(HWND window, const std::string& what) const;
  // A button of a box clicked once the box is in front, and again while
  // neither `done` (by default: the box closed) comes nor the box has gone:
  // a click that lands as a box appears is now and then lost under Wine.
  bool Press(HWND box, int button, const std::string& what,
             const std::function<bool()>& done = {}) const;
  // The main window once shown and idle.
  HWND WaitForMainWindow() const;
  // Waits for the process to end; true, with its exit code, when it did.
  bool WaitForExit(DWORD& code) const;

 private:
  std::string m_strExe;
  PROCESS_INFORMATION m_info{};
};

// A message to another process's window, with a bound: a window that does
// not answer within 10 s is a hang.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The window's descendant with this id, or of this class.
HWND FindDescendant(HWND parent, int id);
HWND FindDescendantOfClass(HWND parent, const char* className);
// Whether the window is shown and takes input.
bool IsUsable(HWND window);

// A real click of the mouse at a point of the screen, or at a control's centre.
void ClickAt(POINT screen);
void ClickOn(HWND control);
POINT CentreOf(HWND control);
// Real keys through the system's input queue, to whatever has the focus:
// one key with the modifiers held (VK_CONTROL, VK_SHIFT, VK_MENU), and text
// typed character by character.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
void TypeText(const std::string& text);

// The results list: rows, cells, the selection, and where a row and a
// header item are on the screen.
int ListRowCount(HWND list);
std::string ListCell(HWND list, int row, int column);
std::vector<int> ListSelectedRows(HWND list);
POINT ListRowPoint(HWND list, int row);
POINT HeaderItemPoint(HWND list, int column);

// A tree of another process: an item's text and place, and the child of
// `parent` (expanded first) whose text `accept` takes.
std::string TreeItemText(HWND tree, HTREEITEM item);
POINT TreeItemPoint(HWND tree, HTREEITEM item);
HTREEITEM TreeChild(HWND tree, HTREEITEM parent,
                    const std::function<bool(const std::string& text)>& accept);

// The system's boxes as the program opens them: the folder browser, led
// down to `path` by its tree and confirmed; the Save As box given a full path.
bool ChooseFolderInBrowser(const ShippedProgram& program, const std::string& path);
bool SaveAs(const ShippedProgram& program, const std::string& path);

// The program's own windows: a page chosen in the navigation tree (true once
// its control `control` shows), and Exit chosen in the notification icon's
// menu, with the program's exit code.
bool OpenPage(const ShippedProgram& program, HWND main, const std::string& page, int control);
// "Add" clicked and the folder chosen in the browser: true once it is listed.
bool AddFolder(const ShippedProgram& program, HWND main, const std::string& folder);
// The first row clicked, then Ctrl+A: true once every row is selected.
bool SelectEveryRow(const ShippedProgram& program, HWND list);
// "Delete" clicked, its question's text checked against `question` and
// answered "Yes".
bool DeleteAnsweringYes(const ShippedProgram& program, HWND main, const std::string& question);
// "Find" clicked, and its progress window come and gone.
bool FindAndWait(const ShippedProgram& program, HWND main);
bool ExitFromTrayMenu(const ShippedProgram& program, HWND main, DWORD& exitCode);

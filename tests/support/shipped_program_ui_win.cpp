#include "support/shipped_program_ui_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

#include "framework/worker_messages.h"
#include "resources/resource.h"
#include "support/typing_ui_win.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// What an exit code says: the codes of unhandled exceptions are NTSTATUS
// errors, 0xC0000000 and above.
std::string DescribeExit(DWORD code) {
  if (code >= 0xC0000000) return "exit code " + Hex(code) + ": it crashed";
  return "exit code " + std::to_string(code);
}

// The processes of the programs alive in the test, whose exit code names the
// reason when a journey ends.
std::vector<HANDLE> g_programs;

// Ends the journey as a fatal failure would, wherever the helper was called:
// once the program has gone, or stopped answering, every later step could
// only fail again or wait for nothing. GoogleTest reports the exception and
// goes on with the next test.
[[noreturn]] void EndJourney(std::string why) {
  for (HANDLE process : g_programs) {
    DWORD code = 0;
    if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0 &&
        ::GetExitCodeProcess(process, &code)) {
      why = "quillory.exe ended (" + DescribeExit(code) + "): " + why;
      break;
    }
  }
  throw std::runtime_error(why);
}

// Memory in another process, for the controls' messages that take a pointer:
// the control reads and writes it in its own process.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, size_t size) : m_size(size) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    m_hProcess =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (m_hProcess) {
      m_pAddress =
          ::VirtualAllocEx(m_hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    if (!m_pAddress) {
      if (m_hProcess) ::CloseHandle(m_hProcess);
      EndJourney("cannot reach the process of window " + Hex(HandleToULong(window)));
    }
  }
  ~RemoteMemory() {
    ::VirtualFreeEx(m_hProcess, m_pAddress, 0, MEM_RELEASE);
    ::CloseHandle(m_hProcess);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* At(size_t offset = 0) const { return static_cast<char*>(m_pAddress) + offset; }
  LPARAM Param() const { return reinterpret_cast<LPARAM>(m_pAddress); }
  bool Write(const void* data, size_t size, size_t offset = 0) const {
    return offset + size <= m_size &&
           ::WriteProcessMemory(m_hProcess, At(offset), data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    return offset + size <= m_size &&
           ::ReadProcessMemory(m_hProcess, At(offset), data, size, nullptr);
  }
  std::string ReadText(size_t offset, size_t capacity) const {
    std::string text(capacity, '\0');
    if (!Read(text.data(), capacity, offset)) return {};
    text.resize(text.find('\0') == std::string::npos ? capacity : text.find('\0'));
    return text;
  }

 private:
  HANDLE m_hProcess = nullptr;
  void* m_pAddress = nullptr;
  size_t m_size;
};

constexpr size_t kTextCapacity = 1024;

POINT CentreOnScreen(HWND window, RECT rect) {
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

INPUT KeyInput(WORD key, WORD scan, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = scan;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

// ---- the process

std::string ShippedProgram::Source() {
  char value[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA("QUILLORY_EXE", value, sizeof value);
  if (length == 0 || length >= sizeof value) return QUILLORY_RELEASE_EXE;
  std::string path = value;
  if (path[0] == '/') {  // a host path: Wine shows the host's root as Z:
    for (char& c : path)
      if (c == '/') c = '\\';
    path.insert(0, "Z:");
  }
  return path;
}

ShippedProgram::ShippedProgram(const std::string& folder, Copy copy, const std::string& arguments)
    : m_strExe(folder + "\\quillory.exe") {
  const std::string source = Source();
  if (copy == Copy::kYes && !::CopyFileA(source.c_str(), m_strExe.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << source << " to " << m_strExe;
    return;
  }
  std::string commandLine = "\"" + m_strExe + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(m_strExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &m_info)) {
    ADD_FAILURE() << "cannot start " << m_strExe << ": error " << ::GetLastError();
    return;
  }
  g_programs.push_back(m_info.hProcess);
}

ShippedProgram::~ShippedProgram() {
  if (!m_info.hProcess) return;
  std::erase(g_programs, m_info.hProcess);
  if (Running()) {
    if (!::testing::Test::HasFailure() && !std::uncaught_exceptions())
      ADD_FAILURE() << "quillory.exe still runs at the test's end";
    ::TerminateProcess(m_info.hProcess, 1);
    ::WaitForSingleObject(m_info.hProcess, 30000);
  }
  ::CloseHandle(m_info.hThread);
  ::CloseHandle(m_info.hProcess);
}

bool ShippedProgram::Running() const {
  return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool ShippedProgram::Until(const std::string& what, const std::function<bool()>& done,
                           std::chrono::milliseconds bound, bool quietTimeout) const {
  const auto deadline = Clock::now() + bound;
  for (;;) {
    if (!Running()) EndJourney("the test waited for " + what);
    if (done()) return true;
    if (Clock::now() >= deadline) {
      if (!quietTimeout) {
        ADD_FAILURE() << "waited in vain for " << what << ": "
                      << std::chrono::duration_cast<std::chrono::seconds>(bound).count() << " s";
      }
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
}

bool ShippedProgram::ClickUntil(const std::string& what, const std::function<POINT()>& where,
                                const std::function<bool()>& done) const {
  // Under a Wine desktop a real click now and then lands before the pointer
  // has arrived; a click whose effect is a state can simply be given again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    ClickAt(where());
    if (Until(what, done, 3s, true)) return true;
  }
  return Until(what, done, 1ms);
}

bool ShippedProgram::TypeInto(HWND edit, const std::string& text) const {
  const DWORD thread = ::GetWindowThreadProcessId(edit, nullptr);
  auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus == edit;
  };
  // Keys go to whatever has the focus when they come: the click's first.
  if (!ClickUntil(
          "the focus in the box", [&] { return CentreOf(edit); }, focused))
    return false;
  PressKey(VK_HOME);
  PressKey(VK_END, {VK_SHIFT});
  if (text.empty()) PressKey(VK_DELETE);
  TypeText(text);
  return Until("\"" + text + "\" typed", [&] { return ReadText(edit) == text; });
}

HWND ShippedProgram::FindWindow(const std::string& caption) const {
  return FindProcessWindow(Id(), caption);
}

HWND ShippedProgram::WaitForWindow(const std::string& caption) const {
  HWND window = nullptr;
  Until("a window \"" + caption + "\"", [&] { return (window = FindWindow(caption)) != nullptr; });
  return window;
}

bool ShippedProgram::WaitUntilGone(HWND window, const std::string& what) const {
  return Until(what + " to close",
               [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

bool ShippedProgram::Press(HWND box, int button, const std::string& what,
                           const std::function<bool()>& done) const {
  HWND control = ::GetDlgItem(box, button);
  if (!control) EndJourney("no button " + std::to_string(button) + " for " + what);
  const auto gone = [&] { return !::IsWindow(box) || !::IsWindowVisible(box); };
  Until(
      what + ": the box in front", [&] { return gone() || ::GetForegroundWindow() == box; }, 5s,
      true);
  return ClickUntil(
      what, [&] { return CentreOf(control); }, [&] { return done ? done() : gone(); });
}

HWND ShippedProgram::WaitForMainWindow() const {
  HWND window = WaitForWindow("Quillory");
  if (window) ::WaitForInputIdle(m_info.hProcess, 20000);
  // Clicks go where the user sees the window: in front.
  if (window &&
      !Until("the main window in front", [&] { return ::GetForegroundWindow() == window; }))
    return nullptr;
  return window;
}

bool ShippedProgram::WaitForExit(DWORD& code) const {
  // Not through Until, for which the program's end is the end of the journey.
  if (::WaitForSingleObject(m_info.hProcess, 30000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "quillory.exe still runs 30 s later";
    return false;
  }
  return ::GetExitCodeProcess(m_info.hProcess, &code) != FALSE;
}

// ---- windows of another process

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result)) {
    EndJourney(std::string(::IsWindow(window) ? "no answer within 10 s" : "no window") +
               " to message " + Hex(message));
  }
  return static_cast<LRESULT>(result);
}

namespace {

HWND FindDescendantWhere(HWND parent, const std::function<bool(HWND)>& accept) {
  struct Search {
    const std::function<bool(HWND)>* accept;
    HWND found;
  } search{&accept, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (!(*s->accept)(hwnd)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND FindDescendant(HWND parent, int id) {
  return FindDescendantWhere(parent, [id](HWND hwnd) { return ::GetDlgCtrlID(hwnd) == id; });
}

HWND FindDescendantOfClass(HWND parent, const char* className) {
  return FindDescendantWhere(parent, [className](HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, className) == 0;
  });
}

bool IsUsable(HWND window) {
  return window && ::IsWindowVisible(window) && ::IsWindowEnabled(window);
}

// ---- input

void ClickAt(POINT point) {
  // The pointer goes there first, as a hand moves the mouse: under a Wine
  // desktop a button event that comes with its own move can still be taken
  // where the pointer was.
  const LONGLONG width = ::GetSystemMetrics(SM_CXSCREEN);
  const LONGLONG height = ::GetSystemMetrics(SM_CYSCREEN);
  auto mouse = [&](DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    return input;
  };
  INPUT move = mouse(0);
  ::SendInput(1, &move, sizeof move);
  const auto deadline = Clock::now() + 2s;
  for (POINT now{};
       ::GetCursorPos(&now) && (now.x != point.x || now.y != point.y) && Clock::now() < deadline;) {
    std::this_thread::sleep_for(5ms);
  }
  INPUT click[2] = {mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)};
  ::SendInput(2, click, sizeof(INPUT));
}

POINT CentreOf(HWND control) {
  RECT rect{};
  ::GetClientRect(control, &rect);
  return CentreOnScreen(control, rect);
}

void ClickOn(HWND control) { ClickAt(CentreOf(control)); }

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, 0, 0));
  inputs.push_back(KeyInput(key, 0, 0));
  inputs.push_back(KeyInput(key, 0, KEYEVENTF_KEYUP));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
    inputs.push_back(KeyInput(*it, 0, KEYEVENTF_KEYUP));
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& text) {
  std::vector<INPUT> inputs;
  for (unsigned char c : text) {
    inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
    inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---- the results list

int ListRowCount(HWND list) { return static_cast<int>(SendBounded(list, LVM_GETITEMCOUNT)); }

std::string ListCell(HWND list, int row, int column) {
  RemoteMemory memory(list, sizeof(LVITEMA) + kTextCapacity);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = memory.At(sizeof item);
  item.cchTextMax = static_cast<int>(kTextCapacity);
  if (!memory.Write(&item, sizeof item)) return {};
  SendBounded(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), memory.Param());
  return memory.ReadText(sizeof item, kTextCapacity);
}

std::vector<int> ListSelectedRows(HWND list) {
  std::vector<int> rows;
  for (int row = -1;
       (row = static_cast<int>(
            SendBounded(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) != -1;) {
    rows.push_back(row);
  }
  return rows;
}

POINT ListRowPoint(HWND list, int row) {
  SendBounded(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RemoteMemory memory(list, sizeof(RECT));
  RECT rect{LVIR_LABEL, 0, 0, 0};
  memory.Write(&rect, sizeof rect);
  SendBounded(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.Param());
  memory.Read(&rect, sizeof rect);
  return CentreOnScreen(list, rect);
}

POINT HeaderItemPoint(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendBounded(list, LVM_GETHEADER));
  RemoteMemory memory(header, sizeof(RECT));
  RECT rect{};
  SendBounded(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), memory.Param());
  memory.Read(&rect, sizeof rect);
  return CentreOnScreen(header, rect);
}

// ---- trees

std::string TreeItemText(HWND tree, HTREEITEM item) {
  RemoteMemory memory(tree, sizeof(TVITEMA) + kTextCapacity);
  TVITEMA data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = memory.At(sizeof data);
  data.cchTextMax = static_cast<int>(kTextCapacity);
  if (!memory.Write(&data, sizeof data)) return {};
  SendBounded(tree, TVM_GETITEMA, 0, memory.Param());
  return memory.ReadText(sizeof data, kTextCapacity);
}

POINT TreeItemPoint(HWND tree, HTREEITEM item) {
  SendBounded(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RemoteMemory memory(tree, sizeof(RECT));
  // The item goes in where the rectangle comes back.
  memory.Write(&item, sizeof item);
  SendBounded(tree, TVM_GETITEMRECT, TRUE, memory.Param());
  RECT rect{};
  memory.Read(&rect, sizeof rect);
  return CentreOnScreen(tree, rect);
}

HTREEITEM TreeChild(HWND tree, HTREEITEM parent,
                    const std::function<bool(const std::string& text)>& accept) {
  SendBounded(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  auto item = reinterpret_cast<HTREEITEM>(
      SendBounded(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
  for (; item; item = reinterpret_cast<HTREEITEM>(
                   SendBounded(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    if (accept(TreeItemText(tree, item))) return item;
  }
  return nullptr;
}

// ---- the system's boxes

bool ChooseFolderInBrowser(const ShippedProgram& program, const std::string& path) {
  HWND box = program.WaitForWindow("Browse for Folder");
  HWND tree = box ? FindDescendantOfClass(box, "SysTreeView32") : nullptr;
  if (!tree) return false;
  // Desktop, My Computer, the drive (" (C:)"), then each folder by its name.
  auto item = reinterpret_cast<HTREEITEM>(SendBounded(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  item = TreeChild(tree, item, [](const std::string& text) { return text == "My Computer"; });
  std::string drive = "(C:)";
  drive.replace(1, 2, path, 0, 2);
  if (item) {
    item = TreeChild(tree, item, [&](const std::string& text) {
      return text.size() >= drive.size() &&
             lstrcmpiA(text.substr(text.size() - drive.size()).c_str(), drive.c_str()) == 0;
    });
  }
  for (size_t from = 3; item && from < path.size();) {
    size_t end = path.find('\\', from);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(from, end - from);
    item = TreeChild(tree, item, [&](const std::string& text) {
      return lstrcmpiA(text.c_str(), name.c_str()) == 0;
    });
    from = end + 1;
  }
  if (!item) {
    ADD_FAILURE() << "the folder browser does not show " << path;
    return false;
  }
  if (!program.ClickUntil(
          "the folder browser's selection", [&] { return TreeItemPoint(tree, item); },
          [&] {
            return reinterpret_cast<HTREEITEM>(SendBounded(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) ==
                   item;
          })) {
    return false;
  }
  return program.Press(box, IDOK, "the folder browser closed");
}

bool SaveAs(const ShippedProgram& program, const std::string& path) {
  HWND box = program.WaitForWindow("Save As");
  if (!box) return false;
  // The file name box: an edit of its own, or the edit of a combo box.
  HWND name = ::GetDlgItem(box, 0x480);  // edt1
  if (!name) {
    HWND combo = ::GetDlgItem(box, 0x47C);  // cmb13
    name = combo ? FindDescendantOfClass(combo, "Edit") : nullptr;
  }
  if (!name) {
    ADD_FAILURE() << "the Save As box has no file name box";
    return false;
  }
  SendBounded(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  return program.Press(box, IDOK, "the Save As box closed");
}

// ---- the program's own windows

bool OpenPage(const ShippedProgram& program, HWND main, const std::string& page, int control) {
  HWND tree = FindDescendantOfClass(main, "SysTreeView32");
  HTREEITEM item =
      tree ? TreeChild(tree, TVI_ROOT, [&](const std::string& text) { return text == page; })
           : nullptr;
  if (!item) {
    ADD_FAILURE() << "no page \"" << page << "\" in the navigation tree";
    return false;
  }
  HWND shown = FindDescendant(main, control);
  return program.ClickUntil(
      "the page \"" + page + "\"", [&] { return TreeItemPoint(tree, item); },
      [&] { return ::IsWindowVisible(shown) != FALSE; });
}

bool AddFolder(const ShippedProgram& program, HWND main, const std::string& folder) {
  HWND folders = FindDescendant(main, IDC_LIST_FOLDERS);
  const int before = ListRowCount(folders);
  ClickOn(FindDescendant(main, IDC_ADD));
  return ChooseFolderInBrowser(program, folder) && program.Until("the folder in the list", [&] {
    return ListRowCount(folders) == before + 1 && ListCell(folders, before, 1) == folder;
  });
}

bool SelectEveryRow(const ShippedProgram& program, HWND list) {
  if (!program.ClickUntil(
          "a row selected", [&] { return ListRowPoint(list, 0); },
          [&] { return ListSelectedRows(list) == std::vector{0}; }))
    return false;
  PressKey('A', {VK_CONTROL});
  return program.Until("every row selected", [&] {
    return static_cast<int>(ListSelectedRows(list).size()) == ListRowCount(list);
  });
}

bool DeleteAnsweringYes(const ShippedProgram& program, HWND main, const std::string& question) {
  ClickOn(FindDescendant(main, IDC_DELETE));
  HWND box = program.WaitForWindow("Warning");
  if (!box) return false;
  const std::string text = ReadText(FindDescendant(box, IDC_BOX_TEXT));
  EXPECT_EQ(text, question);
  return text == question && program.Press(box, IDOK, "the question answered Yes");
}

bool FindAndWait(const ShippedProgram& program, HWND main) {
  ClickOn(FindDescendant(main, IDC_FIND));
  HWND progress = program.WaitForWindow("Files Searching");
  return progress && program.WaitUntilGone(progress, "the progress window");
}

bool ExitFromTrayMenu(const ShippedProgram& program, HWND main, DWORD& exitCode) {
  // What the notification area sends on a right click of the icon.
  ::PostMessageA(main, WM_TRAYNOTIFY, ID_TRAYICON, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  if (!program.Until("the notification icon's menu", [&] {
        return (menu = ::FindWindowA("#32768", nullptr)) != nullptr && ::IsWindowVisible(menu);
      })) {
    return false;
  }
  // "Exit" is the menu's last entry.
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  return program.WaitForExit(exitCode);
}

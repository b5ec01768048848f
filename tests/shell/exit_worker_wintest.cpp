// Exiting while a search or delete worker runs: the worker is held while the
// question is open, goes on after No, and after Yes is told to stop and has
// ended before the windows and the settings are torn down.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/message_box_win.h"
#include "results/del_entries_thread.h"
#include "search/scan_entries_thread.h"
#include "search/search_page_win.h"
#include "settings/app_data.h"
#include "shell/main_window_win.h"
#include "support/box_answerer_ui_win.h"
#include "support/box_series_ui_win.h"
#include "support/main_window_ui_win.h"
#include "support/temp_dir.h"

namespace {

constexpr UINT WM_TEST_STARTED = WM_APP + 10;
constexpr UINT WM_TEST_PROGRESS = WM_APP + 11;
constexpr UINT WM_TEST_REFILL = WM_APP + 12;

// Stands in for the progress window: it takes the exit's three requests and
// passes them to the worker, and it is the worker's sink, with its messages
// sent to the user-interface thread as the real one sends them.
class CTestProgressWindow : public fw::CWindow, public IWorkerHost, public IWorkerSink {
 public:
  CWorkerThread* m_pWorker = nullptr;
  std::vector<UINT> m_requests;  // the exit's requests, in order
  std::atomic<int> m_nSentProgress{0};
  std::function<void()> m_onProgress;  // on the user-interface thread
  int m_nStarted = 0;
  int m_nRefills = 0;
  bool m_bSettingsSavedAtRefill = false;
  bool m_bMainWindowAtRefill = false;

  CTestProgressWindow() {
    static bool registered = [] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = fw::CWindow::WindowProc;
      windowClass.hInstance = ::GetModuleHandleA(nullptr);
      windowClass.lpszClassName = "QuilloryTestProgress";
      return ::RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    Create(0, "QuilloryTestProgress", "Progress", WS_POPUP, RECT{}, nullptr, 0);
  }

  HWND GetProgressWindow() const override { return m_hWnd; }
  // As the real one: only while the task runs, which the worker itself ends
  // before its last refill.
  CWorkerThread* GetRunningWorker() const override {
    return g_AppData.m_nRunningTask != 0 ? m_pWorker : nullptr;
  }
  CWorkerThread* GetUnfinishedWorker() const override {
    return m_pWorker && !m_pWorker->IsDone() ? m_pWorker : nullptr;
  }

  // The worker's side, on its own thread.
  void SendStarted() override { Send(WM_TEST_STARTED); }
  void SendProgress() override { Send(WM_TEST_PROGRESS); }
  void PostProgress() override {}
  void PostFinished() override {}
  int AskChoice(const std::string& text) override {
    return ::AskChoice(nullptr, "Warning", "", text, IDI_MESSAGE, {0, 0, 1, 1, 1},
                       {"", "", "Cancel", "Skip", "Skip all"});
  }
  void ShowMessage(const std::string& text) override {
    ShowMessageBox(nullptr, "Warning", "", text, IDI_MESSAGE);
  }
  void RefillResults(const std::string&) override { Send(WM_TEST_REFILL); }
  void NotifyShell() override {}

 private:
  void OnPause() {
    m_requests.push_back(WM_WORKER_PAUSE);
    m_pWorker->Pause();
  }
  void OnResume() {
    m_requests.push_back(WM_WORKER_RESUME);
    m_pWorker->Resume();
  }
  void OnStop() {
    m_requests.push_back(WM_WORKER_STOP);
    m_pWorker->Stop();
  }
  void OnStarted() { ++m_nStarted; }
  void OnProgress() {
    ++m_nSentProgress;
    if (m_onProgress) m_onProgress();
  }
  void OnRefill() {
    g_AppData.DropRemovedResults();  // as the results list does
    ++m_nRefills;
    g_AppData.DropRemovedResults();  // as the results list's refill does
    m_bSettingsSavedAtRefill = FileExists(g_AppData.m_strAppFolder + "settings.dat");
    m_bMainWindowAtRefill = g_pMainWnd && ::IsWindow(g_pMainWnd->m_hWnd);
  }

  static constexpr fw::MessageEntry<CTestProgressWindow> kMessageTable[] = {
      {fw::Message<WM_WORKER_PAUSE>, &CTestProgressWindow::OnPause},
      {fw::Message<WM_WORKER_RESUME>, &CTestProgressWindow::OnResume},
      {fw::Message<WM_WORKER_STOP>, &CTestProgressWindow::OnStop},
      {fw::Message<WM_TEST_STARTED>, &CTestProgressWindow::OnStarted},
      {fw::Message<WM_TEST_PROGRESS>, &CTestProgressWindow::OnProgress},
      {fw::Message<WM_TEST_REFILL>, &CTestProgressWindow::OnRefill},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

using Requests = std::vector<UINT>;

constexpr int kTreeFiles = 200;

// A tree of 200 files in ten folders.
void MakeTree(TempDir& dir) {
  for (int i = 0; i < kTreeFiles; ++i) {
    dir.MakeFile("folder" + std::to_string(i % 10) + "/file" + std::to_string(i) + ".txt", 10);
  }
}

// The scan as the progress window starts it.
struct ScanRun {
  SearchCriteria criteria;
  CTestProgressWindow host;
  std::unique_ptr<CScanEntriesThread> worker;

  ScanRun(MainWindowRun& run, std::vector<std::string> folders) {
    g_AppData.m_arrFolders = std::move(folders);
    g_AppData.m_nTask = TASK_SEARCH;
    g_AppData.m_nRunningTask = TASK_SEARCH;
    worker = std::make_unique<CScanEntriesThread>(&criteria);
    worker->m_pProgressDlg = &host;
    host.m_pWorker = worker.get();
    run.Main().m_pWorkerHost = &host;
  }
  // Whatever a test left, the worker ends before its window and object go.
  ~ScanRun() {
    worker->Stop();
    PumpUntil([&] { return worker->IsDone(); });
  }
};

TEST(ExitWithWorker, DuringAScanAnsweredNoTheScanGoesOn) {
  TempDir tree;
  MakeTree(tree);
  MainWindowRun run;
  ScanRun scan(run, {tree.Path()});
  // Hold the scan in the middle of the tree, so it cannot finish meanwhile.
  scan.host.m_onProgress = [&] {
    if (scan.host.m_nSentProgress == 50) scan.worker->Pause();
  };
  scan.worker->ResumeThread();
  ASSERT_TRUE(PumpUntil([&] { return scan.host.m_nSentProgress >= 50; }));

  BoxSeries no("Files Searching", {IDCANCEL});
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(no.Join());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  EXPECT_EQ(scan.host.m_requests, (Requests{WM_WORKER_PAUSE, WM_WORKER_RESUME}));
  EXPECT_EQ(scan.worker->m_bStop.load(), 0);
  EXPECT_TRUE(run.SettingsBytes().empty());

  scan.worker->Resume();
  ASSERT_TRUE(PumpUntil([&] { return scan.worker->IsDone(); }));
  EXPECT_EQ(scan.worker->m_nProcessed.load(), static_cast<uint32_t>(kTreeFiles));
  EXPECT_EQ(g_AppData.GetResultCount(), static_cast<size_t>(kTreeFiles));
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
}

TEST(ExitWithWorker, DuringAScanAnsweredYesTheScanEndsBeforeTheTeardown) {
  TempDir tree;
  MakeTree(tree);
  MainWindowRun run;
  ScanRun scan(run, {tree.Path()});
  scan.host.m_onProgress = [&] {
    if (scan.host.m_nSentProgress == 50) scan.worker->Pause();
  };
  scan.worker->ResumeThread();
  ASSERT_TRUE(PumpUntil([&] { return scan.host.m_nSentProgress >= 50; }));

  // Let go of the test's own hold; the exit's holds the worker until the answer.
  BoxSeries yes("Files Searching", {IDOK}, [&](HWND) { scan.worker->Resume(); });
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(yes.Join());

  EXPECT_EQ(scan.host.m_requests, (Requests{WM_WORKER_PAUSE, WM_WORKER_RESUME, WM_WORKER_STOP}));
  EXPECT_TRUE(scan.worker->IsDone());
  EXPECT_LT(scan.worker->m_nProcessed.load(), static_cast<uint32_t>(kTreeFiles));
  // Its last refill was served while the window and the settings were whole.
  EXPECT_EQ(scan.host.m_nRefills, 1);
  EXPECT_TRUE(scan.host.m_bMainWindowAtRefill);
  EXPECT_FALSE(scan.host.m_bSettingsSavedAtRefill);
  EXPECT_EQ(g_AppData.m_nRunningTask, TASK_NONE);
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
}

TEST(ExitWithWorker, WhileTheWorkersQuestionIsOpenItIsCancelled) {
  TempDir tree;
  MakeTree(tree);
  MainWindowRun run;
  // A listed folder that is gone: after its walk the worker asks about it.
  ScanRun scan(run, {tree / "gone", tree.Path()});
  scan.worker->ResumeThread();
  ASSERT_TRUE(PumpUntil([] { return FindOwnWindow("Warning") != nullptr; }));

  BoxSeries yes("Files Searching", {IDOK});
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(yes.Join());

  EXPECT_TRUE(scan.worker->IsDone());
  EXPECT_EQ(FindOwnWindow("Warning"), nullptr);
  EXPECT_EQ(scan.worker->m_nMissingAnswer, ASK_CANCEL);
  EXPECT_TRUE(scan.host.m_bMainWindowAtRefill);
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
}

TEST(ExitWithWorker, AWorkerInItsFinalRefillIsWaitedFor) {
  TempDir empty;
  MainWindowRun run;
  ScanRun scan(run, {empty.Path()});
  // Held at its gate after the start, so that serving the start (sent)
  // cannot serve the final refill too when the worker is quick.
  scan.worker->Pause();
  scan.worker->ResumeThread();
  ASSERT_TRUE(WaitUntil([&] {
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    return scan.host.m_nStarted == 1;
  }));
  // Nothing more is served: in an empty folder the worker then clears the
  // running task and waits in its final refill.
  scan.worker->Resume();
  ASSERT_TRUE(WaitUntil([] { return g_AppData.m_nRunningTask == 0; }));
  ASSERT_EQ(scan.host.m_nRefills, 0);

  // No question: no task runs as far as the exit can tell.
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(scan.worker->IsDone());
  EXPECT_EQ(scan.host.m_nRefills, 1);
  EXPECT_TRUE(scan.host.m_bMainWindowAtRefill);
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
}

// A worker stuck where no stop reaches it, as in a call to a drive that does
// not answer.
class CStuckWorker : public CWorkerThread {
 public:
  CStuckWorker() : CWorkerThread(g_AppData.m_nTask, g_AppData.m_nRunningTask) {}
  HANDLE m_hNever = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CountTexts GetCountTexts() const override { return {}; }
  const char* GetCaption() const override { return "Files Searching"; }
  const char* GetStopQuestion() const override { return "Stop?"; }
  const char* GetExitQuestion() const override { return "Exit?"; }

 private:
  void Work() override { ::WaitForSingleObject(m_hNever, INFINITE); }
};

// Written by a static object's destructor: the static destructors ran.
constexpr char kChildFolderVariable[] = "QUILLORY_EXIT_CHILD_FOLDER";

std::string ChildFolder() {
  char folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA(kChildFolderVariable, folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder) : std::string();
}

struct DestructorWitness {
  ~DestructorWitness() {
    const std::string folder = ChildFolder();
    if (!folder.empty())
      CloseHandle(::CreateFileA((folder + "\\destructors-ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
} g_destructorWitness;

// The child process's part of the next test; skipped when run on its own.
TEST(ExitWithWorkerChild, AWorkerThatDoesNotEnd) {
  const std::string folder = ChildFolder();
  if (folder.empty()) GTEST_SKIP() << "run by AWorkerThatDoesNotEndEndsTheProcessAfterSaving";
  MainWindowRun run;
  g_AppData.m_strAppFolder = folder + "\\";
  CTestProgressWindow host;
  auto* worker = new CStuckWorker;  // never deleted: the process ends under it
  host.m_pWorker = worker;
  run.Main().m_pWorkerHost = &host;
  run.Main().m_nWorkerEndBound = std::chrono::milliseconds(300);
  g_AppData.m_nTask = TASK_SEARCH;
  g_AppData.m_nRunningTask = TASK_SEARCH;
  worker->ResumeThread();

  BoxSeries yes("Files Searching", {IDOK});
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  // Only reached when the exit went on to tear down under the worker.
  std::ofstream(folder + "\\exit-returned") << "";
}

TEST(ExitWithWorker, AWorkerThatDoesNotEndEndsTheProcessAfterSaving) {
  TempDir folder;
  char exe[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string commandLine =
      std::string("\"") + exe + "\" --gtest_filter=ExitWithWorkerChild.AWorkerThatDoesNotEnd";
  ASSERT_TRUE(::SetEnvironmentVariableA(kChildFolderVariable, folder.Path().c_str()));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &child);
  ::SetEnvironmentVariableA(kChildFolderVariable, nullptr);
  ASSERT_TRUE(started);
  fw::CKernelHandle process(child.hProcess);
  fw::CKernelHandle thread(child.hThread);
  ASSERT_EQ(::WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(child.hProcess, &code);
  EXPECT_EQ(code, 0u);
  // Saved first, then ended at once: nothing was torn down under the worker.
  EXPECT_EQ(ReadWholeFile(folder / "settings.dat").size(), settings_bytes::kSizeWithoutHash);
  EXPECT_FALSE(FileExists(folder / "exit-returned"));
  EXPECT_FALSE(FileExists(folder / "destructors-ran"));
}

// ---- the whole road: "Find" on the search page, the real progress window

TEST(ExitWithWorker, FromTheSearchPagesOwnSearch) {
  TempDir tree;
  MakeTree(tree);
  MainWindowRun run;
  CWindowProgressUnDelete& progress = g_SearchPage.m_wndProgress;
  ASSERT_EQ(run.Main().m_pWorkerHost, static_cast<IWorkerHost*>(&progress));
  g_AppData.m_arrFolders = {tree.Path()};
  g_SearchPage.RefillFolders();
  g_SearchPage.Send(WM_COMMAND, MAKEWPARAM(IDC_FIND, BN_CLICKED));
  auto* worker = dynamic_cast<CScanEntriesThread*>(progress.GetWorker());
  ASSERT_NE(worker, nullptr);
  // Held at its first file (it waits for this thread to take its start).
  worker->Pause();

  BoxSeries no("Files Searching", {IDCANCEL});
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(no.Join());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  EXPECT_EQ(worker->m_bStop.load(), 0);
  EXPECT_FALSE(worker->IsDone());

  BoxSeries yes("Files Searching", {IDOK}, [&](HWND) { worker->Resume(); });
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(yes.Join());
  EXPECT_TRUE(worker->IsDone());
  EXPECT_LT(worker->m_nProcessed.load(), static_cast<uint32_t>(kTreeFiles));
  EXPECT_EQ(g_AppData.m_nRunningTask, TASK_NONE);
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
}

TEST(ExitWithWorker, WhileTheCancelQuestionHoldsTheWorkerTheStopReleasesIt) {
  TempDir tree;
  MakeTree(tree);
  MainWindowRun run;
  // Were the worker held until the bound, the exit would end the process.
  run.Main().m_nWorkerEndBound = std::chrono::minutes(5);
  // As in the program: the progress window, and so its question, belong to
  // the main window and go with it.
  fw::SetMainWindow(run.Hwnd());
  CWindowProgressUnDelete& progress = g_SearchPage.m_wndProgress;
  g_AppData.m_arrFolders = {tree.Path()};
  g_SearchPage.RefillFolders();
  g_SearchPage.Send(WM_COMMAND, MAKEWPARAM(IDC_FIND, BN_CLICKED));
  auto* worker = dynamic_cast<CScanEntriesThread*>(progress.GetWorker());
  ASSERT_NE(worker, nullptr);

  // The user presses Cancel; with its question open, "Exit" in the icon's
  // menu comes through the question's own message loop and is answered Yes.
  run.Main().Post(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
  BoxSeries yes("Files Searching", {IDOK});
  progress.Send(WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED));
  fw::SetMainWindow(nullptr);
  MSG quit;  // what the program's loop would have ended on
  while (::PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_TRUE(yes.Join());
  EXPECT_TRUE(worker->IsDone());
  EXPECT_LT(worker->m_nProcessed.load(), static_cast<uint32_t>(kTreeFiles));
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
  EXPECT_EQ(progress.m_hWnd, nullptr);
  EXPECT_EQ(run.Saved(SavedField::kShowCommand), SW_SHOWNORMAL);
}

// ---- deleting

struct DeleteRun {
  TempDir dir;
  std::vector<std::string> paths;
  std::vector<int32_t> selected;
  CTestProgressWindow host;
  std::unique_ptr<CDelEntriesThread> worker;

  DeleteRun(MainWindowRun& run, int files) {
    for (int i = 0; i < files; ++i) {
      const std::string name = "doomed" + std::to_string(i) + ".txt";
      paths.push_back(dir.MakeFile(name, 10));
      g_AppData.AddResult(name, dir.Path() + "\\", "txt", 10, "01/01/24 00:00:00", 1704085200,
                          ListedIdentity(paths.back()));
      g_AppData.m_arrDeleteMarks.back() = 1;
      selected.push_back(i);
    }
    g_AppData.m_nTask = TASK_DELETE;
    g_AppData.m_nRunningTask = TASK_DELETE;
    worker = std::make_unique<CDelEntriesThread>(&selected);
    worker->m_pProgressDlg = &host;
    host.m_pWorker = worker.get();
    run.Main().m_pWorkerHost = &host;
    // Held before its first file until the test lets it go.
    worker->Pause();
    worker->ResumeThread();
  }
  ~DeleteRun() {
    worker->Stop();
    worker->Resume();
    PumpUntil([&] { return worker->IsDone(); });
  }

  int Existing() const {
    int count = 0;
    for (const std::string& path : paths) count += FileExists(path) ? 1 : 0;
    return count;
  }
};

TEST(ExitWithWorker, DuringADeleteAnsweredNoTheDeleteGoesOn) {
  MainWindowRun run;
  DeleteRun remove(run, 30);

  BoxSeries no("Deleting Files", {IDCANCEL});
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_MENU_EXIT, 0));
  EXPECT_TRUE(no.Join());
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
  EXPECT_EQ(remove.host.m_requests, (Requests{WM_WORKER_PAUSE, WM_WORKER_RESUME}));
  EXPECT_EQ(remove.Existing(), 30);

  remove.worker->Resume();
  ASSERT_TRUE(PumpUntil([&] { return remove.worker->IsDone(); }));
  EXPECT_EQ(remove.Existing(), 0);
  EXPECT_EQ(g_AppData.GetResultCount(), 0u);
  EXPECT_TRUE(::IsWindow(run.Hwnd()));
}

TEST(ExitWithWorker, DuringADeleteAnsweredYesTheDeleteStopsBeforeTheTeardown) {
  MainWindowRun run;
  DeleteRun remove(run, 30);

  BoxSeries yes("Deleting Files", {IDOK}, [&](HWND) { remove.worker->Resume(); });
  run.Main().Send(WM_COMMAND, MAKEWPARAM(ID_BUTTON_EXIT, BN_CLICKED));
  EXPECT_TRUE(yes.Join());
  EXPECT_EQ(remove.host.m_requests, (Requests{WM_WORKER_PAUSE, WM_WORKER_RESUME, WM_WORKER_STOP}));
  EXPECT_TRUE(remove.worker->IsDone());
  EXPECT_TRUE(remove.host.m_bMainWindowAtRefill);
  EXPECT_FALSE(remove.host.m_bSettingsSavedAtRefill);
  EXPECT_EQ(run.Main().m_hWnd, nullptr);
  // Whatever it deleted before the stop, the store lists exactly the rest.
  EXPECT_EQ(g_AppData.GetResultCount(), static_cast<size_t>(remove.Existing()));
  for (size_t row = 0; row < g_AppData.GetResultCount(); ++row) {
    EXPECT_TRUE(FileExists(g_AppData.GetResultPath(row))) << row;
  }
}

}  // namespace

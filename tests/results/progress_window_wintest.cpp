#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dialogs/message_box_win.h"
#include "results/del_entries_thread.h"
#include "results/progress_window_win.h"
#include "results_host_win.h"
#include "search/scan_entries_thread.h"
#include "support/box_answerer_ui_win.h"
#include "support/box_series_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

namespace {

// "Number of processed files:" and the count. (Built with snprintf: g++ 12
// warns wrongly about adding a literal to a std::to_string result.)
std::string ProcessedText(uint32_t count) {
  char text[64];
  std::snprintf(text, sizeof text, "Number of processed files:%u", count);
  return text;
}

bool DlgVisible(HWND window, int id) {
  return (::GetWindowLongPtrA(::GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// Watches the progress window from the inside: what it handled, in order,
// and what its labels read after each counter message and when it goes.
struct ProgressSpy {
  HWND window = nullptr;
  std::vector<UINT> handled;
  int progressCount = 0;
  std::vector<std::string> firstTexts;   // label 1202 after each progress message
  std::vector<std::string> secondTexts;  // label 1203
  bool countsHiddenBeforeFirstProgress = true;
  bool statusShownAtStart = false;
  std::string statusAtStart = "unset";
  std::string firstAtClose, secondAtClose;
  bool inCloseTimer = false;  // within the close timer's message
  bool destroyedByCloseTimer = false;
  std::function<void(ProgressSpy&)> afterProgress;

  void Attach(HWND hwnd) {
    window = hwnd;
    ::SetWindowSubclass(hwnd, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    auto& spy = *reinterpret_cast<ProgressSpy*>(data);
    const bool watched =
        (message >= WM_WORKER_FINISHED && message <= WM_WORKER_PROGRESS) || message == WM_DESTROY;
    if (watched) spy.handled.push_back(message);
    if (message == WM_WORKER_PROGRESS && spy.progressCount == 0) {
      spy.countsHiddenBeforeFirstProgress = !DlgVisible(hwnd, IDC_PROGRESS_FIRST_COUNT) &&
                                            !DlgVisible(hwnd, IDC_PROGRESS_SECOND_COUNT);
    }
    if (message == WM_DESTROY) {
      spy.destroyedByCloseTimer = spy.inCloseTimer;
      spy.firstAtClose = ReadItemText(hwnd, IDC_PROGRESS_FIRST_COUNT);
      spy.secondAtClose = ReadItemText(hwnd, IDC_PROGRESS_SECOND_COUNT);
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, Proc, 1);

    // The window's close timer (its first, id 1).
    const bool closeTimer = message == WM_TIMER && wParam == 1;
    if (closeTimer) spy.inCloseTimer = true;
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (closeTimer) spy.inCloseTimer = false;

    if (message == WM_WORKER_STARTED) {
      spy.statusShownAtStart = DlgVisible(hwnd, IDC_PROGRESS_STATUS);
      spy.statusAtStart = ReadItemText(hwnd, IDC_PROGRESS_STATUS);
    }
    if (message == WM_WORKER_PROGRESS) {
      ++spy.progressCount;
      spy.firstTexts.push_back(ReadItemText(hwnd, IDC_PROGRESS_FIRST_COUNT));
      spy.secondTexts.push_back(ReadItemText(hwnd, IDC_PROGRESS_SECOND_COUNT));
      if (spy.afterProgress) spy.afterProgress(spy);
    }
    return result;
  }

  int Count(UINT message) const {
    int count = 0;
    for (UINT m : handled) count += m == message;
    return count;
  }
};

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallDialogKit();
    fw::SetMainWindow(m_host.m_hWnd);
    m_window.SetResultsView(&m_host.m_view);
  }

  void TearDown() override {
    // Whatever a failed test left: no window, no worker still running.
    if (m_window.m_hWnd) ::DestroyWindow(m_window.m_hWnd);
    PumpUntil([&] { return WorkersDone(); }, 30s);
    fw::SetMainWindow(nullptr);
  }

  bool WorkersDone() const { return !m_window.GetUnfinishedWorker(); }

  // The search page's "Find", as far as the window is concerned.
  HWND StartSearch() {
    m_data.m_arrFolders = {m_dir.Path()};
    m_data.ClearResults();
    m_data.m_nFoundCount = 0;
    m_data.m_nTask = TASK_SEARCH;
    auto worker = std::make_unique<CScanEntriesThread>(&m_criteria, &m_data);
    m_pScan = worker.get();
    HWND window = m_window.Open("Files Searching", std::move(worker));
    if (window) m_spy.Attach(window);
    return window;
  }

  // The search page's "Delete": the rows numbered `numbers` chosen.
  HWND StartDelete(std::initializer_list<int> numbers) {
    m_host.m_view.RefillResults();
    for (int number : numbers) {
      LVITEMA state{};
      state.stateMask = state.state = LVIS_SELECTED;
      m_host.m_view.m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(number - 1),
                                       reinterpret_cast<LPARAM>(&state));
    }
    return OpenDelete();
  }

  HWND StartDeleteAll() {
    m_host.m_view.RefillResults();
    LVITEMA all{};
    all.stateMask = all.state = LVIS_SELECTED;
    m_host.m_view.m_listResults.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(&all));
    return OpenDelete();
  }

  HWND OpenDelete() {
    m_host.m_view.CollectSelectedResults();
    m_data.m_nTask = TASK_DELETE;
    auto worker = std::make_unique<CDelEntriesThread>(&m_host.m_view.m_arrSelectedResults, &m_data);
    m_pDelete = worker.get();
    HWND window = m_window.Open("Deleting Files", std::move(worker));
    if (window) m_spy.Attach(window);
    return window;
  }

  void AddFileRows(int count) {
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "d%04d.txt", i);
      AddFileRow(name, true);
    }
  }

  // Runs until the window has closed and the worker has ended.
  bool RunToTheEnd(HWND window) {
    // With the dialog manager's keys (Esc) as the program's loop has them.
    return PumpUntil([&] { return !::IsWindow(window) && WorkersDone(); }, 30s, kProgramKeys);
  }

  void MakeFiles(int count, int txtEvery = 0) {
    char name[64];
    for (int i = 0; i < count; ++i) {
      const bool txt = txtEvery && i % txtEvery == 0;
      std::snprintf(name, sizeof name, "file%05d.%s", i, txt ? "txt" : "bin");
      m_dir.MakeFile(name, 10);
    }
  }

  // A row of the store for a file in the folder; the file itself only when `onDisk`.
  std::string AddFileRow(const std::string& name, bool onDisk) {
    const std::string path = onDisk ? m_dir.MakeFile(name, 20) : m_dir / name;
    m_data.AddResult(name, m_dir.Path() + "\\", "txt", 20, "01/15/24 12:30:00", 1705339800,
                     ListedIdentity(path));
    m_data.m_nFoundCount = static_cast<int64_t>(m_data.GetResultCount());
    return path;
  }

  std::vector<std::string> StoreNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < m_data.GetResultCount(); ++i) {
      names.emplace_back(m_data.m_arrFoundNames[i]);
    }
    return names;
  }

  uint32_t Processed() const { return m_pScan->m_nProcessed.load(); }

  TempDir m_dir;
  CAppData m_data;
  CResultsHost m_host{&m_data};
  SearchCriteria m_criteria;
  ProgressSpy m_spy;
  CWindowProgressUnDelete m_window{&m_data};
  // The workers handed to the window last; it owns them.
  CScanEntriesThread* m_pScan = nullptr;
  CDelEntriesThread* m_pDelete = nullptr;
};

// ---- a whole run

TEST_F(ProgressWindowTest, ASearchCountsShowsTheResultsAndClosesAfterItsFinish) {
  MakeFiles(25, 5);
  m_criteria.m_strExtension = "txt";
  // Nothing to run: no window, which nothing would close.
  EXPECT_EQ(m_window.Open("Files Searching", nullptr), nullptr);
  EXPECT_EQ(m_data.m_nRunningTask, TASK_NONE);
  HWND window = StartSearch();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(m_data.m_nRunningTask, TASK_SEARCH);
  EXPECT_FALSE(m_host.m_view.m_wndFind.IsEnabled());
  EXPECT_EQ(m_window.GetProgressWindow(), window);
  EXPECT_EQ(m_window.GetRunningWorker(), m_pScan);
  // The start: five labels, the bar and its frame hidden; Cancel usable.
  for (int id :
       {IDC_PROGRESS_UNUSED1, IDC_PROGRESS_UNUSED2, IDC_PROGRESS_STATUS, IDC_PROGRESS_FIRST_COUNT,
        IDC_PROGRESS_SECOND_COUNT, IDC_PROGRESS_BAR, IDC_PROGRESS_FRAME}) {
    EXPECT_FALSE(DlgVisible(window, id)) << id;
  }
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_PROGRESS_BAR)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDC_PROGRESS_CANCEL)));

  ASSERT_TRUE(RunToTheEnd(window));

  EXPECT_TRUE(m_spy.statusShownAtStart);
  EXPECT_EQ(m_spy.statusAtStart, "");
  EXPECT_TRUE(m_spy.countsHiddenBeforeFirstProgress);
  EXPECT_EQ(m_spy.firstAtClose, "Number of processed files:25");
  EXPECT_EQ(m_spy.secondAtClose, "Found 5 files");
  for (size_t i = 0; i < m_spy.firstTexts.size(); ++i) {
    EXPECT_EQ(m_spy.firstTexts[i].rfind("Number of processed files:", 0), 0u)
        << m_spy.firstTexts[i];
    EXPECT_EQ(m_spy.secondTexts[i].rfind("Found ", 0), 0u) << m_spy.secondTexts[i];
  }
  // The window stays a while after the finish: it goes by its own timer.
  ASSERT_EQ(m_spy.Count(WM_WORKER_FINISHED), 1);
  EXPECT_EQ(m_spy.handled.back(), static_cast<UINT>(WM_DESTROY));
  EXPECT_TRUE(m_spy.destroyedByCloseTimer);

  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
  EXPECT_EQ(m_data.m_nRunningTask, TASK_NONE);
  EXPECT_EQ(m_window.GetRunningWorker(), nullptr);
  EXPECT_EQ(m_window.GetProgressWindow(), nullptr);
  EXPECT_EQ(m_host.m_view.m_listResults.GetItemCount(), 5);
  EXPECT_EQ(m_host.m_view.m_wndTotal.GetText(), "Total number of found files: 5");
  EXPECT_TRUE(m_host.m_view.m_wndFind.IsEnabled());
  EXPECT_TRUE(m_host.m_view.m_wndDelete.IsEnabled());
}

TEST_F(ProgressWindowTest, ADeleteCountsTheChosenAndTheDeletedAndLeavesTheRest) {
  std::vector<std::string> paths;
  for (const char* name : {"one.txt", "two.txt", "three.txt", "four.txt", "five.txt"}) {
    paths.push_back(AddFileRow(name, true));
  }
  HWND window = StartDelete({2, 3});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(m_data.m_nRunningTask, TASK_DELETE);
  EXPECT_EQ(m_window.GetRunningWorker(), m_pDelete);
  ASSERT_TRUE(RunToTheEnd(window));

  EXPECT_EQ(m_spy.firstAtClose, "Total number of files:2");
  EXPECT_EQ(m_spy.secondAtClose, "Number of deleted files: 2");
  EXPECT_TRUE(FileExists(paths[0]));
  EXPECT_FALSE(FileExists(paths[1]));
  EXPECT_FALSE(FileExists(paths[2]));
  EXPECT_TRUE(FileExists(paths[3]));
  EXPECT_TRUE(FileExists(paths[4]));
  EXPECT_EQ(StoreNames(), (std::vector<std::string>{"one.txt", "four.txt", "five.txt"}));
  EXPECT_EQ(ColumnTexts(m_host.m_view.m_listResults, 1),
            (std::vector<std::string>{"one.txt", "four.txt", "five.txt"}));
  EXPECT_EQ(ColumnTexts(m_host.m_view.m_listResults, 0), (std::vector<std::string>{"1", "2", "3"}));
  // The search's count stays.
  EXPECT_EQ(m_host.m_view.m_wndTotal.GetText(), "Total number of found files: 5");
}

TEST_F(ProgressWindowTest, TwoSearchesInARowEachRunTheirOwnWorker) {
  MakeFiles(4);
  HWND first = StartSearch();
  ASSERT_TRUE(RunToTheEnd(first));
  EXPECT_EQ(m_spy.firstAtClose, "Number of processed files:4");

  m_dir.MakeFile("later.bin", 1);
  m_spy = ProgressSpy{};
  HWND second = StartSearch();
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(RunToTheEnd(second));
  EXPECT_EQ(m_spy.firstAtClose, "Number of processed files:5");
  EXPECT_EQ(m_spy.secondAtClose, "Found 5 files");
  EXPECT_EQ(m_host.m_view.m_listResults.GetItemCount(), 5);
}

// ---- the delete worker's questions

TEST_F(ProgressWindowTest, SkipGoesOnAndAsksAgain) {
  const std::string ok1 = AddFileRow("ok1.txt", true);
  const std::string gone1 = AddFileRow("gone1.txt", false);
  const std::string ok2 = AddFileRow("ok2.txt", true);
  AddFileRow("gone2.txt", false);
  const std::string ok3 = AddFileRow("ok3.txt", true);
  HWND window = nullptr;
  std::vector<std::string> countsAtQuestion;
  BoxSeries boxes("Warning", {IDC_BOX_NO, IDC_BOX_NO}, [&](HWND) {
    countsAtQuestion.push_back(ReadItemText(window, IDC_PROGRESS_SECOND_COUNT));
  });
  window = StartDelete({1, 2, 3, 4, 5});
  ASSERT_TRUE(RunToTheEnd(window));
  boxes.Join();

  ASSERT_EQ(boxes.Answered(), 2);
  EXPECT_EQ(boxes.Texts()[0], "File  \"" + gone1 + "\" cannot be deleted.");
  // The counts as they stood when each question opened.
  EXPECT_EQ(countsAtQuestion,
            (std::vector<std::string>{"Number of deleted files: 1", "Number of deleted files: 2"}));
  EXPECT_FALSE(FileExists(ok1));
  EXPECT_FALSE(FileExists(ok2));
  EXPECT_FALSE(FileExists(ok3));
  EXPECT_EQ(StoreNames(), (std::vector<std::string>{"gone1.txt", "gone2.txt"}));
  EXPECT_EQ(m_spy.firstAtClose, "Total number of files:5");
  EXPECT_EQ(m_spy.secondAtClose, "Number of deleted files: 3");
}

TEST_F(ProgressWindowTest, SkipAllAsksOnce) {
  AddFileRow("gone1.txt", false);
  const std::string ok = AddFileRow("ok.txt", true);
  AddFileRow("gone2.txt", false);
  AddFileRow("gone3.txt", false);
  BoxSeries boxes("Warning", {IDC_BOX_NO_FOR_ALL});
  HWND window = StartDelete({1, 2, 3, 4});
  ASSERT_TRUE(RunToTheEnd(window));
  boxes.Join();

  EXPECT_EQ(boxes.Answered(), 1);
  EXPECT_EQ(FindOwnWindow("Warning"), nullptr);
  EXPECT_FALSE(FileExists(ok));
  EXPECT_EQ(StoreNames(), (std::vector<std::string>{"gone1.txt", "gone2.txt", "gone3.txt"}));
  EXPECT_EQ(m_spy.secondAtClose, "Number of deleted files: 1");
}

TEST_F(ProgressWindowTest, CancelInTheMiddleStopsTheRun) {
  const std::string ok1 = AddFileRow("ok1.txt", true);
  AddFileRow("gone.txt", false);
  const std::string ok2 = AddFileRow("ok2.txt", true);
  BoxSeries boxes("Warning", {IDCANCEL});
  HWND window = StartDelete({1, 2, 3});
  ASSERT_TRUE(RunToTheEnd(window));
  boxes.Join();

  EXPECT_EQ(boxes.Answered(), 1);
  EXPECT_FALSE(FileExists(ok1));
  EXPECT_TRUE(FileExists(ok2));
  EXPECT_EQ(StoreNames(), (std::vector<std::string>{"gone.txt", "ok2.txt"}));
  EXPECT_EQ(m_spy.secondAtClose, "Number of deleted files: 1");
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
}

TEST_F(ProgressWindowTest, ADeletePostsNoMoreProgressThanTheWindowCanTake) {
  // The window's thread takes no message while the worker deletes every
  // row: a message per row would pile up in its queue (where Windows stops
  // at 10000 and the finish would be lost).
  AddFileRows(300);
  bool allDeletedMeanwhile = false;
  m_spy.afterProgress = [&](ProgressSpy& spy) {
    if (spy.progressCount == 1) {
      allDeletedMeanwhile = WaitUntil([&] { return m_pDelete->m_nDeleted.load() == 300; });
    }
  };
  HWND window = StartDeleteAll();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(RunToTheEnd(window));
  EXPECT_TRUE(allDeletedMeanwhile);
  EXPECT_LE(m_spy.Count(WM_WORKER_PROGRESS), 3);
  EXPECT_EQ(m_spy.Count(WM_WORKER_FINISHED), 1);
  EXPECT_EQ(m_spy.firstAtClose, "Total number of files:300");
  EXPECT_EQ(m_spy.secondAtClose, "Number of deleted files: 300");
  EXPECT_EQ(m_data.GetResultCount(), 0u);
}

// ---- Cancel, Esc, the close box, and the exit sequence's requests

// A search long enough to be stopped in the middle; `press` acts on the
// window once it has shown ten counts.
class StopTest : public ProgressWindowTest {
 protected:
  static constexpr int kFiles = 2000;

  void SetUp() override {
    ProgressWindowTest::SetUp();
    MakeFiles(kFiles);
    // Every file's count goes to the window and waits for it: the worker
    // stands at a known file while a handler runs.
    m_window.m_nProgressSendInterval = 0;
  }

  HWND StartSearchPressingAtTen(std::function<void(HWND)> press) {
    m_spy.afterProgress = [press = std::move(press)](ProgressSpy& spy) {
      if (spy.progressCount == 10) press(spy.window);
    };
    return StartSearch();
  }

  // Answers the Cancel question with `button` once it has seen that the
  // worker stands still while the question is open.
  BoxAnswerer AnswerQuestion(int button) {
    return BoxAnswerer("Warning", [this, button](HWND box) {
      m_questionText = ReadItemText(box, IDC_BOX_TEXT);
      m_processedAtQuestion = Processed();
      // One file may still be on its way past the stop flag's poll.
      m_workerMovedWhileAsked =
          WaitUntil([&] { return Processed() > m_processedAtQuestion + 1; }, 500ms);
      ClickButton(box, button);
    });
  }

  std::string m_questionText;
  uint32_t m_processedAtQuestion = 0;
  bool m_workerMovedWhileAsked = true;
};

void ClickCancel(HWND window) {
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_PROGRESS_CANCEL)));
}

void TypeEscape(HWND window) {
  HWND focus = ::GetFocus();
  HWND target = focus && ::GetAncestor(focus, GA_ROOT) == window ? focus : window;
  ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
}

void CloseBox(HWND window) { ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST_F(StopTest, ByDefaultTheCountsGoAtAPersonsPaceNotPerFile) {
  m_window.m_nProgressSendInterval = 20;
  HWND window = StartSearch();
  ASSERT_TRUE(RunToTheEnd(window));
  EXPECT_LT(m_spy.progressCount, kFiles / 2);
  EXPECT_EQ(m_spy.firstAtClose, "Number of processed files:2000");
  EXPECT_EQ(m_spy.secondAtClose, "Found 2000 files");
}

TEST_F(StopTest, CancelThenNoGoesOn) {
  BoxAnswerer answer = AnswerQuestion(IDCANCEL);  // "No"
  HWND window = StartSearchPressingAtTen(ClickCancel);
  ASSERT_TRUE(RunToTheEnd(window));
  ASSERT_TRUE(answer.Answered());

  EXPECT_EQ(m_questionText, "Do you want to stop searching?");
  EXPECT_FALSE(m_workerMovedWhileAsked);
  EXPECT_LT(m_processedAtQuestion, static_cast<uint32_t>(kFiles));
  EXPECT_EQ(Processed(), static_cast<uint32_t>(kFiles));
  EXPECT_EQ(m_spy.firstAtClose, "Number of processed files:2000");
  EXPECT_EQ(m_host.m_view.m_listResults.GetItemCount(), kFiles);
}

TEST_F(StopTest, CancelThenYesStopsWithinOneEntry) {
  BoxAnswerer answer = AnswerQuestion(IDOK);  // "Yes"
  HWND window = StartSearchPressingAtTen(ClickCancel);
  ASSERT_TRUE(RunToTheEnd(window));
  ASSERT_TRUE(answer.Answered());

  EXPECT_FALSE(m_workerMovedWhileAsked);
  EXPECT_LE(Processed(), m_processedAtQuestion + 1);
  // What was found so far is listed.
  const int found = static_cast<int>(m_pScan->m_nFound.load());
  EXPECT_EQ(m_host.m_view.m_listResults.GetItemCount(), found);
  EXPECT_EQ(m_spy.firstAtClose, ProcessedText(Processed()));
  EXPECT_EQ(m_spy.Count(WM_WORKER_FINISHED), 1);
  EXPECT_EQ(m_data.m_nTask, TASK_NONE);
}

TEST_F(StopTest, EscapeAsksLikeCancel) {
  BoxAnswerer answer = AnswerQuestion(IDOK);
  HWND window = StartSearchPressingAtTen(TypeEscape);
  ASSERT_TRUE(RunToTheEnd(window));
  ASSERT_TRUE(answer.Answered());
  EXPECT_EQ(m_questionText, "Do you want to stop searching?");
  EXPECT_LE(Processed(), m_processedAtQuestion + 1);
  EXPECT_LT(Processed(), static_cast<uint32_t>(kFiles));
}

TEST_F(StopTest, TheCloseBoxAsksLikeCancel) {
  BoxAnswerer answer = AnswerQuestion(IDCANCEL);
  HWND window = StartSearchPressingAtTen(CloseBox);
  ASSERT_TRUE(RunToTheEnd(window));
  ASSERT_TRUE(answer.Answered());
  EXPECT_EQ(m_questionText, "Do you want to stop searching?");
  EXPECT_FALSE(m_workerMovedWhileAsked);
  EXPECT_EQ(Processed(), static_cast<uint32_t>(kFiles));
}

TEST_F(StopTest, TheExitSequenceAnsweredNoPausesAndResumes) {
  HWND window = StartSearch();
  ASSERT_TRUE(PumpUntil([&] { return m_spy.progressCount >= 10; }));
  ::SendMessageA(window, WM_WORKER_PAUSE, 0, 0);
  const uint32_t atPause = Processed();
  const int messagesAtPause = m_spy.progressCount;
  EXPECT_FALSE(PumpUntil([&] { return Processed() > atPause + 1; }, 500ms));
  EXPECT_LE(m_spy.progressCount, messagesAtPause + 1);
  // What the exit question shows: the counts as they stand.
  EXPECT_EQ(ReadItemText(window, IDC_PROGRESS_FIRST_COUNT), ProcessedText(Processed()));
  ::SendMessageA(window, WM_WORKER_RESUME, 0, 0);
  ASSERT_TRUE(RunToTheEnd(window));
  EXPECT_EQ(Processed(), static_cast<uint32_t>(kFiles));
}

TEST_F(StopTest, TheExitSequenceAnsweredYesStopsTheWorker) {
  HWND window = StartSearch();
  ASSERT_TRUE(PumpUntil([&] { return m_spy.progressCount >= 10; }));
  ::SendMessageA(window, WM_WORKER_PAUSE, 0, 0);
  const uint32_t atPause = Processed();
  ::SendMessageA(window, WM_WORKER_RESUME, 0, 0);
  ::SendMessageA(window, WM_WORKER_STOP, 0, 0);
  EXPECT_EQ(m_pScan->m_bStop.load(), 1);
  ASSERT_TRUE(RunToTheEnd(window));
  // Between the resume and the stop the worker may take a step or two.
  EXPECT_LE(Processed(), atPause + 3);
  EXPECT_EQ(m_data.m_nRunningTask, TASK_NONE);
}

TEST_F(ProgressWindowTest, TerminatingADeleteAsksItsOwnQuestionAndYesStopsIt) {
  AddFileRows(400);
  // Held at its gate from its first count on, the worker waits for the
  // question however fast it deletes.
  int32_t deletedAtPause = -1;
  m_spy.afterProgress = [&](ProgressSpy& spy) {
    if (spy.progressCount != 1) return;
    ::SendMessageA(spy.window, WM_WORKER_PAUSE, 0, 0);
    deletedAtPause = m_pDelete->m_nDeleted.load();
    ClickCancel(spy.window);
  };
  BoxSeries boxes("Warning", {IDOK});
  HWND window = StartDeleteAll();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Answered() == 1; }, 30s, kProgramKeys));
  ::SendMessageA(window, WM_WORKER_RESUME, 0, 0);
  ASSERT_TRUE(RunToTheEnd(window));
  boxes.Join();

  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Do you want to terminate deleting?"}));
  const int32_t deleted = m_pDelete->m_nDeleted.load();
  EXPECT_GE(deletedAtPause, 0);
  EXPECT_LE(deleted, deletedAtPause + 1);
  EXPECT_EQ(m_data.GetResultCount(), static_cast<size_t>(400 - deleted));
  for (size_t row = 0; row < m_data.GetResultCount(); ++row) {
    EXPECT_TRUE(FileExists(m_data.GetResultPath(row))) << row;
  }
}

// The worker's last act, the refill, comes after it has cleared the task
// fields and while the window still waits out its 300 ms.
struct RefillHook {
  std::function<void()> action;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    auto& hook = *reinterpret_cast<RefillHook*>(data);
    if (message == WM_RUN_TASK && hook.action) std::exchange(hook.action, nullptr)();
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, Proc, 2);
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
  }
};

TEST_F(ProgressWindowTest, CancelWithNoWorkerRunningAsksNothing) {
  MakeFiles(3);
  RefillHook hook;
  HWND list = m_host.m_view.m_listResults.m_hWnd;
  ::SetWindowSubclass(list, RefillHook::Proc, 2, reinterpret_cast<DWORD_PTR>(&hook));
  bool windowThere = false;
  int32_t runningTask = -1;
  BoxSeries boxes("Warning", {IDCANCEL}, {}, 3s);
  HWND window = StartSearch();
  hook.action = [&] {
    windowThere = ::IsWindow(window) != FALSE;
    runningTask = m_data.m_nRunningTask;
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0);
  };
  ASSERT_TRUE(RunToTheEnd(window));
  ::RemoveWindowSubclass(list, RefillHook::Proc, 2);
  boxes.Join();  // gives up after its wait: no question came
  EXPECT_TRUE(windowThere);
  EXPECT_EQ(runningTask, 0);
  EXPECT_EQ(boxes.Answered(), 0);
}

}  // namespace

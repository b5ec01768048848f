#pragma once
// The small window a search or a delete run shows: it starts the worker the
// page hands it, shows the worker's two counters, asks before it stops it,
// and closes itself 300 ms after the worker's finish. It is also the
// workers' IWorkerSink (their only way to the user interface) and the main
// window's IWorkerHost (its exit sequence pauses, resumes and stops the
// worker through it).
//
// The search page keeps one object for the whole run of the program:
//
//   m_wndProgress.SetResultsView(&m_view);          // once
//   m_pAppData->m_nTask = TASK_SEARCH;              // or TASK_DELETE
//   m_wndProgress.Open("Files Searching", std::make_unique<CScanEntriesThread>(...));

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls_win.h"
#include "framework/window_win.h"
#include "framework/worker_host_win.h"
#include "framework/worker_messages.h"
#include "framework/worker_sink.h"
#include "framework/worker_thread.h"
#include "resources/resource.h"
#include "settings/app_data.h"

class CResultsView;

class CWindowProgressUnDelete : public fw::CBound<CWindowProgressUnDelete, fw::CDialog>,
                                public IWorkerSink,
                                public IWorkerHost {
 public:
  explicit CWindowProgressUnDelete(CAppData* appData = &g_AppData);
  ~CWindowProgressUnDelete() override;

  // Where the results go: the page's view (its RefillResults and its "Find").
  void SetResultsView(CResultsView* view) { m_pResultsView = view; }
  // Creates the window, owned by the main window, which starts `worker` for
  // the task in m_nTask; then sets the caption. A window of the last run that
  // is still closing goes first. Null when the window cannot be created: the
  // worker then never starts.
  HWND Open(const std::string& caption, std::unique_ptr<CWorkerThread> worker);

  // The worker of the last run; it stays after its run so that its counters
  // can still be read.
  CWorkerThread* GetWorker() const { return m_worker.get(); }
  fw::CButton m_wndCancel;
  fw::CWnd m_wndProgressBar;
  fw::CButton m_wndFrame;
  CResultsView* m_pResultsView = nullptr;
  CAppData* m_pAppData;
  // 1199, 1200, 1201, 1202, 1203: only the status and the two counters show.
  std::array<fw::CStatic, 5> m_wndLabel;
  // The scan reports every file; its reports go to the window at most this
  // often (milliseconds), and always before a question and at the end. 0
  // sends every one, which paces the worker by the window (the tests' way
  // of stopping it at a known file).
  uint32_t m_nProgressSendInterval = 20;
  // The delete's reports of deleted files, posted at most this often: each
  // one repaints the counts, and at every 20 ms those repaints cost a delete
  // of 12000 files under Wine a tenth of its time. Ten a second read the same.
  uint32_t m_nProgressPostInterval = 100;

  // IWorkerSink, on the worker's thread.
  void SendStarted() override;
  void SendProgress() override;
  void PostProgress() override;
  void PostFinished() override;
  int AskChoice(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void RefillResults(const std::string& report) override;
  void NotifyShell() override;

  // IWorkerHost, for the exit sequence.
  HWND GetProgressWindow() const override { return m_hWnd; }
  CWorkerThread* GetRunningWorker() const override;
  CWorkerThread* GetUnfinishedWorker() const override;

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnWorkerFinished();
  void OnWorkerStop();
  void OnWorkerPause();
  void OnWorkerResume();
  void OnWorkerStarted();
  void OnWorkerProgress();
  void OnCancelWork();
  void OnTimer(UINT_PTR timerId);

  void StartWorker();
  // The counters' texts, from the worker this window started. Unless `now`,
  // at most one change per kCountsInterval; a skipped change comes later by
  // a timer, so the last counts always show.
  void ShowCounts(bool now);
  void SetLabelText(size_t label, const std::string& text);
  // Before a box opens on the worker's thread: the counts as they stand.
  void ShowCountsFromWorker();
  void KeepDoneWorkersOnly();
  // Ends the window once the run is over, and gives the focus back.
  void Close();

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CWindowProgressUnDelete> kMessageTable[] = {
      {fw::Message<WM_WORKER_FINISHED>, &CWindowProgressUnDelete::OnWorkerFinished},
      {fw::Message<WM_WORKER_STOP>, &CWindowProgressUnDelete::OnWorkerStop},
      {fw::Message<WM_WORKER_PAUSE>, &CWindowProgressUnDelete::OnWorkerPause},
      {fw::Message<WM_WORKER_RESUME>, &CWindowProgressUnDelete::OnWorkerResume},
      {fw::Message<WM_WORKER_STARTED>, &CWindowProgressUnDelete::OnWorkerStarted},
      {fw::Message<WM_WORKER_PROGRESS>, &CWindowProgressUnDelete::OnWorkerProgress},
      {fw::Message<WM_TIMER>, &CWindowProgressUnDelete::OnTimer},
      {fw::Command(IDC_PROGRESS_CANCEL), &CWindowProgressUnDelete::OnCancelWork},
      {fw::Command(IDCANCEL), &CWindowProgressUnDelete::OnCancelWork},
  };

  // The worker's owner. A worker is replaced only once its thread is done;
  // one that is not yet waits among the retired ones.
  std::unique_ptr<CWorkerThread> m_worker;
  std::vector<std::unique_ptr<CWorkerThread>> m_retiredWorkers;

  std::atomic<HWND> m_hSinkTarget{nullptr};  // where the worker's messages go
  // The worker's own: when it last sent a report, and whether it has yet.
  uint64_t m_nLastSendTick = 0;
  bool m_bSentProgress = false;
  uint64_t m_nLastPostTick = 0;
  bool m_bPostedProgress = false;
  std::atomic<bool> m_bProgressPosted{false};
  std::atomic<bool> m_bCountsNow{false};
  bool m_bCountsShown = false;
  bool m_bCountsTimer = false;
  DWORD m_dwCountsTick = 0;
  std::array<std::string, 5> m_astrLabelText;
  HWND m_hFocusBefore = nullptr;  // what had the focus when the run was asked for
  bool m_bAsking = false;         // the Cancel question is open
  bool m_bCloseDue = false;       // the close came while it was
};

#include "results/progress_window_win.h"

#include <shlobj.h>

#include <utility>

#include "dialogs/message_box_win.h"
#include "results/results_view_win.h"

namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT_PTR kCountsTimer = 2;
constexpr UINT kCloseDelayMs = 300;
// A person sees no change faster than this; a delete run reports every row,
// a scan paced per file every file, far more often.
constexpr DWORD kCountsInterval = 30;

constexpr size_t kStatusLabel = 2;  // 1201
constexpr size_t kFirstCount = 3;   // 1202
constexpr size_t kSecondCount = 4;  // 1203

constexpr int kLabelIds[5] = {IDC_PROGRESS_UNUSED1, IDC_PROGRESS_UNUSED2, IDC_PROGRESS_STATUS,
                              IDC_PROGRESS_FIRST_COUNT, IDC_PROGRESS_SECOND_COUNT};

}  // namespace

CWindowProgressUnDelete::CWindowProgressUnDelete(CAppData* appData)
    : Bound(IDD_PROGRESS), m_pAppData(appData) {}

CWindowProgressUnDelete::~CWindowProgressUnDelete() {
  DestroyWindow();
  // A worker still running when the program ends (an exit during a run)
  // ends with the process; waiting for it here could wait for ever on a box
  // it has open.
  KeepDoneWorkersOnly();
  if (m_worker && !m_worker->IsDone()) (void)m_worker.release();
  for (auto& worker : m_retiredWorkers) (void)worker.release();
}

HWND CWindowProgressUnDelete::Open(const std::string& caption,
                                   std::unique_ptr<CWorkerThread> worker) {
  // The last run's window closes 300 ms after its worker ended, and the page
  // may start the next run sooner.
  if (m_hWnd) DestroyWindow();
  if (!worker) return nullptr;  // a window with nothing to run would never close
  // Replacing a worker whose thread still runs its last steps would join it
  // here, on the thread it may be sending to.
  KeepDoneWorkersOnly();
  if (m_worker && !m_worker->IsDone()) m_retiredWorkers.push_back(std::move(m_worker));
  m_worker = std::move(worker);  // started by the window as it opens
  m_hFocusBefore = ::GetFocus();
  if (!Create(fw::GetMainWindow())) {
    m_worker.reset();  // never started
    return nullptr;
  }
  SetText(caption);
  return m_hWnd;
}

CWorkerThread* CWindowProgressUnDelete::GetRunningWorker() const {
  return m_pAppData->m_nRunningTask != TASK_NONE ? m_worker.get() : nullptr;
}

CWorkerThread* CWindowProgressUnDelete::GetUnfinishedWorker() const {
  if (m_worker && !m_worker->IsDone()) return m_worker.get();
  for (const auto& worker : m_retiredWorkers) {
    if (worker && !worker->IsDone()) return worker.get();
  }
  return nullptr;
}

// ---- start

BOOL CWindowProgressUnDelete::OnInitDialog() {
  if (m_pResultsView) m_pResultsView->m_wndFind.Enable(false);

  for (size_t i = 0; i < m_wndLabel.size(); ++i) {
    m_wndLabel[i].AttachDlgItem(m_hWnd, kLabelIds[i]);
    m_wndLabel[i].Show(SW_HIDE);
    m_astrLabelText[i].clear();
  }
  m_wndProgressBar.AttachDlgItem(m_hWnd, IDC_PROGRESS_BAR);
  m_wndProgressBar.Enable(false);
  m_wndProgressBar.Show(SW_HIDE);
  m_wndFrame.AttachDlgItem(m_hWnd, IDC_PROGRESS_FRAME);
  m_wndFrame.Show(SW_HIDE);
  m_wndCancel.AttachDlgItem(m_hWnd, IDC_PROGRESS_CANCEL);
  m_wndCancel.Enable(true);

  m_bCountsShown = false;
  m_bCountsTimer = false;
  m_dwCountsTick = 0;
  m_bAsking = false;
  m_bCloseDue = false;
  m_bProgressPosted = false;
  m_bCountsNow = false;
  m_hSinkTarget = m_hWnd;
  m_bSentProgress = false;  // the worker's from here on
  m_bPostedProgress = false;

  StartWorker();
  return TRUE;
}

void CWindowProgressUnDelete::KeepDoneWorkersOnly() {
  std::erase_if(m_retiredWorkers, [](const auto& worker) { return !worker || worker->IsDone(); });
}

void CWindowProgressUnDelete::StartWorker() {
  if (!m_worker) return;
  m_worker->m_pProgressDlg = this;
  m_pAppData->m_nRunningTask = m_pAppData->m_nTask.load();
  m_worker->ResumeThread();
}

// ---- the worker's messages

void CWindowProgressUnDelete::OnWorkerStarted() {
  // The status line shows, empty: neither worker has a status to tell.
  m_wndLabel[kStatusLabel].Show(SW_SHOW);
  m_wndLabel[kStatusLabel].SetText("");
}

void CWindowProgressUnDelete::OnWorkerProgress() {
  // Cleared before the counters are read: a post after this point shows
  // counts this handler may have missed.
  m_bProgressPosted = false;
  const bool now = m_bCountsNow.exchange(false) || !m_bCountsShown;
  if (!m_bCountsShown) {
    m_wndLabel[kFirstCount].Show(SW_SHOW);
    m_wndLabel[kSecondCount].Show(SW_SHOW);
    m_bCountsShown = true;
  }
  ShowCounts(now);
}

void CWindowProgressUnDelete::OnWorkerFinished() {
  ShowCounts(true);
  ::SetTimer(m_hWnd, kCloseTimer, kCloseDelayMs, nullptr);
}

void CWindowProgressUnDelete::OnWorkerStop() {
  if (CWorkerThread* worker = GetRunningWorker()) worker->Stop();
}

void CWindowProgressUnDelete::OnWorkerPause() {
  if (CWorkerThread* worker = GetRunningWorker()) {
    worker->Pause();
    ShowCounts(true);  // a question comes next
  }
}

void CWindowProgressUnDelete::OnWorkerResume() {
  if (CWorkerThread* worker = GetRunningWorker()) worker->Resume();
}

void CWindowProgressUnDelete::OnCancelWork() {
  CWorkerThread* worker = GetRunningWorker();
  if (!worker) return;
  worker->Pause();
  ShowCounts(true);
  m_bAsking = true;
  const bool stop = AskYesNo(m_hWnd, "Warning", "", worker->GetStopQuestion(), IDI_QUESTION);
  m_bAsking = false;
  if (stop) worker->Stop();
  worker->Resume();
  if (m_bCloseDue) {
    m_bCloseDue = false;
    Close();
  }
}

void CWindowProgressUnDelete::OnTimer(UINT_PTR timerId) {
  ::KillTimer(m_hWnd, timerId);
  if (timerId == kCountsTimer) {
    m_bCountsTimer = false;
    ShowCounts(true);
  } else if (timerId == kCloseTimer) {
    // Destroying the window under its own open question would pull the box
    // away from the code still waiting for its answer.
    if (m_bAsking) {
      m_bCloseDue = true;
    } else {
      Close();
    }
  }
}

void CWindowProgressUnDelete::Close() {
  DestroyWindow();
  // Back where the user was (the button pressed, the list), never where the
  // system's activation would put it: the first control of the window.
  if (!fw::GiveFocusBack(std::exchange(m_hFocusBefore, nullptr)) && m_pResultsView) {
    fw::GiveFocusBack(m_pResultsView->m_listResults.m_hWnd);
  }
}

// ---- the counters

void CWindowProgressUnDelete::ShowCounts(bool now) {
  if (!m_bCountsShown) return;
  const DWORD tick = ::GetTickCount();
  if (!now && tick - m_dwCountsTick < kCountsInterval) {
    if (!m_bCountsTimer) {
      m_bCountsTimer = ::SetTimer(m_hWnd, kCountsTimer, kCountsInterval, nullptr) != 0;
    }
    return;
  }
  m_dwCountsTick = tick;

  if (!m_worker) return;
  const CWorkerThread::CountTexts counts = m_worker->GetCountTexts();
  SetLabelText(kFirstCount, counts.first);
  SetLabelText(kSecondCount, counts.second);
}

void CWindowProgressUnDelete::SetLabelText(size_t label, const std::string& text) {
  // A label set to its own text still repaints.
  if (m_astrLabelText[label] == text) return;
  m_astrLabelText[label] = text;
  m_wndLabel[label].SetText(m_astrLabelText[label]);
}

// ---- IWorkerSink, on the worker's thread

void CWindowProgressUnDelete::SendStarted() {
  ::SendMessageA(m_hSinkTarget.load(), WM_WORKER_STARTED, 0, 0);
}

void CWindowProgressUnDelete::SendProgress() {
  // Under Wine a message across threads costs some 200 to 300 us, ten times
  // a file's share of the walk: a message per file made a search 15 to 20
  // times the bare walk. Counts that change every 20 ms look the same.
  const uint64_t tick = ::GetTickCount64();
  if (m_bSentProgress && tick - m_nLastSendTick < m_nProgressSendInterval) return;
  m_bSentProgress = true;
  m_nLastSendTick = tick;
  ::SendMessageA(m_hSinkTarget.load(), WM_WORKER_PROGRESS, 0, 0);
}

void CWindowProgressUnDelete::PostProgress() {
  // One progress message in the queue at a time: a delete run posts one per
  // row, and a queue is full at 10000 messages, where WM_WORKER_FINISHED
  // would be lost. The handler reads the counters as they are by then.
  const uint64_t tick = ::GetTickCount64();
  if (m_bPostedProgress && tick - m_nLastPostTick < m_nProgressPostInterval) return;
  if (m_bProgressPosted.exchange(true)) return;
  m_bPostedProgress = true;
  m_nLastPostTick = tick;
  if (!::PostMessageA(m_hSinkTarget.load(), WM_WORKER_PROGRESS, 0, 0)) m_bProgressPosted = false;
}

void CWindowProgressUnDelete::PostFinished() {
  ::PostMessageA(m_hSinkTarget.load(), WM_WORKER_FINISHED, 0, 0);
}

void CWindowProgressUnDelete::ShowCountsFromWorker() {
  m_bCountsNow = true;
  ::SendMessageA(m_hSinkTarget.load(), WM_WORKER_PROGRESS, 0, 0);
}

int CWindowProgressUnDelete::AskChoice(const std::string& text) {
  ShowCountsFromWorker();
  return ::AskChoice(nullptr, "Warning", "", text, IDI_MESSAGE, {0, 0, 1, 1, 1},
                     {"", "", "Cancel", "Skip", "Skip all"});
}

void CWindowProgressUnDelete::ShowMessage(const std::string& text) {
  ShowCountsFromWorker();
  ShowMessageBox(nullptr, "Warning", "", text, IDI_MESSAGE);
}

void CWindowProgressUnDelete::RefillResults(const std::string& report) {
  if (m_pResultsView) m_pResultsView->RefillResults(report);
}

void CWindowProgressUnDelete::NotifyShell() {
  ::SHChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr);
}

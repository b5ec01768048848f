#pragma once
// A worker run as the progress window runs it, with a test's sink in the
// window's place: the worker's own thread, the task fields set as the search
// page and the window set them, and a bounded wait for the end.

#include <chrono>
#include <cstdint>

#include "framework/worker_sink.h"
#include "framework/worker_thread.h"
#include "settings/app_data.h"

// Sets `data`'s task fields to `task`, points the worker at `sink` and starts
// its thread.
inline void StartWorker(CWorkerThread& worker, IWorkerSink& sink, CAppData& data, int32_t task) {
  data.m_nTask = task;
  data.m_nRunningTask = task;
  worker.m_pProgressDlg = &sink;
  worker.ResumeThread();
}

// Starts the worker and waits for the end of its run; false when it did not
// end within `bound`.
[[nodiscard]] inline bool RunWorker(CWorkerThread& worker, IWorkerSink& sink, CAppData& data,
                                    int32_t task,
                                    std::chrono::milliseconds bound = std::chrono::seconds(60)) {
  StartWorker(worker, sink, data, task);
  return worker.WaitUntilDone(bound);
}

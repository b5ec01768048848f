#pragma once
// A stand-in for the progress window: records what a worker tells it, in
// order, and answers the workers' query from a script.

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "framework/worker_sink.h"
#include "settings/app_data.h"

class RecordingSink : public IWorkerSink {
 public:
  // Each call is recorded as one word: "started", "progress" (sent),
  // "posted-progress", "finished", "ask", "show", "refill", "notify".
  std::vector<std::string> calls;
  std::vector<std::string> questions;  // texts of AskChoice
  std::vector<std::string> messages;   // texts of ShowMessage
  std::deque<int> answers;             // next answers to AskChoice; Cancel when empty
  // Runs on every sent progress message (e.g. to stop or count).
  std::function<void()> onProgress;
  std::function<void()> onRefill;
  // The store whose removed rows the refill drops, as the results list does.
  CAppData* store = nullptr;

  void SendStarted() override { Record("started"); }
  void SendProgress() override {
    ++sentProgress;
    if (onProgress) onProgress();
  }
  void PostProgress() override { Record("posted-progress"); }
  void PostFinished() override { Record("finished"); }
  int AskChoice(const std::string& text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    calls.push_back("ask");
    questions.push_back(text);
    if (answers.empty()) return ASK_CANCEL;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& text) override {
    Record("show");
    std::lock_guard<std::mutex> lock(m_mutex);
    messages.push_back(text);
  }
  void RefillResults(const std::string& text) override {
    Record("refill");
    report = text;
    if (store) store->DropRemovedResults();
    if (onRefill) onRefill();
  }
  void NotifyShell() override { Record("notify"); }

  size_t sentProgress = 0;  // kept apart from `calls`: one per examined file
  std::string report;       // what the last refill was told the run did

  // `calls` with the per-file progress messages left out.
  std::string Sequence() const {
    std::string text;
    for (const std::string& call : calls) text += (text.empty() ? "" : " ") + call;
    return text;
  }

 private:
  void Record(const char* call) {
    std::lock_guard<std::mutex> lock(m_mutex);
    calls.push_back(call);
  }
  std::mutex m_mutex;
};

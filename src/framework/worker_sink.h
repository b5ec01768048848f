#pragma once
// What a worker needs of its progress window. The progress window implements
// it with its window messages and the program's boxes; tests with a recorder.

#include <string>

class IWorkerSink {
 public:
  virtual ~IWorkerSink() = default;
  virtual void SendStarted() = 0;   // waits until the window has shown the status
  virtual void SendProgress() = 0;  // waits until the window has taken the counts
  virtual void PostProgress() = 0;
  virtual void PostFinished() = 0;
  // The workers' query: Cancel (0), Skip (3) or Skip all (4).
  virtual int AskChoice(const std::string& text) = 0;
  virtual void ShowMessage(const std::string& text) = 0;  // a "Warning" box
  // The run's last act: the results list shows what is left, and beside it
  // `report`, what the run did (empty: nothing to tell).
  virtual void RefillResults(const std::string& report) = 0;
  virtual void NotifyShell() = 0;
};

// Answers of the workers' query.
enum WorkerAnswer : int { ASK_NOT_YET = -1, ASK_CANCEL = 0, ASK_SKIP = 3, ASK_SKIP_ALL = 4 };

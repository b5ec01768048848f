#pragma once
// Answers the program's own boxes with one caption, one after another, from
// a thread of its own, and keeps what each box said. Only boxes count: a
// window that shares the caption (the progress window shares its question's)
// is left alone.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

// A visible box of this process (it has the box's text) with exactly this caption.
HWND FindOwnBox(const std::string& caption);

class BoxSeries {
 public:
  // Each box takes the next of `buttons`, after `onBox` has run on it; the
  // series ends after the last, or when no next box comes within `timeout`.
  BoxSeries(std::string caption, std::vector<int> buttons, std::function<void(HWND)> onBox = {},
            std::chrono::milliseconds timeout = 20s);
  // Every box takes `button` until Stop(): a box the test did not expect is
  // counted, not left open to hang the test.
  struct EveryBox {};
  static constexpr EveryBox kEveryBox{};
  BoxSeries(std::string caption, EveryBox, int button);
  ~BoxSeries();
  BoxSeries(const BoxSeries&) = delete;
  BoxSeries& operator=(const BoxSeries&) = delete;

  // Waits for the series' end; true when every button was used.
  bool Join();
  // Ends the series now and waits for its thread.
  void Stop();

  std::vector<std::string> Texts();
  int Answered() const { return m_nAnswered.load(); }

 private:
  void Answer(HWND box, int button, const std::function<void(HWND)>& onBox);

  std::atomic<bool> m_bStop{false};
  std::atomic<int> m_nAnswered{0};
  size_t m_nButtons = 0;
  std::mutex m_mutex;
  std::vector<std::string> m_texts;
  std::thread m_thread;
};

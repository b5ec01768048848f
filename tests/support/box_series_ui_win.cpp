#include "support/box_series_ui_win.h"

#include "resources/resource.h"
#include "support/box_answerer_ui_win.h"
#include "support/typing_ui_win.h"

HWND FindOwnBox(const std::string& caption) {
  return FindProcessWindow(::GetCurrentProcessId(), caption, [](HWND window) {
    return ::GetDlgItem(window, IDC_BOX_TEXT) != nullptr;
  });
}

BoxSeries::BoxSeries(std::string caption, std::vector<int> buttons, std::function<void(HWND)> onBox,
                     std::chrono::milliseconds timeout)
    : m_nButtons(buttons.size()),
      m_thread([this, caption = std::move(caption), buttons = std::move(buttons),
                onBox = std::move(onBox), timeout] {
        HWND last = nullptr;
        for (int button : buttons) {
          HWND box = nullptr;
          if (!WaitUntil(
                  [&] {
                    return m_bStop || ((box = FindOwnBox(caption)) != nullptr && box != last);
                  },
                  timeout) ||
              m_bStop) {
            return;
          }
          Answer(box, button, onBox);
          last = box;
        }
      }) {}

BoxSeries::BoxSeries(std::string caption, EveryBox, int button)
    : m_thread([this, caption = std::move(caption), button] {
        HWND last = nullptr;
        while (!m_bStop) {
          HWND box = FindOwnBox(caption);
          if (!box || box == last) {
            std::this_thread::sleep_for(5ms);  // polling, not waiting for an outcome
            continue;
          }
          Answer(box, button, {});
          last = box;
        }
      }) {}

BoxSeries::~BoxSeries() { Stop(); }

void BoxSeries::Answer(HWND box, int button, const std::function<void(HWND)>& onBox) {
  {
    std::string text = ReadItemText(box, IDC_BOX_TEXT);
    std::lock_guard lock(m_mutex);
    m_texts.push_back(std::move(text));
  }
  if (onBox) onBox(box);
  ClickButton(box, button);
  WaitUntilClosed(box);
  ++m_nAnswered;
}

bool BoxSeries::Join() {
  if (m_thread.joinable()) m_thread.join();
  return static_cast<size_t>(m_nAnswered.load()) == m_nButtons;
}

void BoxSeries::Stop() {
  m_bStop = true;
  if (m_thread.joinable()) m_thread.join();
}

std::vector<std::string> BoxSeries::Texts() {
  std::lock_guard lock(m_mutex);
  return m_texts;
}

#include "support/box_series_ui_win.h"

#include "resources/resource.h"
#include "support/box_answerer_ui_win.h"

namespace {

struct Search {
  const std::string* caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process != ::GetCurrentProcessId() || !::IsWindowVisible(hwnd)) return TRUE;
  if (!::GetDlgItem(hwnd, IDC_BOX_TEXT)) return TRUE;
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  if (*search->caption != text) return TRUE;
  search->found = hwnd;
  return FALSE;
}

std::string BoxText(HWND box) {
  char text[1024] = {};
  ::GetDlgItemTextA(box, IDC_BOX_TEXT, text, sizeof text);
  return text;
}

}  // namespace

HWND FindOwnBox(const std::string& caption) {
  Search search{&caption};
  ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
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
    std::string text = BoxText(box);
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

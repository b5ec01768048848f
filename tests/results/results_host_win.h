#pragma once
// A stand-in for the search page in the results tests: a top-level window
// with the two lists, the two labels and the three buttons under the page's
// ids, and a CResultsView bound to them. Like the page, it hands the header
// clicks and the owner-data list's requests and reports on to the view.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "results/results_view_win.h"

class CResultsHost : public fw::CWindow {
 public:
  static constexpr const char* kClass = "QuilloryResultsHost";

  explicit CResultsHost(CAppData* data) : m_view(data) {
    static bool registered = [] {
      INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
      ::InitCommonControlsEx(&controls);
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = WindowProc;
      windowClass.hInstance = ::GetModuleHandleA(nullptr);
      windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
      windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      windowClass.lpszClassName = kClass;
      return ::RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    // Hidden unless a test needs the mouse: without a window manager, Wine
    // waits two seconds for every visible top-level window that goes away.
    Create(0, kClass, "Results host", WS_POPUP, RECT{40, 40, 840, 640}, nullptr, 0);
    Child(WC_LISTVIEWA, LVS_REPORT, IDC_LIST_FOLDERS, RECT{10, 10, 400, 110});
    Child(WC_LISTVIEWA, LVS_REPORT | LVS_OWNERDATA, IDC_LIST_RESULTS, RECT{10, 120, 760, 480});
    Child("STATIC", 0, IDC_TOTAL_LABEL, RECT{10, 490, 300, 510}, "1", false);
    Child("STATIC", 0, IDC_SELECTION_LABEL, RECT{310, 490, 590, 520});
    Child("BUTTON", BS_PUSHBUTTON, IDC_FIND, RECT{420, 10, 520, 35}, "Find");
    Child("BUTTON", BS_PUSHBUTTON, IDC_EMPTY_LIST, RECT{420, 40, 520, 65}, "Empty list");
    Child("BUTTON", BS_PUSHBUTTON | WS_DISABLED, IDC_DELETE, RECT{600, 490, 760, 515}, "Delete");
    m_view.Init(m_hWnd);
  }

  CResultsView m_view;
  std::vector<UINT> m_headerCodes;  // header click notifications that reached the window

  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

 private:
  void Child(const char* className, DWORD style, int id, RECT rect, const char* text = "",
             bool visible = true) {
    ::CreateWindowExA(0, className, text, WS_CHILD | (visible ? WS_VISIBLE : 0) | style, rect.left,
                      rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      ::GetModuleHandleA(nullptr), nullptr);
  }

  // Any control's notifications: the page's table takes the header clicks
  // by their code and hands them on, and the results list's requests for
  // texts and for the row typed text leads to.
  LRESULT OnNotify(WPARAM, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == HDN_ITEMCLICKA || header->code == HDN_ITEMCLICKW) {
      m_headerCodes.push_back(header->code);
      return m_view.OnHeaderItemClick(header);
    }
    if (header->idFrom != IDC_LIST_RESULTS) return 0;
    if (header->code == LVN_GETDISPINFOA) return m_view.OnGetDispInfo(header);
    if (header->code == LVN_ODFINDITEMA || header->code == LVN_ODFINDITEMW)
      return m_view.OnFindItem(header);
    if (header->code == LVN_ITEMCHANGED) return m_view.OnItemChanged(header);
    if (header->code == LVN_ODSTATECHANGED) return m_view.OnStateRangeChanged(header);
    return 0;
  }

  static constexpr fw::MessageEntry<CResultsHost> kMessageTable[] = {
      {fw::Message<WM_NOTIFY>, &CResultsHost::OnNotify},
  };
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return Dispatch(kMessageTable, message, wParam, lParam, result);
  }
};

// A header click as the results list passes it on to its parent.
inline LRESULT SendHeaderClick(CResultsHost& host, int column, int button = 0) {
  HWND header = host.m_view.m_listResults.GetHeader();
  NMHEADERA click{};
  click.hdr.hwndFrom = header;
  click.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(header));
  click.hdr.code = HDN_ITEMCLICKA;
  click.iItem = column;
  click.iButton = button;
  return ::SendMessageA(host.m_hWnd, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

// One column of a list, top to bottom.
inline std::vector<std::string> ColumnTexts(const fw::CListView& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.GetItemCount(); ++row)
    texts.push_back(list.GetItemText(row, column));
  return texts;
}

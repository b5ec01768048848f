#include "dialogs/message_box_win.h"

#include <richedit.h>

#include <utility>

#include "dialogs/show_message.h"
#include "framework/dpi.h"
#include "framework/dpi_win.h"

namespace {

// The boxes' text control lives in this library; it stays loaded for the run.
void LoadRichEdit() {
  static HMODULE library = ::LoadLibraryA("RICHED20.DLL");
  (void)library;
}

BoxRect ToBoxRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT ToRect(const BoxRect& r) { return {r.left, r.top, r.right, r.bottom}; }

HWND CreateChild(HWND parent, const char* className, const std::string& text, DWORD style,
                 const BoxRect& rect, int id) {
  return ::CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                           rect.top, rect.Width(), rect.Height(), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

// Runs a box modally. Without an owner the main window's last active pop-up
// owns it (the main window, or the progress window during a task), and the
// main window is kept from input as well as that owner, also when the box
// runs on a worker thread.
INT_PTR RunBox(CBoxDialog& box, HWND owner) {
  LoadRichEdit();
  HWND disabledMain = nullptr;
  HWND main = fw::GetMainWindow();
  if (!owner && main && ::IsWindow(main)) {
    owner = ::GetLastActivePopup(main);
    if (owner != main && ::IsWindowEnabled(main)) {
      ::EnableWindow(main, FALSE);
      disabledMain = main;
    }
  }
  fw::CKeepFocus keep;
  INT_PTR result = box.DoModal(owner);
  if (disabledMain) ::EnableWindow(disabledMain, TRUE);
  return result;
}

}  // namespace

// ---- CBoxDialog

CBoxDialog::CBoxDialog(UINT templateId, BoxKind kind, std::string caption, std::string groupLabel,
                       std::string text, int iconId)
    : CDialog(templateId),
      m_strText(std::move(text)),
      m_strCaption(std::move(caption)),
      m_strGroupLabel(std::move(groupLabel)),
      m_kind(kind),
      m_nIconId(iconId) {}

HWND CBoxDialog::CreateText(DWORD extraStyle, const BoxRect& rect) {
  m_wndText.Attach(CreateChild(m_hWnd, RICHEDIT_CLASSA, "", ES_MULTILINE | WS_DISABLED | extraStyle,
                               rect, IDC_BOX_TEXT));
  m_wndText.SetFont(m_font.Get());
  // Only the colour: the font stays the one just given.
  CHARFORMAT2A format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.dwEffects = 0;
  format.crTextColor = RGB(0, 0, 0);
  m_wndText.Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return m_wndText.m_hWnd;
}

BOOL CBoxDialog::OnInitDialog() {
  // The icon, the font and every figure at the DPI of the screen the box is on.
  const int dpi = fw::DpiOf(m_hWnd);
  m_hIcon.Reset(fw::LoadIconOfSize(m_nIconId, fw::SmallIconSize(dpi)));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));
  SetText(m_strCaption);

  m_font.Reset(fw::CreateMessageFont(dpi));

  const BoxLayout measuring = ComputeBoxLayout(m_kind, 1, 0, 0, dpi);
  CreateText(0, {measuring.multiLineText.left, measuring.multiLineText.top,
                 measuring.multiLineText.left + BoxTextWidth(m_kind, dpi),
                 measuring.multiLineText.top + ScaleForDpi(80, dpi)});

  RECT window = GetWindowRect();
  RECT client = GetClientRect();
  const int frameHeight = (window.bottom - window.top) - (client.bottom - client.top);

  // The text control's own context: the line height the box grows by.
  HDC dc = ::GetDC(m_wndText.m_hWnd);
  ::SetMapMode(dc, MM_TEXT);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::ReleaseDC(m_wndText.m_hWnd, dc);
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

  m_wndText.SetText(m_strText);
  const BoxLayout layout =
      ComputeBoxLayout(m_kind, m_wndText.GetLineCount(), lineHeight, frameHeight, dpi);
  m_wndText.Move(ToRect(layout.multiLineText));

  // One line reads better centred, which needs a control made so.
  if (m_wndText.GetLineCount() == 1) {
    ::DestroyWindow(m_wndText.m_hWnd);
    CreateText(ES_READONLY | ES_CENTER, layout.singleLineText);
    m_wndText.SetText(m_strText);
  }

  m_wndGroup.Attach(
      CreateChild(m_hWnd, "BUTTON", m_strGroupLabel, BS_GROUPBOX, layout.groupBox, 0));
  m_wndGroup.SetFont(m_font.Get());

  LayOutButtons(layout);

  // The template asks for a system-modal box; Wine does not lift it above
  // other windows for that, so it is put on top here.
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, layout.windowWidth, layout.windowHeight,
                 SWP_NOACTIVATE);

  // Over the owner, or over the screen when there is none to see.
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoA(::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                    &monitor);
  RECT over = monitor.rcWork;
  if (overOwner) ::GetWindowRect(owner, &over);
  BoxPoint corner = CenterBox(layout.windowWidth, layout.windowHeight, ToBoxRect(over),
                              ToBoxRect(monitor.rcWork));
  ::SetWindowPos(m_hWnd, nullptr, corner.x, corner.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  // The focus on the default button, which Enter presses: a question whose
  // default is "No" must not open on "Yes", the first in the Tab order.
  const LRESULT defId = Send(DM_GETDEFID);
  HWND byDefault = HIWORD(defId) == DC_HASDEFID ? ::GetDlgItem(m_hWnd, LOWORD(defId)) : nullptr;
  if (byDefault && ::IsWindowEnabled(byDefault)) {
    ::SetFocus(byDefault);
    return FALSE;
  }
  return TRUE;
}

// ---- the three boxes

CMessageBox::CMessageBox(std::string caption, std::string groupLabel, std::string text, int iconId)
    : CBoxDialog(IDD_MESSAGEBOX, BoxKind::kMessage, std::move(caption), std::move(groupLabel),
                 std::move(text), iconId) {}

void CMessageBox::LayOutButtons(const BoxLayout& layout) {
  m_wndOk.Attach(
      CreateChild(m_hWnd, "BUTTON", "Ok", WS_TABSTOP | BS_DEFPUSHBUTTON, layout.buttons[0], IDOK));
  m_wndOk.SetFont(m_font.Get());
}

CAnswerBox::CAnswerBox(std::string caption, std::string groupLabel, std::string text, int iconId)
    : CBoxDialog(IDD_ANSWERBOX, BoxKind::kAnswer, std::move(caption), std::move(groupLabel),
                 std::move(text), iconId) {}

void CAnswerBox::LayOutButtons(const BoxLayout& layout) {
  m_wndYes.AttachDlgItem(m_hWnd, IDOK);
  m_wndNo.AttachDlgItem(m_hWnd, IDCANCEL);
  m_wndYes.Move(ToRect(layout.buttons[0]));
  m_wndNo.Move(ToRect(layout.buttons[1]));
}

CAnswerBoxFull::CAnswerBoxFull(std::string caption, std::string groupLabel, std::string text,
                               int iconId, const std::array<int32_t, 5>& enabled,
                               const std::array<std::string, 5>& labels)
    : Bound(IDD_ANSWERBOXFULL, BoxKind::kAnswerFull, std::move(caption), std::move(groupLabel),
            std::move(text), iconId),
      m_abEnabled(enabled),
      m_astrLabels(labels) {}

void CAnswerBoxFull::LayOutButtons(const BoxLayout& layout) {
  for (size_t i = 0; i < m_wndButtons.size(); ++i) {
    fw::CButton& button = m_wndButtons[i];
    button.AttachDlgItem(m_hWnd, kButtonIds[i]);
    button.Enable(m_abEnabled[i] != 0);
    button.SetText(m_astrLabels[i]);
    button.Move(ToRect(layout.buttons[i]));
  }
}

void CAnswerBoxFull::Answer(int32_t answer, INT_PTR result) {
  m_nAnswer = answer;
  EndDialog(result);
}

void CAnswerBoxFull::OnYes() { Answer(1, IDOK); }
void CAnswerBoxFull::OnYesForAll() { Answer(2, IDOK); }
void CAnswerBoxFull::OnCancel() { Answer(0, IDCANCEL); }
void CAnswerBoxFull::OnNo() { Answer(3, IDOK); }
void CAnswerBoxFull::OnNoForAll() { Answer(4, IDOK); }

// ---- the routines

void ShowMessageBox(HWND owner, std::string caption, std::string groupLabel, std::string text,
                    int iconId) {
  CMessageBox box(std::move(caption), std::move(groupLabel), std::move(text), iconId);
  RunBox(box, owner);
}

bool AskYesNo(HWND owner, std::string caption, std::string groupLabel, std::string text,
              int iconId) {
  CAnswerBox box(std::move(caption), std::move(groupLabel), std::move(text), iconId);
  return RunBox(box, owner) == IDOK;
}

int AskChoice(HWND owner, std::string caption, std::string groupLabel, std::string text, int iconId,
              std::array<int32_t, 5> enabled, std::array<std::string, 5> labels) {
  CAnswerBoxFull box(std::move(caption), std::move(groupLabel), std::move(text), iconId, enabled,
                     labels);
  return RunBox(box, owner) == IDOK ? box.m_nAnswer : 0;
}

void InstallDialogKit() {
  LoadRichEdit();
  SetShowMessageHandler([](void* owner, const std::string& caption, const std::string& groupLabel,
                           const std::string& text, int iconId) {
    ShowMessageBox(static_cast<HWND>(owner), caption, groupLabel, text, iconId);
  });
}

#pragma once
// The program's own message and question boxes. They size themselves to their
// text and may be opened from any thread; without an owner they are owned by
// the main window's last active pop-up.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/box_layout.h"
#include "framework/controls_win.h"
#include "framework/handles_win.h"
#include "framework/window_win.h"
#include "resources/resource.h"

// What the three boxes share: the text in a rich-edit control inside a group
// box, the icon, the font, and the layout of the initialisation.
class CBoxDialog : public fw::CDialog {
 public:
  std::string m_strText;
  std::string m_strCaption;
  std::string m_strGroupLabel;
  fw::CIcon m_hIcon;
  fw::CEdit m_wndText;
  fw::CButton m_wndGroup;
  fw::CFont m_font;

 protected:
  CBoxDialog(UINT templateId, BoxKind kind, std::string caption, std::string groupLabel,
             std::string text, int iconId);

  BOOL OnInitDialog() override;
  // Places (or creates) the box's buttons.
  virtual void LayOutButtons(const BoxLayout& layout) = 0;

 private:
  HWND CreateText(DWORD extraStyle, const BoxRect& rect);

  BoxKind m_kind;
  int m_nIconId;
};

class CMessageBox : public CBoxDialog {
 public:
  CMessageBox(std::string caption, std::string groupLabel, std::string text, int iconId);

  fw::CButton m_wndOk;

 protected:
  void LayOutButtons(const BoxLayout& layout) override;
};

class CAnswerBox : public CBoxDialog {
 public:
  CAnswerBox(std::string caption, std::string groupLabel, std::string text, int iconId);

  fw::CButton m_wndYes;
  fw::CButton m_wndNo;

 protected:
  void LayOutButtons(const BoxLayout& layout) override;
};

class CAnswerBoxFull : public fw::CBound<CAnswerBoxFull, CBoxDialog> {
 public:
  // Index i addresses, left to right, the buttons 1, 18, 2, 20 and 19.
  static constexpr std::array<int, 5> kButtonIds{IDOK, IDC_BOX_YES_FOR_ALL, IDCANCEL, IDC_BOX_NO,
                                                 IDC_BOX_NO_FOR_ALL};

  CAnswerBoxFull(std::string caption, std::string groupLabel, std::string text, int iconId,
                 const std::array<int32_t, 5>& enabled, const std::array<std::string, 5>& labels);

  std::array<int32_t, 5> m_abEnabled;
  std::array<std::string, 5> m_astrLabels;
  int32_t m_nAnswer = 0;
  std::array<fw::CButton, 5> m_wndButtons;

 protected:
  void LayOutButtons(const BoxLayout& layout) override;

 private:
  void OnYes();
  void OnYesForAll();
  void OnCancel();
  void OnNo();
  void OnNoForAll();
  void Answer(int32_t answer, INT_PTR result);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CAnswerBoxFull> kMessageTable[] = {
      {fw::Command(IDOK), &CAnswerBoxFull::OnYes},
      {fw::Command(IDC_BOX_YES_FOR_ALL), &CAnswerBoxFull::OnYesForAll},
      {fw::Command(IDCANCEL), &CAnswerBoxFull::OnCancel},
      {fw::Command(IDC_BOX_NO), &CAnswerBoxFull::OnNo},
      {fw::Command(IDC_BOX_NO_FOR_ALL), &CAnswerBoxFull::OnNoForAll},
  };
};

// The three routines. `owner` may be null: see above. Each runs its box
// modally on the calling thread.
void ShowMessageBox(HWND owner, std::string caption, std::string groupLabel, std::string text,
                    int iconId);
// True only for "Yes".
bool AskYesNo(HWND owner, std::string caption, std::string groupLabel, std::string text,
              int iconId);
// 1, 2, 0, 3 or 4 for the buttons from left to right; 0 for Esc and the close box.
int AskChoice(HWND owner, std::string caption, std::string groupLabel, std::string text, int iconId,
              std::array<int32_t, 5> enabled, std::array<std::string, 5> labels);

// Routes the core's ShowMessage to ShowMessageBox and loads the rich-edit
// library. Start-up calls it once, before any worker runs.
void InstallDialogKit();

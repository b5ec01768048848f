#pragma once
// Control-value exchange: a dialog's DoDataExchange names each control and
// the member it mirrors once, and the same lines read all controls into the
// members (save) or write all members back into the controls.
//
//   void DoDataExchange(fw::CDataExchange& dx) override {
//     dx.Check(IDC_ALL_FILES, m_nAllFiles);
//     dx.Text(IDC_TYPE, m_strTypePattern);
//     dx.ListText(IDC_DATE_FIELD, m_strDateField);
//     dx.DateTime(IDC_FROM_DATE, m_dtFromDate);
//   }

#include <windows.h>

#include <cstdint>
#include <string>

namespace fw {

class CDataExchange {
 public:
  CDataExchange(HWND dialog, bool save) : m_hDialog(dialog), m_bSave(save) {}

  bool IsSaving() const { return m_bSave; }

  // Check box or radio button: 1 checked, 0 not.
  void Check(int id, int32_t& value);
  // Any control's window text (edits, labels).
  void Text(int id, std::string& value);
  // Drop-down list: the selected item's text. Writing selects the item with
  // exactly that text, or none.
  void ListText(int id, std::string& value);
  // Date or time picker.
  void DateTime(int id, SYSTEMTIME& value);

 private:
  HWND Control(int id) const { return ::GetDlgItem(m_hDialog, id); }

  HWND m_hDialog;
  bool m_bSave;
};

}  // namespace fw

#include "framework/data_exchange_win.h"

#include <commctrl.h>

#include "framework/controls_win.h"

namespace fw {

void CDataExchange::Check(int id, int32_t& value) {
  CButton button(Control(id));
  if (m_bSave) {
    value = button.GetCheck() == BST_CHECKED ? 1 : 0;
  } else {
    button.SetCheck(value ? BST_CHECKED : BST_UNCHECKED);
  }
}

void CDataExchange::Text(int id, std::string& value) {
  CWnd control(Control(id));
  if (m_bSave) {
    value = control.GetText();
  } else {
    control.SetText(value);
  }
}

void CDataExchange::ListText(int id, std::string& value) {
  CComboBox list(Control(id));
  if (m_bSave) {
    int index = list.GetCurSel();
    value = index >= 0 ? list.GetLBText(index) : std::string();
  } else {
    list.SetCurSel(list.FindStringExact(value));
  }
}

void CDataExchange::DateTime(int id, SYSTEMTIME& value) {
  CDateTimePicker picker(Control(id));
  if (m_bSave) {
    picker.GetTime(value);
  } else {
    picker.SetTime(value);
  }
}

}  // namespace fw

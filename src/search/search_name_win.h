#pragma once
// "Save search": asks the name "Save…" keeps the page's search under.

#include <windows.h>

#include <string>

#include "framework/window_win.h"
#include "resources/resource.h"
#include "search/search_schedule.h"

// The longest name a search is saved under, in characters: what the list and
// the boxes still show whole.
inline constexpr size_t kMaxSearchNameLength = 255;

// A saved search's name as the list shows it: one longer than `longest`
// characters (written by another hand) cut, with "..." after it.
std::string ShownSearchName(const std::string& name, size_t longest = kMaxSearchNameLength);

class CSearchName : public fw::CBound<CSearchName, fw::CDialog> {
 public:
  // `name` and `schedule`: what the box offers first (the search chosen on
  // the page).
  CSearchName(HWND owner, std::string name, const SearchSchedule& schedule = {})
      : Bound(IDD_SEARCHNAME), m_strName(std::move(name)), m_schedule(schedule), m_hOwner(owner) {}

  // IDOK with a name that is more than blanks and at most
  // kMaxSearchNameLength characters long, and a schedule of 1 to 365 days
  // when it has days; IDCANCEL for Cancel, Esc and
  // the close box.
  INT_PTR DoModal() { return CDialog::DoModal(m_hOwner); }

  std::string m_strName;  // without the blanks around it, once OK has taken it
  SearchSchedule m_schedule;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(fw::CDataExchange& dx) override;

 private:
  void OnOkClicked();
  // The days and the time count only for "every".
  void OnScheduleKind();
  std::string m_strDays;
  void OnCancel() { EndDialog(IDCANCEL); }

  HWND m_hOwner;

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CSearchName> kMessageTable[] = {
      {fw::Command(IDOK), &CSearchName::OnOkClicked},
      {fw::Command(IDCANCEL), &CSearchName::OnCancel},
      {fw::Control(IDC_SCHEDULE_KIND, CBN_SELENDOK), &CSearchName::OnScheduleKind},
  };
};

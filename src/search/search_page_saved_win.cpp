// The search page's side of the searches it keeps: the one it shows read
// from its controls and shown in them, the last search at the start and at
// the exit, and the row of saved searches ("Save…", their list, "Delete
// search", and one opened by name from outside the page). quillory.ini holds
// them; the page only shows a search's definition and reads it back.

#include "search/search_name_win.h"
#include "search/search_page_win.h"
#include "search/search_scheduler_win.h"

void CWindowWiperEntries::RestoreLastSearch() {
  // Without the program's folder there is no file to keep a search in.
  if (m_pAppData->m_strAppFolder.empty()) return;
  m_pSearchFile = std::make_unique<CSearchFile>(m_pAppData->m_strAppFolder);
  SearchDefinition last = InitialSearch();
  std::vector<std::string> names;
  // A file that cannot be read says so, and the page starts as without one.
  m_pSearchFile->Load(last, names);
  ShowDefinition(last);
  FillSavedSearches(names, {});
}

SearchDefinition CWindowWiperEntries::ReadDefinition() {
  SearchDefinition search;
  search.m_inputs = *this;
  search.m_arrFolders = m_pAppData->m_arrFolders;
  search.m_bRecycle = m_wndRecycle.GetCheck() == BST_CHECKED;
  return search;
}

void CWindowWiperEntries::ShowDefinition(const SearchDefinition& search) {
  static_cast<SearchPageInputs&>(*this) = search.m_inputs;
  // An empty list left as it is keeps "Find" as the page has it.
  if (!search.m_arrFolders.empty() || !m_pAppData->m_arrFolders.empty()) {
    m_pAppData->m_arrFolders = search.m_arrFolders;
    RefillFolders();
    UpdateFolderSelection();
  }
  m_wndRecycle.SetCheck(search.m_bRecycle ? BST_CHECKED : BST_UNCHECKED);
  m_strDateField = kDateFields[m_nDateFieldSel];
  m_strDateCondition = kDateConditions[m_nDateConditionSel];
  m_strDateMode = kDateModes[m_bDateAndTime == 1 ? 1 : 0];
  m_strSizeCondition = kSizeConditions[m_nSizeConditionSel];
  m_strSizeUnit = kSizeUnits[m_nSizeUnit];
  UpdateData(false);
  // The handlers set what each choice enables and shows; the values they
  // put back to their starting points are the search's own.
  if (m_nSpecifyType == 1)
    OnSpecifyType();
  else
    OnAllFiles();
  const platform::LocalTime fromTime = search.m_inputs.m_dtFromTime;
  const platform::LocalTime toTime = search.m_inputs.m_dtToTime;
  OnDateMode();
  m_dtFromTime = fromTime;
  m_dtToTime = toTime;
  UpdateData(false);
  OnDateCondition();
  OnSizeCondition();
  m_nSizeToValue = search.m_inputs.m_nSizeToValue;
  UpdateData(false);
}

void CWindowWiperEntries::RememberAtExit() {
  if (!m_pSearchFile || !m_pSearchFile->m_bLastSearchWhole) return;
  UpdateData(true);
  m_pSearchFile->SaveLast(ReadDefinition());
}

void CWindowWiperEntries::FillSavedSearches(const std::vector<std::string>& names,
                                            const std::string& chosen) {
  m_arrSavedNames = names;
  m_wndSavedSearches.ResetContent();
  int chosenIndex = -1;
  for (const std::string& name : names) {
    const int index = m_wndSavedSearches.AddString(ShownSearchName(name));
    if (!chosen.empty() && platform::CompareNoCase(name.c_str(), chosen.c_str()) == 0)
      chosenIndex = index;
  }
  m_wndSavedSearches.SetCurSel(chosenIndex);
  m_wndDeleteSearch.Enable(chosenIndex >= 0);
}

const std::string* CWindowWiperEntries::ChosenSavedName() const {
  const int chosen = m_wndSavedSearches.GetCurSel();
  return chosen >= 0 && static_cast<size_t>(chosen) < m_arrSavedNames.size()
             ? &m_arrSavedNames[static_cast<size_t>(chosen)]
             : nullptr;
}

void CWindowWiperEntries::OnSavedSearchChosen() {
  const std::string* name = ChosenSavedName();
  if (!m_pSearchFile || !name || IsTaskRunning()) return;
  SearchDefinition search = InitialSearch();
  switch (m_pSearchFile->LoadSaved(*name, search)) {
    case CSearchFile::Saved::kYes:
      ShowDefinition(search);
      m_wndDeleteSearch.Enable(true);
      return;
    case CSearchFile::Saved::kUnreadable:  // it has said so, once
      return;
    case CSearchFile::Saved::kNo: break;
  }
  // Gone from the file since (another hand): the list shows what is there.
  std::vector<std::string> names;
  if (m_pSearchFile->SavedNames(names)) FillSavedSearches(names, {});
}

void CWindowWiperEntries::OnSaveSearch() {
  if (!m_pSearchFile || IsTaskRunning()) return;
  const std::string* chosen = ChosenSavedName();
  std::string name = chosen ? *chosen : std::string();
  SearchSchedule schedule;
  if (chosen) {
    SearchDefinition unused;
    if (m_pSearchFile->LoadSaved(name, unused, &schedule) == CSearchFile::Saved::kUnreadable)
      return;
  }
  // No to "replace it?" goes back to the box with the name as typed.
  for (;;) {
    CSearchName box(m_hWnd, name, schedule);
    if (box.DoModal() != IDOK) return;
    name = box.m_strName;
    schedule = box.m_schedule;
    std::string saved;
    // A file that cannot be read has said so once: no second message.
    const CSearchFile::Saved state = m_pSearchFile->IsSaved(name, &saved);
    if (state == CSearchFile::Saved::kUnreadable) return;
    if (state == CSearchFile::Saved::kNo ||
        Ask("A search named \"" + saved + "\" is saved already. Do you want to replace it?"))
      break;
  }
  UpdateData(true);
  if (!m_pSearchFile->SaveNamed(name, ReadDefinition(), schedule)) return;
  std::vector<std::string> names;
  if (m_pSearchFile->SavedNames(names)) FillSavedSearches(names, name);
  g_SearchScheduler.RunDue();  // its new schedule counts from now on
}

bool CWindowWiperEntries::FindSavedSearch(const std::string& name, SearchDefinition& search) {
  if (!m_pSearchFile) return false;
  search = InitialSearch();
  const CSearchFile::Saved saved = m_pSearchFile->LoadSaved(name, search);
  if (saved == CSearchFile::Saved::kNo) Warn("There is no saved search \"" + name + "\".");
  return saved == CSearchFile::Saved::kYes;
}

void CWindowWiperEntries::RunSavedSearch(const std::string& name, const SearchDefinition& search) {
  if (IsTaskRunning()) return;
  std::vector<std::string> names;
  if (m_pSearchFile->SavedNames(names)) FillSavedSearches(names, name);
  ShowDefinition(search);
  OnFind();
}

void CWindowWiperEntries::OnDeleteSearch() {
  const std::string* chosen = ChosenSavedName();
  if (!m_pSearchFile || !chosen || IsTaskRunning()) return;
  const std::string name = *chosen;
  if (!Ask("Do you want to delete the saved search \"" + name + "\"?")) return;
  if (!m_pSearchFile->Forget(name)) return;
  std::vector<std::string> names;
  if (m_pSearchFile->SavedNames(names)) FillSavedSearches(names, {});
  g_SearchScheduler.RunDue();
}

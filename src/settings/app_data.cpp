#include "settings/app_data.h"

CAppData g_AppData;

void CAppData::ClearResults() {
  m_arrFoundNames.RemoveAll();
  m_arrDeleteMarks.clear();
  m_arrFoundLocations.RemoveAll();
  m_arrFoundTypes.RemoveAll();
  m_arrFoundSizes.clear();
  m_arrFoundDates.RemoveAll();
  m_arrFoundTimes.clear();
  m_arrFoundIdentities.clear();
  m_arrRemovedRows.clear();
}

void CAppData::AddResult(std::string_view name, std::string_view location, std::string_view type,
                         uint64_t size, std::string_view date, int64_t time,
                         const platform::FileIdentity& identity) {
  m_arrFoundNames.Add(name);
  m_arrDeleteMarks.push_back(0);
  m_arrFoundLocations.Add(location);
  m_arrFoundTypes.Add(type);
  m_arrFoundSizes.push_back(size);
  m_arrFoundDates.Add(date);
  m_arrFoundTimes.push_back(time);
  m_arrFoundIdentities.push_back(identity);
}

void CAppData::RemoveResults(const std::vector<bool>& removed) {
  m_arrFoundNames.RemoveRows(removed);
  RemoveRows(m_arrDeleteMarks, removed);
  m_arrFoundLocations.RemoveRows(removed);
  m_arrFoundTypes.RemoveRows(removed);
  RemoveRows(m_arrFoundSizes, removed);
  m_arrFoundDates.RemoveRows(removed);
  RemoveRows(m_arrFoundTimes, removed);
  RemoveRows(m_arrFoundIdentities, removed);
}

void CAppData::DropRemovedResults() {
  if (m_arrRemovedRows.size() == GetResultCount()) RemoveResults(m_arrRemovedRows);
  m_arrRemovedRows.clear();
}

std::string CAppData::GetResultPath(size_t row) const {
  std::string path(m_arrFoundLocations[row]);
  path += m_arrFoundNames[row];
  return path;
}

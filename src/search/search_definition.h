#pragma once
// A search as the user defines it: the folders, the type, the date and size
// conditions, the folders to skip, and whether the files found go to the
// Recycle Bin. The search page shows one and reads one back, quillory.ini
// keeps them, and a scheduled run or the command line runs one without the
// page.

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "search/search_criteria.h"

struct SearchDefinition {
  SearchPageInputs m_inputs;  // the type, the date and size conditions, the skip list
  std::vector<std::string> m_arrFolders;
  bool m_bRecycle = false;
};

// Its lines in quillory.ini, and back: the lines are read over `search`,
// which holds the initial values; false when some line could not be read
// (its field kept what it had). Keys that are not its own are passed over.
std::vector<std::string> SearchLines(const SearchDefinition& search);
bool ReadSearchLines(const std::vector<std::string>& lines, SearchDefinition& search);

// The criteria a run of it tests, with the checks of "Find" in their order.
inline CriteriaCheck BuildSearchCriteria(const SearchDefinition& search, SearchCriteria& criteria,
                                         const std::function<void(const std::string&)>& warn,
                                         int64_t now = static_cast<int64_t>(std::time(nullptr))) {
  return BuildSearchCriteria(search.m_inputs, search.m_arrFolders.size(), criteria, warn, now);
}

// PLACEHOLDER: see search_page_placeholder_win.h.
#include "search/search_page_placeholder_win.h"

CWindowWiperEntries g_SearchPage;

#pragma once
// The search page now lives in search_page_win.h; this name stays only for
// files that still include it.
#include "search/search_page_win.h"

#pragma once
// The settings page now lives in settings_page_win.h; this name stays only
// for files that still include it.
#include "settings/settings_page_win.h"

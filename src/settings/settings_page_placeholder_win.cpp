// PLACEHOLDER: see settings_page_placeholder_win.h.
#include "settings/settings_page_placeholder_win.h"

CWindowSettings g_SettingsPage;

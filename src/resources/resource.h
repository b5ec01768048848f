// Ids of the program's resources, commands and controls. Shared by the .rc
// file (through the C preprocessor) and the code, so plain #defines.
#pragma once

#include <windows.h>

// The program never uses the system's stock question icon; its own takes the
// name.
#undef IDI_QUESTION

// Menu and commands of the notification icon.
#define IDR_TRAYMENU 2
#define ID_MENU_HELP 300
#define ID_MENU_EXIT 303
#define ID_MENU_OPEN 306
#define ID_TRAYICON 150

// Icons.
#define IDI_TRAY 68
#define IDI_APP 200
#define IDI_MESSAGE 201
#define IDI_QUESTION 202
#define IDI_TRAY_CLASSIC 203

// Message and question boxes.
#define IDD_ANSWERBOX 101
#define IDD_MESSAGEBOX 103
#define IDD_ANSWERBOXFULL 142
#define IDC_BOX_TEXT 151
#define IDC_BOX_YES_FOR_ALL 18
#define IDC_BOX_NO_FOR_ALL 19
#define IDC_BOX_NO 20

// Main window.
#define IDC_TOOLBAR 152
#define IDC_SPLITTER 153
#define IDC_NAVTREE 154
#define ID_BUTTON_TOOLS 2000
#define ID_BUTTON_HELP 2001
#define ID_BUTTON_SPACER 2002
#define ID_BUTTON_EXIT 2003

// Pages.
#define PAGE_SETTINGS 354
#define PAGE_HELP 388
#define PAGE_DELETE_FILES 398
#define IDD_SETTINGS 107
#define IDD_HELPABOUT 130
#define IDD_WIPERENTRIES 143

// Help page.
#define IDC_HELP_TITLE 540
#define IDC_HOME_LINK 551
#define IDC_HELP_LINK 552

// Password prompt.
#define IDD_CHECKPASSWORD 140
#define IDC_PROMPT_PASSWORD 1055

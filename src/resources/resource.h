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

// Menu and commands of the results list's rows.
#define IDR_RESULTSMENU 3
#define ID_RESULTS_OPEN_FOLDER 310
#define ID_RESULTS_COPY_PATH 311
#define ID_RESULTS_SELECT_ALL 312
#define ID_RESULTS_DELETE 313
#define ID_RESULTS_SAVE_LIST 314

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

// Settings page.
#define IDC_APPLY 683
#define IDC_START_WITH_WINDOWS 694
#define IDC_RESET 695
#define IDC_PROTECT_WITH_PASSWORD 697
#define IDC_PASSWORD 698
#define IDC_CONFIRM_PASSWORD 699

// Password prompt.
#define IDD_CHECKPASSWORD 140
#define IDC_PROMPT_PASSWORD 1055

// Progress window of a search or a delete run.
#define IDD_PROGRESS 115
#define IDC_PROGRESS_CANCEL 15
#define IDC_PROGRESS_BAR 1198
#define IDC_PROGRESS_UNUSED1 1199
#define IDC_PROGRESS_UNUSED2 1200
#define IDC_PROGRESS_STATUS 1201
#define IDC_PROGRESS_FIRST_COUNT 1202
#define IDC_PROGRESS_SECOND_COUNT 1203
#define IDC_PROGRESS_FRAME 1220

// Search page controls the results and folder lists work with.
#define IDC_RESULTS_GROUP 1147
#define IDC_FIND 1217
#define IDC_LIST_RESULTS 1219
#define IDC_DELETE 1224
#define IDC_LIST_FOLDERS 1230
#define IDC_EMPTY_LIST 1237
#define IDC_TOTAL_LABEL 1244
#define IDC_SELECTION_LABEL 1246

// Search page: the conditions and the folder buttons.
#define IDC_ALL_FILES 1213
#define IDC_DATE_FIELD 1214
#define IDC_SPECIFY_TYPE 1215
#define IDC_ADD 1216
#define IDC_TYPE_PATTERN 1218
#define IDC_DATE_CONDITION 1221
#define IDC_SIZE_CONDITION 1225
#define IDC_DATE_TO_LABEL 1226
#define IDC_SIZE_UNIT 1228
#define IDC_SIZE_FROM 1232
#define IDC_SIZE_TO 1233
#define IDC_SIZE_FROM_LABEL 1234
#define IDC_SIZE_TO_LABEL 1235
#define IDC_DATE_FROM_LABEL 1236
#define IDC_FROM_DATE 1239
#define IDC_REMOVE 1240
#define IDC_FROM_TIME 1241
#define IDC_TO_TIME 1242
#define IDC_TO_DATE 1243
#define IDC_DATE_MODE 1245

// Search page: routine clean-ups (the saved searches' row above the
// conditions, ages in days, folders to skip, the Recycle Bin), and the box
// that names a search.
#define IDC_SAVED_SEARCHES_LABEL 1300
#define IDC_SAVED_SEARCHES 1301
#define IDC_SAVE_SEARCH 1302
#define IDC_DELETE_SEARCH 1303
#define IDC_DAYS 1304
#define IDC_DAYS_LABEL 1305
#define IDC_SKIP_LABEL 1306
#define IDC_SKIP_FOLDERS 1307
#define IDC_RECYCLE 1308
#define IDD_SEARCHNAME 160
#define IDC_SEARCH_NAME 1309

// The save box's schedule: when the saved search runs by itself.
#define IDC_SCHEDULE_KIND 1330
#define IDC_SCHEDULE_DAYS 1331
#define IDC_SCHEDULE_TIME 1332

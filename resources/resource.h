// Resource identifiers of QVReader. Shared by the resource script and the
// code, so it holds nothing but #define lines.
#pragma once

#define IDD_QVLIVE_DIALOG        102
#define IDD_QVLIVE_ACCOUNT       152
#define IDD_QVLIVE_LOG           9
#define IDD_QVLIVE_DATA          154
#define IDD_QVLIVE_SETTINGS      183
#define IDD_QVLIVE_WEB           163

#define IDC_CLOSE_BUTTON         1001
#define IDC_TAB_PLACEHOLDER      1002
#define IDC_ACCOUNT_TREE         1003
#define IDC_LOG_LIST             1004
#define IDC_NOW_BUTTON           1006
#define IDC_AUTO_BUTTON          1007
#define IDC_TIME_PERIOD          1008
#define IDC_TIME_LABEL           1021
#define IDC_SAVE_BUTTON          1016
#define IDC_UPDATE_GROUP         1017
#define IDC_EXIT_GROUP           1018
#define IDC_UPDATE_CHECK         1019
#define IDC_EXIT_RADIO           1020
#define IDC_TRAY_RADIO           1021
#define IDC_GENERAL_GROUP        1022
#define IDC_TIMEOUT_LIST         1023
#define IDC_TIMEOUT_LABEL        1024
#define IDC_RUN_CHECK            1025

#define IDI_QVREADER             203
#define IDI_MENU_EXIT            204
#define IDI_TRAY_FRAME_FIRST     205
#define IDI_TRAY_FRAME_LAST      210
#define IDI_MENU_SHOW            211

#define ID_TRAY_EXIT             20007
#define ID_TRAY_SHOW             20008

// Bitmaps, drawn by tools/resmaker into bitmaps/ and listed in bitmaps.rc.
#define IDB_SKIN_BOTTOM_LEFT        129
#define IDB_SKIN_BOTTOM             130
#define IDB_SKIN_BOTTOM_RIGHT       131
#define IDB_SKIN_LEFT               132
#define IDB_SKIN_RIGHT              133
#define IDB_SKIN_TOP_LEFT           136
#define IDB_SKIN_TOP                137
#define IDB_SKIN_TOP_RIGHT          138
#define IDB_CLOSE_HOVER             139
#define IDB_CLOSE_NORMAL            140
#define IDB_TAB_LOG_NORMAL          143
#define IDB_TAB_ACCOUNTS_SELECTED   144
#define IDB_TAB_ACCOUNTS_HOVER      145
#define IDB_TAB_ACCOUNTS_NORMAL     146
#define IDB_TAB_DATA_SELECTED       147
#define IDB_TAB_DATA_HOVER          148
#define IDB_TAB_DATA_NORMAL         149
#define IDB_TAB_LOG_SELECTED        150
#define IDB_TAB_LOG_HOVER           151
#define IDB_TAB_SETTINGS_NORMAL     184
#define IDB_TAB_SETTINGS_SELECTED   185
#define IDB_TAB_SETTINGS_HOVER      186
#define IDB_TREE_GROUP              156
#define IDB_TREE_ACCOUNT            157
#define IDB_TREE_EXPANDER           158
#define IDB_MENU_PICTURE            159
#define IDB_CHECK_GLYPHS            162
#define IDB_ACCOUNT_STRIP_RIGHT     164
#define IDB_ACCOUNT_STRIP_LEFT      165
#define IDB_ACCOUNT_STRIP_MIDDLE    166
#define IDB_STOP_MANUAL_NORMAL      167
#define IDB_MANUAL_PRESSED          168
#define IDB_MANUAL_HOVER            169
#define IDB_MANUAL_NORMAL           170
#define IDB_STOP_MANUAL_PRESSED     171
#define IDB_STOP_MANUAL_HOVER       172
#define IDB_AUTO_RUN                176
#define IDB_STOP_AUTO_RUN           180
#define IDB_MANUAL_DISABLED         181
#define IDB_TREE_OFF                182
#define IDB_RADIO_GLYPHS            187
#define IDB_TREE_ON                 188
#define IDB_TREE_DATA_LINK          189
#define IDB_ANALYSE_NORMAL          190
#define IDB_ANALYSE_PRESSED         191
#define IDB_ANALYSE_HOVER           192
#define IDB_SAVE_NORMAL             199
#define IDB_SAVE_PRESSED            200
#define IDB_SAVE_HOVER              201

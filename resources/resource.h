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

#define IDI_QVREADER             203
#define IDI_MENU_EXIT            204
#define IDI_TRAY_FRAME_FIRST     205
#define IDI_TRAY_FRAME_LAST      210
#define IDI_MENU_SHOW            211

#define ID_TRAY_EXIT             20007
#define ID_TRAY_SHOW             20008

// Resource numbers of Fernhold.exe's icons, cursors and bitmaps, shared by Fernhold.rc and the C++.
#pragma once

#define IDI_FERNHOLD 110    // program and window-class icon
#define IDI_TRAY 126        // notification-area icon
#define IDC_HAND_OPEN 106   // over a region that can be dragged
#define IDC_HAND_CLOSED 107 // while dragging
#define IDB_STATE_ICONS 101 // 80 x 16, 16 colours: the five destination search states

// Options sheet, administrator and about dialogs (app/OptionsDialogs.rc).
#define IDD_ABOUT 123
#define IDB_ABOUT 125 // 200 x 48, 256 colours: the about dialog's banner
#define IDD_GENERAL_OPTIONS 129
#define IDD_USER_RIGHTS 147
#define IDD_PASSWORD 149
#define IDD_AUTHENTICATE 150
#define IDC_OPTIONS_PORT 1022
#define IDC_OPTIONS_LIST_FILE 1023
#define IDC_OPTIONS_REFUSE 1042
#define IDC_OPTIONS_SEARCH 1081
// The rights boxes, bits 0 to 9 in order.
#define IDC_RIGHT_SHOW_MAIN 1045
#define IDC_RIGHT_CONNECT 1071
#define IDC_RIGHT_MOUSE 1043
#define IDC_RIGHT_KEYBOARD 1044
#define IDC_RIGHT_ADD 1047
#define IDC_RIGHT_EDIT 1046
#define IDC_RIGHT_DELETE 1048
#define IDC_RIGHT_WAKE 1049
#define IDC_RIGHT_UPDATE 1050
#define IDC_RIGHT_OPTIONS 1051
#define IDC_CHANGE_ADMINISTRATOR 1077
#define IDC_ADMIN_NAME 1072
#define IDC_ADMIN_PASSWORD 1073
#define IDC_ADMIN_CONFIRM 1074
#define IDC_AUTH_PASSWORD 1076
#define IDC_ABOUT_VERSION 1079
#define IDC_ABOUT_HOST 1022
#define IDC_ABOUT_ADDRESS 1023
#define IDC_ABOUT_MACS 1024

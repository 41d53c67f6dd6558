// Resource numbers of Fernhold.exe's icons, cursors and bitmaps, shared by Fernhold.rc and the C++.
#pragma once

#define IDI_FERNHOLD 110    // program and window-class icon
#define IDI_TRAY 126        // notification-area icon
#define IDC_HAND_OPEN 106   // over a region that can be dragged
#define IDC_HAND_CLOSED 107 // while dragging
#define IDB_STATE_ICONS 101 // 80 x 16, 16 colours: the five destination search states

// The add-destination wizard (WizardPages.rc): pictures, the six pages and their controls.
#define IDB_WIZARD_WELCOME 135  // 200 x 300, 256 colours
#define IDB_WIZARD_PROGRESS 137 // 200 x 215, 256 colours
#define IDD_WIZARD_WELCOME 140
#define IDD_WIZARD_WORKGROUPS 141
#define IDD_WIZARD_COMPUTERS 142
#define IDD_WIZARD_SETTINGS 143
#define IDD_WIZARD_PROGRESS 144
#define IDD_WIZARD_WAIT 145
#define IDC_WIZARD_CANCEL 1008
#define IDC_WIZARD_NEXT 1046
#define IDC_WIZARD_BACK 1048
#define IDC_WIZARD_PROGRESS_BAR 1050
#define IDC_WIZARD_TOTAL 1053
#define IDC_WIZARD_COMPUTER_LIST 1054
#define IDC_WIZARD_RUN 1055
#define IDC_WIZARD_CURRENT 1056
#define IDC_WIZARD_STEP 1057
#define IDC_WIZARD_WORKGROUP_LIST 1058
#define IDC_WIZARD_NAME_ONLY 1059
#define IDC_WIZARD_ADDRESS_ONLY 1060
#define IDC_WIZARD_NAME_AND_ADDRESS 1061
#define IDC_WIZARD_FETCH_MACS 1062
#define IDC_WIZARD_STOP 1063
#define IDC_WIZARD_WAIT_TEXT 1064
// Destination dialogs (DestinationDialogs.rc): the settings of one destination, one MAC
// address, and the notice while a destination's worker thread stops.
#define IDD_WAIT_NOTICE 101
#define IDD_DESTINATION 102
#define IDD_MAC_ADDRESS 146
#define IDC_WAIT_TEXT 1000
#define IDC_DEST_NAME 1001
#define IDC_DEST_PORT 1006
#define IDC_DEST_OK 1007
#define IDC_DEST_CANCEL 1008
#define IDC_DEST_MAC_ADD 1009
#define IDC_DEST_MAC_EDIT 1010
#define IDC_DEST_MAC_DELETE 1011
#define IDC_DEST_ADDRESS 1013
#define IDC_DEST_MAC_LIST 1066
#define IDC_MAC_BYTE1 1067
#define IDC_MAC_BYTE2 1068
#define IDC_MAC_BYTE3 1024
#define IDC_MAC_BYTE4 1025
#define IDC_MAC_BYTE5 1026
#define IDC_MAC_BYTE6 1027
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

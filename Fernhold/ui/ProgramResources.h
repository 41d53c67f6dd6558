// Numbers of the program's own resources (icons, cursors, bitmaps), for the resource
// script and the code.
#pragma once

#define IDB_STATE_ICONS 101
#define IDC_HAND_OPEN 106
#define IDC_HAND_CLOSED 107
#define IDI_FERNHOLD 110
#define IDI_TRAY 126

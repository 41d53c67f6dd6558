// Resource numbers of Fernhold.exe's icons, cursors and bitmaps, shared by Fernhold.rc and the C++.
#pragma once

#define IDI_FERNHOLD 110    // program and window-class icon
#define IDI_TRAY 126        // notification-area icon
#define IDC_HAND_OPEN 106   // over a region that can be dragged
#define IDC_HAND_CLOSED 107 // while dragging
#define IDB_STATE_ICONS 101 // 80 x 16, 16 colours: the five destination search states

// The attributes a window core keeps while it has no Win32 window: set before
// creation, or the last state of a destroyed window so that it can be made again.
#pragma once

#include <Panekind/PanekindApi.h>

#include <Keelwork/TString.h>

#include <windows.h>

// Rectangles are in the coordinates CreateWindowExA takes: the screen for a
// top-level window, the parent's client area for a WS_CHILD window.
struct PANEKIND_API TWndCoreBaseData {
    // Defaults: a visible overlapped window "TclassWindow" at 0, 0, 320, 240.
    TWndCoreBaseData();
    // Snapshot of a live window.
    explicit TWndCoreBaseData(HWND hwnd);

    // The window's whole text (empty when it has none).
    static TString ReadWindowText(HWND hwnd);
    // The client area as a rectangle in screen coordinates.
    static RECT ReadClientRect(HWND hwnd);

    unsigned long m_Version;
    unsigned long m_Style;
    unsigned long m_ExStyle;
    HWND m_hParent;
    // The menu of a top-level window, or the control ID of a child window.
    HMENU m_hMenu;
    TString m_Text;
    RECT m_WindowRect;
    RECT m_ClientRect;
};

// The desktop's work area and screen size, and centring of top-level windows in the work area.
#pragma once

#include <Panekind/PanekindApi.h>

#include <windows.h>

class PANEKIND_API TDesktop {
public:
    // The screen less the task bars (SPI_GETWORKAREA).
    static RECT GetWorkArea();
    // The primary screen in pixels.
    static SIZE GetDesktopSize();
    // Top-left corner that centres a window of that rectangle's size in the work area
    // (each half of the leftover space truncated toward zero).
    static POINT GetCenterPos(const RECT& window);
};

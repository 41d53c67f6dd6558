// The push buttons of the control window and the control strip: where each lies in
// either window, its art and hit colour, and how the two windows draw them.
#pragma once

#include "ui/SkinStore.h"
#include "ui/TButtonBoard.h"

#include <windows.h>

#include <cstdint>

// Button groups, numbered from 1 as the board counts them.
constexpr int GROUP_VIEW = 1;
constexpr int GROUP_SESSION = 2;
constexpr int GROUP_EVENTS = 3;
constexpr int GROUP_FIT = 4; // the strip only

struct ControlButton {
    int group;
    int button;    // 1 to 3 within its group
    RECT inWindow; // x, y, right, bottom in the control window; empty for the strip's fit
    RECT inStrip;
    int sourceX;      // column in 501.bmp and 502.bmp (control window)
    int stripSourceX; // column in the strip, where it differs
    COLORREF hit;     // colour of the button in the hit maps 500.bmp and 800.bmp
    const char* statusText;
};

constexpr int CONTROL_BUTTON_COUNT = 9;
extern const ControlButton CONTROL_BUTTONS[CONTROL_BUTTON_COUNT];

// Which window the buttons are drawn for.
enum class ControlSurface { Window, Strip };

// The button of a hit colour for one group (0 when the colour is no button of it).
int ControlButtonAt(int group, COLORREF colour);
// The table index of a hit colour's button among the first groups (-1 for none).
int ControlButtonIndex(COLORREF colour, int groups);

// Draws every button of the surface at its look from the board, then the overlays of the
// buttons that are selected or on (working view, connection state, switches, fit).
// Caller holds the skin lock.
void ComposeControlButtons(SkinStore& skin, TMemDC& canvas, ControlSurface surface,
                           const TButtonBoard& board, uint32_t displayFlags);

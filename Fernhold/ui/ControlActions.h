// What the control buttons and the matching menu items do to the operator's switches:
// the working view, and the mouse and keyboard switches under their rights.
#pragma once

#include "net/TFernSettings.h"
#include "ui/ConnectionState.h"

#include <cstdint>

// Makes view the working view; the other bits stay.
void SelectWorkingView(TFernSettings& settings, uint32_t view);
// A click on the mouse (DISPLAY_SEND_MOUSE, right 0x4) or keyboard switch
// (DISPLAY_SEND_KEYBOARD, right 0x8): it goes on only when it is off and the rights hold
// its bit; every other click turns it off. No administrator is asked.
void ClickEventSwitch(TFernSettings& settings, uint32_t rights, uint32_t switchBit);
void ToggleFitToWindow(TFernSettings& settings);

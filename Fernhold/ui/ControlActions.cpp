// Control actions on displayFlags.
#include "ui/ControlActions.h"

#include "ui/ConnectionState.h"
#include "ui/RightsCheck.h"

void SelectWorkingView(TFernSettings& settings, uint32_t view)
{
    settings.displayFlags = (settings.displayFlags.load() & ~VIEW_MASK) | (view & VIEW_MASK);
}

void ClickEventSwitch(TFernSettings& settings, uint32_t rights, uint32_t switchBit)
{
    uint32_t right = switchBit == DISPLAY_SEND_MOUSE ? RIGHT_MOUSE : RIGHT_KEYBOARD;
    uint32_t flags = settings.displayFlags.load();
    if (!(flags & switchBit) && (rights & right))
        settings.displayFlags = flags | switchBit;
    else
        settings.displayFlags = flags & ~switchBit;
}

void ToggleFitToWindow(TFernSettings& settings) { settings.displayFlags ^= DISPLAY_FIT_TO_WINDOW; }

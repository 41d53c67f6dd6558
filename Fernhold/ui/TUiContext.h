// The collaborators every window of the main window's family works with.
#pragma once

#include "net/TFernSettings.h"

#include <windows.h>

class SkinStore;
class TAppShell;
class TDestinationSelection;
class TClientCore;
class TServerCore;

// Owned by the main window and handed to its children; main thread. mainWindow is
// null until the main window exists: children post their UM_ messages there and never
// call into other windows.
struct TUiContext {
    TFernSettings& settings;
    TClientCore& client;
    TServerCore& server;
    SkinStore& skin;
    TAppShell& shell;
    HWND mainWindow = nullptr;
    // The UI stage of the controls (UM_UI_STATE), 1 idle at first.
    WPARAM uiState = 1;
    // Whether this program is the active application (WM_ACTIVATEAPP): title bars show
    // the active or the inactive caption gradient.
    int appActive = 1;
    // The destination list's selection; set by the left panel when it is made.
    const TDestinationSelection* selection = nullptr;
};

// The main window as it stands until the skinned main window replaces it: a hidden
// window that carries the timers, runs the connection steps and is the hub the
// engines post their messages to.
#pragma once

#include "app/KeyboardHook.h"
#include "app/TConnectionMachine.h"

#include <Panekind/TWndCore.h>

class TMainApp;

// Interim: it shows nothing. It takes the place of the skinned main window in the
// start-up order, with the same class, title, timers, connection steps, keyboard hook
// and messages, so the program starts, connects, runs and shuts down as it will then;
// the skinned window takes over its connection machine and hook as they are. Owned
// by the application object; everything runs on the main thread.
class THubWindow : public TWndCore {
public:
    explicit THubWindow(TMainApp& app);

    // Creates the hidden window with the registered class; 1 on success.
    int Create();

    // The last stage the controls were told (UM_UI_STATE), 1 idle at first.
    WPARAM GetUiState() const { return m_UiState; }
    const TKeyboardHook& GetKeyboardHook() const { return m_Hook; }

private:
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);
    void OnTimer(WPARAM timer);
    // Asks before quitting; any answer but No shuts the program down.
    void ConfirmQuit();

    TMainApp& m_App;
    WPARAM m_UiState = 1;
    TKeyboardHook m_Hook;
    TConnectionMachine m_Connection;
};

// The main window as it stands until the skinned main window replaces it: a hidden
// window that carries timer 1 and is the hub the engines post their messages to.
#pragma once

#include <Panekind/TWndCore.h>

class TMainApp;

// Interim: it shows nothing. It takes the place of the skinned main window in the
// start-up order, with the same class, title, timer and messages, so the program
// starts, runs and shuts down as it will then. Owned by the application object;
// everything runs on the main thread.
class THubWindow : public TWndCore {
public:
    explicit THubWindow(TMainApp& app);

    // Creates the hidden window with the registered class; 1 on success.
    int Create();

    // The last stage the controls were told (UM_UI_STATE), 1 idle at first.
    WPARAM GetUiState() const { return m_UiState; }

private:
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);
    // Asks before quitting; any answer but No shuts the program down.
    void ConfirmQuit();

    TMainApp& m_App;
    WPARAM m_UiState = 1;
};

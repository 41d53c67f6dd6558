// The main window as it stands until the skinned main window replaces it: a hidden
// window that carries the timers and forwards the hub's messages to the session
// controller.
#pragma once

#include "ui/TSessionController.h"

#include <Panekind/TWndCore.h>

class TAppShell;
class TClientCore;
class TServerCore;

// Interim: it shows nothing. Owned by the application object; main thread only.
class THubWindow : public TWndCore, private TSessionWindow {
public:
    THubWindow(TFernSettings& settings, TClientCore& client, TServerCore& server, TAppShell& shell);

    // Creates the hidden window with the registered class; 1 on success.
    int Create();

    // The last stage the controls were told (UM_UI_STATE), 1 idle at first.
    WPARAM GetUiState() const { return m_UiState; }
    const TSessionController& GetController() const { return m_Controller; }

private:
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);

    void TellUiStage(WPARAM stage) override;
    int AskAdministrator() override;
    void StartFrameTimer(UINT intervalMs) override;
    void StopFrameTimer() override;
    void TakeFocus() override;
    int ConfirmQuit() override;

    TAppShell& m_Shell;
    WPARAM m_UiState = UI_STATE_IDLE;
    TCoreEngines m_Engines;
    TSessionController m_Controller;
};

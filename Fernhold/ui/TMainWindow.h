// The main window: the borderless skinned 640 x 328 window that its children tile, the
// hub every engine and child posts to, and the notification-area icon.
#pragma once

#include "ui/TOptionsDialogs.h"
#include "ui/TSessionController.h"
#include "ui/TUiContext.h"

#include <Panekind/TWndCore.h>

#include <shellapi.h>

class TControlStrip;
class TControlWindow;
class TFullViewWindow;
class TMaxViewWindow;
class TMenuWindow;
class TMinViewWindow;
class TStateWindow;
class TTitlebarWindow;

// One instance, owned by the application object; main thread only. The window is a thin
// shell: the session's behaviour lives in its TSessionController, drawing in the children.
class TMainWindow : public TWndCore, private TSessionWindow {
public:
    TMainWindow(TFernSettings& settings, TClientCore& client, TServerCore& server, SkinStore& skin,
                TAppShell& shell);
    ~TMainWindow() override;
    TMainWindow(const TMainWindow&) = delete;
    TMainWindow& operator=(const TMainWindow&) = delete;

    // Creates the window at the saved position (minimised at once: it starts in the
    // notification area) or centred and shown, then its eight children; 1 on success.
    int Create();
    // The notification icon (icon 126, UM_TRAY_NOTIFY); added at start, removed at shutdown.
    void AddTrayIcon();
    void RemoveTrayIcon();

    WPARAM GetUiState() const { return m_Context.uiState; }
    const TSessionController& GetController() const { return m_Controller; }
    int HasTrayIcon() const { return m_TrayAdded; }

private:
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);
    // A message of the table; 1 when handled, with the answer in *result.
    int OnHubMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    int OnSystemMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    int CreateChildren();
    // UM_REPAINT: composes the child (or every child) and invalidates when asked.
    void Repaint(WPARAM child, LPARAM invalidate);
    void OnUiState(WPARAM stage);
    void OnImageReady();
    void OnSize(WPARAM kind);
    void OnTrayNotify(LPARAM mouse);
    // UM_ENTRY_CHANGED, with every one that waits behind it.
    void OnEntryChanged(WPARAM kind, LPARAM recordId);

    void TellUiStage(WPARAM stage) override;
    int AskAdministrator() override;
    void StartFrameTimer(UINT intervalMs) override;
    void StopFrameTimer() override;
    void TakeFocus() override;
    int ConfirmQuit() override;

    TUiContext m_Context;
    TCoreEngines m_Engines;
    TSessionController m_Controller;
    TOptionsDialogs m_Options;
    TTitlebarWindow* m_Titlebar;
    TMenuWindow* m_Menu;
    TMaxViewWindow* m_MaxView;
    TMinViewWindow* m_MinView;
    TFullViewWindow* m_FullView;
    TControlStrip* m_Strip;
    TControlWindow* m_Control;
    TStateWindow* m_State;
    NOTIFYICONDATAA m_Tray{};
    int m_TrayAdded = 0;
};

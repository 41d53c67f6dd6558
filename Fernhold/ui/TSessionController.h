// The main window's behaviour without a window: what its timers mean, where engine and
// control messages go, the connection steps with the keyboard hook, quitting.
#pragma once

#include "net/MainWindowMessages.h"
#include "net/TFernSettings.h"
#include "ui/ConnectionState.h"
#include "ui/TKeyboardHook.h"

#include <windows.h>

#include <cstdint>

class TAppShell;
class TClientCore;
class TClientLink;
class TEventLink;
class TServerCore;

// Timers of the main window: listener refresh and search tick; frame requests while
// connected.
constexpr UINT_PTR TIMER_REFRESH = 1;
constexpr UINT TIMER_REFRESH_MS = 5000;
constexpr UINT_PTR TIMER_FRAME = 257;

// What the controller asks of its window.
class TSessionWindow {
public:
    // UM_UI_STATE with the stage, posted to the main window.
    virtual void TellUiStage(WPARAM stage) = 0;
    // The administrator dialog (UM_AUTHENTICATE); 1 when it succeeded.
    virtual int AskAdministrator() = 0;
    virtual void StartFrameTimer(UINT intervalMs) = 0;
    virtual void StopFrameTimer() = 0;
    virtual void TakeFocus() = 0;
    // The quit question; 1 unless the operator answered No.
    virtual int ConfirmQuit() = 0;

protected:
    ~TSessionWindow() = default;
};

// The engines as the controller uses them: their threads' queues and the links.
class TSessionEngines {
public:
    virtual void PostToClient(UINT message, WPARAM wParam) = 0;
    virtual void PostToServer(UINT message) = 0;
    // The links of the session of the moment (null while none); they change only on
    // the client thread, between steps that remove the hook and the frame timer first.
    virtual TEventLink* GetEventLink() const = 0;
    virtual const TClientLink* GetImageLink() const = 0;

protected:
    ~TSessionEngines() = default;
};

// The program's engines behind TSessionEngines.
class TCoreEngines final : public TSessionEngines {
public:
    TCoreEngines(TClientCore& client, TServerCore& server) : m_Client(client), m_Server(server) {}
    void PostToClient(UINT message, WPARAM wParam) override;
    void PostToServer(UINT message) override;
    TEventLink* GetEventLink() const override;
    const TClientLink* GetImageLink() const override;

private:
    TClientCore& m_Client;
    TServerCore& m_Server;
};

// Owned by the main window; main thread only. It alone writes the connection state in
// displayFlags (the engines read it). The hook is installed exactly while a connection
// is up (connected or paused).
class TSessionController {
public:
    TSessionController(TFernSettings& settings, TSessionEngines& engines, TSessionWindow& window,
                       TAppShell& shell);
    TSessionController(const TSessionController&) = delete;
    TSessionController& operator=(const TSessionController&) = delete;

    // WM_TIMER of the main window.
    void OnTimer(UINT_PTR timer);
    // UM_CONNECT_EVENT: one step; steps that do not fit the state are ignored.
    void OnConnectEvent(WPARAM step, LPARAM destination);
    // UM_RESET_SEARCH.
    void OnResetSearch();
    // UM_QUIT_REQUEST: asks, and shuts the program down unless the answer is No.
    void OnQuitRequest();
    // WM_QUERYENDSESSION: shuts down without asking.
    void OnEndSession();
    // WM_DESTROY: a hook left behind would call into objects about to go.
    void OnWindowDestroyed();

    uint32_t GetConnectionState() const { return ::GetConnectionState(m_Settings.displayFlags); }
    const TKeyboardHook& GetKeyboardHook() const { return m_Hook; }

private:
    void Connect(LPARAM destination);
    void Connected();
    void Disconnect();
    void SetState(uint32_t state);

    TFernSettings& m_Settings;
    TSessionEngines& m_Engines;
    TSessionWindow& m_Window;
    TAppShell& m_Shell;
    TKeyboardHook m_Hook;
};

// TIMER_FRAME tick: a frame request goes to the image link only when it exists and
// waits for work; a busy link gets no further request.
void PaceFrame(const TClientLink* imageLink);

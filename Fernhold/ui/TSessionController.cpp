// Session controller: timers, the state table of the connection steps, frame pacing,
// quitting.
#include "ui/TSessionController.h"

#include "net/NetMessages.h"
#include "net/TClientCore.h"
#include "net/TClientLink.h"
#include "net/TEventLink.h"
#include "net/TImageLink.h"
#include "net/TServerCore.h"
#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"

namespace {
// The keyboard hook finds the event link of the moment through the engines.
TEventLink* EventLinkOf(void* engines)
{
    return static_cast<TSessionEngines*>(engines)->GetEventLink();
}
} // namespace

void TCoreEngines::PostToClient(UINT message, WPARAM wParam)
{
    PostThreadMessageA(m_Client.GetThreadId(), message, wParam, 0);
}

void TCoreEngines::PostToServer(UINT message)
{
    PostThreadMessageA(m_Server.GetThreadId(), message, 0, 0);
}

TEventLink* TCoreEngines::GetEventLink() const { return m_Client.GetEventLink(); }

const TClientLink* TCoreEngines::GetImageLink() const { return m_Client.GetImageLink(); }

TSessionController::TSessionController(TFernSettings& settings, TSessionEngines& engines,
                                       TSessionWindow& window, TAppShell& shell)
    : m_Settings(settings), m_Engines(engines), m_Window(window), m_Shell(shell),
      m_Hook(settings, EventLinkOf, &engines)
{
}

void TSessionController::SetState(uint32_t state)
{
    m_Settings.displayFlags = WithConnectionState(m_Settings.displayFlags.load(), state);
}

void TSessionController::OnTimer(UINT_PTR timer)
{
    if (timer == TIMER_REFRESH) {
        m_Engines.PostToServer(TM_REFRESH_LISTENERS);
        m_Engines.PostToClient(TM_SEARCH_TICK, 0);
    } else if (timer == TIMER_FRAME) {
        PaceFrame(m_Engines.GetImageLink());
    }
}

void TSessionController::OnConnectEvent(WPARAM step, LPARAM destination)
{
    uint32_t state = GetConnectionState();
    switch (step) {
    case CONNECT_EVENT_IDLE:
        m_Window.TellUiStage(UI_STATE_IDLE);
        SetState(CONNECTION_IDLE);
        break;
    case CONNECT_EVENT_CONNECT:
        if (state == CONNECTION_PAUSED)
            SetState(CONNECTION_CONNECTED); // resume: the links are still open
        else if (state == CONNECTION_IDLE && destination != -1)
            Connect(destination);
        break;
    case CONNECT_EVENT_CONNECTED:
        if (state == CONNECTION_CONNECTING) Connected();
        break;
    case CONNECT_EVENT_PAUSE:
        if (state == CONNECTION_CONNECTED) SetState(CONNECTION_PAUSED);
        break;
    case CONNECT_EVENT_DISCONNECT:
        if (state == CONNECTION_CONNECTING || state == CONNECTION_CONNECTED ||
            state == CONNECTION_PAUSED)
            Disconnect();
        break;
    default:
        break;
    }
}

void TSessionController::Connect(LPARAM destination)
{
    if (!(m_Shell.GetRights() & RIGHT_CONNECT) && m_Window.AskAdministrator() != 1) return;
    // The administrator dialog runs its own message loop: a second connect that came
    // in meanwhile has already left the idle state, and one connection is enough.
    if (GetConnectionState() != CONNECTION_IDLE) return;
    m_Engines.PostToClient(TM_CONNECT, static_cast<WPARAM>(destination));
    m_Window.TellUiStage(UI_STATE_CONNECTING);
    SetState(CONNECTION_CONNECTING);
}

void TSessionController::Connected()
{
    m_Window.TellUiStage(UI_STATE_CONNECTED);
    SetState(CONNECTION_CONNECTED);
    m_Window.StartFrameTimer(m_Settings.viewTimerInterval.load());
    m_Window.TakeFocus();
    m_Hook.Install();
}

void TSessionController::Disconnect()
{
    m_Hook.Remove();
    m_Window.StopFrameTimer();
    m_Engines.PostToClient(TM_DISCONNECT, 0);
    m_Window.TellUiStage(UI_STATE_DISCONNECTED);
    SetState(CONNECTION_DISCONNECTING);
}

void TSessionController::OnResetSearch() { m_Engines.PostToClient(TM_RESET_SEARCH, 0); }

void TSessionController::OnQuitRequest()
{
    if (m_Window.ConfirmQuit()) m_Shell.ShutDown();
}

void TSessionController::OnEndSession() { m_Shell.ShutDown(); }

void TSessionController::OnWindowDestroyed()
{
    m_Hook.Remove();
    m_Window.StopFrameTimer();
}

void PaceFrame(const TClientLink* imageLink)
{
    if (imageLink && imageLink->IsIdle())
        PostThreadMessageA(imageLink->GetThreadId(), TM_GET_FRAME, 0, 0);
}

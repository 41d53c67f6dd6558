// Connection steps: the state table of UM_CONNECT_EVENT and frame pacing.
#include "app/TConnectionMachine.h"

#include "app/TUserInfo.h"
#include "app/UserRights.h"
#include "net/TClientLink.h"
#include "net/MainWindowMessages.h"

TConnectionMachine::TConnectionMachine(TFernSettings& settings, TKeyboardHook& hook)
    : m_Settings(settings), m_Hook(hook)
{
}

void TConnectionMachine::SetState(uint32_t state)
{
    m_Settings.displayFlags = WithConnectionState(m_Settings.displayFlags.load(), state);
}

void TConnectionMachine::OnEvent(HWND window, DWORD clientThread, uint32_t rights, WPARAM event,
                                 LPARAM lParam)
{
    uint32_t state = GetState();
    switch (event) {
    case CONNECT_EVENT_IDLE:
        PostMessageA(window, UM_UI_STATE, UI_STATE_IDLE, 0);
        SetState(CONNECTION_IDLE);
        break;
    case CONNECT_EVENT_CONNECT:
        if (state == CONNECTION_PAUSED)
            SetState(CONNECTION_CONNECTED); // resume: the links are still open
        else if (state == CONNECTION_IDLE && lParam != -1)
            Connect(window, clientThread, rights, lParam);
        break;
    case CONNECT_EVENT_CONNECTED:
        if (state == CONNECTION_CONNECTING) Connected(window);
        break;
    case CONNECT_EVENT_PAUSE:
        if (state == CONNECTION_CONNECTED) SetState(CONNECTION_PAUSED);
        break;
    case CONNECT_EVENT_DISCONNECT:
        if (state == CONNECTION_CONNECTING || state == CONNECTION_CONNECTED ||
            state == CONNECTION_PAUSED)
            Disconnect(window, clientThread);
        break;
    default:
        break;
    }
}

void TConnectionMachine::Connect(HWND window, DWORD clientThread, uint32_t rights,
                                 LPARAM destination)
{
    if (!IsOperationAllowed(window, window, rights, RIGHT_CONNECT)) return;
    // The administrator dialog runs its own message loop: a second connect that came
    // in meanwhile has already left the idle state, and one connection is enough.
    if (GetState() != CONNECTION_IDLE) return;
    PostThreadMessageA(clientThread, TM_CONNECT, static_cast<WPARAM>(destination), 0);
    PostMessageA(window, UM_UI_STATE, UI_STATE_CONNECTING, 0);
    SetState(CONNECTION_CONNECTING);
}

void TConnectionMachine::Connected(HWND window)
{
    PostMessageA(window, UM_UI_STATE, UI_STATE_CONNECTED, 0);
    SetState(CONNECTION_CONNECTED);
    SetTimer(window, TIMER_FRAME, m_Settings.viewTimerInterval.load(), nullptr);
    SetFocus(window);
    m_Hook.Install();
}

void TConnectionMachine::Disconnect(HWND window, DWORD clientThread)
{
    m_Hook.Remove();
    KillTimer(window, TIMER_FRAME);
    PostThreadMessageA(clientThread, TM_DISCONNECT, 0, 0);
    PostMessageA(window, UM_UI_STATE, UI_STATE_DISCONNECTED, 0);
    SetState(CONNECTION_DISCONNECTING);
}

void PaceFrame(const TClientLink* imageLink)
{
    if (imageLink && imageLink->IsIdle())
        PostThreadMessageA(imageLink->GetThreadId(), TM_GET_FRAME, 0, 0);
}

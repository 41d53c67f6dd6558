// Interim main window: timers, connection steps, engine messages and the quit request.
#include "app/THubWindow.h"

#include "app/AppGlobals.h"
#include "app/TMainApp.h"
#include "app/UserRights.h"
#include "net/NetMessages.h"
#include "net/TClientCore.h"
#include "net/TImageLink.h"
#include "net/TServerCore.h"
#include "ui/TFernWndClass.h"
#include "net/MainWindowMessages.h"

#include <Panekind/TWindow.h>

namespace {
constexpr UINT_PTR TIMER_REFRESH = 1;
constexpr UINT TIMER_REFRESH_MS = 5000;
// WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, without WS_VISIBLE.
constexpr unsigned long HUB_STYLE = 0x820A0000;

// The keyboard hook finds the event link of the moment through the client engine.
TEventLink* ClientEventLink(void* client)
{
    return static_cast<TClientCore*>(client)->GetEventLink();
}
} // namespace

THubWindow::THubWindow(TMainApp& app)
    : m_App(app), m_Hook(app.GetSettings(), ClientEventLink, app.GetClient()),
      m_Connection(app.GetSettings(), m_Hook)
{
}

int THubWindow::Create()
{
    TWindow window(*this);
    window.SetStyle(HUB_STYLE);
    window.SetWindowTextA(TString(PROGRAM_TITLE));
    window.SetWindowRect(RECT{0, 0, 640, 328});
    window.SetWindowProc(UserProc);
    return window.CreateWindowExA(*g_lpWndClass) != nullptr;
}

void THubWindow::OnTimer(WPARAM timer)
{
    TClientCore* client = m_App.GetClient();
    if (timer == TIMER_REFRESH) {
        PostThreadMessageA(m_App.GetServer()->GetThreadId(), TM_REFRESH_LISTENERS, 0, 0);
        PostThreadMessageA(client->GetThreadId(), TM_SEARCH_TICK, 0, 0);
    } else if (timer == TIMER_FRAME) {
        PaceFrame(client->GetImageLink());
    }
}

void THubWindow::ConfirmQuit()
{
    TMainApp& app = m_App;
    if (MessageBoxA(GetHandle(), "終了してもよろしいですか？", "Fernhold", MB_YESNO) != IDNO)
        app.ShutDown(); // this window is gone afterwards
}

LRESULT THubWindow::UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    THubWindow* hub = static_cast<THubWindow*>(core);
    TMainApp& app = hub->m_App;
    switch (message) {
    case WM_CREATE:
        SetTimer(core->GetHandle(), TIMER_REFRESH, TIMER_REFRESH_MS, nullptr);
        return 0;
    case WM_DESTROY:
        // A hook left behind would call into an application that is about to go.
        hub->m_Hook.Remove();
        KillTimer(core->GetHandle(), TIMER_FRAME);
        KillTimer(core->GetHandle(), TIMER_REFRESH);
        break;
    case WM_TIMER:
        hub->OnTimer(wParam);
        return 0;
    case WM_QUERYENDSESSION:
        app.ShutDown();
        return 1;
    case WM_DISPLAYCHANGE:
        app.SetScreenSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        PostMessageA(core->GetHandle(), UM_QUIT_REQUEST, 0, 0);
        return 0;
    case UM_UI_STATE:
        if (wParam) hub->m_UiState = wParam;
        return 0;
    case UM_CONNECT_EVENT:
        hub->m_Connection.OnEvent(core->GetHandle(), app.GetClient()->GetThreadId(),
                                  app.GetUserInfo().m_Rights, wParam, lParam);
        return 0;
    case UM_RESET_SEARCH:
        PostThreadMessageA(app.GetClient()->GetThreadId(), TM_RESET_SEARCH, 0, 0);
        return 0;
    // Nothing is drawn yet (no views, no state window): images, status texts and
    // destination and listener changes are taken and dropped.
    case UM_IMAGE_READY:
    case UM_STATUS_TEXT:
    case UM_ENTRY_CHANGED:
        return 0;
    case UM_QUIT_REQUEST:
        hub->ConfirmQuit();
        return 0;
    case UM_AUTHENTICATE:
        return RunAuthenticateHandler(reinterpret_cast<HWND>(wParam));
    default:
        break;
    }
    return core->DefMessageProc(message, wParam, lParam);
}

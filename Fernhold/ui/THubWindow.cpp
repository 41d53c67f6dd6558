// Interim main window: the hub's messages handed to the session controller.
#include "ui/THubWindow.h"

#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"
#include "ui/TFernWndClass.h"

#include <Panekind/TWindow.h>

namespace {
// WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, without WS_VISIBLE.
constexpr unsigned long HUB_STYLE = 0x820A0000;
} // namespace

THubWindow::THubWindow(TFernSettings& settings, TClientCore& client, TServerCore& server,
                       TAppShell& shell)
    : m_Shell(shell), m_Engines(client, server), m_Controller(settings, m_Engines, *this, shell)
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

void THubWindow::TellUiStage(WPARAM stage) { PostMessageA(GetHandle(), UM_UI_STATE, stage, 0); }

int THubWindow::AskAdministrator()
{
    return SendMessageA(GetHandle(), UM_AUTHENTICATE, reinterpret_cast<WPARAM>(GetHandle()), 0) ==
           1;
}

void THubWindow::StartFrameTimer(UINT intervalMs)
{
    SetTimer(GetHandle(), TIMER_FRAME, intervalMs, nullptr);
}

void THubWindow::StopFrameTimer() { KillTimer(GetHandle(), TIMER_FRAME); }

void THubWindow::TakeFocus() { SetFocus(GetHandle()); }

int THubWindow::ConfirmQuit()
{
    return MessageBoxA(GetHandle(), "終了してもよろしいですか？", "Fernhold", MB_YESNO) != IDNO;
}

LRESULT THubWindow::UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    THubWindow* hub = static_cast<THubWindow*>(core);
    TSessionController& controller = hub->m_Controller;
    switch (message) {
    case WM_CREATE:
        SetTimer(core->GetHandle(), TIMER_REFRESH, TIMER_REFRESH_MS, nullptr);
        return 0;
    case WM_DESTROY:
        controller.OnWindowDestroyed();
        KillTimer(core->GetHandle(), TIMER_REFRESH);
        break;
    case WM_TIMER:
        controller.OnTimer(wParam);
        return 0;
    case WM_QUERYENDSESSION:
        controller.OnEndSession();
        return 1;
    case WM_DISPLAYCHANGE:
        hub->m_Shell.SetScreenSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        PostMessageA(core->GetHandle(), UM_QUIT_REQUEST, 0, 0);
        return 0;
    case UM_UI_STATE:
        if (wParam) hub->m_UiState = wParam;
        return 0;
    case UM_CONNECT_EVENT:
        controller.OnConnectEvent(wParam, lParam);
        return 0;
    case UM_RESET_SEARCH:
        controller.OnResetSearch();
        return 0;
    // Nothing is drawn yet (no views, no state window): images, status texts and
    // destination and listener changes are taken and dropped.
    case UM_IMAGE_READY:
    case UM_STATUS_TEXT:
    case UM_ENTRY_CHANGED:
        return 0;
    case UM_QUIT_REQUEST:
        controller.OnQuitRequest(); // this window may be gone afterwards
        return 0;
    case UM_AUTHENTICATE:
        return RunAuthenticateHandler(reinterpret_cast<HWND>(wParam));
    default:
        break;
    }
    return core->DefMessageProc(message, wParam, lParam);
}

// Main window: creation, the notification icon, the hub's message table and the system
// messages; the session's behaviour is the controller's.
#include "ui/TMainWindow.h"

#include "net/TClientCore.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorDialogs.h"
#include "net/TServerCore.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"
#include "ui/TAddWizard.h"
#include "ui/SkinStore.h"
#include "ui/TAppShell.h"
#include "ui/TControlStrip.h"
#include "ui/TControlWindow.h"
#include "ui/TFernWndClass.h"
#include "ui/TFullViewWindow.h"
#include "ui/TMaxViewWindow.h"
#include "ui/TMenuWindow.h"
#include "ui/TMinViewWindow.h"
#include "ui/TStateWindow.h"
#include "ui/TTitlebarWindow.h"
#include "ui/ViewGeometry.h"
#include "ui/WakeRequest.h"

#include <Keelwork/TobjectBase.h>
#include <Panekind/TWindow.h>

#include <commctrl.h>

#include <cstdio>

namespace {
// WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX.
constexpr unsigned long MAIN_STYLE = 0x820A0000;
constexpr int32_t NO_SAVED_POSITION = -10000;
const char EMPTY_TEXT[] = "";
} // namespace

TMainWindow::TMainWindow(TFernSettings& settings, TClientCore& client, TServerCore& server,
                         SkinStore& skin, TAppShell& shell)
    : m_Context{settings, client, server, skin, shell}, m_Engines(client, server),
      m_Controller(settings, m_Engines, *this, shell), m_Options(m_Context),
      m_Titlebar(new TTitlebarWindow(m_Context)), m_Menu(new TMenuWindow(m_Context)),
      m_MaxView(new TMaxViewWindow(m_Context)), m_MinView(new TMinViewWindow(m_Context)),
      m_FullView(new TFullViewWindow(m_Context)), m_Strip(new TControlStrip(m_Context)),
      m_Control(new TControlWindow(m_Context)), m_State(new TStateWindow(m_Context))
{
}

TMainWindow::~TMainWindow()
{
    RemoveTrayIcon();
    m_Titlebar->Release();
    m_Menu->Release();
    m_MaxView->Release();
    m_MinView->Release();
    m_FullView->Release();
    m_Strip->Release();
    m_Control->Release();
    m_State->Release();
}

int TMainWindow::Create()
{
    TWindow window(*this);
    window.SetStyle(MAIN_STYLE);
    window.SetWindowTextA(TString(PROGRAM_TITLE));
    window.SetWindowProc(UserProc);
    window.SetWindowRect(RECT{0, 0, 640, 328});
    const TFernSettings& settings = m_Context.settings;
    bool saved = settings.mainX != NO_SAVED_POSITION && settings.mainY != NO_SAVED_POSITION;
    if (saved) {
        window.SetWindowPos(POINT{settings.mainX, settings.mainY});
        if (!window.CreateWindowExA(*g_lpWndClass)) return 0;
        m_Context.mainWindow = GetHandle();
        CloseWindow(GetHandle()); // starts in the notification area
    } else {
        window.SetPosToCenter();
        if (!window.CreateWindowExA(*g_lpWndClass)) return 0;
        m_Context.mainWindow = GetHandle();
        ShowWindow(GetHandle(), SW_SHOW);
        UpdateWindow(GetHandle());
    }
    if (!CreateChildren()) return 0;
    SendMessageA(GetHandle(), UM_UI_STATE, UI_STATE_IDLE, 0);
    SendMessageA(GetHandle(), UM_REPAINT, REPAINT_ALL, 0);
    return 1;
}

int TMainWindow::CreateChildren()
{
    HWND main = GetHandle();
    return m_Titlebar->Create(main) && m_Menu->Create(m_Titlebar->GetHandle()) &&
           m_MaxView->Create(main) && m_MinView->Create(main) && m_FullView->Create(main) &&
           m_Strip->Create(m_FullView->GetHandle()) && m_Control->Create(main) &&
           m_State->Create(main);
}

void TMainWindow::AddTrayIcon()
{
    if (m_TrayAdded) return;
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    m_Tray = NOTIFYICONDATAA{};
    m_Tray.cbSize = sizeof(m_Tray);
    m_Tray.hWnd = GetHandle();
    m_Tray.uID = 1;
    m_Tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_Tray.uCallbackMessage = UM_TRAY_NOTIFY;
    m_Tray.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_TRAY));
    snprintf(m_Tray.szTip, sizeof(m_Tray.szTip), "%s", PROGRAM_TITLE);
    m_TrayAdded = Shell_NotifyIconA(NIM_ADD, &m_Tray) ? 1 : 0;
    if (!m_TrayAdded && m_Tray.hIcon) {
        DestroyIcon(m_Tray.hIcon);
        m_Tray.hIcon = nullptr;
    }
}

void TMainWindow::RemoveTrayIcon()
{
    if (!m_TrayAdded) return;
    Shell_NotifyIconA(NIM_DELETE, &m_Tray);
    if (m_Tray.hIcon) DestroyIcon(m_Tray.hIcon);
    m_Tray.hIcon = nullptr;
    m_TrayAdded = 0;
}

void TMainWindow::Repaint(WPARAM child, LPARAM invalidate)
{
    int redraw = invalidate != 0;
    switch (child) {
    case REPAINT_ALL:
        m_Titlebar->Repaint(redraw);
        m_Menu->Repaint(redraw);
        m_MaxView->Repaint(redraw);
        m_MinView->Repaint(redraw);
        m_Control->Repaint(redraw);
        m_State->Repaint(redraw);
        m_FullView->Repaint(redraw);
        m_Strip->Repaint(redraw);
        break;
    case REPAINT_TITLEBAR:
        m_Titlebar->Repaint(redraw);
        break;
    case REPAINT_MENU:
        m_Menu->Repaint(redraw);
        break;
    case REPAINT_MAXVIEW:
        m_MaxView->Repaint(redraw);
        break;
    case REPAINT_MINVIEW:
        m_MinView->Repaint(redraw);
        break;
    case REPAINT_CONTROL:
    case REPAINT_STRIP:
        m_Control->Repaint(redraw);
        m_Strip->Repaint(redraw);
        break;
    case REPAINT_STATE:
        m_State->Repaint(redraw);
        break;
    case REPAINT_FULLVIEW:
        m_FullView->Repaint(redraw);
        break;
    default:
        break;
    }
}

void TMainWindow::OnUiState(WPARAM stage)
{
    if (stage != UI_STATE_UNCHANGED) m_Context.uiState = stage;
    m_MaxView->SetUiState(m_Context.uiState);
    m_MinView->SetUiState(m_Context.uiState);
    m_FullView->SetUiState(m_Context.uiState);
    PostMessageA(GetHandle(), UM_REPAINT, REPAINT_ALL, 1);
}

void TMainWindow::OnImageReady()
{
    if (GetWorkingView(m_Context.settings.displayFlags) == WorkingView::Full) {
        // The full-size view draws straight from the client image.
        m_FullView->ImageArrived();
        return;
    }
    TClientImage& image = m_Context.client.GetImage();
    image.LockImage();
    TDIBitmap* remote = image.GetContext().LookImgeObject();
    if (remote && m_Context.skin.Lock()) {
        m_Context.skin.ComposeReducedImage(*remote);
        m_Context.skin.Unlock();
    }
    image.UnlockImage();
    PostMessageA(GetHandle(), UM_REPAINT, REPAINT_MAXVIEW, 1);
    PostMessageA(GetHandle(), UM_REPAINT, REPAINT_MINVIEW, 1);
}

void TMainWindow::OnSize(WPARAM kind)
{
    SkinStore& skin = m_Context.skin;
    if (kind == SIZE_RESTORED) {
        skin.SetSuspended(0);
        PostMessageA(GetHandle(), UM_REPAINT, REPAINT_ALL, 1);
        PostMessageA(GetHandle(), UM_STATUS_TEXT, reinterpret_cast<WPARAM>(EMPTY_TEXT), 0);
    } else if (kind == SIZE_MINIMIZED) {
        skin.SetSuspended(1);
        skin.Release();
        ShowWindow(GetHandle(), SW_HIDE);
    }
}

void TMainWindow::OnEntryChanged(WPARAM kind, LPARAM recordId)
{
    // Changes that waited together are shown together: a bulk registration posts one per
    // record, faster than rows can be drawn one at a time.
    std::vector<LPARAM> destinations;
    bool listeners = false;
    MSG waiting{};
    waiting.wParam = kind;
    waiting.lParam = recordId;
    do {
        if (waiting.wParam == ENTRY_CHANGED_DESTINATION)
            destinations.push_back(waiting.lParam);
        else if (waiting.wParam == ENTRY_CHANGED_LISTENERS)
            listeners = true;
    } while (PeekMessageA(&waiting, GetHandle(), UM_ENTRY_CHANGED, UM_ENTRY_CHANGED, PM_REMOVE));
    if (destinations.size() == 1)
        m_MaxView->UpdateDestination(destinations.front());
    else if (!destinations.empty())
        m_MaxView->UpdateDestinations(destinations);
    if (listeners) m_MinView->UpdateListeners();
}

void TMainWindow::OnTrayNotify(LPARAM mouse)
{
    if (mouse != WM_LBUTTONDOWN) return;
    if (!IsOperationAllowed(GetHandle(), GetHandle(), m_Context.shell.GetRights(),
                            RIGHT_SHOW_MAIN_WINDOW))
        return;
    SetForegroundWindow(GetHandle());
    ShowWindow(GetHandle(), SW_RESTORE);
}

void TMainWindow::TellUiStage(WPARAM stage) { PostMessageA(GetHandle(), UM_UI_STATE, stage, 0); }

int TMainWindow::AskAdministrator()
{
    return SendMessageA(GetHandle(), UM_AUTHENTICATE, reinterpret_cast<WPARAM>(GetHandle()), 0) ==
           1;
}

void TMainWindow::StartFrameTimer(UINT intervalMs)
{
    SetTimer(GetHandle(), TIMER_FRAME, intervalMs, nullptr);
}

void TMainWindow::StopFrameTimer() { KillTimer(GetHandle(), TIMER_FRAME); }

void TMainWindow::TakeFocus() { SetFocus(GetHandle()); }

int TMainWindow::ConfirmQuit()
{
    return MessageBoxA(GetHandle(), "終了してもよろしいですか？", "Fernhold", MB_YESNO) != IDNO;
}

int TMainWindow::OnHubMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (message) {
    case UM_REPAINT:
        Repaint(wParam, lParam);
        return 1;
    case UM_STATUS_TEXT:
        m_State->SetStatusText(reinterpret_cast<const char*>(wParam),
                               static_cast<uint32_t>(lParam));
        return 1;
    case UM_UI_STATE:
        OnUiState(wParam);
        return 1;
    case UM_CONNECT_EVENT:
        m_Controller.OnConnectEvent(wParam, lParam);
        return 1;
    case UM_IMAGE_READY:
        OnImageReady();
        return 1;
    case UM_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return 1;
    case UM_RESET_SEARCH:
        m_Controller.OnResetSearch();
        return 1;
    case UM_ENTRY_CHANGED:
        OnEntryChanged(wParam, lParam);
        return 1;
    case UM_AUTHENTICATE:
        *result = RunAuthenticationDialog(reinterpret_cast<HWND>(wParam), m_Context.shell);
        return 1;
    case UM_PASSWORD_DIALOG:
        *result = m_Options.RunPasswordDialog(reinterpret_cast<HWND>(wParam));
        return 1;
    case UM_SHOW_OPTIONS:
        *result = m_Options.ShowOptions();
        return 1;
    case UM_SHOW_ABOUT:
        RunAboutDialog(GetHandle(), m_Context.shell);
        return 1;
    case UM_QUIT_REQUEST:
        m_Controller.OnQuitRequest(); // this window may be gone afterwards
        return 1;
    case UM_SHOW_WIZARD:
        if (IsOperationAllowed(GetHandle(), GetHandle(), m_Context.shell.GetRights(),
                               RIGHT_ADD_DESTINATION))
            TAddWizard::Open(m_Context, SystemWizardServices());
        return 1;
    case UM_WAKE_DESTINATION:
        RequestWake(m_Context, wParam, m_Context.client.GetThreadId());
        return 1;
    case WM_TASKBAR_REBUILT:
        RemoveTrayIcon();
        AddTrayIcon();
        return 1;
    // Updates: the operator's request, the destination's fetch and its end.
    case UM_SEND_UPDATE_REQUEST:
        if (IsOperationAllowed(GetHandle(), GetHandle(), m_Context.shell.GetRights(),
                               RIGHT_PUSH_UPDATE))
            m_Context.client.SendUpdateRequest(static_cast<unsigned long>(wParam),
                                               m_Context.server);
        return 1;
    case UM_UPDATE_REQUESTED:
        m_Context.client.FetchUpdate(m_Context.server.GetUpdateInbox().GetSource());
        return 1;
    case UM_UPDATE_RECEIVED:
        m_Context.shell.SetUpdatePending(1);
        m_Context.shell.ShutDown(); // this window is gone afterwards
        return 1;
    default:
        return 0;
    }
}

int TMainWindow::OnSystemMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (message) {
    case WM_CREATE:
        SetTimer(GetHandle(), TIMER_REFRESH, TIMER_REFRESH_MS, nullptr);
        return 0; // the default procedure finishes the creation
    case WM_DESTROY:
        m_Controller.OnWindowDestroyed();
        KillTimer(GetHandle(), TIMER_REFRESH);
        return 0;
    case WM_MOVE:
        if (!IsIconic(GetHandle())) {
            RECT window;
            ::GetWindowRect(GetHandle(), &window);
            m_Context.settings.mainX = window.left;
            m_Context.settings.mainY = window.top;
        }
        return 0;
    case WM_SIZE:
        OnSize(wParam);
        return 0;
    case WM_QUERYENDSESSION:
        // A label edit holds the destination-list lock, which the shutdown's stop of the
        // search threads waits for: the edit ends first.
        SendMessageA(GetDlgItem(m_MaxView->GetHandle(), 310), LVM_CANCELEDITLABEL, 0, 0);
        m_Controller.OnEndSession();
        *result = 1;
        return 1;
    case WM_SYSCOLORCHANGE:
        if (m_Context.skin.Lock()) {
            m_Context.skin.ComposeCaptionGradients();
            m_Context.skin.Unlock();
        }
        SendMessageA(m_MaxView->GetHandle(), WM_SYSCOLORCHANGE, wParam, lParam);
        SendMessageA(m_MinView->GetHandle(), WM_SYSCOLORCHANGE, wParam, lParam);
        // Invalidated as well: recomposed canvases that never reach the screen would
        // leave the old colours shown until something else repaints.
        PostMessageA(GetHandle(), UM_REPAINT, REPAINT_ALL, 1);
        return 0;
    case WM_SETTINGCHANGE:
        // Only top-level windows hear it; the panels' lists take their colours from it.
        SendMessageA(m_MaxView->GetHandle(), WM_SETTINGCHANGE, wParam, lParam);
        SendMessageA(m_MinView->GetHandle(), WM_SETTINGCHANGE, wParam, lParam);
        return 0;
    case WM_ACTIVATEAPP:
        m_Context.appActive = wParam != 0;
        PostMessageA(GetHandle(), UM_REPAINT, REPAINT_TITLEBAR, 1);
        PostMessageA(GetHandle(), UM_REPAINT, REPAINT_FULLVIEW, 1);
        return 0;
    case WM_DISPLAYCHANGE:
        m_Context.shell.SetScreenSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_NCHITTEST:
        *result = HTCAPTION; // the whole window drags like a title bar
        return 1;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return 0;
        PostMessageA(GetHandle(), UM_QUIT_REQUEST, 0, 0);
        return 1;
    case WM_TIMER:
        m_Controller.OnTimer(wParam);
        return 1;
    case WM_COMMAND:
        // The edit menu's destination commands, posted once the menu has closed.
        m_MaxView->RunDestinationCommand(LOWORD(wParam));
        return 1;
    default:
        return 0;
    }
}

LRESULT TMainWindow::UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    TMainWindow* window = static_cast<TMainWindow*>(core);
    LRESULT result = 0;
    if (window->OnHubMessage(message, wParam, lParam, &result)) return result;
    if (window->OnSystemMessage(message, wParam, lParam, &result)) return result;
    return core->DefMessageProc(message, wParam, lParam);
}

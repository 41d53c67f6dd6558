// TWinApp: the registry of windows, binding of new windows and the orderly shutdown.
#include <Panekind/TWinApp.h>

TWndCore* TWinApp::m_lpMainWndCore = nullptr;
TArrayRef<TWndCore> TWinApp::m_WindowList;
TWndCore* TWinApp::m_WinAppStock = nullptr;
unsigned short TWinApp::m_AppFlags = 0;

namespace {
constexpr uint32_t BadMainWindowCode = 32;
} // namespace

void TWinApp::SetMainWindow(TWndCore* core)
{
    if (core == m_lpMainWndCore) return;
    if (TWndCore* previous = m_lpMainWndCore) {
        previous->m_Flags &= ~TWndCore::FlagMain;
        m_WindowList |= *previous;
        m_lpMainWndCore = nullptr;
        previous->Release();
    }
    if (!core) return;
    // The slot's reference is taken before the list gives up its own.
    core->AddRef();
    m_lpMainWndCore = core;
    core->m_Flags |= TWndCore::FlagMain;
    m_WindowList.CutItem(*core);
}

TWndCore* TWinApp::GetMainWindow() { return m_lpMainWndCore; }

void TWinApp::RegisterWndCore(TWndCore* core)
{
    if (!core || core == m_lpMainWndCore) return;
    if (!m_lpMainWndCore && !(core->GetStyle() & WS_CHILD) && !core->GetParent()) {
        SetMainWindow(core);
        return;
    }
    m_WindowList |= *core;
}

void TWinApp::UnRegisterWndCore(TWndCore* core)
{
    if (!core) return;
    if (core->IsMainWindow()) {
        if (core != m_lpMainWndCore) throw TobjectExpection(core, BadMainWindowCode);
        _DestroyList();
        // Its own WM_NCDESTROY comes back here to finish.
        if (core->IsCreate()) {
            ::DestroyWindow(core->m_hWnd);
            return;
        }
        core->m_Flags &= ~TWndCore::FlagMain;
        m_lpMainWndCore = nullptr;
        core->Release();
        PostQuitMessage(0);
        return;
    }
    // Held here so that the window's own unregistration cannot free it under us.
    core->AddRef();
    if (core->IsCreate()) ::DestroyWindow(core->m_hWnd);
    m_WindowList.CutItem(*core);
    core->Release();
}

void TWinApp::_DestroyList()
{
    while (m_WindowList.GetItemCount() > 0) {
        TWndCore& item = m_WindowList[0];
        item.AddRef();
        if (item.IsCreate()) {
            ::DestroyWindow(item.m_hWnd);
            WPARAM exitCode = 0;
            if (_PumpMessages(&exitCode)) PostQuitMessage(static_cast<int>(exitCode));
        }
        // An entry whose window is gone or could not be destroyed (another
        // thread's) is dropped here, so the loop always ends.
        m_WindowList.CutItem(item);
        item.Release();
    }
}

int TWinApp::End()
{
    if (!m_lpMainWndCore) {
        // Without a main window nothing else would take the list's windows down.
        _DestroyList();
        PostQuitMessage(0);
    } else if (m_lpMainWndCore->IsCreate()) {
        ::DestroyWindow(m_lpMainWndCore->m_hWnd);
    } else {
        UnRegisterWndCore(m_lpMainWndCore);
    }
    WPARAM exitCode = 0;
    _PumpMessages(&exitCode);
    return static_cast<int>(exitCode);
}

int TWinApp::_PumpMessages(WPARAM* exitCode)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *exitCode = msg.wParam;
            return 1;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

TWndCore* TWinApp::GetTAppStock() { return m_WinAppStock; }

int TWinApp::IsActiveApp() { return m_AppFlags & 1; }

void TWinApp::_SetActiveApp(bool active)
{
    if (active)
        m_AppFlags |= 1;
    else
        m_AppFlags &= static_cast<unsigned short>(~1u);
}

const TArrayRef<TWndCore>& TWinApp::GetWindowList() { return m_WindowList; }

LRESULT CALLBACK TWinApp::_FirstWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWndCore* core = m_WinAppStock;
    if (!core || core->m_hWnd) {
        // A window of the class made without a core (or while the core being
        // created is already bound) stays a plain window for good.
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(core));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(core->m_lpSysWindowProc));
    core->m_hWnd = hwnd;
    return CallWindowProcA(core->m_lpSysWindowProc, hwnd, message, wParam, lParam);
}

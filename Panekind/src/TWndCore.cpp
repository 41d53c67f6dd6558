// TWndCore: pending/live getters, message bookkeeping and dispatch.
#include <Panekind/TWndCore.h>

#include <Panekind/TDesktop.h>
#include <Panekind/TWinApp.h>

#include <new>

namespace {
constexpr unsigned long WndCoreType = 0x03000001ul;
} // namespace

// Defined here as well so that the DLL exports them: a caller that binds one to a
// reference links against the exported copy.
constexpr unsigned long TWndCore::FlagActive;
constexpr unsigned long TWndCore::FlagCenter;
constexpr unsigned long TWndCore::FlagMain;
constexpr unsigned long TWndCore::FlagCreated;

TWndCore::TWndCore()
    : m_lpBaseData(new (std::nothrow) TWndCoreBaseData), m_Flags(FlagActive), m_hWnd(nullptr),
      m_lpUserProc(nullptr), m_lpSysWindowProc(&TWndCore::_BaseWindowProc)
{
    m_ClassType = WndCoreType;
}

TWndCore::TWndCore(const TWndCore& other)
    : TobjectBase(), TReference(), m_lpBaseData(nullptr), m_Flags(0), m_hWnd(nullptr),
      m_lpUserProc(nullptr), m_lpSysWindowProc(&TWndCore::_BaseWindowProc)
{
    m_ClassType = WndCoreType;
    _CopyFrom(other);
}

TWndCore& TWndCore::operator=(const TWndCore& other)
{
    if (this != &other && !IsCreate()) _CopyFrom(other);
    return *this;
}

TWndCore::~TWndCore() { delete m_lpBaseData; }

void TWndCore::_CopyFrom(const TWndCore& other)
{
    TWndCoreBaseData* data = nullptr;
    if (other.IsCreate())
        data = new (std::nothrow) TWndCoreBaseData(other.m_hWnd);
    else if (other.m_lpBaseData)
        data = new (std::nothrow) TWndCoreBaseData(*other.m_lpBaseData);
    delete m_lpBaseData;
    m_lpBaseData = data;
    m_lpUserProc = other.m_lpUserProc;
    m_Flags = other.m_Flags & ~(FlagMain | FlagCreated);
}

HWND TWndCore::GetParent() const
{
    if (IsCreate()) return ::GetParent(m_hWnd);
    return m_lpBaseData ? m_lpBaseData->m_hParent : nullptr;
}

HMENU TWndCore::GetMenu() const
{
    if (IsCreate()) return ::GetMenu(m_hWnd);
    return m_lpBaseData ? m_lpBaseData->m_hMenu : nullptr;
}

unsigned long TWndCore::GetStyle() const
{
    if (IsCreate()) return static_cast<unsigned long>(GetWindowLongA(m_hWnd, GWL_STYLE));
    return m_lpBaseData ? m_lpBaseData->m_Style : 0;
}

unsigned long TWndCore::GetExStyle() const
{
    if (IsCreate()) return static_cast<unsigned long>(GetWindowLongA(m_hWnd, GWL_EXSTYLE));
    return m_lpBaseData ? m_lpBaseData->m_ExStyle : 0;
}

LONG_PTR TWndCore::GetID() const
{
    if (IsCreate()) return GetWindowLongPtrA(m_hWnd, GWLP_ID);
    return m_lpBaseData ? reinterpret_cast<LONG_PTR>(m_lpBaseData->m_hMenu) : 0;
}

RECT TWndCore::GetWindowRect() const
{
    RECT rect = {0, 0, 0, 0};
    if (IsCreate())
        ::GetWindowRect(m_hWnd, &rect);
    else if (m_lpBaseData)
        rect = m_lpBaseData->m_WindowRect;
    return rect;
}

RECT TWndCore::GetClientRect() const
{
    if (IsCreate()) return TWndCoreBaseData::ReadClientRect(m_hWnd);
    RECT empty = {0, 0, 0, 0};
    return m_lpBaseData ? m_lpBaseData->m_ClientRect : empty;
}

TString TWndCore::GetWindowTextA() const
{
    if (IsCreate()) return TWndCoreBaseData::ReadWindowText(m_hWnd);
    return m_lpBaseData ? m_lpBaseData->m_Text : TString();
}

int TWndCore::IsEnable() const { return (GetStyle() & WS_DISABLED) == 0; }

int TWndCore::IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }

LRESULT TWndCore::DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

TWndCore* TWndCore::_FromHandle(HWND hwnd)
{
    return reinterpret_cast<TWndCore*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK TWndCore::_BaseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWndCore* core = _FromHandle(hwnd);
    if (!core) return DefWindowProcA(hwnd, message, wParam, lParam);
    core->_BaseMessageProc(message, wParam, lParam);
    if (message == WM_CREATE) core->m_hWnd = hwnd;
    if (message == WM_NCDESTROY) return core->_EndWindow(hwnd, wParam, lParam);
    return core->_CallUserProc(hwnd, message, wParam, lParam);
}

void TWndCore::_BaseMessageProc(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_CREATE:
        delete m_lpBaseData;
        m_lpBaseData = nullptr;
        m_Flags |= FlagCreated;
        break;
    case WM_NCDESTROY:
        // Taken here rather than at WM_DESTROY so that changes made to the window
        // between the two survive, and before the default procedure frees the text.
        if (!m_lpBaseData) m_lpBaseData = new (std::nothrow) TWndCoreBaseData(m_hWnd);
        break;
    case WM_ACTIVATE:
        // Any other value (a minimised flag in the high word) changes nothing.
        if (wParam == WA_INACTIVE)
            m_Flags &= ~FlagActive;
        else if (wParam == WA_ACTIVE || wParam == WA_CLICKACTIVE)
            m_Flags |= FlagActive;
        break;
    case WM_ACTIVATEAPP:
        TWinApp::_SetActiveApp(wParam != 0);
        break;
    case WM_NCCREATE:
        if ((m_Flags & FlagCenter) && m_lpBaseData && !(m_lpBaseData->m_Style & WS_CHILD))
            _MoveToCenter(m_lpBaseData->m_WindowRect);
        break;
    }
}

LRESULT TWndCore::_CallUserProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_lpUserProc) return DefWindowProcA(hwnd, message, wParam, lParam);
    return m_lpUserProc(this, message, wParam, lParam);
}

LRESULT TWndCore::_EndWindow(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = _CallUserProc(hwnd, WM_NCDESTROY, wParam, lParam);
    m_Flags &= ~FlagCreated;
    // No message may reach this core through the dead window, nor its handle be reused.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    try {
        TWinApp::UnRegisterWndCore(this);
    } catch (const TobjectExpection&) {
        // A main flag without the main-window slot: leave as an ordinary window,
        // since no exception may cross the system's window-procedure frames.
        m_Flags &= ~FlagMain;
        TWinApp::UnRegisterWndCore(this);
    }
    return result;
}

void TWndCore::_MoveToCenter(const RECT& window)
{
    POINT pos = TDesktop::GetCenterPos(window);
    ::SetWindowPos(m_hWnd, nullptr, pos.x, pos.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                       SWP_NOSENDCHANGING);
}

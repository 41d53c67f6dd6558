// TWindow: the counted handle's setters and window creation.
#include <Panekind/TWindow.h>

#include <Panekind/Panekind.h>

namespace {
constexpr unsigned long WindowType = 0x03000020ul;
} // namespace

TWindow::TWindow(TWndCore& core) : m_lpCore(&core)
{
    m_ClassType = WindowType;
    m_lpCore->AddRef();
}

TWindow::TWindow(const TWindow& other) : TobjectBase(), TWinApp(), m_lpCore(other.m_lpCore)
{
    m_ClassType = WindowType;
    m_lpCore->AddRef();
}

TWindow& TWindow::operator=(const TWindow& other)
{
    other.m_lpCore->AddRef();
    m_lpCore->Release();
    m_lpCore = other.m_lpCore;
    return *this;
}

TWindow::~TWindow() { m_lpCore->Release(); }

unsigned long TWindow::SetStyle(unsigned long style)
{
    return _SetStyleWord(GWL_STYLE, &TWndCoreBaseData::m_Style, style);
}

unsigned long TWindow::SetExStyle(unsigned long style)
{
    return _SetStyleWord(GWL_EXSTYLE, &TWndCoreBaseData::m_ExStyle, style);
}

unsigned long TWindow::_SetStyleWord(int index, unsigned long TWndCoreBaseData::*pending,
                                     unsigned long style)
{
    if (m_lpCore->IsCreate())
        return static_cast<unsigned long>(
            SetWindowLongA(m_lpCore->m_hWnd, index, static_cast<LONG>(style)));
    TWndCoreBaseData* data = m_lpCore->m_lpBaseData;
    if (!data) return 0;
    unsigned long old = data->*pending;
    data->*pending = style;
    return old;
}

void TWindow::SetWindowRect(const RECT& rect)
{
    if (m_lpCore->IsCreate()) {
        _PlaceLive(rect, 0);
    } else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData) {
        const RECT& window = data->m_WindowRect;
        _ShiftPending(rect.left - window.left, rect.top - window.top, rect.right - window.right,
                      rect.bottom - window.bottom);
    }
}

void TWindow::SetWindowPos(const POINT& point)
{
    if (m_lpCore->IsCreate()) {
        _PlaceLive(RECT{point.x, point.y, point.x, point.y}, SWP_NOSIZE);
    } else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData) {
        LONG dx = point.x - data->m_WindowRect.left;
        LONG dy = point.y - data->m_WindowRect.top;
        _ShiftPending(dx, dy, dx, dy);
    }
}

void TWindow::SetWindowSize(const SIZE& size)
{
    if (m_lpCore->IsCreate()) {
        _PlaceLive(RECT{0, 0, size.cx, size.cy}, SWP_NOMOVE);
    } else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData) {
        const RECT& window = data->m_WindowRect;
        _ShiftPending(0, 0, window.left + size.cx - window.right,
                      window.top + size.cy - window.bottom);
    }
}

void TWindow::SetClientRect(const RECT& rect)
{
    RECT window = _AdjustForClient(rect);
    if (m_lpCore->IsCreate()) {
        _PlaceLive(window, 0);
    } else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData) {
        data->m_ClientRect = rect;
        data->m_WindowRect = window;
    }
}

void TWindow::SetClientPos(const POINT& point)
{
    RECT client = m_lpCore->GetClientRect();
    LONG dx = point.x - client.left;
    LONG dy = point.y - client.top;
    if (m_lpCore->IsCreate()) {
        // The window keeps its offset from its client area, whatever the coordinates.
        RECT window = m_lpCore->GetWindowRect();
        LONG x = point.x + (window.left - client.left);
        LONG y = point.y + (window.top - client.top);
        _PlaceLive(RECT{x, y, x, y}, SWP_NOSIZE);
    } else if (m_lpCore->m_lpBaseData) {
        _ShiftPending(dx, dy, dx, dy);
    }
}

void TWindow::SetClientSize(const SIZE& size)
{
    RECT client = m_lpCore->GetClientRect();
    if (m_lpCore->IsCreate()) {
        RECT sized = {client.left, client.top, client.left + size.cx, client.top + size.cy};
        RECT window = _AdjustForClient(sized);
        _PlaceLive(RECT{0, 0, window.right - window.left, window.bottom - window.top}, SWP_NOMOVE);
    } else if (m_lpCore->m_lpBaseData) {
        _ShiftPending(0, 0, client.left + size.cx - client.right,
                      client.top + size.cy - client.bottom);
    }
}

void TWindow::SetWindowTextA(const TString& text)
{
    // Windows are given ANSI text: a wide text is converted, not dropped.
    TString ansi(text);
    ansi.ChangeStringType(TString::TypeAnsi);
    if (m_lpCore->IsCreate())
        ::SetWindowTextA(m_lpCore->m_hWnd, ansi);
    else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData)
        data->m_Text = ansi;
}

HMENU TWindow::SetMenu(HMENU menu)
{
    HMENU old = m_lpCore->GetMenu();
    if (m_lpCore->IsCreate())
        ::SetMenu(m_lpCore->m_hWnd, menu);
    else if (TWndCoreBaseData* data = m_lpCore->m_lpBaseData)
        data->m_hMenu = menu;
    return old;
}

HWND TWindow::SetParent(HWND parent)
{
    if (m_lpCore->IsCreate()) return ::SetParent(m_lpCore->m_hWnd, parent);
    TWndCoreBaseData* data = m_lpCore->m_lpBaseData;
    if (!data) return nullptr;
    HWND old = data->m_hParent;
    data->m_hParent = parent;
    return old;
}

HWND TWindow::SetMother(HWND parent)
{
    unsigned long style = m_lpCore->GetStyle();
    if (!(style & WS_CHILD)) SetStyle(style | WS_CHILD);
    return SetParent(parent);
}

LONG_PTR TWindow::SetID(LONG_PTR id)
{
    if (m_lpCore->IsCreate()) return SetWindowLongPtrA(m_lpCore->m_hWnd, GWLP_ID, id);
    TWndCoreBaseData* data = m_lpCore->m_lpBaseData;
    if (!data) return 0;
    LONG_PTR old = reinterpret_cast<LONG_PTR>(data->m_hMenu);
    data->m_hMenu = reinterpret_cast<HMENU>(id);
    return old;
}

void TWindow::SetWindowProc(TWndUserProc proc) { m_lpCore->m_lpUserProc = proc; }

void TWindow::SetPosToCenter()
{
    m_lpCore->m_Flags |= TWndCore::FlagCenter;
    // Children are placed inside their parent, never in the work area.
    if (m_lpCore->IsCreate() && !(m_lpCore->GetStyle() & WS_CHILD))
        m_lpCore->_MoveToCenter(m_lpCore->GetWindowRect());
}

HWND TWindow::CreateWindowExA(const Panekind& windowClass)
{
    return _CreateWindow(windowClass, nullptr);
}

HWND TWindow::_CreateWindow(const Panekind& windowClass, HWND mdiClient)
{
    TWndCore* core = m_lpCore;
    if (core->IsCreate()) return core->m_hWnd;
    TWndCoreBaseData* data = core->m_lpBaseData;
    if (!data) return nullptr;
    if (!core->m_lpUserProc) core->m_lpUserProc = windowClass.GetDefUserProc();
    if (mdiClient) data->m_hParent = mdiClient;
    // The record is freed at WM_CREATE, while the call still reads what it lent.
    TWndCoreBaseData args(*data);
    const RECT& rect = args.m_WindowRect;
    TWndCore* outer = m_WinAppStock;
    m_WinAppStock = core;
    HWND hwnd;
    if (mdiClient) {
        hwnd = CreateMDIWindowA(windowClass.GetWndClassName(), args.m_Text, args.m_Style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, mdiClient,
                                m_hInst, 0);
    } else {
        if (!m_lpMainWndCore) SetMainWindow(core);
        hwnd = ::CreateWindowExA(args.m_ExStyle, windowClass.GetWndClassName(), args.m_Text,
                                 args.m_Style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, args.m_hParent, args.m_hMenu, m_hInst,
                                 nullptr);
    }
    m_WinAppStock = outer;
    if (core->m_hWnd) RegisterWndCore(core);
    return hwnd;
}

void TWindow::_PlaceLive(const RECT& window, UINT extraFlags)
{
    ::SetWindowPos(m_lpCore->m_hWnd, nullptr, window.left, window.top, window.right - window.left,
                   window.bottom - window.top, SWP_NOZORDER | SWP_NOOWNERZORDER | extraFlags);
}

void TWindow::_ShiftPending(LONG dx, LONG dy, LONG dr, LONG db)
{
    TWndCoreBaseData* data = m_lpCore->m_lpBaseData;
    RECT* rects[] = {&data->m_WindowRect, &data->m_ClientRect};
    for (RECT* rect : rects) {
        rect->left += dx;
        rect->top += dy;
        rect->right += dr;
        rect->bottom += db;
    }
}

RECT TWindow::_AdjustForClient(const RECT& client) const
{
    unsigned long style = m_lpCore->GetStyle();
    // A child's menu slot holds its ID, not a menu.
    BOOL menu = !(style & WS_CHILD) && m_lpCore->GetMenu() != nullptr;
    RECT window = client;
    AdjustWindowRectEx(&window, style, menu, m_lpCore->GetExStyle());
    return window;
}

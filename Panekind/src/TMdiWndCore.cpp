// TMdiWndCore: frame dispatch, the client window and its margin filter.
#include <Panekind/TMdiWndCore.h>

namespace {
constexpr unsigned long MdiCoreType = 0x03000002ul;
constexpr DWORD ClientStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES;
constexpr UINT ClientID = 1;
constexpr UINT FirstChildID = 1;
} // namespace

TMdiWndCore::TMdiWndCore()
    : m_hClient(nullptr), m_lpCltOldProc(nullptr), m_Space{0, 0, 0, 0}, m_hMdiMenu(nullptr)
{
    m_ClassType = MdiCoreType;
    m_lpSysWindowProc = &TMdiWndCore::_BaseWindowProc;
}

TMdiWndCore::TMdiWndCore(const TMdiWndCore& other)
    : TobjectBase(), TWndCore(other), m_hClient(nullptr), m_lpCltOldProc(nullptr),
      m_Space(other.m_Space), m_hMdiMenu(other.m_hMdiMenu)
{
    m_ClassType = MdiCoreType;
    m_lpSysWindowProc = &TMdiWndCore::_BaseWindowProc;
}

TMdiWndCore& TMdiWndCore::operator=(const TMdiWndCore& other)
{
    if (this != &other && !IsCreate()) {
        TWndCore::operator=(other);
        m_Space = other.m_Space;
        m_hMdiMenu = other.m_hMdiMenu;
    }
    return *this;
}

LRESULT TMdiWndCore::DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(m_hWnd, m_hClient, message, wParam, lParam);
}

LRESULT CALLBACK TMdiWndCore::_BaseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TWndCore* core = _FromHandle(hwnd);
    if (message != WM_CREATE || !core)
        return TWndCore::_BaseWindowProc(hwnd, message, wParam, lParam);
    TMdiWndCore* frame = static_cast<TMdiWndCore*>(core);
    frame->_BaseMessageProc(message, wParam, lParam);
    frame->m_hWnd = hwnd;
    // A frame without its client would be useless: creation fails instead.
    if (!frame->_CreateClientWindow()) return -1;
    return frame->_CallUserProc(hwnd, message, wParam, lParam);
}

int TMdiWndCore::_CreateClientWindow()
{
    CLIENTCREATESTRUCT create = {m_hMdiMenu, FirstChildID};
    HWND client =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", "MDI Client", ClientStyle, 0, 0, 0, 0,
                          m_hWnd, reinterpret_cast<HMENU>(ClientID), m_hInst, &create);
    if (!client) return 0;
    SetWindowLongPtrA(client, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_lpCltOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&_CltWindowProc)));
    m_hClient = client;
    // A hidden frame is not sized until it is shown; the client need not wait.
    _PlaceClient();
    return 1;
}

void TMdiWndCore::_PlaceClient()
{
    RECT area = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &area);
    ::SetWindowPos(m_hClient, nullptr, 0, 0, area.right, area.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TMdiWndCore::_CltWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TMdiWndCore* frame = reinterpret_cast<TMdiWndCore*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    WNDPROC previous = frame->m_lpCltOldProc;
    if (message == WM_WINDOWPOSCHANGING) {
        WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        const RECT& space = frame->m_Space;
        pos->x += space.left;
        pos->y += space.top;
        // Margins wider than the frame leave an empty client, never a negative size.
        pos->cx =
            pos->cx - (space.left + space.right) > 0 ? pos->cx - (space.left + space.right) : 0;
        pos->cy =
            pos->cy - (space.top + space.bottom) > 0 ? pos->cy - (space.top + space.bottom) : 0;
    } else if (message == WM_NCDESTROY) {
        frame->m_hClient = nullptr;
    }
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

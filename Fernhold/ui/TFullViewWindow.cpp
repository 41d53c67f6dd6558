// Full-size view window: creation, its frame art, sizing and moving by the skin,
// scrolling, and the pane at actual size or fitted.
#include "ui/TFullViewWindow.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/FrameArt.h"
#include "ui/TFernWndClass.h"
#include "ui/TViewPanel.h"

#include <Panekind/TWindow.h>

#include <algorithm>

#include <windowsx.h>

namespace {
// WS_POPUP | WS_CLIPCHILDREN | WS_MAXIMIZEBOX, hidden; WS_EX_TOOLWINDOW.
constexpr unsigned long FULLVIEW_STYLE = 0x82010000;
constexpr unsigned long FULLVIEW_EX_STYLE = 0x80;
// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
constexpr unsigned long PANE_STYLE = 0x56000000;
constexpr DWORD VERTICAL_BAR_STYLE = 0x56000001; // SBS_VERT
constexpr DWORD HORIZONTAL_BAR_STYLE = 0x56000000;
constexpr int VERTICAL_BAR_ID = 257;
constexpr int HORIZONTAL_BAR_ID = 258;
constexpr int STRIP_ID = 501;
constexpr int CAPTION_ROWS = 24;
constexpr int BAR_ROWS = 20;
constexpr RECT INITIAL_RECT{0, 0, 640, 480};

HWND MakeScrollBar(HWND parent, DWORD style, int id, const RECT& rect)
{
    return CreateWindowExA(0, "SCROLLBAR", "", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

void SetBar(HWND bar, const ScrollRange& range)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(bar, SB_CTL, &info);
    // Every arriving image asks again; a bar redrawn for nothing costs more than the image.
    if (info.nMin == 0 && info.nMax == range.max && info.nPage == range.page &&
        info.nPos == range.offset)
        return;
    info.nMin = 0;
    info.nMax = range.max;
    info.nPage = range.page;
    info.nPos = static_cast<int>(range.offset);
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

void MoveChild(HWND child, const RECT& rect)
{
    MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// A saved rectangle as a window can take it: between the minimum and the largest size
// the system lets a window be sized to (a damaged options file may hold anything).
RECT SaneViewRect(const RECT& saved)
{
    long width = std::clamp(static_cast<long>(saved.right) - saved.left, FULLVIEW_MIN_WIDTH,
                            std::max(FULLVIEW_MIN_WIDTH, long{GetSystemMetrics(SM_CXMAXTRACK)}));
    long height = std::clamp(static_cast<long>(saved.bottom) - saved.top, FULLVIEW_MIN_HEIGHT,
                             std::max(FULLVIEW_MIN_HEIGHT, long{GetSystemMetrics(SM_CYMAXTRACK)}));
    return RECT{saved.left, saved.top, saved.left + width, saved.top + height};
}
} // namespace

TFullViewWindow::TFullViewWindow(TUiContext& context)
    : TSkinWindow(context, CANVAS_FULLVIEW), m_Pane(new TViewPane(*this))
{
}

TFullViewWindow::~TFullViewWindow() { m_Pane->Release(); }

int TFullViewWindow::Create(HWND owner)
{
    // Read before the window exists: its first moves already keep their rectangle.
    const RECT saved = m_Context.settings.viewWindowRect;
    TWindow window(*this);
    window.SetStyle(FULLVIEW_STYLE);
    window.SetExStyle(FULLVIEW_EX_STYLE);
    window.SetWindowTextA(TString("FullView Window"));
    window.SetParent(owner);
    window.SetWindowRect(INITIAL_RECT);
    window.SetPosToCenter();
    window.SetWindowProc(UserProc);
    if (!window.CreateWindowExA(*g_lpWndClass)) return 0;
    HWND self = GetHandle();
    FullViewLayout layout = LayOutFullView(INITIAL_RECT.right, INITIAL_RECT.bottom);
    m_Vertical = MakeScrollBar(self, VERTICAL_BAR_STYLE, VERTICAL_BAR_ID, layout.vertical);
    m_Horizontal = MakeScrollBar(self, HORIZONTAL_BAR_STYLE, HORIZONTAL_BAR_ID, layout.horizontal);
    if (!m_Vertical || !m_Horizontal ||
        !m_Pane->Create(self, "View Window", RECT{10, 34, 616, 451}, 320, PANE_STYLE))
        return 0;
    if (saved.left || saved.top || saved.right || saved.bottom) {
        RECT placed = SaneViewRect(saved);
        SetWindowPos(self, nullptr, placed.left, placed.top, placed.right - placed.left,
                     placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnPositionChanged();
    return 1;
}

void TFullViewWindow::SetUiState(WPARAM stage)
{
    HWND self = GetHandle();
    switch (stage) {
    case UI_STATE_IDLE:
        m_Pane->FreeIfHeld();
        ShowWindow(self, SW_HIDE);
        break;
    case UI_STATE_CONNECTING:
    case UI_STATE_DISCONNECTED:
        m_Live = false;
        m_Pane->FreeIfHeld();
        ShowWindow(self, SW_HIDE);
        break;
    case UI_STATE_CONNECTED: {
        m_Live = true;
        UpdateScrollInfo();
        bool working = GetWorkingView(m_Context.settings.displayFlags) == WorkingView::Full;
        if (!working) m_Pane->FreeIfHeld();
        ShowWindow(self, working ? SW_SHOW : SW_HIDE);
        break;
    }
    default:
        break;
    }
    PostToMain(UM_REPAINT, REPAINT_FULL_VIEW, 1);
}

void TFullViewWindow::UpdateScrollInfo()
{
    RemoteView remote = m_Context.client.GetImage().GetView();
    SIZE pane = m_Pane->GetClientSize();
    bool shown =
        !IsFittedToWindow(m_Context.settings.displayFlags) && remote.width > 0 && remote.height > 0;
    ScrollRange across = AxisScrollRange(remote.width, pane.cx, m_Scroll.x, shown);
    ScrollRange down = AxisScrollRange(remote.height, pane.cy, m_Scroll.y, shown);
    m_Scroll = POINT{across.offset, down.offset};
    SetBar(m_Horizontal, across);
    SetBar(m_Vertical, down);
}

void TFullViewWindow::ImageArrived()
{
    UpdateScrollInfo();
    InvalidateRect(m_Pane->GetHandle(), nullptr, FALSE);
}

void TFullViewWindow::FitChanged()
{
    UpdateScrollInfo();
    InvalidateRect(m_Pane->GetHandle(), nullptr, TRUE);
}

// ---- The window: frame, sizing, moving, scrolling ---------------------------------------

void TFullViewWindow::Compose(TMemDC& canvas)
{
    ComposeFrameArt(canvas, m_Skin, m_Context.appActive);
}

void TFullViewWindow::PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client)
{
    int w = client.right, h = client.bottom;
    PaintCaptionStrip(screen, canvas, w, m_Skin, "原寸全体画面");
    int bar = h - BAR_ROWS;
    ::BitBlt(screen, 0, bar, 15, BAR_ROWS, canvas, 0, CAPTION_ROWS, SRCCOPY);
    ::StretchBlt(screen, 15, bar, w - 30, BAR_ROWS, canvas, 15, CAPTION_ROWS, 270, BAR_ROWS,
                 SRCCOPY);
    ::BitBlt(screen, w - 15, bar, 15, BAR_ROWS, canvas, 285, CAPTION_ROWS, SRCCOPY);
    RECT band{0, CAPTION_ROWS, w, bar};
    DrawEdge(screen, &band, EDGE_RAISED, BF_RECT);
    FullViewLayout layout = LayOutFullView(w, h);
    for (RECT edge : {layout.vertical, layout.horizontal}) {
        InflateRect(&edge, 1, 1);
        DrawEdge(screen, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    RECT pane = layout.pane;
    InflateRect(&pane, 2, 2);
    DrawEdge(screen, &pane, EDGE_SUNKEN, BF_RECT);
}

int TFullViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND self = GetHandle();
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(self, &client);
        client.top = CAPTION_ROWS;
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        *result = 1;
        return 1;
    }
    case WM_NCHITTEST: {
        if (!m_Live) return 0;
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT window;
        ::GetWindowRect(self, &window);
        LRESULT hit = FullViewHitTest(POINT{point.x - window.left, point.y - window.top},
                                      SIZE{window.right - window.left, window.bottom - window.top},
                                      IsZoomed(self) != 0);
        if (!hit) return 0;
        *result = hit;
        return 1;
    }
    case WM_NCLBUTTONDOWN:
        // A maximised window does not move.
        return wParam == HTCAPTION && IsZoomed(self);
    case WM_GETMINMAXINFO: {
        MINMAXINFO& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        limits.ptMaxPosition = POINT{work.left, work.top};
        limits.ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
        limits.ptMinTrackSize = POINT{FULLVIEW_MIN_WIDTH, FULLVIEW_MIN_HEIGHT};
        return 1;
    }
    case WM_CLOSE:
        // Only the program ends this window (with the main window); a close key would
        // leave the working view without its window for the rest of the session.
        return 1;
    case WM_WINDOWPOSCHANGED:
        OnPositionChanged();
        return 0; // the default procedure still sends WM_SIZE and WM_MOVE
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (!m_Live) return 0;
        Scroll(message == WM_VSCROLL, LOWORD(wParam), HIWORD(wParam));
        return 1;
    default:
        return 0;
    }
}

void TFullViewWindow::OnPositionChanged()
{
    HWND self = GetHandle();
    if (!m_Pane->GetHandle()) return; // still being made
    RECT client;
    ::GetClientRect(self, &client);
    InvalidateRect(self, nullptr, TRUE);
    FullViewLayout layout = LayOutFullView(client.right, client.bottom);
    MoveChild(m_Pane->GetHandle(), layout.pane);
    MoveChild(m_Vertical, layout.vertical);
    MoveChild(m_Horizontal, layout.horizontal);
    if (HWND strip = GetDlgItem(self, STRIP_ID))
        SetWindowPos(strip, nullptr, layout.strip.x, layout.strip.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollInfo();
    if (!IsZoomed(self) && !IsIconic(self))
        ::GetWindowRect(self, &m_Context.settings.viewWindowRect);
}

void TFullViewWindow::Scroll(bool vertical, int code, long thumb)
{
    if (code == SB_THUMBTRACK || code == SB_ENDSCROLL) return; // the image waits for the release
    RemoteView remote = m_Context.client.GetImage().GetView();
    if (IsFittedToWindow(m_Context.settings.displayFlags) || remote.width <= 0 ||
        remote.height <= 0)
        return;
    SIZE pane = m_Pane->GetClientSize();
    long& offset = vertical ? m_Scroll.y : m_Scroll.x;
    offset = ScrollOffset(offset, code, thumb, vertical ? remote.height : remote.width,
                          vertical ? pane.cy : pane.cx);
    SetScrollPos(vertical ? m_Vertical : m_Horizontal, SB_CTL, static_cast<int>(offset), TRUE);
    InvalidateRect(m_Pane->GetHandle(), nullptr, FALSE);
}

// ---- The pane ---------------------------------------------------------------------------

PaneGeometry TFullViewWindow::GetPaneGeometry()
{
    PaneKind kind = IsFittedToWindow(m_Context.settings.displayFlags) ? PaneKind::FullFitted
                                                                      : PaneKind::FullActual;
    return PaneGeometry{kind, m_Context.client.GetImage().GetView(), m_Pane->GetClientSize(),
                        m_Scroll};
}

int TFullViewWindow::OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(m_Pane->GetHandle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        *result = 1;
        return 1;
    }
    case WM_PAINT:
        PaintPane();
        return 1;
    default:
        break;
    }
    if (m_Live && IsPaneMouseMessage(message) &&
        GetWorkingView(m_Context.settings.displayFlags) == WorkingView::Full)
        m_Pane->ForwardMouse(m_Context, GetPaneGeometry(), message, wParam, lParam);
    return 0; // and on to the default procedure
}

void TFullViewWindow::PaintPane()
{
    HWND pane = m_Pane->GetHandle();
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(pane, &paint);
    SIZE size = m_Pane->GetClientSize();
    RECT target{0, 0, 0, 0};
    if (m_Live) {
        TClientImage& image = m_Context.client.GetImage();
        image.LockImage();
        RemoteView remote = image.GetDrawableView();
        if (remote.width > 0 && remote.height > 0) {
            HDC pixels = image.GetContext();
            if (IsFittedToWindow(m_Context.settings.displayFlags)) {
                SetStretchBltMode(screen, COLORONCOLOR);
                ::StretchBlt(screen, 0, 0, size.cx, size.cy, pixels, 0, 0, remote.width,
                             remote.height, SRCCOPY);
                target = RECT{0, 0, size.cx, size.cy};
            } else {
                ImageWindow shown = ActualPaneWindow(size, remote.width, remote.height, m_Scroll);
                target = shown.target;
                ::BitBlt(screen, target.left, target.top, target.right - target.left,
                         target.bottom - target.top, pixels, shown.source.x, shown.source.y,
                         SRCCOPY);
            }
        }
        image.UnlockImage();
    }
    // Black around the image (all of the pane without one).
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT margins[4] = {{0, 0, size.cx, target.top},
                             {0, target.bottom, size.cx, size.cy},
                             {0, target.top, target.left, target.bottom},
                             {target.right, target.top, size.cx, target.bottom}};
    for (const RECT& margin : margins)
        FillRect(screen, &margin, black);
    EndPaint(pane, &paint);
}

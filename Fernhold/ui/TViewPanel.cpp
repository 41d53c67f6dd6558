// View panels: creation, the stages, the art at rest and the waiting animation.
#include "ui/TViewPanel.h"

#include "net/MainWindowMessages.h"
#include "ui/PanelFrame.h"

namespace {
// WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN: the pane starts hidden.
constexpr unsigned long PANE_STYLE = 0x46000000;
constexpr UINT_PTR ANIMATION_TIMER = 1;
constexpr UINT ANIMATION_MS = 40;
// 303.bmp: ten frames of 60 rows, one under the other.
constexpr int ANIMATION_ROW = 60;
constexpr int ANIMATION_FRAMES = 10;
constexpr int ANIMATION_BITMAP = 3; // of the left panel's group
constexpr int FIRST_PART_WIDTH = 160;
constexpr int BORDER = 20; // around the pane
constexpr int WORK_AREA_MARGIN = 3;
constexpr int HEADER_ROWS = 15;
} // namespace

TViewPanel::TViewPanel(TUiContext& context, SkinCanvas canvas, const ViewPanelLayout& layout)
    : TSkinWindow(context, canvas), m_Pane(new TViewPane(*this)), m_Layout(layout)
{
}

TViewPanel::~TViewPanel() { m_Pane->Release(); }

RECT TViewPanel::ViewArea() const
{
    return RECT{BORDER, BORDER, BORDER + m_Layout.pane.cx, BORDER + m_Layout.pane.cy};
}

int TViewPanel::Create(HWND parent)
{
    RECT list{BORDER, BORDER + HEADER_ROWS, BORDER + m_Layout.pane.cx,
              BORDER + HEADER_ROWS + m_Layout.listHeight};
    return CreateChild(parent, m_Layout.text, m_Layout.rect, m_Layout.id) &&
           m_List.Create(GetHandle(), m_Layout.listId, list, m_Layout.columns,
                         m_Layout.columnCount) &&
           m_Pane->Create(GetHandle(), m_Layout.paneText, ViewArea(), m_Layout.paneId, PANE_STYLE);
}

bool TViewPanel::IsWaiting() const
{
    return m_Context.uiState == UI_STATE_CONNECTING || m_Context.uiState == UI_STATE_DISCONNECTED;
}

void TViewPanel::SetUiState(WPARAM stage)
{
    HWND panel = GetHandle();
    KillTimer(panel, ANIMATION_TIMER);
    m_Pane->FreeIfHeld();
    switch (stage) {
    case UI_STATE_IDLE:
        ShowWindow(m_List.GetHandle(), SW_SHOW);
        ShowWindow(m_Pane->GetHandle(), SW_HIDE);
        break;
    case UI_STATE_CONNECTING:
    case UI_STATE_DISCONNECTED:
        // A label edit ends with its list (its end notice gives back what it holds).
        SendMessageA(m_List.GetHandle(), LVM_CANCELEDITLABEL, 0, 0);
        TakeViewAreaFromScreen();
        LockWindowUpdate(panel);
        ShowWindow(m_List.GetHandle(), SW_HIDE);
        ShowWindow(m_Pane->GetHandle(), SW_HIDE);
        LockWindowUpdate(nullptr);
        m_Counter = 0;
        SetTimer(panel, ANIMATION_TIMER, ANIMATION_MS, nullptr);
        break;
    case UI_STATE_CONNECTED:
        SendMessageA(m_List.GetHandle(), LVM_CANCELEDITLABEL, 0, 0);
        ShowWindow(m_List.GetHandle(), SW_HIDE);
        ShowWindow(m_Pane->GetHandle(), SW_SHOW);
        break;
    default:
        break;
    }
    PostToMain(UM_REPAINT, m_Layout.repaintIndex, 1);
}

void TViewPanel::TakeViewAreaFromScreen()
{
    // A hidden window has nothing on screen to read: the canvas keeps what it holds.
    if (!IsWindowVisible(GetHandle()) || !m_Skin.Lock()) return;
    const RECT area = ViewArea();
    // A cache context without child clipping: the list or pane on screen is what is read.
    HDC screen = GetDCEx(GetHandle(), nullptr, DCX_CACHE);
    ::BitBlt(m_Skin.GetCanvas(m_Canvas), area.left, area.top, area.right - area.left,
             area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(GetHandle(), screen);
    GdiFlush();
    m_Skin.Unlock();
}

void TViewPanel::Repaint(int invalidate)
{
    TSkinWindow::Repaint(invalidate);
    // The fade goes on while the skin is away; only the drawing waits for it.
    if (IsWaiting() && m_Counter <= 99) m_Counter += 4;
    if (invalidate && m_Pane->GetHandle()) InvalidateRect(m_Pane->GetHandle(), nullptr, FALSE);
}

void TViewPanel::Compose(TMemDC& canvas)
{
    if (IsWaiting()) {
        ComposeWaitingStep(canvas);
        return;
    }
    RECT work = ViewArea();
    InflateRect(&work, WORK_AREA_MARGIN, WORK_AREA_MARGIN);
    DrawPanelFrame(canvas, m_Layout.pane.cx + 2 * BORDER, m_Layout.pane.cy + 2 * BORDER);
    DrawSunkenArea(canvas, work);
    if (m_Context.uiState != UI_STATE_IDLE) return;
    canvas.BitBlt(BORDER, BORDER, m_Layout.pane.cx, HEADER_ROWS, m_Skin.GetBitmap(m_Canvas, 0), 0,
                  0, 1);
    ComposeAtRest(canvas);
}

void TViewPanel::ComposeAtRest(TMemDC&) {}

void TViewPanel::ComposeWaitingStep(TMemDC& canvas)
{
    TDIBitmap* art = m_Skin.GetBitmap(CANVAS_MAXVIEW, ANIMATION_BITMAP);
    unsigned short opacity = static_cast<unsigned short>(m_Counter);
    // Two parts a row: 160 columns, then the rest of the pane's width.
    for (int row = 0; row < m_Layout.pane.cy / ANIMATION_ROW; ++row) {
        int y = BORDER + row * ANIMATION_ROW;
        int source = ((m_Frame + row) % ANIMATION_FRAMES) * ANIMATION_ROW;
        canvas.BitAlphaBlt(BORDER, y, FIRST_PART_WIDTH, ANIMATION_ROW, art, 0, source, opacity);
        canvas.BitAlphaBlt(BORDER + FIRST_PART_WIDTH, y, m_Layout.pane.cx - FIRST_PART_WIDTH,
                           ANIMATION_ROW, art, FIRST_PART_WIDTH, source, opacity);
    }
    m_Frame = (m_Frame + m_Layout.frameStep) % ANIMATION_FRAMES;
}

int TViewPanel::OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_ERASEBKGND:
        *result = 1; // the paint covers the whole pane
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC screen = BeginPaint(m_Pane->GetHandle(), &paint);
        PaintPane(screen);
        EndPaint(m_Pane->GetHandle(), &paint);
        return 1;
    }
    default:
        if (IsPaneMouseMessage(message)) OnPaneMouse(message, wParam, lParam);
        return 0;
    }
}

int TViewPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != ANIMATION_TIMER || !IsWaiting()) return 0;
        Repaint(1);
        return 1;
    case WM_SYSCOLORCHANGE:
        // The list control learns the system colours only from its parent.
        SendMessageA(m_List.GetHandle(), WM_SYSCOLORCHANGE, wParam, lParam);
        m_List.ApplyWorkspaceColours();
        return 0;
    case WM_SETTINGCHANGE:
        m_List.ApplyWorkspaceColours();
        return 0;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom != m_List.GetHandle()) return 0;
        return OnListNotify(header, result);
    }
    case WM_DESTROY:
        KillTimer(GetHandle(), ANIMATION_TIMER);
        return 0;
    default:
        return 0;
    }
}

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
} // namespace

TViewPanel::TViewPanel(TUiContext& context, SkinCanvas canvas, const ViewPanelLayout& layout)
    : TSkinWindow(context, canvas), m_Pane(new TViewPane(*this)), m_Layout(layout)
{
}

TViewPanel::~TViewPanel() { m_Pane->Release(); }

int TViewPanel::Create(HWND parent)
{
    return CreateChild(parent, m_Layout.text, m_Layout.rect, m_Layout.id) &&
           m_List.Create(GetHandle(), m_Layout.listId, m_Layout.listRect, m_Layout.columns,
                         m_Layout.columnCount) &&
           m_Pane->Create(GetHandle(), m_Layout.paneText, m_Layout.viewArea, m_Layout.paneId,
                          PANE_STYLE);
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
        TakeViewAreaFromScreen();
        LockWindowUpdate(panel);
        ShowWindow(m_List.GetHandle(), SW_HIDE);
        ShowWindow(m_Pane->GetHandle(), SW_HIDE);
        LockWindowUpdate(nullptr);
        m_Counter = 0;
        SetTimer(panel, ANIMATION_TIMER, ANIMATION_MS, nullptr);
        break;
    case UI_STATE_CONNECTED:
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
    const RECT& area = m_Layout.viewArea;
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
    DrawPanelFrame(canvas, m_Layout.size.cx, m_Layout.size.cy);
    DrawSunkenArea(canvas, m_Layout.workArea);
    if (m_Context.uiState != UI_STATE_IDLE) return;
    canvas.BitBlt(20, 20, m_Layout.headerWidth, 15, m_Skin.GetBitmap(m_Canvas, 0), 0, 0, 1);
    ComposeAtRest(canvas);
}

void TViewPanel::ComposeAtRest(TMemDC&) {}

void TViewPanel::ComposeWaitingStep(TMemDC& canvas)
{
    TDIBitmap* art = m_Skin.GetBitmap(CANVAS_MAXVIEW, ANIMATION_BITMAP);
    unsigned short opacity = static_cast<unsigned short>(m_Counter);
    for (int row = 0; row < m_Layout.animationRows; ++row) {
        int y = 20 + row * ANIMATION_ROW;
        int source = ((m_Frame + row) % ANIMATION_FRAMES) * ANIMATION_ROW;
        canvas.BitAlphaBlt(20, y, FIRST_PART_WIDTH, ANIMATION_ROW, art, 0, source, opacity);
        canvas.BitAlphaBlt(20 + FIRST_PART_WIDTH, y, m_Layout.secondPartWidth, ANIMATION_ROW, art,
                           FIRST_PART_WIDTH, source, opacity);
    }
    m_Frame = (m_Frame + m_Layout.frameStep) % ANIMATION_FRAMES;
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

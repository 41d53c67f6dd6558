// State window: the status line, its highlight timer and its canvas.
#include "ui/TStateWindow.h"

#include "net/MainWindowMessages.h"

namespace {

constexpr UINT_PTR TIMER_HIGHLIGHT = 1;
constexpr UINT TIMER_HIGHLIGHT_MS = 1000;

constexpr int LINE_BITMAP = 0;
constexpr int HIGHLIGHT_ROW = 24;
constexpr int STATUS_FONT = 1;
constexpr COLORREF SHADOW_COLOUR = 0x998888;
constexpr COLORREF TEXT_COLOUR = 0x664444;

} // namespace

int TStateWindow::Create(HWND parent)
{
    return CreateChild(parent, "State Window", RECT{0, 304, 640, 328}, 600);
}

void TStateWindow::SetStatusText(const char* text, uint32_t priority)
{
    if (m_Line.SetText(text, priority)) PostToMain(UM_REPAINT, REPAINT_STATE, 1);
}

int TStateWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(GetHandle(), TIMER_HIGHLIGHT, TIMER_HIGHLIGHT_MS, nullptr);
        return 0; // the default procedure finishes the creation
    case WM_DESTROY:
        KillTimer(GetHandle(), TIMER_HIGHLIGHT);
        return 0;
    case WM_TIMER:
        if (wParam != TIMER_HIGHLIGHT) return 0;
        // Invalidated as well: a repaint that only composes would leave the highlight on
        // the screen until something else paints the window.
        if (m_Line.Tick()) PostToMain(UM_REPAINT, REPAINT_STATE, 1);
        *result = 0;
        return 1;
    default:
        return 0;
    }
}

void TStateWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 640, 24};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(0, 0, 640, 24, m_Skin.GetBitmap(CANVAS_STATE, LINE_BITMAP), 0,
                       m_Line.IsHighlighted() ? HIGHLIGHT_ROW : 0, 256);
    const char* text = m_Line.GetText();
    const int length = static_cast<int>(m_Line.GetText().Len());
    if (!length) return;
    canvas.SelectObject(&m_Skin.GetFont(STATUS_FONT));
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, SHADOW_COLOUR);
    TextOutA(canvas, 31, 6, text, length);
    SetTextColor(canvas, TEXT_COLOUR);
    TextOutA(canvas, 30, 5, text, length);
}

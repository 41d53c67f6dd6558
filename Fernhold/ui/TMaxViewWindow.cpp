// Left panel: frame, header strip and list buttons at rest.
#include "ui/TMaxViewWindow.h"

#include "ui/PanelFrame.h"

namespace {
constexpr int WIDTH = 360;
constexpr int HEIGHT = 280;
// Add, edit and delete in the button bar, and their columns in 302.bmp.
constexpr int LIST_BUTTON_X[3] = {170, 220, 270};
constexpr int LIST_BUTTON_SOURCE_X[3] = {0, 50, 100};
constexpr int LIST_BUTTON_WIDTH = 50;
constexpr int LIST_BUTTON_ROWS = 20;
} // namespace

int TMaxViewWindow::Create(HWND parent)
{
    return CreateChild(parent, "MaxView Window", RECT{0, 24, 360, 304}, 300);
}

void TMaxViewWindow::Compose(TMemDC& canvas)
{
    DrawPanelFrame(canvas, WIDTH, HEIGHT);
    DrawSunkenArea(canvas, RECT{17, 17, 343, 263});
    canvas.BitBlt(20, 20, 320, 15, m_Skin.GetBitmap(CANVAS_MAXVIEW, 0), 0, 0, 1);
    if (m_Context.uiState != 1) return;
    RECT bar{20, 240, 340, 260};
    FillRect(canvas, &bar, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(20, 240, 320, 20, m_Skin.GetBitmap(CANVAS_MAXVIEW, 1), 0, 0, 256);
    TDIBitmap* buttons = m_Skin.GetBitmap(CANVAS_MAXVIEW, 2);
    for (int i = 0; i < 3; ++i) {
        ButtonLook look = m_ListButtons.GetLook(1, i + 1);
        int row = look == ButtonLook::Pressed ? 2 * LIST_BUTTON_ROWS
                  : look == ButtonLook::Hover ? LIST_BUTTON_ROWS
                                              : 0;
        canvas.BitAlphaBlt(LIST_BUTTON_X[i], 240, LIST_BUTTON_WIDTH, LIST_BUTTON_ROWS, buttons,
                           LIST_BUTTON_SOURCE_X[i], row, 256);
    }
}

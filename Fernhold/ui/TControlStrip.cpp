// Control strip: background and buttons.
#include "ui/TControlStrip.h"

#include "net/MainWindowMessages.h"

int TControlStrip::Create(HWND fullView)
{
    return CreateChild(fullView, "Control Window", RECT{0, 0, 300, 18}, 501);
}

void TControlStrip::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 300, 20};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(0, 0, 300, 20, m_Skin.GetBitmap(CANVAS_STRIP, 1), 0, 0, 256);
    ComposeButtons(canvas);
}

void TControlStrip::OnButtonsChanged() { PostToMain(UM_REPAINT, REPAINT_STRIP, 1); }

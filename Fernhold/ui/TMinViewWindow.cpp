// Right panel: frame and header strip at rest.
#include "ui/TMinViewWindow.h"

#include "ui/PanelFrame.h"

int TMinViewWindow::Create(HWND parent)
{
    return CreateChild(parent, "MinView Window", RECT{360, 24, 640, 244}, 400);
}

void TMinViewWindow::Compose(TMemDC& canvas)
{
    DrawPanelFrame(canvas, 280, 220);
    DrawSunkenArea(canvas, RECT{17, 17, 263, 203});
    canvas.BitBlt(20, 20, 240, 15, m_Skin.GetBitmap(CANVAS_MINVIEW, 0), 0, 0, 1);
}

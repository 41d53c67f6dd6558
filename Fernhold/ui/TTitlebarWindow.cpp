// Title bar window (resting art until its buttons arrive).
#include "ui/TTitlebarWindow.h"

int TTitlebarWindow::Create(HWND parent)
{
    return CreateChild(parent, "Titlebar Window", RECT{0, 0, 640, 24}, 100);
}

void TTitlebarWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 640, 24};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
}

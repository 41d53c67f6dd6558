// Menu window (resting art until its menus arrive).
#include "ui/TMenuWindow.h"

int TMenuWindow::Create(HWND parent)
{
    return CreateChild(parent, "Menu Window", RECT{366, 3, 626, 21}, 200);
}

void TMenuWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 260, 18};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
}

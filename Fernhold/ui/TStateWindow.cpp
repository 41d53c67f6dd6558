// State window (resting art until the status line arrives).
#include "ui/TStateWindow.h"

int TStateWindow::Create(HWND parent)
{
    return CreateChild(parent, "State Window", RECT{0, 304, 640, 328}, 600);
}

void TStateWindow::SetStatusText(const char*, uint32_t) {}

void TStateWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 640, 24};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
}

// Panel frame drawing.
#include "ui/PanelFrame.h"

void DrawPanelFrame(TMemDC& canvas, int width, int height)
{
    RECT all{0, 0, width, height};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(canvas, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    RECT inside{1, 1, width - 1, height - 1};
    DrawEdge(canvas, &inside, EDGE_RAISED, BF_RECT);
}

void DrawSunkenArea(TMemDC& canvas, RECT area)
{
    FillRect(canvas, &area, GetSysColorBrush(COLOR_APPWORKSPACE));
    DrawEdge(canvas, &area, EDGE_SUNKEN, BF_RECT);
}

// TDesktop: work area, screen size and centring.
#include <Panekind/TDesktop.h>

RECT TDesktop::GetWorkArea()
{
    RECT area = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

SIZE TDesktop::GetDesktopSize()
{
    SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return size;
}

POINT TDesktop::GetCenterPos(const RECT& window)
{
    RECT area = GetWorkArea();
    POINT pos;
    pos.x = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
    pos.y = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
    return pos;
}

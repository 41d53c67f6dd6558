// Straight 16-bit screen copy in the capture's grid.
#include "StraightCapture.h"

#include "net/TFrameStore.h"

bool CopyScreenStraight(TMemDC& image, long width, long height, uint32_t columns, uint32_t rows)
{
    TDIBitmap* bitmap = image.LookImgeObject();
    if (!bitmap || bitmap->GetWidth() != width || bitmap->GetHeight() != height) {
        if (!image.CreateDCA(width, height, 16)) return false;
    }
    HWND desktop = GetDesktopWindow();
    HDC screen = GetWindowDC(desktop);
    ForEachTile(width, height, columns, rows, [&](int x, int y, int tileWidth, int tileHeight) {
        ::BitBlt(image, x, y, tileWidth, tileHeight, screen, x, y, SRCCOPY);
    });
    ReleaseDC(desktop, screen);
    GdiFlush();
    return true;
}

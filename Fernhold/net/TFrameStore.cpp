// Frame store: tiled desktop capture and compression.
#include "net/TFrameStore.h"

#include <Ledgerkit/CompressTMemory.h>

SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

CaptureGrid GridAlong(long length, uint32_t parts)
{
    long count = parts == 0 ? 1 : static_cast<long>(parts);
    if (count > length) count = length > 0 ? length : 1;
    long tile = length / count;
    if (tile < 1) tile = 1;
    if (length % count) ++count;
    return {tile, count};
}

TFrameStore::TFrameStore() { InitializeCriticalSection(&m_Lock); }

TFrameStore::~TFrameStore()
{
    m_Capture.DeleteDC();
    DeleteCriticalSection(&m_Lock);
}

int TFrameStore::Capture(long width, long height, uint32_t columns, uint32_t rows)
{
    Lock();
    TDIBitmap* bitmap = m_Capture.LookImgeObject();
    if (!bitmap || bitmap->GetWidth() != width || bitmap->GetHeight() != height) {
        m_Capture.DeleteDC();
        bitmap = m_Capture.CreateDCA(width, height, 16) ? m_Capture.LookImgeObject() : nullptr;
    }
    if (!bitmap || width <= 0 || height <= 0) {
        Unlock();
        return 0;
    }
    CaptureGrid across = GridAlong(width, columns);
    CaptureGrid down = GridAlong(height, rows);
    HWND desktop = GetDesktopWindow();
    HDC screen = GetWindowDC(desktop);
    // Short copies keep each hold on the desktop brief; tiles past the edge are clipped.
    for (long row = 0; row < down.count; ++row) {
        for (long column = 0; column < across.count; ++column) {
            int x = static_cast<int>(column * across.tile);
            int y = static_cast<int>(row * down.tile);
            ::BitBlt(m_Capture, x, y, static_cast<int>(across.tile), static_cast<int>(down.tile),
                     screen, x, y, SRCCOPY);
        }
    }
    ReleaseDC(desktop, screen);
    GdiFlush();
    unsigned long pixelBytes = static_cast<unsigned long>(bitmap->GetLineByte()) *
                               static_cast<unsigned long>(bitmap->GetHeight());
    int done = CompressTMemoryTypeA(bitmap->GetLpPixel(), pixelBytes, m_Compressed) != 0;
    if (done) ++m_FrameNumber;
    Unlock();
    return done;
}

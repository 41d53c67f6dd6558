// Frame store: tiled desktop capture and compression.
#include "net/TFrameStore.h"

#include <Ledgerkit/CompressTMemory.h>

#include <algorithm>
#include <cstring>

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

void ForEachTile(long width, long height, uint32_t columns, uint32_t rows,
                 const std::function<void(int x, int y, int width, int height)>& copy)
{
    const CaptureGrid across = GridAlong(width, columns);
    const CaptureGrid down = GridAlong(height, rows);
    for (long row = 0; row < down.count; ++row)
        for (long column = 0; column < across.count; ++column)
            copy(static_cast<int>(column * across.tile), static_cast<int>(row * down.tile),
                 static_cast<int>(across.tile), static_cast<int>(down.tile));
}

TFrameStore::TFrameStore() { InitializeCriticalSection(&m_Lock); }

TFrameStore::~TFrameStore()
{
    m_Tile.DeleteDC();
    m_Capture.DeleteDC();
    DeleteCriticalSection(&m_Lock);
}

int TFrameStore::Capture(long width, long height, uint32_t columns, uint32_t rows)
{
    Lock();
    TDIBitmap* frame = FrameOfSize(width, height);
    TDIBitmap* tile =
        frame ? TileOfSize(GridAlong(width, columns).tile, GridAlong(height, rows).tile) : nullptr;
    if (!tile) {
        Unlock();
        return 0;
    }
    HWND desktop = GetDesktopWindow();
    HDC screen = GetWindowDC(desktop);
    // Short copies keep each hold on the desktop brief. Each tile is copied at 32 bits,
    // the depth displays hold today, and converted while it is still in the cache,
    // which is faster than the platform's own conversion. A tile is cut at the frame's edge first,
    // as a copy straight into the frame was: under Wine a copy whose source reaches past the screen
    // gives black even for the part inside it.
    ForEachTile(width, height, columns, rows, [&](int x, int y, int tileWidth, int tileHeight) {
        const int cutWidth = static_cast<int>(std::min<long>(tileWidth, width - x));
        const int cutHeight = static_cast<int>(std::min<long>(tileHeight, height - y));
        ::BitBlt(m_Tile, 0, 0, cutWidth, cutHeight, screen, x, y, SRCCOPY);
        frame->BitBlt(x, y, cutWidth, cutHeight, tile, 0, 0, 1);
    });
    ReleaseDC(desktop, screen);
    unsigned long pixelBytes = static_cast<unsigned long>(frame->GetLineByte()) *
                               static_cast<unsigned long>(frame->GetHeight());
    int done = CompressTMemoryTypeA(frame->GetLpPixel(), pixelBytes, m_Compressed) != 0;
    if (done) ++m_FrameNumber;
    Unlock();
    return done;
}

TDIBitmap* TFrameStore::FrameOfSize(long width, long height)
{
    TDIBitmap* frame = m_Capture.LookImgeObject();
    if (frame && frame->GetWidth() == width && frame->GetHeight() == height) return frame;
    m_Capture.DeleteDC();
    if (width <= 0 || height <= 0 || !m_Capture.CreateDCA(width, height, 16)) return nullptr;
    frame = m_Capture.LookImgeObject();
    // The conversion keeps each pixel's unused top bit; the platform's own copy
    // into a 16-bit image clears it, and so must the frame, byte for byte.
    std::memset(frame->GetLpPixel(), 0,
                static_cast<size_t>(frame->GetLineByte()) * static_cast<size_t>(height));
    return frame;
}

TDIBitmap* TFrameStore::TileOfSize(long width, long height)
{
    TDIBitmap* tile = m_Tile.LookImgeObject();
    if (tile && tile->GetWidth() == width && tile->GetHeight() == height) return tile;
    m_Tile.DeleteDC();
    return m_Tile.CreateDCA(width, height, 32) ? m_Tile.LookImgeObject() : nullptr;
}

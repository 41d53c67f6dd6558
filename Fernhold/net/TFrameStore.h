// The server's newest screen frame: capture context, compressed pixels and frame number.
#pragma once

#include <Inkwell/TMemDC.h>
#include <Keelwork/TMemory.h>
#include <Keelwork/TobjectBase.h>

#include <windows.h>

#include <cstdint>
#include <functional>

// Owned by TServerCore and shared by every image service of its listeners. The
// frame lock guards all three fields: the server thread holds it for a whole capture
// and compression, a service thread while it reads the number and copies the frame
// it announces (the copy goes out without the lock, so no viewer holds a capture up).
class TFrameStore : public TobjectBase {
public:
    TFrameStore();
    ~TFrameStore();
    TFrameStore(const TFrameStore&) = delete;
    TFrameStore& operator=(const TFrameStore&) = delete;

    // Server thread: copies the desktop into a width x height 16-bit image in a grid
    // of columns x rows tiles, compresses it and counts a new frame. Returns 1, or 0
    // (frame number unchanged) when a context cannot be made or compression fails.
    // The pixels are those of copying each tile straight into the 16-bit image.
    int Capture(long width, long height, uint32_t columns, uint32_t rows);

    void Lock() { EnterCriticalSection(&m_Lock); }
    void Unlock() { LeaveCriticalSection(&m_Lock); }
    // Under Lock: the compressed stream (its size is the frame length) and the number.
    const TMemory& GetCompressed() const { return m_Compressed; }
    uint32_t GetFrameNumber() const { return m_FrameNumber; }

private:
    // Under Lock: the contexts, made anew when the size asked for differs.
    TDIBitmap* FrameOfSize(long width, long height);
    TDIBitmap* TileOfSize(long width, long height);

    CRITICAL_SECTION m_Lock;
    TMemDC m_Capture; // the 16-bit frame
    TMemDC m_Tile;    // one tile at 32 bits, as displays hold it
    TMemory m_Compressed;
    uint32_t m_FrameNumber = 0;
};

// This machine's screen size in pixels, as captured and as announced to clients.
SIZE ScreenSize();

// Tile size and count along one side of the capture grid: parts tiles of length /
// parts, plus one more when they fall short. parts 0 or beyond length is taken as
// the nearest workable value, so no tile is ever empty.
struct CaptureGrid {
    long tile;
    long count;
};
CaptureGrid GridAlong(long length, uint32_t parts);

// Calls copy(x, y, tileWidth, tileHeight) for each tile of a width x height screen in
// a grid of columns x rows, rows from the top and within a row columns from the left:
// the order of every capture. Tiles past the right and bottom edges are whole.
void ForEachTile(long width, long height, uint32_t columns, uint32_t rows,
                 const std::function<void(int x, int y, int width, int height)>& copy);

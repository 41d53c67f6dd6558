// Client image: remote size, frame buffers and expansion.
#include "net/TClientImage.h"

#include "net/MainWindowMessages.h"

#include <Ledgerkit/CompressTMemory.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr unsigned long STREAM_LENGTH_OFFSET = 8;
}

unsigned long FrameStreamPixelBytes(const TMemory& stream)
{
    uint32_t length = 0;
    if (stream.GetSize() < STREAM_LENGTH_OFFSET + sizeof(length)) return 0;
    memcpy(&length, static_cast<unsigned char*>(stream) + STREAM_LENGTH_OFFSET, sizeof(length));
    return length;
}

POINT ClampClipOrigin(POINT wanted, long width, long height)
{
    auto clamp = [](long value, long side, long region) {
        if (value + region > side) value = side - region;
        return value < 0 ? 0 : value;
    };
    return POINT{clamp(wanted.x, width, CLIP_WIDTH), clamp(wanted.y, height, CLIP_HEIGHT)};
}

TClientImage::TClientImage()
{
    InitializeCriticalSection(&m_ImageLock);
    InitializeCriticalSection(&m_FrameLock);
}

TClientImage::~TClientImage()
{
    m_Context.DeleteDC();
    DeleteCriticalSection(&m_FrameLock);
    DeleteCriticalSection(&m_ImageLock);
}

void TClientImage::Reset()
{
    LockImage();
    m_RemoteWidth = 0;
    m_RemoteHeight = 0;
    m_Context.DeleteDC();
    UnlockImage();
}

void TClientImage::SetRemoteSize(long width, long height)
{
    LockImage();
    if (width != m_RemoteWidth || height != m_RemoteHeight || !m_Context.LookImgeObject()) {
        m_RemoteWidth = width;
        m_RemoteHeight = height;
        m_Context.DeleteDC();
        m_Context.CreateDCA(width, height, 16);
    }
    m_Clip = ClampClipOrigin(m_Clip, m_RemoteWidth, m_RemoteHeight);
    UnlockImage();
}

SIZE TClientImage::GetRemoteSize()
{
    LockImage();
    SIZE size{m_RemoteWidth, m_RemoteHeight};
    UnlockImage();
    return size;
}

RemoteView TClientImage::GetView()
{
    LockImage();
    RemoteView view{m_RemoteWidth, m_RemoteHeight, m_Clip};
    UnlockImage();
    return view;
}

RemoteView TClientImage::GetDrawableView()
{
    RemoteView view{0, 0, m_Clip};
    if (TDIBitmap* pixels = m_Context.LookImgeObject()) {
        view.width = std::min(m_RemoteWidth, pixels->GetWidth());
        view.height = std::min(m_RemoteHeight, pixels->GetHeight());
    }
    return view;
}

void TClientImage::SetClipOrigin(POINT wanted)
{
    LockImage();
    m_Clip = ClampClipOrigin(wanted, m_RemoteWidth, m_RemoteHeight);
    UnlockImage();
}

unsigned long TClientImage::GetImageBytes()
{
    LockImage();
    TDIBitmap* bitmap = m_Context.LookImgeObject();
    unsigned long bytes = bitmap ? static_cast<unsigned long>(bitmap->GetLineByte()) *
                                       static_cast<unsigned long>(bitmap->GetHeight())
                                 : 0;
    UnlockImage();
    return bytes;
}

void TClientImage::SwapInFrame(TMemory& received)
{
    EnterCriticalSection(&m_FrameLock);
    m_Compressed ^= received;
    LeaveCriticalSection(&m_FrameLock);
}

int TClientImage::Expand()
{
    int shown = 0;
    EnterCriticalSection(&m_FrameLock);
    unsigned long bytes = GetImageBytes();
    // The bounded decoder never reads past the stream nor writes past the header's length.
    if (bytes && FrameStreamPixelBytes(m_Compressed) == bytes &&
        UnCompressTMemoryTypeA(static_cast<unsigned char*>(m_Compressed), m_Compressed.GetSize(),
                               m_Decoded) &&
        m_Decoded.GetSize() == bytes) {
        LockImage();
        TDIBitmap* bitmap = m_Context.LookImgeObject();
        if (bitmap && static_cast<unsigned long>(bitmap->GetLineByte()) *
                              static_cast<unsigned long>(bitmap->GetHeight()) ==
                          bytes) {
            memcpy(bitmap->GetLpPixel(), static_cast<unsigned char*>(m_Decoded), bytes);
            shown = 1;
        }
        UnlockImage();
    }
    LeaveCriticalSection(&m_FrameLock);
    HWND window = m_MainWindow.load();
    if (shown && window) SendNotifyMessageA(window, UM_IMAGE_READY, 0, 0);
    return shown;
}

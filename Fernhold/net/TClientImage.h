// The client's copy of the remote screen: remote size, the last compressed frame and
// the 16-bit image the view windows draw from.
#pragma once

#include <Inkwell/TMemDC.h>
#include <Keelwork/TMemory.h>
#include <Keelwork/TobjectBase.h>

#include <windows.h>

#include <atomic>

// The clip region: the part of the remote screen the right panel shows at actual size.
constexpr long CLIP_WIDTH = 240;
constexpr long CLIP_HEIGHT = 180;

// The remote screen as the view windows see it at one moment: its size (0 x 0 while
// unknown) and the clip region's left-top corner.
struct RemoteView {
    long width;
    long height;
    POINT clip;
};

// The clip origin nearest to wanted that keeps the clip region inside a remote screen of
// width x height; 0 on a side shorter than the region (that side is shown whole).
POINT ClampClipOrigin(POINT wanted, long width, long height);

// Owned by the client engine. The image lock guards the image context, the remote size
// and the clip origin (image link, client thread, main window and views take it); the
// frame lock
// guards the two frame buffers. The client thread holds the frame lock while it takes
// the image lock; nobody takes them the other way round.
class TClientImage : public TobjectBase {
public:
    TClientImage();
    ~TClientImage();
    TClientImage(const TClientImage&) = delete;
    TClientImage& operator=(const TClientImage&) = delete;

    // Window that hears UM_IMAGE_READY after each expanded frame (may be null).
    void SetMainWindow(HWND window) { m_MainWindow = window; }

    // Remote size 0 x 0 and no image, as at each connect.
    void Reset();
    // Image link: stores the remote size and makes the image anew, unless it is unchanged;
    // the clip origin is brought inside the new size.
    void SetRemoteSize(long width, long height);
    // Under the image lock: the remote size (0 x 0 while unknown).
    SIZE GetRemoteSize();
    // Under the image lock: size and clip origin together.
    RemoteView GetView();
    // Caller holds the image lock (drawing): the view with its size bounded by the image
    // that exists, 0 x 0 without one, so no drawing reads past the pixels.
    RemoteView GetDrawableView();
    // Main thread (the view windows): moves the clip region to wanted, kept inside the
    // remote screen (ClampClipOrigin).
    void SetClipOrigin(POINT wanted);
    // Pixel bytes the image holds (line bytes x height); 0 while there is no image.
    unsigned long GetImageBytes();
    // Image link: exchanges the received stream with the held compressed frame.
    void SwapInFrame(TMemory& received);
    // Client thread, TM_FRAME_RECEIVED: expands the held frame into the image when it
    // fits exactly and tells the main window. Returns 1 when the image changed; on a
    // frame of another size or a damaged stream the image keeps its content.
    int Expand();

    // For drawing: take the image lock around every use of the context.
    void LockImage() { EnterCriticalSection(&m_ImageLock); }
    void UnlockImage() { LeaveCriticalSection(&m_ImageLock); }
    TMemDC& GetContext() { return m_Context; }

private:
    CRITICAL_SECTION m_ImageLock;
    CRITICAL_SECTION m_FrameLock;
    long m_RemoteWidth = 640;
    long m_RemoteHeight = 480;
    POINT m_Clip{0, 0};
    TMemory m_Compressed;
    TMemory m_Decoded;
    TMemDC m_Context;
    std::atomic<HWND> m_MainWindow{nullptr};
};

// The uncompressed length a frame stream announces (header offset 8); 0 when the
// stream is too short to have a header.
unsigned long FrameStreamPixelBytes(const TMemory& stream);

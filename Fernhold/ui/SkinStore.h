// The shared skin: cursors, brushes, pens and fonts, the eight window canvases with the
// bitmaps they are composed from, the reduced image of the remote screen, the skin lock.
#pragma once

#include <Inkwell/TDIBitmap.h>
#include <Inkwell/TFont.h>
#include <Inkwell/TGdiObject.h>
#include <Inkwell/TMemDC.h>
#include <Keelwork/TString.h>

#include <windows.h>

// Canvases, one per skinned window, in loading order; each has a bitmap group.
enum SkinCanvas : int {
    CANVAS_TITLEBAR = 0, // 640 x 24
    CANVAS_MENU,         // 260 x 18
    CANVAS_MAXVIEW,      // 360 x 280, the reduced whole-screen view
    CANVAS_MINVIEW,      // 280 x 220, the actual-size range view
    CANVAS_CONTROL,      // 280 x 60
    CANVAS_STATE,        // 640 x 24
    CANVAS_FULLVIEW,     // 376 x 44, frame art of the full-size view window
    CANVAS_STRIP,        // 300 x 20, control strip of the full-size view
    CANVAS_COUNT
};

constexpr int SKIN_BRUSHES = 3;
constexpr int SKIN_PENS = 7;
constexpr int SKIN_FONTS = 2;
constexpr int SKIN_MAX_GROUP = 5;
constexpr long REDUCED_WIDTH = 320;
constexpr long REDUCED_HEIGHT = 240;

// One instance, made by the entry point before the main window and reached through
// g_lpSkinStore. Cursors, brushes, pens and fonts live as long as the store; canvases and
// bitmaps are loaded on the first Lock, released while the main window is minimised
// (suspended) and loaded again on the next Lock after it is restored. The skin lock
// guards canvases and bitmaps: loading, releasing and composing run on the main thread;
// the image path takes the client's image lock first and this lock second.
class SkinStore {
public:
    // Paths of the bitmap files are relative to the current directory (the program's
    // folder); tests point the store at a folder of their own.
    explicit SkinStore(const char* folder = "./Resource");
    ~SkinStore();
    SkinStore(const SkinStore&) = delete;
    SkinStore& operator=(const SkinStore&) = delete;

    // Loads when needed, then enters the skin lock: 1. 0 (without locking) while
    // suspended: the caller draws nothing.
    int Lock();
    void Unlock() { LeaveCriticalSection(&m_Lock); }
    // 1 at once if loaded, 0 while suspended; else makes the canvases with their
    // bitmaps, converted to 32-bit pixels with their masks as alpha, and the reduced
    // canvas, then composes the caption gradients. A missing or damaged file leaves its
    // bitmap empty; drawing from it draws nothing.
    int Load();
    // Deletes every canvas and bitmap; the store is unloaded.
    void Release();
    // Set by the main window while it is minimised.
    void SetSuspended(int suspended) { m_Suspended = suspended; }
    int IsSuspended() const { return m_Suspended; }
    int IsLoaded() const { return m_Loaded; }

    // Writes the system's caption colours as two 191-pixel gradient rows into the third
    // bitmap of the title-bar group: inactive in rows 0 to 7, active in rows 8 to 15.
    // Caller holds the skin lock (or is loading).
    void ComposeCaptionGradients();
    // Stretches the whole remote image into the reduced canvas. Caller holds the
    // client's image lock, then the skin lock.
    void ComposeReducedImage(TDibFeeld& remote);

    // Cursor A over a draggable region, cursor B while dragging.
    HCURSOR GetHoverCursor() const { return m_HoverCursor; }
    HCURSOR GetDragCursor() const { return m_DragCursor; }
    // 0 the button face, 1 grey 0x8C8C8C, 2 black.
    TBrush& GetBrush(int index) { return m_Brushes[index]; }
    TPen& GetPen(int index) { return m_Pens[index]; }
    // 0 bold 11-pixel, 1 light 12-pixel, both in the Japanese Gothic face.
    TFont& GetFont(int index) { return m_Fonts[index]; }
    // Under the skin lock, while loaded.
    TMemDC& GetCanvas(SkinCanvas canvas) { return m_Canvases[canvas]; }
    // The group's bitmap (never null while loaded; empty when its file was missing).
    TDIBitmap* GetBitmap(SkinCanvas canvas, int index) const { return m_Groups[canvas][index]; }
    int GetBitmapCount(SkinCanvas canvas) const;
    TMemDC& GetReducedCanvas() { return m_Reduced; }

private:
    TString FilePath(const char* name) const;

    TString m_Folder;
    HCURSOR m_HoverCursor = nullptr;
    HCURSOR m_DragCursor = nullptr;
    TBrush m_Brushes[SKIN_BRUSHES];
    TPen m_Pens[SKIN_PENS];
    TFont m_Fonts[SKIN_FONTS];
    TDIBitmap* m_Groups[CANVAS_COUNT][SKIN_MAX_GROUP] = {};
    TMemDC m_Canvases[CANVAS_COUNT];
    TMemDC m_Reduced;
    CRITICAL_SECTION m_Lock;
    int m_Loaded = 0;
    int m_Suspended = 0;
};

// The one store; set by the entry point (tests set their own). Main thread.
extern SkinStore* g_lpSkinStore;

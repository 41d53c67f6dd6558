// Base of the skinned windows: a canvas composed under the skin lock and copied to the
// screen in one BitBlt.
#pragma once

#include "ui/SkinStore.h"
#include "ui/TUiContext.h"

#include <Panekind/TWndCore.h>

// Created with the program's class and given its own user procedure. A subclass composes
// its canvas in Compose (called under the skin lock, only while the skin is loaded) and
// handles its messages in OnMessage. Main thread.
class TSkinWindow : public TWndCore {
public:
    TSkinWindow(TUiContext& context, SkinCanvas canvas);

    // A visible child (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) of
    // parent at rect (the parent's client coordinates); 1 on success.
    int CreateChild(HWND parent, const char* text, const RECT& rect, LONG_PTR id);
    // Composes the canvas under the skin lock (nothing while the skin is suspended) and,
    // when invalidate is non-zero, invalidates the window without erasing.
    void Repaint(int invalidate);

protected:
    virtual void Compose(TMemDC& canvas) = 0;
    // A message of the window; 1 when handled, with the answer in *result. Unhandled
    // messages go to DefWindowProcA.
    virtual int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // WM_PAINT, under the skin lock: copies the canvas to the window in one BitBlt.
    virtual void PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client);
    // Posts to the main window.
    void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) const;
    // A hover help text in the state window (a static text; priority 0).
    void ShowStatusText(const char* text) const;
    // The colour of a hit map at a client point, alpha cleared (black outside it).
    // Caller holds the skin lock.
    static COLORREF HitColour(TDIBitmap* hitMap, int x, int y);

    TUiContext& m_Context;
    SkinStore& m_Skin;
    SkinCanvas m_Canvas;

    // The procedure every skinned window is given: OnMessage first, then the paint.
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // WM_PAINT: the canvas as it was last composed; nothing while the skin is suspended.
    void Paint();
};

// Makes core's window a child of parent with the program's class: text, rectangle (the
// parent's client coordinates), ID, style and user procedure. 1 on success.
int CreateChildWindow(TWndCore& core, HWND parent, const char* text, const RECT& rect, LONG_PTR id,
                      unsigned long style, TWndUserProc proc);

// A hit colour as red, green, blue.
constexpr COLORREF HitRgb(int red, int green, int blue) { return RGB(red, green, blue); }

// A topmost borderless window that covers the whole display with one bitmap, so that
// the desktop the server captures is a known picture.
#pragma once

#include <windows.h>

class TDIBitmap;

// Lives on the thread that made it; that thread must dispatch its messages (Pump).
class ScreenPicture {
public:
    // Borrows picture (a reference is taken and given back at destruction).
    explicit ScreenPicture(TDIBitmap* picture);
    ~ScreenPicture();
    ScreenPicture(const ScreenPicture&) = delete;
    ScreenPicture& operator=(const ScreenPicture&) = delete;

    // 1 when the window exists.
    int IsShown() const { return m_Window != nullptr; }

    // Dispatches the calling thread's messages for about milliseconds.
    static void Pump(DWORD milliseconds);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    TDIBitmap* m_Picture;
    HWND m_Window = nullptr;
};

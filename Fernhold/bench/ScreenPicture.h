// A topmost borderless window that covers the whole display with one bitmap, so that
// the desktop the server captures is a known picture.
#pragma once

#include <windows.h>

#include <functional>

class TDIBitmap;

// Dispatches the calling thread's messages for up to milliseconds. A message for
// which stop returns true is not dispatched and ends the wait: the result is true.
bool DispatchMessagesFor(DWORD milliseconds, const std::function<bool(const MSG&)>& stop);

// Lives on the thread that made it; that thread must dispatch its messages.
class ScreenPicture {
public:
    // Borrows picture (a reference is taken and given back at destruction).
    explicit ScreenPicture(TDIBitmap* picture);
    ~ScreenPicture();
    ScreenPicture(const ScreenPicture&) = delete;
    ScreenPicture& operator=(const ScreenPicture&) = delete;

    // 1 when the window exists.
    int IsShown() const { return m_Window != nullptr; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    TDIBitmap* m_Picture;
    HWND m_Window = nullptr;
};

// Full-screen picture window of the frame benchmark.
#include "ScreenPicture.h"

#include <Inkwell/TDIBitmap.h>

namespace {
constexpr const char* PICTURE_CLASS = "FernFrameBenchPicture";

void Pump(DWORD milliseconds)
{
    DispatchMessagesFor(milliseconds, [](const MSG&) { return false; });
}
} // namespace

ScreenPicture::ScreenPicture(TDIBitmap* picture) : m_Picture(picture)
{
    m_Picture->AddRef();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = PICTURE_CLASS;
    RegisterClassA(&windowClass); // fails harmlessly when a previous picture registered it
    m_Window = CreateWindowExA(WS_EX_TOPMOST, PICTURE_CLASS, "picture", WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                               nullptr, nullptr, windowClass.hInstance, this);
    if (!m_Window) return;
    SetForegroundWindow(m_Window);
    UpdateWindow(m_Window);
    // The X server shows the window only after a round of messages.
    Pump(300);
}

ScreenPicture::~ScreenPicture()
{
    if (m_Window) DestroyWindow(m_Window);
    Pump(100);
    m_Picture->Release();
}

bool DispatchMessagesFor(DWORD milliseconds, const std::function<bool(const MSG&)>& stop)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (stop(message)) return true;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_ALLINPUT);
    }
}

LRESULT CALLBACK ScreenPicture::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<ScreenPicture*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->Paint();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ScreenPicture::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_Window, &paint);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, static_cast<HBITMAP>(*m_Picture));
    ::BitBlt(dc, 0, 0, m_Picture->GetWidth(), m_Picture->GetHeight(), source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(m_Window, &paint);
}

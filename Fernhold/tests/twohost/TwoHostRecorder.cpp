// A topmost window over the whole of a test host's display that takes the foreground
// and the focus, shows a known picture and writes every key and button press it
// receives to standard output ("down 41", "up 41", "click 600 469" in screen pixels),
// so a script can see what a remote copy captured and replayed there.
//   TwoHostRecorder <seconds> [pattern | changing <milliseconds>]
// pattern (the default) shows TwoHostPattern::At; changing fills the screen with the
// next TwoHostPattern::StepColour every so many milliseconds. Ends by itself after
// the given seconds.
#include "TwoHostPattern.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR TIMER_END = 1;
constexpr UINT_PTR TIMER_STEP = 2;

// Set once before the window exists; read by its procedure on the same thread.
HBITMAP g_Pattern = nullptr;
unsigned g_Step = 0;

// The pattern of this display, drawn once into a DIB section.
HBITMAP MakePattern(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF colour = TwoHostPattern::At(x, y, width, height);
            pixels[y * width + x] =
                GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
        }
    return bitmap;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    if (g_Pattern) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, g_Pattern);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else {
        HBRUSH brush = CreateSolidBrush(TwoHostPattern::StepColour(g_Step));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        printf("down %02X\n", static_cast<unsigned>(wParam));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        printf("up %02X\n", static_cast<unsigned>(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        // The window lies at the screen's origin: client positions are screen pixels.
        POINTS at = MAKEPOINTS(lParam);
        printf("click %d %d\n", at.x, at.y);
        return 0;
    }
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wParam == TIMER_END) DestroyWindow(window);
        if (wParam == TIMER_STEP) {
            ++g_Step;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    UINT seconds = argc > 1 ? static_cast<UINT>(strtoul(argv[1], nullptr, 10)) : 300;
    bool changing = argc > 2 && strcmp(argv[2], "changing") == 0;
    UINT stepMilliseconds = changing && argc > 3 ? strtoul(argv[3], nullptr, 10) : 20;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (!changing && !(g_Pattern = MakePattern(width, height))) return 1;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "TwoHostRecorder";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "Recorder", WS_POPUP, 0, 0, width,
                        height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
    SetTimer(window, TIMER_END, seconds * 1000, nullptr);
    if (changing) SetTimer(window, TIMER_STEP, stepMilliseconds, nullptr);
    bool focused = GetForegroundWindow() == window && GetFocus() == window;
    printf(focused ? "ready %d %d\n" : "no focus %d %d\n", width, height);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (g_Pattern) DeleteObject(g_Pattern);
    return 0;
}

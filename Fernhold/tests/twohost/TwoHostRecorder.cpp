// A visible window that takes the foreground and the focus on a test host's display and
// writes every key it receives to standard output ("down 41", "up 41"), so a script can
// see which keys a remote copy replayed there.
//   TwoHostRecorder <seconds>   (ends by itself after that long)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT_PTR TIMER_END = 1;

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
    case WM_TIMER:
        if (wParam == TIMER_END) DestroyWindow(window);
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
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "TwoHostRecorder";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, "Recorder", WS_OVERLAPPEDWINDOW, 100, 100,
                        400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetFocus(window);
    SetTimer(window, TIMER_END, seconds * 1000, nullptr);
    printf(GetForegroundWindow() == window && GetFocus() == window ? "ready\n" : "no focus\n");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

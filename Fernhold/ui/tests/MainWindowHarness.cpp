// Main-window harness: the window, its collaborators and screen reading.
#include "ui/tests/MainWindowHarness.h"

#include "ui/TFernWndClass.h"

#include <commctrl.h>

namespace {
TFernWndClass* g_TestClass = nullptr;
} // namespace

void RegisterProgramClass()
{
    if (g_TestClass) return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_TestClass = new TFernWndClass;
    g_TestClass->RegisterClassExA();
    g_lpWndClass = g_TestClass;
}

MainWindowHarness::MainWindowHarness(const char* skinFolder) : skin(skinFolder), window(nullptr)
{
    RegisterProgramClass();
    settings.port = htons(DEFAULT_PORT);
    window = new TMainWindow(settings, client, server, skin, shell);
}

MainWindowHarness::~MainWindowHarness()
{
    if (window->GetHandle()) DestroyWindow(window->GetHandle());
    window->Release();
    DrainMessages();
}

bool MainWindowHarness::Create()
{
    bool created = window->Create() == 1;
    DrainMessages();
    return created;
}

HWND MainWindowHarness::Child(int id) const
{
    HWND main = window->GetHandle();
    if (HWND child = GetDlgItem(main, id)) return child;
    if (HWND child = GetDlgItem(GetDlgItem(main, 100), id)) return child;
    HWND fullView = FindWindowExA(nullptr, nullptr, "FernholdWnd", "FullView Window");
    return GetDlgItem(fullView, id);
}

ScreenPixels::ScreenPixels(const RECT& rect)
    : m_Width(rect.right - rect.left), m_Height(rect.bottom - rect.top),
      m_Pixels(static_cast<size_t>(m_Width) * m_Height)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_Width;
    info.bmiHeader.biHeight = -m_Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, m_Width, m_Height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const unsigned char* p = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < m_Pixels.size(); ++i)
        m_Pixels[i] = RGB(p[4 * i + 2], p[4 * i + 1], p[4 * i]);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void DrainMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

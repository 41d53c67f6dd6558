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

ProgramObjects::ProgramObjects()
{
    RegisterProgramClass();
    g_lpSkinStore = &m_Skin;
}

ProgramObjects::~ProgramObjects() { g_lpSkinStore = nullptr; }

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

void DrainMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string ListRowText(HWND list, int row, int column)
{
    char text[1024] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

void MouseAt(POINT point, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>(point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void MoveInSteps(POINT from, POINT to)
{
    for (int step = 1; step <= 8; ++step) {
        Sleep(30);
        MouseAt(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}, 0);
    }
}

void PressMoveRelease(POINT from, POINT to)
{
    MouseAt(from, 0);
    Sleep(50);
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    MoveInSteps(from, to);
    Sleep(50);
    MouseAt(to, MOUSEEVENTF_LEFTUP);
}

void Drag(POINT from, POINT by) { PressMoveRelease(from, POINT{from.x + by.x, from.y + by.y}); }

POINT OnScreen(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

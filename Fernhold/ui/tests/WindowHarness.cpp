// Window test support: fixture skin, stand-in main window, the person with xdotool, and
// screen pixels.
#include "ui/tests/WindowHarness.h"

#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/TFernWndClass.h"

#include <Panekind/TWindow.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace {

using PixelOf = std::function<COLORREF(int x, int y)>;

// A 24-bit bottom-up Windows bitmap file.
void WriteBitmapFile(const std::string& path, int width, int height, const PixelOf& pixel)
{
    const int lineBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + lineBytes * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = lineBytes * height;
    std::vector<unsigned char> rows(lineBytes * height, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &rows[(height - 1 - y) * lineBytes];
        for (int x = 0; x < width; ++x) {
            COLORREF colour = pixel(x, y);
            row[3 * x] = GetBValue(colour);
            row[3 * x + 1] = GetGValue(colour);
            row[3 * x + 2] = GetRValue(colour);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    std::fclose(out);
}

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

PixelOf Solid(COLORREF colour)
{
    return [colour](int, int) { return colour; };
}

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLACK = RGB(0, 0, 0);

// The icon sheet: column k at 19k holds the looks of command k, mask rows then image
// rows; column 0 is the selection mark, a two-pixel strip at the icon's left edge.
COLORREF IconSheetPixel(int x, int y)
{
    const int column = x / 19, cx = x % 19, look = y / 32, row = y % 32;
    const bool image = row >= 16;
    const int iy = row % 16;
    const COLORREF colours[3] = {fixture::ICON_NORMAL, fixture::ICON_CHECKED, fixture::ICON_GREYED};
    bool painted = column == 0 ? cx < 2 : Inside(cx, iy, 3, 2, 15, 14);
    if (cx >= 18) painted = false;
    if (!image) return painted ? BLACK : WHITE;
    if (!painted) return BLACK;
    return column == 0 ? fixture::SELECTION_MARK : colours[look];
}

TWindowHarness* g_Harness = nullptr;

} // namespace

void WriteFixtureSkin(const std::string& folder)
{
    auto path = [&](const char* name) { return folder + "\\" + name; };
    // Title bar: the art covers everything but the caption band; the hit map is blue
    // (drag) but for the system-menu spot, the two buttons and a strip of no meaning.
    WriteBitmapFile(path("100.bmp"), 640, 24, Solid(fixture::TITLE_ART));
    WriteBitmapFile(path("100a.bmp"), 640, 24,
                    [](int x, int y) { return Inside(x, y, 142, 13, 333, 21) ? BLACK : WHITE; });
    WriteBitmapFile(path("101.bmp"), 640, 24, [](int x, int y) {
        if (Inside(x, y, 2, 2, 28, 22)) return BLACK;
        if (Inside(x, y, 338, 3, 347, 12)) return RGB(255, 255, 0);
        if (Inside(x, y, 347, 3, 356, 12)) return RGB(255, 0, 0);
        if (x >= 628) return RGB(255, 255, 255);
        return RGB(0, 0, 255);
    });
    WriteBitmapFile(path("102.bmp"), 191, 16, Solid(RGB(128, 128, 128)));
    WriteBitmapFile(path("103.bmp"), 18, 27, [](int x, int y) {
        return (x < 9 ? fixture::MINIMISE_LOOKS : fixture::CLOSE_LOOKS)[y / 9];
    });
    // Menu window: background, the titles' three looks, an item art that lets the item
    // colour through, and the icon sheet.
    WriteBitmapFile(path("200.bmp"), 260, 18, Solid(WHITE));
    WriteBitmapFile(path("201.bmp"), 260, 18, Solid(fixture::MENU_BACKGROUND));
    WriteBitmapFile(path("201a.bmp"), 260, 18, Solid(WHITE));
    WriteBitmapFile(path("202.bmp"), 256, 42,
                    [](int x, int y) { return fixture::MenuTitleColour(x / 64 + 1, y / 14); });
    WriteBitmapFile(path("202a.bmp"), 256, 42, Solid(WHITE));
    WriteBitmapFile(path("203.bmp"), 100, 16, Solid(RGB(255, 0, 0)));
    WriteBitmapFile(path("203a.bmp"), 100, 16, Solid(BLACK));
    WriteBitmapFile(path("204.bmp"), 21 * 19, 96, IconSheetPixel);
    // State window: plain and highlighted line.
    WriteBitmapFile(path("600.bmp"), 640, 48, [](int, int y) {
        return y < 24 ? fixture::STATE_PLAIN : fixture::STATE_HIGHLIGHT;
    });
    WriteBitmapFile(path("600a.bmp"), 640, 48, Solid(WHITE));
}

TWindowHarness::TWindowHarness(bool withSkin)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_Folder = std::string(temp) + "fernhold-window-skin-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(m_Folder.c_str(), nullptr);
    if (withSkin) WriteFixtureSkin(m_Folder);

    if (!g_lpWndClass) {
        static TFernWndClass windowClass;
        windowClass.RegisterClassExA();
        g_lpWndClass = &windowClass;
    }
    m_Skin = new SkinStore(m_Folder.c_str());
    m_Context = new TUiContext{settings, m_Client, m_Server, *m_Skin, shell};
    g_Harness = this;

    m_Main = new TWndCore;
    TWindow window(*m_Main);
    window.SetStyle(0x820A0000 | WS_VISIBLE);
    window.SetWindowTextA(TString(PROGRAM_TITLE));
    window.SetWindowRect(RECT{100, 100, 740, 428});
    window.SetWindowProc(MainProc);
    if (!window.CreateWindowExA(*g_lpWndClass)) return;
    m_Context->mainWindow = m_Main->GetHandle();
    m_Titlebar = new TTitlebarWindow(*m_Context);
    m_Menu = new TMenuWindow(*m_Context);
    m_State = new TStateWindow(*m_Context);
    if (!m_Titlebar->Create(Main()) || !m_Menu->Create(Titlebar()) || !m_State->Create(Main()))
        return;
    Repaint(0, 1);
    SetForegroundWindow(Main());
    UpdateWindow(Main());
    m_Ready = true;
}

TWindowHarness::~TWindowHarness()
{
    if (m_Main->GetHandle()) DestroyWindow(m_Main->GetHandle());
    // The main window's end asks the message loop to stop; nothing runs one here.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    for (TWndCore* core : {static_cast<TWndCore*>(m_State), static_cast<TWndCore*>(m_Menu),
                           static_cast<TWndCore*>(m_Titlebar), m_Main})
        if (core) core->Release();
    g_Harness = nullptr;
    delete m_Context;
    delete m_Skin;
    for (const char* name : {"100", "100a", "101", "102", "103", "200", "201", "201a", "202",
                             "202a", "203", "203a", "204", "600", "600a"})
        DeleteFileA((m_Folder + "\\" + name + ".bmp").c_str());
    RemoveDirectoryA(m_Folder.c_str());
}

LRESULT TWindowHarness::MainProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_Harness && g_Harness->m_Main == core)
        return g_Harness->OnMainMessage(message, wParam, lParam);
    return core->DefMessageProc(message, wParam, lParam);
}

LRESULT TWindowHarness::OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message >= WM_USER && message <= UM_QUIT_REQUEST) || message == WM_SYSCOMMAND) {
        std::lock_guard<std::mutex> hold(m_Lock);
        m_Received.push_back({message, wParam, lParam});
    }
    switch (message) {
    case WM_NCHITTEST:
        return HTCAPTION;
    case WM_ACTIVATEAPP:
        m_Context->appActive = wParam != 0;
        PostMessageA(Main(), UM_REPAINT, 1, 1);
        break;
    case WM_SYSCOLORCHANGE:
        if (m_Skin->Lock()) {
            m_Skin->ComposeCaptionGradients();
            m_Skin->Unlock();
        }
        PostMessageA(Main(), UM_REPAINT, 0, 1);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) break;
        return 0; // recorded; the real main window asks before it closes
    case UM_REPAINT:
        Repaint(wParam, lParam);
        return 0;
    case UM_STATUS_TEXT: {
        const char* text = reinterpret_cast<const char*>(wParam);
        {
            std::lock_guard<std::mutex> hold(m_Lock);
            m_LastStatusText = text ? text : "";
        }
        m_State->SetStatusText(text, static_cast<uint32_t>(lParam));
        return 0;
    }
    default:
        break;
    }
    return m_Main->DefMessageProc(message, wParam, lParam);
}

void TWindowHarness::Repaint(WPARAM child, LPARAM invalidate)
{
    if (child == 0 || child == 1) m_Titlebar->Repaint(static_cast<int>(invalidate));
    if (child == 0 || child == 2) m_Menu->Repaint(static_cast<int>(invalidate));
    if (child == 0 || child == 6) m_State->Repaint(static_cast<int>(invalidate));
}

std::vector<Received> TWindowHarness::ReceivedMessages() const
{
    std::lock_guard<std::mutex> hold(m_Lock);
    return m_Received;
}

bool TWindowHarness::HasReceived(UINT message, WPARAM wParam) const
{
    for (const Received& received : ReceivedMessages())
        if (received.message == message && received.wParam == wParam) return true;
    return false;
}

void TWindowHarness::ClearReceived()
{
    std::lock_guard<std::mutex> hold(m_Lock);
    m_Received.clear();
    m_LastStatusText.clear();
}

std::string TWindowHarness::LastStatusText() const
{
    std::lock_guard<std::mutex> hold(m_Lock);
    return m_LastStatusText;
}

POINT TWindowHarness::OnScreen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

POINT TWindowHarness::MenuTitleOnScreen(int title) const
{
    return OnScreen(Menu(), POINT{2 + 64 * (title - 1) + 32, 8});
}

bool TPerson::IsAvailable()
{
    return GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES &&
           GetEnvironmentVariableA("DISPLAY", nullptr, 0) > 0;
}

bool TPerson::MoveTo(POINT screen)
{
    return Run("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

bool TPerson::Click(POINT screen)
{
    return Run("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
               " click 1");
}

bool TPerson::Press(POINT screen)
{
    return Run("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
               " mousedown 1");
}

bool TPerson::Release() { return Run("mouseup 1"); }

bool TPerson::Run(const std::string& arguments)
{
    // xdotool is a program of the X side; Wine starts it, but its end cannot be waited
    // for through a process handle, so it leaves a marker file once it is done.
    std::string marker = "/tmp/fernhold-person-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++m_Gestures);
    std::string markerOnDrive = "Z:" + marker;
    for (char& c : markerOnDrive)
        if (c == '/') c = '\\';
    std::string command = "/bin/sh -c \"/usr/bin/xdotool " + arguments + " && : > " + marker + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    bool done = WaitFor(
        [&] { return GetFileAttributesA(markerOnDrive.c_str()) != INVALID_FILE_ATTRIBUTES; },
        10000);
    DeleteFileA(markerOnDrive.c_str());
    return done;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
}

namespace {
void CancelOpenMenus()
{
    while (HWND popup = VisiblePopupMenu()) {
        PostMessageA(popup, WM_CANCELMODE, 0, 0);
        if (!WaitFor([popup] { return !IsWindowVisible(popup); }, 2000)) return;
    }
}

} // namespace

bool RunAsPerson(const std::function<void()>& scenario, DWORD timeoutMs)
{
    volatile LONG finished = 0;
    std::thread person([&] {
        scenario();
        // A pop-up left open (by a failed check) holds this thread's caller in its loop.
        CancelOpenMenus();
        InterlockedExchange(&finished, 1);
    });
    bool inTime = PumpUntil([&] { return finished != 0; }, timeoutMs);
    if (!inTime) PumpUntil([&] { return finished != 0; }, 60000);
    person.join();
    return inTime;
}

HWND VisiblePopupMenu()
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32768", nullptr)))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

HMENU MenuOfPopup(HWND popup)
{
    DWORD_PTR menu = 0;
    if (!popup || !SendMessageTimeoutA(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu))
        return nullptr;
    return reinterpret_cast<HMENU>(menu);
}

RECT ClientOnScreen(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND CaptureOfThread(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndCapture;
}

namespace {
struct OtherWindowStart {
    RECT rect;
    HWND window = nullptr;
    HANDLE ready = nullptr;
};

DWORD WINAPI OtherWindowThread(void* parameter)
{
    auto* start = static_cast<OtherWindowStart*>(parameter);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "FernOtherProgramWnd";
    RegisterClassA(&windowClass);
    const RECT& r = start->rect;
    HWND window = CreateWindowExA(0, "FernOtherProgramWnd", "other", WS_POPUP | WS_VISIBLE, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    start->window = window;
    SetEvent(start->ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnregisterClassA("FernOtherProgramWnd", windowClass.hInstance);
    return 0;
}
} // namespace

TOtherWindow::TOtherWindow(const RECT& rect)
{
    OtherWindowStart start{rect, nullptr, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    m_Thread = CreateThread(nullptr, 0, OtherWindowThread, &start, 0, nullptr);
    if (m_Thread) WaitForSingleObject(start.ready, 10000);
    CloseHandle(start.ready);
    m_Window = start.window;
}

TOtherWindow::~TOtherWindow()
{
    if (m_Window) PostMessageA(m_Window, WM_CLOSE, 0, 0);
    if (!m_Thread) return;
    WaitForSingleObject(m_Thread, 10000);
    CloseHandle(m_Thread);
}

void WindowTest::SetUp()
{
    if (!TPerson::IsAvailable()) GTEST_SKIP() << "no X server with xdotool";
    harness = std::make_unique<TWindowHarness>(WithSkin());
    ASSERT_TRUE(harness->IsReady());
    // Shown once the title bar's art (or without art, its face) is on the screen.
    RECT bar = ClientOnScreen(harness->Titlebar());
    COLORREF shown = WithSkin() ? fixture::TITLE_ART : GetSysColor(COLOR_BTNFACE);
    ASSERT_TRUE(
        PumpUntil([&] { return TScreenShot(bar).At(fixture::NOTHING_AREA) == shown; }, 10000));
}

void WindowTest::TearDown()
{
    // The pointer leaves the windows, so no hover is left for the next test.
    if (harness) person.MoveTo(POINT{1200, 1000});
    harness.reset();
}

// The operator's windows under real input (SendInput on this display) and read back
// from the screen.
#include "TwoHostUi.h"

#include "TwoHostPattern.h"
#include "net/MainWindowMessages.h"
#include "ui/DestinationTexts.h"
#include "ui/ProgramResources.h"
#include "ui/tests/TScreenShot.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace TwoHostUi {
namespace {

constexpr const char MAIN_CLASS[] = "FernholdWnd";
constexpr const char MAIN_TITLE[] = "Fernhold ver1.13";
constexpr const char FULL_VIEW_TITLE[] = "FullView Window";
constexpr int LEFT_PANEL = 300, RIGHT_PANEL = 400, CONTROL_WINDOW = 500, CONTROL_STRIP = 501;
constexpr int DESTINATION_LIST = 310, ADDRESS_LIST = 410;
constexpr int REDUCED_PANE = 320, CLIP_PANE = 420, FULL_PANE = 320;
constexpr int REDUCED_WIDTH = 320, REDUCED_HEIGHT = 240, CLIP_WIDTH = 240, CLIP_HEIGHT = 180;

// A point inside the visible part of each button of the control window and of the
// full-size view's strip (the hit map decides which button a point is; pause and
// connect overlap, connect shows from x 134 in the window, 240 in the strip).
struct Button {
    const char* name;
    POINT inWindow;
    POINT inStrip;
};
constexpr Button BUTTONS[] = {{"reduced", {18, 8}, {120, 9}}, {"clip", {40, 8}, {142, 9}},
                              {"full", {66, 8}, {168, 9}},    {"disconnect", {99, 8}, {206, 9}},
                              {"pause", {122, 8}, {228, 9}},  {"connect", {158, 8}, {264, 9}}};

} // namespace

HWND MainWindow()
{
    HWND window = FindWindowA(MAIN_CLASS, MAIN_TITLE);
    if (!window) fprintf(stderr, "no main window\n");
    return window;
}

namespace {

HWND Child(int panel, int id) { return GetDlgItem(GetDlgItem(MainWindow(), panel), id); }

HWND FullView() { return FindWindowExA(nullptr, nullptr, MAIN_CLASS, FULL_VIEW_TITLE); }

bool Shown(HWND window) { return window && IsWindowVisible(window); }

} // namespace

// A click at a point of a window's client area: move, press and release in one
// batch of the system's input queue, so nothing comes between them.
bool ClickAt(HWND window, int x, int y)
{
    POINT point{x, y};
    if (!window || !ClientToScreen(window, &point)) return false;
    INPUT inputs[3]{};
    const DWORD buttons[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        inputs[i].mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        inputs[i].mi.dwFlags = buttons[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

namespace {

RECT ClientOnScreen(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// The expected colour of each pane pixel, or false where the pane may show either
// of two colours (an edge of the picture, the clip outline).
using Expectation = std::function<bool(int x, int y, COLORREF& colour)>;

// The reduced pane samples a remote pixel of each pane pixel's cell; where the cell
// and its surroundings have one colour (the corners tell, the picture being made of
// rectangles, off the checkerboard and the clip outline's lines) the pane shows it.
Expectation Reduced(int width, int height, POINT clip)
{
    RECT outline{clip.x * REDUCED_WIDTH / width, clip.y * REDUCED_HEIGHT / height,
                 (clip.x + CLIP_WIDTH) * REDUCED_WIDTH / width,
                 (clip.y + CLIP_HEIGHT) * REDUCED_HEIGHT / height};
    return [=](int x, int y, COLORREF& colour) {
        bool nearColumn = abs(x - outline.left) <= 1 || abs(x - (outline.right - 1)) <= 1;
        bool nearRow = abs(y - outline.top) <= 1 || abs(y - (outline.bottom - 1)) <= 1;
        if ((nearColumn && y >= outline.top - 1 && y <= outline.bottom) ||
            (nearRow && x >= outline.left - 1 && x <= outline.right))
            return false;
        // The stretch may sample up to half a cell beyond the cell's own remote pixels.
        int left = std::max(0, (2 * x - 1) * width / (2 * REDUCED_WIDTH));
        int right = std::min(width - 1, ((2 * x + 3) * width - 1) / (2 * REDUCED_WIDTH));
        int top = std::max(0, (2 * y - 1) * height / (2 * REDUCED_HEIGHT));
        int bottom = std::min(height - 1, ((2 * y + 3) * height - 1) / (2 * REDUCED_HEIGHT));
        using namespace TwoHostPattern;
        if (right >= CHECKER_LEFT - 1 && left <= CHECKER_LEFT + CHECKER_SIZE &&
            bottom >= CHECKER_TOP - 1 && top <= CHECKER_TOP + CHECKER_SIZE)
            return false;
        colour = At(left, top, width, height);
        return At(right, top, width, height) == colour &&
               At(left, bottom, width, height) == colour &&
               At(right, bottom, width, height) == colour;
    };
}

// The clip pane shows the clip region pixel for pixel.
Expectation Clip(int width, int height, POINT clip)
{
    return [=](int x, int y, COLORREF& colour) {
        colour = TwoHostPattern::At(clip.x + x, clip.y + y, width, height);
        return true;
    };
}

// The full-size pane at actual size, not scrolled: the image centred on black when
// it is smaller than the pane.
Expectation Full(int width, int height, SIZE pane)
{
    int left = width < pane.cx ? (pane.cx - width) / 2 : 0;
    int top = height < pane.cy ? (pane.cy - height) / 2 : 0;
    return [=](int x, int y, COLORREF& colour) {
        int column = x - left, row = y - top;
        bool inside = column >= 0 && row >= 0 && column < width && row < height;
        colour = inside ? TwoHostPattern::At(column, row, width, height) : RGB(0, 0, 0);
        return true;
    };
}

struct Comparison {
    long checked = 0, differing = 0;
    POINT first{-1, -1};
    COLORREF seen = 0, wanted = 0;
};

// Keeps what a pane showed as a 24-bit bitmap file beside the driver, for whoever
// looks into a failed run's work folder.
void SaveSeen(const char* pane, const TScreenShot& shot)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\')
        --length;
    snprintf(path + length, MAX_PATH - length, "%s-seen.bmp", pane);
    const int rowBytes = (shot.Width() * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = shot.Width();
    info.biHeight = -shot.Height();
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + rowBytes * shot.Height();
    FILE* out = fopen(path, "wb");
    if (!out) return;
    fwrite(&file, sizeof(file), 1, out);
    fwrite(&info, sizeof(info), 1, out);
    std::vector<BYTE> row(rowBytes);
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            COLORREF colour = shot.At(x, y);
            row[3 * x] = GetBValue(colour);
            row[3 * x + 1] = GetGValue(colour);
            row[3 * x + 2] = GetRValue(colour);
        }
        fwrite(row.data(), 1, row.size(), out);
    }
    fclose(out);
    fprintf(stderr, "what the %s pane showed: %s\n", pane, path);
}

// Compares the part of the pane that lies on the screen; keeps a picture of it when
// it differs and saveAs names it.
Comparison Compare(HWND pane, const Expectation& expected, const char* saveAs = nullptr)
{
    RECT area = ClientOnScreen(pane);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible;
    Comparison result;
    if (!IntersectRect(&visible, &area, &screen)) return result;
    TScreenShot shot(visible);
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            int paneX = x + visible.left - area.left, paneY = y + visible.top - area.top;
            COLORREF colour;
            if (!expected(paneX, paneY, colour)) continue;
            ++result.checked;
            if (shot.At(x, y) == colour) continue;
            if (result.differing++ == 0) {
                result.first = POINT{paneX, paneY};
                result.seen = shot.At(x, y);
                result.wanted = colour;
            }
        }
    if (saveAs && result.differing) SaveSeen(saveAs, shot);
    return result;
}

} // namespace

bool WaitFor(const std::function<bool()>& done, DWORD seconds)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > seconds * 1000) return false;
        Sleep(100);
    }
    return true;
}

HWND ReducedPane()
{
    HWND pane = Child(LEFT_PANEL, REDUCED_PANE);
    if (!pane) fprintf(stderr, "no reduced pane\n");
    return pane;
}

int SelectRow(int row)
{
    HWND list = Child(LEFT_PANEL, DESTINATION_LIST);
    if (!Shown(list)) {
        fprintf(stderr, "the destination list is not shown\n");
        return 1;
    }
    // Rows start under the header; the list's own estimate of one and of two rows
    // gives the row height without reading its memory.
    RECT header{};
    GetWindowRect(FindWindowExA(list, nullptr, WC_HEADERA, nullptr), &header);
    int headerHeight = header.bottom - header.top;
    int one = HIWORD(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
    int two = HIWORD(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1)));
    int rowHeight = two - one;
    if (rowHeight <= 0) {
        fprintf(stderr, "cannot tell the list's row height (%d, %d)\n", one, two);
        return 1;
    }
    if (!ClickAt(list, 60, headerHeight + row * rowHeight + rowHeight / 2)) return 1;
    auto selected = [&] { return SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; };
    if (!WaitFor(selected, 10)) {
        fprintf(stderr, "row %d did not become the selection\n", row);
        return 1;
    }
    printf("row %d selected\n", row);
    return 0;
}

int Press(const char* name)
{
    for (const Button& button : BUTTONS) {
        if (strcmp(button.name, name) != 0) continue;
        // The full-size view may cover the main window; the operator then uses its strip.
        bool full = Shown(FullView());
        HWND control =
            full ? GetDlgItem(FullView(), CONTROL_STRIP) : GetDlgItem(MainWindow(), CONTROL_WINDOW);
        POINT at = full ? button.inStrip : button.inWindow;
        if (!Shown(control) || !ClickAt(control, at.x, at.y)) {
            fprintf(stderr, "cannot click %s\n", name);
            return 1;
        }
        printf("pressed %s in the %s\n", name, full ? "full-size view's strip" : "control window");
        return 0;
    }
    fprintf(stderr, "no button %s\n", name);
    return 2;
}

int Await(const char* stage, DWORD seconds)
{
    std::function<bool()> reached;
    if (strcmp(stage, "connected") == 0)
        reached = [] {
            return Shown(Child(LEFT_PANEL, REDUCED_PANE)) && Shown(Child(RIGHT_PANEL, CLIP_PANE)) &&
                   !Shown(Child(LEFT_PANEL, DESTINATION_LIST)) &&
                   !Shown(Child(RIGHT_PANEL, ADDRESS_LIST));
        };
    else if (strcmp(stage, "idle") == 0)
        reached = [] {
            return Shown(Child(LEFT_PANEL, DESTINATION_LIST)) &&
                   Shown(Child(RIGHT_PANEL, ADDRESS_LIST)) &&
                   !Shown(Child(LEFT_PANEL, REDUCED_PANE)) && !Shown(Child(RIGHT_PANEL, CLIP_PANE));
        };
    else if (strcmp(stage, "full") == 0)
        reached = [] { return Shown(FullView()) && Shown(GetDlgItem(FullView(), FULL_PANE)); };
    else if (strcmp(stage, "waiting") == 0)
        reached = [] {
            return !Shown(Child(LEFT_PANEL, DESTINATION_LIST)) &&
                   !Shown(Child(LEFT_PANEL, REDUCED_PANE));
        };
    else {
        fprintf(stderr, "no stage %s\n", stage);
        return 2;
    }
    if (!WaitFor(reached, seconds)) {
        fprintf(stderr, "the windows did not reach the %s stage\n", stage);
        return 1;
    }
    printf("%s\n", stage);
    return 0;
}

int ClickReducedPane(int x, int y)
{
    HWND pane = ReducedPane();
    if (!Shown(pane) || !ClickAt(pane, x, y)) {
        fprintf(stderr, "cannot click the reduced pane\n");
        return 1;
    }
    printf("clicked the reduced pane at %d, %d\n", x, y);
    return 0;
}

int AwaitPattern(const char* name, int width, int height, POINT clip, DWORD seconds)
{
    if (width <= 0 || height <= 0) {
        fprintf(stderr, "no display of %d x %d\n", width, height);
        return 2;
    }
    HWND pane = nullptr;
    Expectation expected;
    if (strcmp(name, "reduced") == 0) {
        pane = ReducedPane();
        expected = Reduced(width, height, clip);
    } else if (strcmp(name, "clip") == 0) {
        pane = Child(RIGHT_PANEL, CLIP_PANE);
        expected = Clip(width, height, clip);
    } else if (strcmp(name, "full") == 0) {
        pane = GetDlgItem(FullView(), FULL_PANE);
        RECT client{};
        GetClientRect(pane, &client);
        expected = Full(width, height, SIZE{client.right, client.bottom});
    } else {
        fprintf(stderr, "no pane %s\n", name);
        return 2;
    }
    if (!Shown(pane)) {
        fprintf(stderr, "the %s pane is not shown\n", name);
        return 1;
    }
    Comparison last;
    auto shows = [&] {
        last = Compare(pane, expected);
        return last.checked > 0 && last.differing == 0;
    };
    if (!WaitFor(shows, seconds)) {
        last = Compare(pane, expected, name);
        fprintf(stderr,
                "the %s pane does not show the pattern: %ld of %ld pixels differ, the first at "
                "%ld, %ld is %06lX, not %06lX\n",
                name, last.differing, last.checked, last.first.x, last.first.y, last.seen,
                last.wanted);
        return 1;
    }
    printf("the %s pane shows the pattern: %ld pixels\n", name, last.checked);
    return 0;
}

int Type(const char* keys)
{
    HWND window = MainWindow();
    if (!window) return 1;
    if (GetForegroundWindow() != window) {
        fprintf(stderr, "the main window is not the foreground window\n");
        return 1;
    }
    for (const char* key = keys; *key; ++key) {
        BYTE code = static_cast<BYTE>(*key);
        BYTE scan = static_cast<BYTE>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC));
        keybd_event(code, scan, 0, 0);
        Sleep(50);
        keybd_event(code, scan, KEYEVENTF_KEYUP, 0);
        Sleep(50);
    }
    printf("typed %s\n", keys);
    return 0;
}

int PushUpdate(int row)
{
    HWND main = MainWindow();
    if (!main) return 1;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(main, UM_SEND_UPDATE_REQUEST, static_cast<WPARAM>(row), 0, SMTO_NORMAL,
                             30000, &answer)) {
        fprintf(stderr, "the main window did not take the update command\n");
        return 1;
    }
    return 0;
}

namespace {

// The "please wait" notice owned by the main window, null while none is shown.
HWND WaitNotice(HWND main)
{
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", nullptr); dialog;
         dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
        char text[256] = {};
        if (GetWindow(dialog, GW_OWNER) != main || !IsWindowVisible(dialog)) continue;
        GetDlgItemTextA(dialog, IDC_WAIT_TEXT, text, sizeof(text));
        if (strcmp(text, WAIT_NOTICE_TEXT) == 0) return dialog;
    }
    return nullptr;
}

} // namespace

int Wake(int row, bool notice, DWORD seconds)
{
    HWND main = MainWindow();
    if (!main) return 1;
    // Posted, as the operation menu posts it: the main window may wait behind the notice.
    if (!PostMessageA(main, UM_WAKE_DESTINATION, static_cast<WPARAM>(row), 0)) {
        fprintf(stderr, "cannot post the wake command\n");
        return 1;
    }
    if (!notice) return 0;
    HWND shown = nullptr;
    if (!WaitFor([&] { return (shown = WaitNotice(main)) != nullptr; }, seconds)) {
        fprintf(stderr, "the wake command showed no notice\n");
        return 1;
    }
    printf("the notice is shown\n");
    if (!WaitFor([&] { return !IsWindow(shown); }, seconds)) {
        fprintf(stderr, "the notice stayed for %lu s\n", seconds);
        return 1;
    }
    return 0;
}

} // namespace TwoHostUi

// Saves a screenshot of one window of a running program as a 24-bit bitmap file:
//   WindowShot.exe <class> <title|-> <out.bmp> [timeout ms] [opener class title message [page]]
// With an opener, the message (a number) is posted to that window once it is visible,
// which opens the window to be shot (a dialog); page selects a property sheet's page.
// Waits until the window is visible, its thread answers and its picture has settled (two
// reads alike), so a script can take the README's pictures without guessing how long
// painting takes.
#include "ui/tests/TScreenShot.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The visible top-level window of that class and title ("-": any title), or null. A
// script cannot always hand over a Japanese title: the command line's code page is not the
// program's.
HWND VisibleWindow(const char* className, const char* title)
{
    const char* wanted = title[0] == '-' && !title[1] ? nullptr : title;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, wanted)))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// That window once it is visible, or null once the time is up.
HWND WaitForVisible(const char* className, const char* title, DWORD start, DWORD timeout)
{
    HWND window = nullptr;
    while (!(window = VisibleWindow(className, title))) {
        if (GetTickCount() - start > timeout) {
            fprintf(stderr, "WindowShot: no visible window \"%s\"\n", title);
            return nullptr;
        }
        Sleep(100);
    }
    return window;
}

// The shot as the rows of a 24-bit bottom-up bitmap file.
std::vector<unsigned char> FileRows(const TScreenShot& shot)
{
    int line = (shot.Width() * 3 + 3) & ~3;
    std::vector<unsigned char> rows(static_cast<size_t>(line) * shot.Height());
    for (int y = 0; y < shot.Height(); ++y) {
        unsigned char* row = rows.data() + static_cast<size_t>(shot.Height() - 1 - y) * line;
        for (int x = 0; x < shot.Width(); ++x) {
            COLORREF pixel = shot.At(x, y);
            row[3 * x] = GetBValue(pixel);
            row[3 * x + 1] = GetGValue(pixel);
            row[3 * x + 2] = GetRValue(pixel);
        }
    }
    return rows;
}

bool WriteBitmap(const char* path, const RECT& r, const std::vector<unsigned char>& pixels)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = r.right - r.left;
    header.biHeight = r.bottom - r.top;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = fopen(path, "wb");
    if (!out) return false;
    bool ok = fwrite(&file, sizeof(file), 1, out) == 1 &&
              fwrite(&header, sizeof(header), 1, out) == 1 &&
              fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return fclose(out) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: WindowShot <class> <title> <out.bmp> [timeout ms]\n");
        return 2;
    }
    DWORD timeout = argc > 4 ? static_cast<DWORD>(atoi(argv[4])) : 30000;
    DWORD start = GetTickCount();
    if (argc > 7) {
        HWND opener = WaitForVisible(argv[5], argv[6], start, timeout);
        if (!opener) return 1;
        PostMessageA(opener, static_cast<UINT>(strtoul(argv[7], nullptr, 0)), 0, 0);
    }
    HWND window = WaitForVisible(argv[1], argv[2], start, timeout);
    if (!window) return 1;
    if (argc > 8) PostMessageA(window, PSM_SETCURSEL, atoi(argv[8]), 0);
    SetForegroundWindow(window);
    // A window can be shown before its thread pumps (the program's start goes on after it
    // creates the window): an answered message says the thread is at its loop, so what it
    // paints from then on can settle.
    DWORD_PTR answer = 0;
    while (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer)) {
        if (GetTickCount() - start > timeout) break;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    RECT r;
    std::vector<unsigned char> last, now;
    do {
        Sleep(250);
        GetWindowRect(window, &r);
        last = now;
        now = FileRows(TScreenShot(r));
    } while ((last.empty() || last != now) && GetTickCount() - start < timeout);
    if (!WriteBitmap(argv[3], r, now)) {
        fprintf(stderr, "WindowShot: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

// View-window test support.
#include "ui/tests/ViewTestSupport.h"

#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"

void PaintRemote(TClientImage& image, long width, long height, uint16_t (*pixel)(long x, long y))
{
    image.SetRemoteSize(width, height);
    image.LockImage();
    TDIBitmap* remote = image.GetContext().LookImgeObject();
    for (long y = 0; remote && y < height; ++y) {
        uint16_t* row =
            reinterpret_cast<uint16_t*>(remote->GetLpPixel() + y * remote->GetLineByte());
        for (long x = 0; x < width; ++x)
            row[x] = pixel(x, y);
    }
    image.UnlockImage();
}

void EnterStage(MainWindowHarness& harness, WPARAM stage, uint32_t displayFlags)
{
    harness.settings.displayFlags = displayFlags;
    SendMessageA(harness.Handle(), UM_UI_STATE, stage, 0);
    DrainMessages();
    RedrawWindow(harness.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (HWND full = FullViewWindow())
        RedrawWindow(full, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RECT ScreenRectOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

TScreenShot ClientPixels(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return TScreenShot(client);
}

TScreenShot ClientPixelsOnceShown(HWND window, const std::function<bool(const TScreenShot&)>& check,
                                  DWORD timeoutMs)
{
    TScreenShot pixels = ClientPixels(window);
    PumpUntil(
        [&] {
            pixels = ClientPixels(window);
            return check(pixels);
        },
        timeoutMs);
    return pixels;
}

HWND LeftPane(const MainWindowHarness& harness) { return GetDlgItem(harness.Child(300), 320); }

HWND RightPane(const MainWindowHarness& harness) { return GetDlgItem(harness.Child(400), 420); }

HWND FullViewWindow() { return FindWindowExA(nullptr, nullptr, "FernholdWnd", "FullView Window"); }

HWND FullPane() { return GetDlgItem(FullViewWindow(), 320); }

TFullViewWindow* FullViewOf(HWND window)
{
    return static_cast<TFullViewWindow*>(
        reinterpret_cast<TWndCore*>(GetWindowLongPtrA(window, GWLP_USERDATA)));
}

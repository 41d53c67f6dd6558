// The skinned main window as a person meets it: its children at their rectangles,
// painted; minimised into the notification area with the skin freed and loaded again;
// a saved position that starts hidden; no skin folder at all; images arriving in the
// reduced canvas; requests of parts still to come answered without harm.
#include "ui/tests/DialogPerson.h"
#include "ui/tests/MainWindowHarness.h"

#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

// Found by argument lookup for the global RECT, so outside the file's namespace.
static bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

namespace {

RECT ScreenRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// A child's rectangle in the main window's client coordinates.
RECT InMain(HWND main, HWND child)
{
    RECT rect = ScreenRect(child);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(MainWindowTest, EightChildrenTileTheWindowAtTheirRectanglesAndPaintThere)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    HWND main = harness.Handle();
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client, (RECT{0, 0, 640, 328}));
    EXPECT_TRUE(IsWindowVisible(main));
    // Shown, and top-level windows always clip their siblings.
    EXPECT_EQ(static_cast<unsigned long>(GetWindowLongA(main, GWL_STYLE)) & 0xFFFF0000,
              0x820A0000u | WS_VISIBLE | WS_CLIPSIBLINGS);
    char title[64] = {};
    GetWindowTextA(main, title, sizeof(title));
    EXPECT_STREQ(title, PROGRAM_TITLE);

    struct Child {
        int id;
        const char* text;
        RECT inMain;
    };
    const Child children[] = {
        {100, "Titlebar Window", {0, 0, 640, 24}},     {200, "Menu Window", {366, 3, 626, 21}},
        {300, "MaxView Window", {0, 24, 360, 304}},    {400, "MinView Window", {360, 24, 640, 244}},
        {500, "Control Window", {360, 244, 640, 304}}, {600, "State Window", {0, 304, 640, 328}},
    };
    for (const Child& c : children) {
        SCOPED_TRACE(c.text);
        HWND child = harness.Child(c.id);
        ASSERT_NE(child, nullptr);
        GetWindowTextA(child, title, sizeof(title));
        EXPECT_STREQ(title, c.text);
        EXPECT_EQ(InMain(main, child), c.inMain);
        EXPECT_EQ(static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)) & 0xFFFF0000,
                  0x56000000u);
    }
    // The full-size view: a hidden tool window owned by the main window, the strip in it.
    HWND strip = harness.Child(501);
    ASSERT_NE(strip, nullptr);
    HWND fullView = GetParent(strip);
    EXPECT_EQ(GetWindow(fullView, GW_OWNER), main);
    EXPECT_FALSE(IsWindowVisible(fullView));
    EXPECT_EQ(GetWindowLongA(fullView, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);

    // Each panel painted its own canvas at its own place: the light grey frame at its
    // corner and the workspace colour inside its work area, left of its list.
    SetForegroundWindow(main);
    DrainMessages();
    TScreenShot screen(ScreenRect(main));
    const COLORREF frame = RGB(0xC0, 0xC0, 0xC0);
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    EXPECT_EQ(screen.At(0, 24), frame);    // left panel
    EXPECT_EQ(screen.At(360, 24), frame);  // right panel
    EXPECT_EQ(screen.At(360, 244), frame); // control window
    EXPECT_EQ(screen.At(639, 303), frame);
    EXPECT_EQ(screen.At(19, 24 + 150), workspace);
    EXPECT_EQ(screen.At(360 + 19, 24 + 150), workspace);
}

TEST(MainWindowTest, MinimisedItLivesAsTheIconWithTheSkinFreedAndRestoredItLoadsAgain)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    harness.window->AddTrayIcon();
    HWND main = harness.Handle();
    ASSERT_TRUE(harness.skin.IsLoaded());

    CloseWindow(main); // what the title bar's minimise button does
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }, 5000));
    EXPECT_FALSE(harness.skin.IsLoaded());
    EXPECT_TRUE(harness.skin.IsSuspended());
    EXPECT_EQ(harness.window->HasTrayIcon(), 1);
    // Nothing loads while suspended, whoever asks.
    EXPECT_EQ(harness.skin.Lock(), 0);
    SendMessageA(main, UM_REPAINT, 0, 1);
    EXPECT_FALSE(harness.skin.IsLoaded());

    // A click on the icon brings it back, and the next repaint loads the files again.
    SendMessageA(main, UM_TRAY_NOTIFY, 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main) && harness.skin.IsLoaded(); }, 5000));
    EXPECT_FALSE(harness.skin.IsSuspended());
    EXPECT_FALSE(IsIconic(main));
}

TEST(MainWindowTest, ASavedPositionStartsHiddenAndTheIconRestoresItThere)
{
    MainWindowHarness harness;
    harness.settings.mainX = 120;
    harness.settings.mainY = 80;
    ASSERT_TRUE(harness.Create());
    HWND main = harness.Handle();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(harness.skin.IsLoaded());

    SendMessageA(main, UM_TRAY_NOTIFY, 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main) != 0; }, 5000));
    RECT rect = ScreenRect(main);
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(harness.settings.mainX, 120);
}

TEST(MainWindowTest, TheIconAsksForTheAdministratorWithoutTheShowRight)
{
    MainWindowHarness harness;
    harness.settings.mainX = 10;
    harness.settings.mainY = 10;
    harness.shell.rights = 0x3FE; // everything but showing the main window
    ASSERT_TRUE(harness.Create());
    // The administrator is asked; cancelled, the window stays hidden.
    DialogPerson person([] {
        HWND dialog = WaitForDialog(AUTHENTICATION);
        ClickButton(dialog, IDCANCEL);
        return dialog && WaitUntilGone(dialog);
    });
    SendMessageA(harness.Handle(), UM_TRAY_NOTIFY, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(person.Finish());
    DrainMessages();
    EXPECT_FALSE(IsWindowVisible(harness.Handle()));
}

TEST(MainWindowTest, WithoutTheSkinFolderItRunsAndPaintsEmptyCanvases)
{
    MainWindowHarness harness("./NoSuchSkinFolder");
    ASSERT_TRUE(harness.Create());
    EXPECT_TRUE(harness.skin.IsLoaded());
    EXPECT_EQ(harness.skin.GetBitmap(CANVAS_TITLEBAR, 0)->GetWidth(), 0);
    SetForegroundWindow(harness.Handle());
    SendMessageA(harness.Handle(), UM_REPAINT, 0, 1);
    DrainMessages();
    // The drawn parts of the panels are there; the missing art draws nothing.
    TScreenShot screen(ScreenRect(harness.Handle()));
    EXPECT_EQ(screen.At(0, 24), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(screen.At(19, 24 + 150), GetSysColor(COLOR_APPWORKSPACE));
}

TEST(MainWindowTest, AnArrivingImageIsStretchedIntoTheReducedCanvasUnlessTheFullViewWorks)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    TClientImage& image = harness.client.GetImage();
    image.SetRemoteSize(1920, 1080);
    image.LockImage();
    TDIBitmap* remote = image.GetContext().LookImgeObject();
    ASSERT_NE(remote, nullptr);
    // Left half one colour, right half another (X1R5G5B5).
    for (long y = 0; y < 1080; ++y) {
        uint16_t* row =
            reinterpret_cast<uint16_t*>(remote->GetLpPixel() + y * remote->GetLineByte());
        for (long x = 0; x < 1920; ++x)
            row[x] = x < 960 ? 0x7C00 : 0x001F; // red, blue
    }
    image.UnlockImage();

    harness.settings.displayFlags = 0x140; // full-size view working: no reduction
    SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0);
    TMemDC& reduced = harness.skin.GetReducedCanvas();
    tagRGBQUAD before = reduced.GetPixel(10, 10);
    EXPECT_NE(before.rgbRed, 0xFF);

    harness.settings.displayFlags = 0x110;
    SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0);
    tagRGBQUAD left = reduced.GetPixel(10, 120);
    tagRGBQUAD right = reduced.GetPixel(310, 120);
    EXPECT_GE(left.rgbRed, 0xF0);
    EXPECT_EQ(left.rgbBlue, 0);
    EXPECT_GE(right.rgbBlue, 0xF0);
    EXPECT_EQ(right.rgbRed, 0);
}

TEST(MainWindowTest, TheRebuiltNotificationAreaGetsTheIconAgain)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    harness.window->AddTrayIcon();
    SendMessageA(harness.Handle(), WM_TASKBAR_REBUILT, 0, 0);
    EXPECT_EQ(harness.window->HasTrayIcon(), 1);
    EXPECT_TRUE(IsWindow(harness.Handle()));
}

} // namespace

// The view windows on the display: the destination rows with their icons following the
// list, renaming under the list lock, the listener rows, the stages, the clip pane and
// the full-size pane as they look, the full-size window's frame behaviour, the fit
// switch, and a pane's mouse reaching a destination's display through a real session.
#include "ui/tests/ViewTestSupport.h"

#include "net/MainWindowMessages.h"
#include "net/TEventLink.h"
#include "net/tests/NetTestSupport.h"
#include "ui/RightsCheck.h"
#include "ui/TDestinationSelection.h"
#include "ui/TFullViewWindow.h"
#include "ui/TListControl.h"
#include "ui/TMaxViewWindow.h"
#include "ui/tests/DialogPerson.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr uint32_t IDLE_FLAGS = 0x113;
constexpr uint32_t CONNECTED_REDUCED = 0x411;
constexpr uint32_t CONNECTED_CLIP = 0x421;
constexpr uint32_t CONNECTED_FULL = 0x441;
constexpr uint32_t CONNECTED_FITTED = 0x4C1;

uint32_t AddDestination(MainWindowHarness& harness, const char* name, const char* address,
                        uint16_t port, uint16_t state)
{
    TDestination record;
    record.displayName = TString(name);
    record.liveAddress.sin_addr.s_addr = inet_addr(address);
    record.liveAddress.sin_port = htons(port);
    TDestination* added = harness.client.AddDestination(record);
    harness.client.LockList();
    added->searchState = state; // as a search would have left it
    uint32_t id = added->id;
    harness.client.UnlockList();
    return id;
}

int RowIcon(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void SelectRow(HWND list, int row)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void EntryChanged(MainWindowHarness& harness, WPARAM which, LPARAM recordId)
{
    SendMessageA(harness.Handle(), UM_ENTRY_CHANGED, which, recordId);
}

uint16_t Red(long, long) { return PIXEL_RED; }
// Left half red, right half blue.
uint16_t Halves(long x, long) { return x < 320 ? PIXEL_RED : PIXEL_BLUE; }
// Red above row 500, blue from it; the full-size tests scroll across that edge.
uint16_t Bands(long x, long y) { return y < 500 && x < 1000 ? PIXEL_RED : PIXEL_BLUE; }

TEST(ViewWindowTest, TheDestinationListShowsEveryRowWithItsIconAndFollowsTheList)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    HWND list = GetDlgItem(harness.Child(300), 310);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list)); // idle: the list, not the pane
    EXPECT_FALSE(IsWindowVisible(LeftPane(harness)));
    EXPECT_EQ(static_cast<unsigned long>(GetWindowLongA(list, GWL_STYLE)) & ~WS_VISIBLE,
              0x4600820Du);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x120);
    ListColours colours = WorkspaceListColours(GetSysColor(COLOR_APPWORKSPACE));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0)), colours.background);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0)),
              colours.textBackground);
    const char* columns[3] = {"ComputerName", "IP Address", "Port Number"};
    const int widths[3] = {123, 100, 80};
    for (int i = 0; i < 3; ++i) {
        char text[32] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        EXPECT_STREQ(text, columns[i]);
        EXPECT_EQ(column.cx, widths[i]);
    }

    AddDestination(harness, "alpha", "192.168.1.20", 5483, 1);
    AddDestination(harness, "beta", "0.0.0.0", 6000, 2);
    uint32_t gamma = AddDestination(harness, "gamma", "10.0.0.7", 5483, 3);
    // The last one's notice alone: the rows before it are made as well.
    EntryChanged(harness, 0, gamma);
    ASSERT_EQ(RowCount(list), 3);
    EXPECT_EQ(ListRowText(list, 0, 0), "alpha");
    EXPECT_EQ(ListRowText(list, 0, 1), "192.168.1.20");
    EXPECT_EQ(ListRowText(list, 0, 2), "5483");
    EXPECT_EQ(ListRowText(list, 1, 1), "0.0.0.0");
    EXPECT_EQ(ListRowText(list, 1, 2), "6000");
    EXPECT_EQ(ListRowText(list, 2, 0), "gamma");
    EXPECT_EQ(RowIcon(list, 0), 1);
    EXPECT_EQ(RowIcon(list, 1), 2);
    EXPECT_EQ(RowIcon(list, 2), 3);

    // One record changes: only its row follows.
    harness.client.LockList();
    harness.client.GetDestination(2)->searchState = 4;
    harness.client.GetDestination(2)->displayName = TString("gamma-2");
    harness.client.GetDestination(0)->displayName = TString("not yet told");
    harness.client.UnlockList();
    EntryChanged(harness, 0, gamma);
    EXPECT_EQ(ListRowText(list, 2, 0), "gamma-2");
    EXPECT_EQ(RowIcon(list, 2), 4);
    EXPECT_EQ(ListRowText(list, 0, 0), "alpha");
    EntryChanged(harness, 0, ENTRY_CHANGED_ALL);
    EXPECT_EQ(ListRowText(list, 0, 0), "not yet told");

    // A new workspace colour reaches the list through the main window.
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    const int element = COLOR_APPWORKSPACE;
    const COLORREF grey = RGB(100, 100, 100);
    SetSysColors(1, &element, &grey);
    PumpUntil(
        [&] {
            return static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0)) ==
                   RGB(135, 135, 135);
        },
        3000);
    COLORREF changed = static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
    SetSysColors(1, &element, &workspace);
    DrainMessages();
    EXPECT_EQ(changed, RGB(135, 135, 135)); // (100 + 170) / 2

    // A record the list no longer holds changes nothing; rows beyond the list go.
    EntryChanged(harness, 0, 99999);
    EXPECT_EQ(RowCount(list), 3);
    harness.client.LoadListFile(FreshTempPath("empty.clf").c_str());
    EntryChanged(harness, 0, gamma);
    EXPECT_EQ(RowCount(list), 0);
}

TEST(ViewWindowTest, TheSelectedRowAndItsStateAreOfferedThroughTheContext)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    // A left panel of its own, to hold its context: the main window's is private.
    TUiContext context{harness.settings, harness.client, harness.server, harness.skin,
                       harness.shell};
    context.mainWindow = harness.Handle();
    TMaxViewWindow* panel = new TMaxViewWindow(context);
    ASSERT_EQ(panel->Create(harness.Handle()), 1);
    ASSERT_EQ(context.selection, panel);
    AddDestination(harness, "alpha", "192.168.1.20", 5483, 1);
    AddDestination(harness, "beta", "0.0.0.0", 5483, 2);
    panel->UpdateDestination(ENTRY_CHANGED_ALL);

    EXPECT_EQ(context.selection->GetSelectedRow(), -1);
    EXPECT_EQ(context.selection->GetSelectedSearchState(), -1);
    SelectRow(panel->GetListHandle(), 1);
    EXPECT_EQ(context.selection->GetSelectedRow(), 1);
    EXPECT_EQ(context.selection->GetSelectedSearchState(), 2);
    // The row's destination has gone before the list heard of it.
    harness.client.LoadListFile(FreshTempPath("empty.clf").c_str());
    EXPECT_EQ(context.selection->GetSelectedSearchState(), -1);
    DestroyWindow(panel->GetHandle());
    panel->Release();
}

TEST(ViewWindowTest, RenamingARowRenamesItsDestinationHoldingTheListLockThroughTheEdit)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    HWND list = GetDlgItem(harness.Child(300), 310);
    AddDestination(harness, "alpha", "192.168.1.20", 5483, 0);
    AddDestination(harness, "beta", "192.168.1.21", 5483, 0);
    EntryChanged(harness, 0, ENTRY_CHANGED_ALL);
    SetForegroundWindow(harness.Handle());
    SetFocus(list);

    HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 1, 0));
    ASSERT_NE(edit, nullptr);
    // Another thread (a search, the client thread) waits for the list until the end.
    std::atomic<bool> entered{false};
    std::thread other([&] {
        harness.client.LockList();
        entered = true;
        harness.client.UnlockList();
    });
    EXPECT_FALSE(PumpUntil([&] { return entered.load(); }, 300));
    SetWindowTextA(edit, "renamed");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(PumpUntil([&] { return entered.load(); }, 5000));
    other.join();
    EXPECT_EQ(ListRowText(list, 1, 0), "renamed");
    harness.client.LockList();
    EXPECT_TRUE(harness.client.GetDestination(1)->displayName == "renamed");
    // The name the list file keeps, so the new name survives a restart.
    EXPECT_TRUE(harness.client.GetDestination(1)->computerName == "renamed");
    EXPECT_TRUE(harness.client.GetDestination(0)->displayName == "alpha");
    harness.client.UnlockList();

    // An edit cut short by the connect frees the lock as well.
    edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(edit, nullptr);
    EnterStage(harness, UI_STATE_CONNECTING, 0x213);
    std::thread connecting([&] { harness.client.LockList(), harness.client.UnlockList(); });
    connecting.join();
    EnterStage(harness, UI_STATE_IDLE, IDLE_FLAGS);
    SetFocus(list);

    // A cancelled edit frees the lock and keeps the name.
    edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "dropped");
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    DrainMessages();
    std::thread after([&] { harness.client.LockList(), harness.client.UnlockList(); });
    after.join();
    EXPECT_EQ(ListRowText(list, 0, 0), "alpha");

    // Without the edit right the administrator is asked; cancelled, the edit does not
    // start, and nothing is locked.
    harness.shell.rights = RIGHTS_NOT_IN_USE & ~RIGHT_EDIT_DESTINATION;
    DialogPerson person([] {
        HWND dialog = WaitForDialog(AUTHENTICATION);
        ClickButton(dialog, IDCANCEL);
        return dialog && WaitUntilGone(dialog);
    });
    EXPECT_EQ(SendMessageA(list, LVM_EDITLABELA, 0, 0), 0);
    EXPECT_TRUE(person.Finish());
    std::thread refused([&] { harness.client.LockList(), harness.client.UnlockList(); });
    refused.join();
}

TEST(ViewWindowTest, TheRightListShowsThisComputersListenersAndCannotBeRenamed)
{
    MainWindowHarness harness;
    harness.settings.port = htons(27471);
    ASSERT_TRUE(StartLoopbackServer(harness.server));
    ASSERT_TRUE(harness.Create());
    HWND list = GetDlgItem(harness.Child(400), 410);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EntryChanged(harness, 1, 0);
    ASSERT_EQ(RowCount(list), 1);
    EXPECT_EQ(ListRowText(list, 0, 0), "127.0.0.1");
    EXPECT_EQ(ListRowText(list, 0, 1), "27471");
    SetFocus(list);
    EXPECT_EQ(SendMessageA(list, LVM_EDITLABELA, 0, 0), 0);

    harness.server.Stop();
    EntryChanged(harness, 1, 0);
    EXPECT_EQ(RowCount(list), 1); // the stopped engine keeps its listener records
}

TEST(ViewWindowTest, EachStageShowsTheListsTheWaitingAnimationOrThePanes)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    SetForegroundWindow(harness.Handle());
    HWND leftList = GetDlgItem(harness.Child(300), 310);
    HWND rightList = GetDlgItem(harness.Child(400), 410);
    PaintRemote(harness.client.GetImage(), 640, 480, Halves);

    EnterStage(harness, UI_STATE_CONNECTING, 0x213);
    EXPECT_FALSE(IsWindowVisible(leftList));
    EXPECT_FALSE(IsWindowVisible(rightList));
    EXPECT_FALSE(IsWindowVisible(LeftPane(harness)));
    EXPECT_FALSE(IsWindowVisible(RightPane(harness)));
    // The animation fades in over what was on screen, step by step on its timer.
    COLORREF first = ClientPixels(harness.Child(300)).At(100, 100);
    EXPECT_TRUE(
        PumpUntil([&] { return ClientPixels(harness.Child(300)).At(100, 100) != first; }, 3000));

    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_REDUCED);
    EXPECT_TRUE(IsWindowVisible(LeftPane(harness)));
    EXPECT_TRUE(IsWindowVisible(RightPane(harness)));
    EXPECT_FALSE(IsWindowVisible(leftList));
    EXPECT_FALSE(IsWindowVisible(FullViewWindow())); // not the working view
    SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0);
    DrainMessages();
    TScreenShot left = ClientPixelsOnceShown(
        LeftPane(harness), [](const TScreenShot& p) { return p.At(310, 120) == SCREEN_BLUE; });
    EXPECT_EQ(left.At(10, 120), SCREEN_RED);
    EXPECT_EQ(left.At(310, 120), SCREEN_BLUE);
    // The clip region (0, 0 of 640 x 480) is outlined at 0, 0 to 120, 90: a dotted edge.
    int dotted = 0;
    for (int x = 10; x < 20; ++x)
        dotted += left.At(x, 89) != SCREEN_RED;
    EXPECT_GE(dotted, 4);
    EXPECT_EQ(left.At(60, 45), SCREEN_RED);
    EXPECT_EQ(left.At(60, 91), SCREEN_RED);

    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_FULL);
    EXPECT_TRUE(IsWindowVisible(FullViewWindow()));
    EnterStage(harness, UI_STATE_DISCONNECTED, 0x1041);
    EXPECT_FALSE(IsWindowVisible(FullViewWindow()));
    EXPECT_FALSE(IsWindowVisible(LeftPane(harness)));
    EnterStage(harness, UI_STATE_IDLE, IDLE_FLAGS);
    EXPECT_TRUE(IsWindowVisible(leftList));
    EXPECT_TRUE(IsWindowVisible(rightList));
}

TEST(ViewWindowTest, TheClipPaneShowsTheRegionAndBlackBeyondASmallScreen)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    SetForegroundWindow(harness.Handle());
    TClientImage& image = harness.client.GetImage();
    PaintRemote(image, 640, 480, Halves);
    image.SetClipOrigin(POINT{300, 100}); // across the edge of the halves
    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_CLIP);
    TScreenShot clip = ClientPixelsOnceShown(
        RightPane(harness), [](const TScreenShot& p) { return p.At(20, 90) == SCREEN_BLUE; });
    EXPECT_EQ(clip.At(19, 90), SCREEN_RED);
    EXPECT_EQ(clip.At(20, 90), SCREEN_BLUE);
    EXPECT_EQ(clip.At(239, 179), SCREEN_BLUE);

    // 200 x 150: the origin stays at 0 and the rest of the pane is black.
    PaintRemote(image, 200, 150, Red);
    EXPECT_EQ(image.GetView().clip.x, 0);
    EXPECT_EQ(image.GetView().clip.y, 0);
    InvalidateRect(RightPane(harness), nullptr, FALSE);
    UpdateWindow(RightPane(harness));
    clip = ClientPixelsOnceShown(
        RightPane(harness), [](const TScreenShot& p) { return p.At(239, 179) == SCREEN_BLACK; });
    EXPECT_EQ(clip.At(0, 0), SCREEN_RED);
    EXPECT_EQ(clip.At(199, 149), SCREEN_RED);
    EXPECT_EQ(clip.At(200, 10), SCREEN_BLACK);
    EXPECT_EQ(clip.At(239, 179), SCREEN_BLACK);
    EXPECT_EQ(clip.At(10, 150), SCREEN_BLACK);

    // No image at all (a disconnect): black, nothing read.
    image.Reset();
    InvalidateRect(RightPane(harness), nullptr, FALSE);
    UpdateWindow(RightPane(harness));
    EXPECT_EQ(ClientPixelsOnceShown(RightPane(harness),
                                    [](const TScreenShot& p) { return p.At(10, 10) == 0; })
                  .At(10, 10),
              SCREEN_BLACK);
}

TEST(ViewWindowTest, TheFullSizePaneCentresASmallScreenOnBlackScrollsALargeOneOrFitsIt)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    TClientImage& image = harness.client.GetImage();
    PaintRemote(image, 400, 300, Red);
    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_FULL);
    HWND full = FullViewWindow();
    ASSERT_TRUE(IsWindowVisible(full));
    SetForegroundWindow(full);
    RECT pane = ScreenRectOf(FullPane());
    MapWindowPoints(nullptr, full, reinterpret_cast<POINT*>(&pane), 2);
    EXPECT_EQ(pane.left, 12);
    EXPECT_EQ(pane.top, 36);
    EXPECT_EQ(pane.right - pane.left, 602);
    EXPECT_EQ(pane.bottom - pane.top, 398);
    RedrawWindow(full, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TScreenShot small = ClientPixelsOnceShown(
        FullPane(), [](const TScreenShot& p) { return p.At(101, 49) == SCREEN_RED; });
    EXPECT_EQ(small.At(101, 49), SCREEN_RED); // 400 x 300 centred in 602 x 398
    EXPECT_EQ(small.At(500, 348), SCREEN_RED);
    EXPECT_EQ(small.At(100, 200), SCREEN_BLACK);
    EXPECT_EQ(small.At(501, 200), SCREEN_BLACK);
    EXPECT_EQ(small.At(300, 48), SCREEN_BLACK);
    EXPECT_EQ(small.At(300, 349), SCREEN_BLACK);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(GetDlgItem(full, 258), SB_CTL, &info);
    EXPECT_EQ(info.nMax, 399);
    EXPECT_EQ(info.nPage, 400u); // the image fits: one page

    // A large screen at actual size: the bars span it, a page at a time, and a scroll
    // brings another part of the image.
    PaintRemote(image, 1920, 1080, Bands);
    SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0);
    GetScrollInfo(GetDlgItem(full, 257), SB_CTL, &info);
    EXPECT_EQ(info.nMax, 1079);
    EXPECT_EQ(info.nPage, 398u);
    SendMessageA(full, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 400),
                 reinterpret_cast<LPARAM>(GetDlgItem(full, 257)));
    EXPECT_EQ(GetScrollPos(GetDlgItem(full, 257), SB_CTL), 400);
    RedrawWindow(full, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TScreenShot scrolled = ClientPixelsOnceShown(
        FullPane(), [](const TScreenShot& p) { return p.At(10, 100) == SCREEN_BLUE; });
    EXPECT_EQ(scrolled.At(10, 99), SCREEN_RED); // remote row 499
    EXPECT_EQ(scrolled.At(10, 100), SCREEN_BLUE);

    // Fitted, as the strip's fit button does it: the whole screen stretched to the pane,
    // the bars back to a single page.
    harness.settings.displayFlags = CONNECTED_FITTED;
    FullViewOf(full)->FitChanged();
    for (int bar : {257, 258}) {
        GetScrollInfo(GetDlgItem(full, bar), SB_CTL, &info);
        EXPECT_EQ(info.nMin, 0);
        EXPECT_EQ(info.nMax, 0);
        EXPECT_EQ(info.nPage, 1u);
        EXPECT_EQ(info.nPos, 0);
    }
    RedrawWindow(full, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TScreenShot fitted = ClientPixelsOnceShown(
        FullPane(), [](const TScreenShot& p) { return p.At(10, 390) == SCREEN_BLUE; });
    EXPECT_EQ(fitted.At(10, 10), SCREEN_RED);
    EXPECT_EQ(fitted.At(10, 390), SCREEN_BLUE); // remote rows from 500 lie below 184
    EXPECT_EQ(fitted.At(590, 10), SCREEN_BLUE); // columns from 1000 right of 313
    // Back at actual size the bars span the image again, from its top.
    harness.settings.displayFlags = CONNECTED_FULL;
    FullViewOf(full)->FitChanged();
    GetScrollInfo(GetDlgItem(full, 257), SB_CTL, &info);
    EXPECT_EQ(info.nMax, 1079);
    EXPECT_EQ(info.nPage, 398u);
    EXPECT_EQ(info.nPos, 0);
}

TEST(ViewWindowTest, TheFullSizeWindowSizesByItsEdgesMovesByItsCaptionAndKeepsItsRectangle)
{
    MainWindowHarness harness;
    harness.settings.viewWindowRect = RECT{50, 60, 850, 660};
    ASSERT_TRUE(harness.Create());
    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_FULL);
    HWND full = FullViewWindow();
    RECT placed = ScreenRectOf(full);
    EXPECT_EQ(placed.left, 50);
    EXPECT_EQ(placed.top, 60);
    EXPECT_EQ(placed.right, 850);
    EXPECT_EQ(placed.bottom, 660);

    MINMAXINFO limits{};
    SendMessageA(full, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(limits.ptMinTrackSize.x, 330);
    EXPECT_EQ(limits.ptMinTrackSize.y, 240);
    EXPECT_EQ(limits.ptMaxPosition.x, work.left);
    EXPECT_EQ(limits.ptMaxSize.x, work.right - work.left);
    EXPECT_EQ(limits.ptMaxSize.y, work.bottom - work.top);

    auto hit = [&](int x, int y) {
        return SendMessageA(full, WM_NCHITTEST, 0, MAKELPARAM(placed.left + x, placed.top + y));
    };
    EXPECT_EQ(hit(1, 300), HTLEFT);
    EXPECT_EQ(hit(799, 599), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(400, 10), HTCAPTION);
    EXPECT_EQ(hit(400, 300), HTCLIENT);

    // A new size places the children and is kept for the options.
    SetWindowPos(full, nullptr, 100, 80, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT pane = ScreenRectOf(FullPane());
    EXPECT_EQ(pane.left - 100, 12);
    EXPECT_EQ(pane.right - pane.left, 662);
    EXPECT_EQ(pane.bottom - pane.top, 418);
    RECT strip = ScreenRectOf(GetDlgItem(full, 501));
    EXPECT_EQ(strip.left - 100, 700 - 315);
    EXPECT_EQ(strip.top - 80, 500 - 19);
    RECT bar = ScreenRectOf(GetDlgItem(full, 257));
    EXPECT_EQ(bar.left - 100, 700 - 22);
    EXPECT_EQ(bar.bottom - bar.top, 500 - 67);
    RECT kept = harness.settings.viewWindowRect;
    EXPECT_EQ(kept.left, 100);
    EXPECT_EQ(kept.right, 800);
    EXPECT_EQ(kept.bottom, 580);

    // Maximised: the work area, no sizing borders, and the rectangle to come back to.
    ShowWindow(full, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(full));
    RECT zoomed = ScreenRectOf(full);
    EXPECT_EQ(zoomed.left, work.left);
    EXPECT_EQ(zoomed.right, work.right);
    EXPECT_NE(SendMessageA(full, WM_NCHITTEST, 0, MAKELPARAM(zoomed.left + 1, zoomed.top + 300)),
              HTLEFT);
    EXPECT_EQ(harness.settings.viewWindowRect.right, 800);
    ShowWindow(full, SW_RESTORE);

    // No close key ends it: only the program does, with the main window.
    SendMessageA(full, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(full, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(full));
}

TEST(ViewWindowTest, ADamagedSavedRectangleStillGivesAUsableWindow)
{
    MainWindowHarness harness;
    harness.settings.viewWindowRect = RECT{10, 10, 5, 5};
    ASSERT_TRUE(harness.Create());
    RECT placed = ScreenRectOf(FullViewWindow());
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.right - placed.left, 330);
    EXPECT_EQ(placed.bottom - placed.top, 240);
    RECT pane = ScreenRectOf(FullPane());
    EXPECT_GT(pane.right - pane.left, 0);
    EXPECT_GT(pane.bottom - pane.top, 0);
}

TEST(ViewWindowTest, APaneMovesTheDestinationsCursorThroughARealSession)
{
    MainWindowHarness harness;
    harness.settings.port = htons(27472);
    ASSERT_TRUE(StartLoopbackServer(harness.server));
    harness.client.SetHostResolver(THostResolver{[](const char*, in_addr& address) {
                                                     address.s_addr = inet_addr("127.0.0.1");
                                                     return 1;
                                                 },
                                                 [](const in_addr&, TString& name) {
                                                     name = TString("loopback");
                                                     return 1;
                                                 }});
    AddDestination(harness, "loopback", "127.0.0.1", 27472, 0);
    ASSERT_TRUE(harness.Create());
    // The connect step of the client thread, run here: the events and image links.
    ASSERT_EQ(harness.client.Connect(0), 1);
    TClientImage& image = harness.client.GetImage();
    ASSERT_TRUE(
        PumpUntil([&] { return image.GetRemoteSize().cx == GetSystemMetrics(SM_CXSCREEN); }, 5000));
    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_CLIP);
    image.SetClipOrigin(POINT{0, 0});

    // The clip pane's point 10, 12 is the destination's pixel 10, 12 (this display).
    SendMessageA(RightPane(harness), WM_MOUSEMOVE, 0, MAKELPARAM(10, 12));
    POINT cursor{};
    EXPECT_TRUE(PumpUntil(
        [&] {
            GetCursorPos(&cursor);
            return std::abs(cursor.x - 10) <= 1 && std::abs(cursor.y - 12) <= 1;
        },
        5000))
        << cursor.x << "," << cursor.y;

    // A press there captures and confines to the pane and takes the focus; the release
    // frees both.
    HWND pane = RightPane(harness);
    SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12));
    EXPECT_EQ(GetCapture(), pane);
    EXPECT_EQ(GetFocus(), pane); // where the platform sends the wheel
    const RECT paneRect = ScreenRectOf(pane);
    RECT clipped;
    GetClipCursor(&clipped);
    EXPECT_TRUE(EqualRect(&clipped, &paneRect));
    SendMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(10, 12));
    EXPECT_NE(GetCapture(), pane);
    GetClipCursor(&clipped);
    EXPECT_FALSE(EqualRect(&clipped, &paneRect));
}

} // namespace

// The menu window on the screen under the person's mouse: pop-ups drawn with their items
// offered by the connection state, switching between open pop-ups, and an item chosen.
#include "ui/TMenuWindow.h"

#include "net/MainWindowMessages.h"
#include "ui/ConnectionState.h"
#include "ui/HelpFile.h"
#include "ui/tests/WindowHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The first command of a pop-up names it.
UINT FirstCommandOf(HWND popup)
{
    HMENU menu = MenuOfPopup(popup);
    return menu ? GetMenuItemID(menu, 0) : 0;
}

// Waits until the visible pop-up is the one whose first command is first.
bool PopupShows(UINT first)
{
    return WaitFor(
        [first] {
            HWND popup = VisiblePopupMenu();
            return popup && FirstCommandOf(popup) == first;
        },
        5000);
}

// What the help item handed to HTML Help; written on the window's thread.
struct HelpCall {
    HWND caller = nullptr;
    std::string file;
    UINT command = ~0u;
    int count = 0;
} g_HelpCall;

HWND WINAPI RecordHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR)
{
    g_HelpCall.caller = caller;
    g_HelpCall.file = file ? file : "";
    g_HelpCall.command = command;
    ++g_HelpCall.count;
    return nullptr;
}

int PositionOf(HMENU menu, UINT id)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (GetMenuItemID(menu, i) == id) return i;
    return -1;
}

// An item's rectangle on the screen.
RECT ItemOnScreen(HMENU menu, UINT id)
{
    RECT item{};
    GetMenuItemRect(nullptr, menu, PositionOf(menu, id), &item);
    return item;
}

// A point of an item's icon cell (18 x 16, centred vertically at its left edge).
COLORREF IconPixel(const RECT& item, POINT inCell)
{
    int top = item.top + (item.bottom - item.top - 16) / 2;
    RECT cell{item.left, top, item.left + 18, top + 16};
    return TScreenShot(cell).At(inCell);
}

TEST_F(WindowTest, PopupsOfferTheirItemsByTheConnectionState)
{
    using fixture::ICON_CHECKED;
    using fixture::ICON_GREYED;
    using fixture::ICON_NORMAL;
    struct Case {
        uint32_t state;
        int title;
        std::vector<std::pair<UINT, COLORREF>> looks;
    };
    const Case cases[] = {
        {CONNECTION_CONNECTED,
         MENU_OPERATION,
         {{MENU_VIEW_REDUCED, ICON_NORMAL},
          {MENU_VIEW_CLIP, ICON_CHECKED},
          {MENU_VIEW_FULL, ICON_NORMAL},
          {MENU_WAKE, ICON_GREYED},
          {MENU_PUSH_UPDATE, ICON_GREYED},
          {MENU_CONNECT, ICON_GREYED},
          {MENU_PAUSE, ICON_NORMAL},
          {MENU_DISCONNECT, ICON_NORMAL},
          {MENU_MOUSE_SWITCH, ICON_CHECKED},
          {MENU_KEYBOARD_SWITCH, ICON_CHECKED}}},
        {CONNECTION_PAUSED,
         MENU_OPERATION,
         {{MENU_CONNECT, ICON_NORMAL}, {MENU_PAUSE, ICON_GREYED}, {MENU_DISCONNECT, ICON_NORMAL}}},
        {CONNECTION_CONNECTED,
         MENU_FILE,
         {{MENU_OPEN_LIST, ICON_GREYED}, {MENU_SAVE_LIST, ICON_GREYED}, {MENU_CLOSE, ICON_NORMAL}}},
        {CONNECTION_IDLE,
         MENU_EDIT,
         {{MENU_WIZARD, ICON_NORMAL},
          {MENU_ADD_DESTINATION, ICON_NORMAL},
          {MENU_DELETE_DESTINATION, ICON_NORMAL},
          {MENU_OPTIONS, ICON_NORMAL}}},
    };
    EXPECT_TRUE(RunAsPerson(
        [&] {
            for (const Case& c : cases) {
                SCOPED_TRACE(::testing::Message() << "title " << c.title << " state " << c.state);
                // Mouse and keyboard switches on, the actual-size range as working view.
                harness->settings.displayFlags = WithConnectionState(0x23, c.state);
                POINT title = harness->MenuTitleOnScreen(c.title);
                ASSERT_TRUE(person.Click(title));
                ASSERT_TRUE(PopupShows(GetMenuItems(c.title).items[0].id));
                HMENU menu = MenuOfPopup(VisiblePopupMenu());
                for (const auto& [id, look] : c.looks) {
                    SCOPED_TRACE(::testing::Message() << "item " << id);
                    RECT item = ItemOnScreen(menu, id);
                    EXPECT_TRUE(WaitFor(
                        [&] { return IconPixel(item, fixture::ICON_SAMPLE) == look; }, 3000));
                    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
                    EXPECT_EQ((state & MF_GRAYED) != 0, look == ICON_GREYED);
                    EXPECT_EQ((state & MF_CHECKED) != 0, look == ICON_CHECKED);
                    // Nothing is selected while the mouse stays on the title.
                    EXPECT_NE(IconPixel(item, fixture::SELECTION_SAMPLE), fixture::SELECTION_MARK);
                }
                // A second click on the title closes its pop-up.
                ASSERT_TRUE(person.Click(title));
                ASSERT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
            }
        },
        120000));
}

TEST_F(WindowTest, MovingToAnotherTitleSwitchesPopupsAndAChosenItemRuns)
{
    HWND menuWindow = harness->Menu();
    auto titleLook = [&](int title) {
        return TScreenShot(ClientOnScreen(menuWindow)).At(2 + 64 * (title - 1) + 32, 8);
    };
    EXPECT_TRUE(RunAsPerson(
        [&] {
            ASSERT_TRUE(person.MoveTo(harness->MenuTitleOnScreen(MENU_FILE)));
            EXPECT_TRUE(WaitFor(
                [&] { return titleLook(MENU_FILE) == fixture::MenuTitleColour(MENU_FILE, 1); },
                5000));
            EXPECT_TRUE(WaitFor(
                [&] { return harness->LastStatusText() == "ファイルメニューです。"; }, 5000));
            EXPECT_EQ(titleLook(MENU_EDIT), fixture::MenuTitleColour(MENU_EDIT, 0));

            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_FILE)));
            ASSERT_TRUE(PopupShows(MENU_OPEN_LIST));
            // Without a click, the pop-up follows the mouse along the titles.
            ASSERT_TRUE(person.MoveTo(harness->MenuTitleOnScreen(MENU_EDIT)));
            EXPECT_TRUE(PopupShows(MENU_WIZARD));
            ASSERT_TRUE(person.MoveTo(harness->MenuTitleOnScreen(MENU_HELP)));
            ASSERT_TRUE(PopupShows(MENU_SHOW_HELP));

            // An item under the mouse is drawn selected and describes itself.
            HMENU help = MenuOfPopup(VisiblePopupMenu());
            RECT about = ItemOnScreen(help, MENU_ABOUT);
            ASSERT_TRUE(person.MoveTo(CentreOf(about)));
            EXPECT_TRUE(WaitFor(
                [&] { return harness->LastStatusText() == "バージョン情報を表示します。"; }, 5000));
            EXPECT_TRUE(WaitFor(
                [&] {
                    return IconPixel(about, fixture::SELECTION_SAMPLE) == fixture::SELECTION_MARK &&
                           IconPixel(about, fixture::ICON_SAMPLE) == fixture::ICON_NORMAL &&
                           TScreenShot(about).At(about.right - about.left - 3, 2) ==
                               GetSysColor(COLOR_HIGHLIGHT);
                },
                5000));

            harness->ClearReceived();
            ASSERT_TRUE(person.Click(CentreOf(about)));
            EXPECT_TRUE(WaitFor([&] { return harness->HasReceived(UM_SHOW_ABOUT, 0); }, 5000));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
            EXPECT_EQ(harness->LastStatusText(), "");

            // The bar is closed again: the next click opens.
            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_FILE)));
            EXPECT_TRUE(PopupShows(MENU_OPEN_LIST));
            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_FILE)));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
        },
        120000));
}

} // namespace

TEST_F(WindowTest, TheHelpItemOpensTheHelpFileBesideTheProgramOnTheMainWindow)
{
    g_HelpCall = HelpCall{};
    SetHtmlHelpFunction(RecordHtmlHelp);
    EXPECT_TRUE(RunAsPerson(
        [&] {
            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_HELP)));
            ASSERT_TRUE(PopupShows(MENU_SHOW_HELP));
            HMENU help = MenuOfPopup(VisiblePopupMenu());
            ASSERT_TRUE(person.Click(CentreOf(ItemOnScreen(help, MENU_SHOW_HELP))));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
        },
        60000));
    EXPECT_TRUE(WaitFor([] { return g_HelpCall.count > 0; }, 5000));
    SetHtmlHelpFunction(nullptr);

    char program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
    std::string expected(program);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "FernHelp.chm";
    EXPECT_EQ(g_HelpCall.count, 1);
    EXPECT_EQ(g_HelpCall.caller, harness->Main());
    EXPECT_EQ(g_HelpCall.file, expected);
    EXPECT_EQ(g_HelpCall.command, 0u); // HH_DISPLAY_TOPIC: the file's default page
}

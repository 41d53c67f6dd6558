// The menus without a window: every command in its menu and place, which items are offered
// in which state, and what each command posts or changes.
#include "ui/MenuItems.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/TDestination.h"
#include "net/TFernSettings.h"
#include "ui/ConnectionState.h"
#include "ui/RightsCheck.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MenuItemsTest, EveryCommandStandsOnceInItsMenuAndPlace)
{
    const std::vector<UINT> expected[MENU_TITLE_COUNT] = {
        {1, 2, 0, 3},
        {19, 0, 4, 5, 6, 0, 17},
        {7, 8, 9, 0, 18, 20, 0, 10, 11, 12, 0, 13, 14},
        {15, 16},
    };
    std::vector<int> seen(MENU_LAST_COMMAND + 1, 0);
    for (int title = 1; title <= MENU_TITLE_COUNT; ++title) {
        SCOPED_TRACE(title);
        MenuItemList list = GetMenuItems(title);
        std::vector<UINT> ids;
        for (int i = 0; i < list.count; ++i) {
            const MenuItem& item = list.items[i];
            ids.push_back(item.id);
            if (item.id == MENU_SEPARATOR) continue;
            ++seen[item.id];
            EXPECT_EQ(FindMenuItem(item.id), &item);
            ASSERT_NE(item.label, nullptr);
            ASSERT_NE(item.statusText, nullptr);
            EXPECT_GT(strlen(item.label), 0u);
            EXPECT_GT(strlen(item.statusText), 0u);
        }
        EXPECT_EQ(ids, expected[title - 1]);
        EXPECT_NE(GetMenuTitleText(title), nullptr);
    }
    for (UINT id = 1; id <= MENU_LAST_COMMAND; ++id)
        EXPECT_EQ(seen[id], 1) << "command " << id;
    EXPECT_EQ(FindMenuItem(MENU_SEPARATOR), nullptr);
    EXPECT_EQ(FindMenuItem(MENU_LAST_COMMAND + 1), nullptr);
    EXPECT_EQ(GetMenuItems(0).count, 0);
    EXPECT_EQ(GetMenuItems(MENU_TITLE_COUNT + 1).count, 0);
    EXPECT_EQ(GetMenuTitleText(0), nullptr);
    // The close item and the title bar's close button describe themselves alike.
    EXPECT_STREQ(FindMenuItem(MENU_CLOSE)->statusText, STATUS_TEXT_CLOSE_WINDOW);
}

TEST(MenuItemsTest, ItemsAreOfferedByTheConnectionStateTheSwitchesAndTheSelectedRow)
{
    const MenuSelection none;
    const MenuSelection unknown{2, SEARCH_STATE_UNKNOWN};
    const MenuSelection found{2, SEARCH_FOUND};
    const MenuSelection notFound{2, SEARCH_NOT_FOUND};
    auto in = [](uint32_t state, uint32_t switches = 0x10) {
        return WithConnectionState(switches, state);
    };
    struct Case {
        uint32_t flags;
        MenuSelection selection;
        UINT id;
        bool enabled;
        bool checked;
    };
    const Case cases[] = {
        // List files and destination dialogs only while idle; closing always.
        {in(CONNECTION_IDLE), none, MENU_OPEN_LIST, true, false},
        {in(CONNECTION_IDLE), none, MENU_DELETE_DESTINATION, true, false},
        {in(CONNECTION_CONNECTING), none, MENU_SAVE_LIST, false, false},
        {in(CONNECTION_CONNECTED), none, MENU_ADD_DESTINATION, false, false},
        {in(CONNECTION_PAUSED), none, MENU_EDIT_DESTINATION, false, false},
        {in(CONNECTION_CONNECTED), none, MENU_CLOSE, true, false},
        {in(CONNECTION_CONNECTED), none, MENU_WIZARD, true, false},
        {in(CONNECTION_CONNECTED), none, MENU_OPTIONS, true, false},
        {in(CONNECTION_CONNECTED), none, MENU_SHOW_HELP, true, false},
        {in(CONNECTION_CONNECTED), none, MENU_ABOUT, true, false},
        // Connect while idle or paused, pause while connected, disconnect while up.
        {in(CONNECTION_IDLE), none, MENU_CONNECT, true, false},
        {in(CONNECTION_IDLE), none, MENU_PAUSE, false, false},
        {in(CONNECTION_IDLE), none, MENU_DISCONNECT, false, false},
        {in(CONNECTION_CONNECTING), none, MENU_CONNECT, false, false},
        {in(CONNECTION_CONNECTING), none, MENU_DISCONNECT, false, false},
        {in(CONNECTION_CONNECTED), none, MENU_CONNECT, false, false},
        {in(CONNECTION_CONNECTED), none, MENU_PAUSE, true, false},
        {in(CONNECTION_CONNECTED), none, MENU_DISCONNECT, true, false},
        {in(CONNECTION_PAUSED), none, MENU_CONNECT, true, false},
        {in(CONNECTION_PAUSED), none, MENU_PAUSE, false, false},
        {in(CONNECTION_PAUSED), none, MENU_DISCONNECT, true, false},
        {in(CONNECTION_DISCONNECTING), none, MENU_CONNECT, false, false},
        {in(CONNECTION_DISCONNECTING), none, MENU_DISCONNECT, false, false},
        // The working view and the switches are checked.
        {in(CONNECTION_IDLE, 0x20), none, MENU_VIEW_REDUCED, true, false},
        {in(CONNECTION_IDLE, 0x20), none, MENU_VIEW_CLIP, true, true},
        {in(CONNECTION_IDLE, 0x40), none, MENU_VIEW_FULL, true, true},
        {in(CONNECTION_IDLE, 0x11), none, MENU_MOUSE_SWITCH, true, true},
        {in(CONNECTION_IDLE, 0x11), none, MENU_KEYBOARD_SWITCH, true, false},
        {in(CONNECTION_IDLE, 0x12), none, MENU_MOUSE_SWITCH, true, false},
        {in(CONNECTION_IDLE, 0x12), none, MENU_KEYBOARD_SWITCH, true, true},
        // Power on a row that is not found; update a row that is.
        {in(CONNECTION_IDLE), none, MENU_WAKE, false, false},
        {in(CONNECTION_IDLE), none, MENU_PUSH_UPDATE, false, false},
        {in(CONNECTION_IDLE), unknown, MENU_WAKE, true, false},
        {in(CONNECTION_IDLE), unknown, MENU_PUSH_UPDATE, false, false},
        {in(CONNECTION_IDLE), notFound, MENU_WAKE, true, false},
        {in(CONNECTION_IDLE), found, MENU_WAKE, false, false},
        {in(CONNECTION_IDLE), found, MENU_PUSH_UPDATE, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "item " << c.id << " flags " << std::hex << c.flags << " row " << std::dec
                     << c.selection.row << " state " << c.selection.searchState);
        MenuItemState state = GetMenuItemState(c.id, c.flags, c.selection);
        EXPECT_EQ(state.enabled, c.enabled);
        EXPECT_EQ(state.checked, c.checked);
    }
}

// What a command sent: to the main window or as a thread message to the client engine.
struct Sent {
    bool toClient;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Sent& other) const
    {
        return toClient == other.toClient && message == other.message && wParam == other.wParam &&
               lParam == other.lParam;
    }
};

std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    return out << (sent.toClient ? "client " : "main ") << std::hex << sent.message << "/"
               << std::dec << sent.wParam << "/" << sent.lParam;
}

// Stands for the help file opened on the main window among the posted messages.
const Sent HELP_SHOWN{false, 0, MENU_SHOW_HELP, 0};

class Recorder : public TMenuCommandTarget {
public:
    void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        sent.push_back({false, message, wParam, lParam});
    }
    void PostToClient(UINT message) override { sent.push_back({true, message, 0, 0}); }
    void ShowHelp() override { sent.push_back(HELP_SHOWN); }
    std::vector<Sent> sent;
};

TEST(MenuItemsTest, CommandsPostTheirMessagesAndSetTheirSwitches)
{
    const Sent REPAINT_CONTROLS{false, UM_REPAINT, 5, 1};
    const MenuSelection none;
    const MenuSelection row3{3, SEARCH_FOUND};
    const uint32_t ALL = RIGHTS_NOT_IN_USE;
    const uint32_t NO_INPUT = ALL & ~(RIGHT_MOUSE | RIGHT_KEYBOARD);
    const uint32_t IDLE_REDUCED = WithConnectionState(0x10, CONNECTION_IDLE);
    struct Case {
        UINT id;
        uint32_t rights;
        uint32_t flagsBefore;
        MenuSelection selection;
        std::vector<Sent> sent;
        uint32_t flagsAfter;
    };
    const Case cases[] = {
        {MENU_OPEN_LIST, ALL, IDLE_REDUCED, none, {{true, TM_LOAD_LIST, 0, 0}}, IDLE_REDUCED},
        {MENU_SAVE_LIST, ALL, IDLE_REDUCED, none, {{true, TM_SAVE_LIST, 0, 0}}, IDLE_REDUCED},
        {MENU_CLOSE, ALL, IDLE_REDUCED, none, {{false, UM_QUIT_REQUEST, 0, 0}}, IDLE_REDUCED},
        {MENU_WIZARD, ALL, IDLE_REDUCED, none, {{false, UM_SHOW_WIZARD, 0, 0}}, IDLE_REDUCED},
        {MENU_OPTIONS, ALL, IDLE_REDUCED, none, {{false, UM_SHOW_OPTIONS, 0, 0}}, IDLE_REDUCED},
        {MENU_ABOUT, ALL, IDLE_REDUCED, none, {{false, UM_SHOW_ABOUT, 0, 0}}, IDLE_REDUCED},
        {MENU_SHOW_HELP, ALL, 0x410, row3, {HELP_SHOWN}, 0x410},
        // The destination list runs its dialogs for these once the menu has closed.
        {MENU_ADD_DESTINATION,
         ALL,
         IDLE_REDUCED,
         row3,
         {{false, WM_COMMAND, MENU_ADD_DESTINATION, 0}},
         IDLE_REDUCED},
        {MENU_EDIT_DESTINATION,
         ALL,
         IDLE_REDUCED,
         row3,
         {{false, WM_COMMAND, MENU_EDIT_DESTINATION, 0}},
         IDLE_REDUCED},
        {MENU_DELETE_DESTINATION,
         ALL,
         IDLE_REDUCED,
         none,
         {{false, WM_COMMAND, MENU_DELETE_DESTINATION, 0}},
         IDLE_REDUCED},
        {MENU_SEPARATOR, ALL, IDLE_REDUCED, row3, {}, IDLE_REDUCED},
        {MENU_LAST_COMMAND + 1, ALL, IDLE_REDUCED, row3, {}, IDLE_REDUCED},
        // Views: only bits 4 to 6 change.
        {MENU_VIEW_CLIP, ALL, 0x493, none, {{false, UM_UI_STATE, 0, 0}, REPAINT_CONTROLS}, 0x4A3},
        {MENU_VIEW_FULL, ALL, 0x123, none, {{false, UM_UI_STATE, 0, 0}, REPAINT_CONTROLS}, 0x143},
        {MENU_VIEW_REDUCED,
         ALL,
         0x143,
         none,
         {{false, UM_UI_STATE, 0, 0}, REPAINT_CONTROLS},
         0x113},
        // Session steps carry the selected row where they name a destination.
        {MENU_CONNECT,
         ALL,
         IDLE_REDUCED,
         none,
         {{false, UM_CONNECT_EVENT, 1, -1}, REPAINT_CONTROLS},
         IDLE_REDUCED},
        {MENU_CONNECT,
         ALL,
         IDLE_REDUCED,
         row3,
         {{false, UM_CONNECT_EVENT, 1, 3}, REPAINT_CONTROLS},
         IDLE_REDUCED},
        {MENU_PAUSE, ALL, 0x410, row3, {{false, UM_CONNECT_EVENT, 3, 0}, REPAINT_CONTROLS}, 0x410},
        {MENU_DISCONNECT,
         ALL,
         0x410,
         row3,
         {{false, UM_CONNECT_EVENT, 4, 0}, REPAINT_CONTROLS},
         0x410},
        {MENU_WAKE, ALL, IDLE_REDUCED, row3, {{false, UM_WAKE_DESTINATION, 3, 0}}, IDLE_REDUCED},
        {MENU_PUSH_UPDATE,
         ALL,
         IDLE_REDUCED,
         row3,
         {{false, UM_SEND_UPDATE_REQUEST, 3, 0}},
         IDLE_REDUCED},
        {MENU_WAKE, ALL, IDLE_REDUCED, none, {}, IDLE_REDUCED},
        {MENU_PUSH_UPDATE, ALL, IDLE_REDUCED, none, {}, IDLE_REDUCED},
        // Switches: on only with the right and when off; off in every other case.
        {MENU_MOUSE_SWITCH, ALL, 0x110, none, {REPAINT_CONTROLS}, 0x111},
        {MENU_MOUSE_SWITCH, ALL, 0x113, none, {REPAINT_CONTROLS}, 0x112},
        {MENU_MOUSE_SWITCH, NO_INPUT, 0x110, none, {REPAINT_CONTROLS}, 0x110},
        {MENU_MOUSE_SWITCH, NO_INPUT, 0x113, none, {REPAINT_CONTROLS}, 0x112},
        {MENU_KEYBOARD_SWITCH, ALL, 0x111, none, {REPAINT_CONTROLS}, 0x113},
        {MENU_KEYBOARD_SWITCH, ALL, 0x113, none, {REPAINT_CONTROLS}, 0x111},
        {MENU_KEYBOARD_SWITCH, NO_INPUT, 0x111, none, {REPAINT_CONTROLS}, 0x111},
        {MENU_KEYBOARD_SWITCH, NO_INPUT, 0x112, none, {REPAINT_CONTROLS}, 0x110},
        {MENU_KEYBOARD_SWITCH, RIGHT_KEYBOARD, 0x110, none, {REPAINT_CONTROLS}, 0x112},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item " << c.id << " rights " << std::hex << c.rights
                                          << " flags " << c.flagsBefore);
        TFernSettings settings;
        settings.displayFlags = c.flagsBefore;
        Recorder recorder;
        RunMenuCommand(c.id, settings, c.rights, c.selection, recorder);
        EXPECT_EQ(recorder.sent, c.sent);
        EXPECT_EQ(settings.displayFlags.load(), c.flagsAfter);
    }
}

} // namespace

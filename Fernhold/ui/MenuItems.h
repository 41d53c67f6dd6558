// The menu bar's commands without a window: the four menus and their items, which items
// are usable in which state, and what each command does.
#pragma once

#include <windows.h>

#include <cstdint>

struct TFernSettings;

// Menu titles, numbered from 1 as they stand in the bar.
enum MenuTitle : int { MENU_FILE = 1, MENU_EDIT, MENU_OPERATION, MENU_HELP };
constexpr int MENU_TITLE_COUNT = 4;

// Command IDs of the items; 0 is a separator.
enum MenuCommand : UINT {
    MENU_SEPARATOR = 0,
    MENU_OPEN_LIST = 1,
    MENU_SAVE_LIST = 2,
    MENU_CLOSE = 3,
    MENU_ADD_DESTINATION = 4,
    MENU_EDIT_DESTINATION = 5,
    MENU_DELETE_DESTINATION = 6,
    MENU_VIEW_REDUCED = 7,
    MENU_VIEW_CLIP = 8,
    MENU_VIEW_FULL = 9,
    MENU_CONNECT = 10,
    MENU_PAUSE = 11,
    MENU_DISCONNECT = 12,
    MENU_MOUSE_SWITCH = 13,
    MENU_KEYBOARD_SWITCH = 14,
    MENU_SHOW_HELP = 15,
    MENU_ABOUT = 16,
    MENU_OPTIONS = 17,
    MENU_WAKE = 18,
    MENU_WIZARD = 19,
    MENU_PUSH_UPDATE = 20,
};
constexpr UINT MENU_LAST_COMMAND = MENU_PUSH_UPDATE;

struct MenuItem {
    UINT id;
    const char* label;      // null for a separator
    const char* statusText; // shown while the item is selected
};

// The items of one menu in their order, separators included.
struct MenuItemList {
    const MenuItem* items;
    int count;
};

// Menu 1 to 4; an empty list for any other number.
MenuItemList GetMenuItems(int title);
// The item of a command ID, null for a separator or an unknown ID.
const MenuItem* FindMenuItem(UINT id);
// The hover text of a title, null for no title.
const char* GetMenuTitleText(int title);

// Shared with the title bar's close button.
extern const char STATUS_TEXT_CLOSE_WINDOW[];

// The destination list's selected row as the menus see it.
constexpr long NO_SELECTED_ROW = -1;
// The selected row's search state is not known (SEARCH_FOUND and the rest are).
constexpr int SEARCH_STATE_UNKNOWN = -1;
struct MenuSelection {
    long row = NO_SELECTED_ROW;
    int searchState = SEARCH_STATE_UNKNOWN;
};

struct MenuItemState {
    bool enabled;
    bool checked;
};
// How an item is offered when its menu opens, from the connection state and switches
// in displayFlags and the selected row.
MenuItemState GetMenuItemState(UINT id, uint32_t displayFlags, const MenuSelection& selection);

// Where the commands' messages go; the menu window posts them, tests record them.
class TMenuCommandTarget {
public:
    virtual void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A thread message to the client engine.
    virtual void PostToClient(UINT message) = 0;
    // Opens the help file on the main window.
    virtual void ShowHelp() = 0;

protected:
    ~TMenuCommandTarget() = default;
};

// Runs a chosen command: view choices and switches change displayFlags, everything else
// is posted (add, edit and delete as WM_COMMAND with their ID), help is shown. Unknown
// IDs do nothing. Main thread.
void RunMenuCommand(UINT id, TFernSettings& settings, uint32_t rights,
                    const MenuSelection& selection, TMenuCommandTarget& target);

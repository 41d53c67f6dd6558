// The menus' items, their states and their commands.
#include "ui/MenuItems.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/TDestination.h"
#include "net/TFernSettings.h"
#include "ui/ConnectionState.h"
#include "ui/ControlActions.h"
#include "ui/RightsCheck.h"

const char STATUS_TEXT_CLOSE_WINDOW[] = "ウィンドウを閉じます。( アプリケーションを終了します )";

namespace {

constexpr MenuItem SEPARATOR{MENU_SEPARATOR, nullptr, nullptr};

const MenuItem FILE_ITEMS[] = {
    {MENU_OPEN_LIST, "接続先リストを開く", "接続先リストを読み込みます。"},
    {MENU_SAVE_LIST, "接続先リストを保存する", "接続先リストを保存します。"},
    SEPARATOR,
    {MENU_CLOSE, "閉じる", STATUS_TEXT_CLOSE_WINDOW},
};

const MenuItem EDIT_ITEMS[] = {
    {MENU_WIZARD, "接続先追加ウィザード", "接続先の追加作業を補助します。"},
    SEPARATOR,
    {MENU_ADD_DESTINATION, "接続先を追加する",
     "接続先を追加できます。( コンピュータネーム又は IPアドレスで指定できます。)"},
    {MENU_EDIT_DESTINATION, "接続先を編集する", "現在選択している接続先情報を編集します。"},
    {MENU_DELETE_DESTINATION, "接続先を削除する",
     "現在選択している接続先情報を削除します。( 削除した場合復元できません。)"},
    SEPARATOR,
    {MENU_OPTIONS, "オプション設定", "Fernhold の各種設定をします。"},
};

const MenuItem OPERATION_ITEMS[] = {
    {MENU_VIEW_REDUCED, "左画面操作", "縮小全体画面表示ウィンドウで作業をします。"},
    {MENU_VIEW_CLIP, "右画面操作", "原寸範囲画面表示ウィンドウで作業をします。"},
    {MENU_VIEW_FULL, "別画面操作",
     "原寸全体画面表示ウィンドウで作業します。( 別ウィンドウが開きます。 )"},
    SEPARATOR,
    {MENU_WAKE, "接続先の電源を入れる", "選択されているｱｲﾃﾑの電源を入れます。"},
    {MENU_PUSH_UPDATE, "接続先にアップデート処理をさせる",
     "接続先の Fernhold のバージョンをこのバージョンにアップデートします。"},
    SEPARATOR,
    {MENU_CONNECT, "接続する", "選択しているコンピュータに接続します。"},
    {MENU_PAUSE, "一時停止する", "接続中の場合、接続を維持しつつ全ての通信を一時停止します。"},
    {MENU_DISCONNECT, "切断する", "接続中の場合、接続を終了します。"},
    SEPARATOR,
    {MENU_MOUSE_SWITCH, "ﾏｳｽｲﾍﾞﾝﾄ",
     "マウスイベントを送信するか否かを設定します。( ON で送信します。 )"},
    {MENU_KEYBOARD_SWITCH, "ｷｰﾎﾞｰﾄﾞｲﾍﾞﾝﾄ",
     "キーボードイベントを送信するか否かを設定します。( ON で送信します。)"},
};

const MenuItem HELP_ITEMS[] = {
    {MENU_SHOW_HELP, "ヘルプを表示", "ヘルプを表示します。"},
    {MENU_ABOUT, "バージョン情報", "バージョン情報を表示します。"},
};

template <int N> constexpr MenuItemList ListOf(const MenuItem (&items)[N]) { return {items, N}; }

const MenuItemList MENUS[MENU_TITLE_COUNT] = {ListOf(FILE_ITEMS), ListOf(EDIT_ITEMS),
                                              ListOf(OPERATION_ITEMS), ListOf(HELP_ITEMS)};

const char* const TITLE_TEXTS[MENU_TITLE_COUNT] = {"ファイルメニューです。", "編集メニューです。",
                                                   "操作メニューです。", "ヘルプメニューです。"};

// Commands that only pass a request on, to the main window or the client engine.
struct Forward {
    UINT id;
    bool toClient;
    UINT message;
};
const Forward FORWARDS[] = {
    {MENU_OPEN_LIST, true, TM_LOAD_LIST},   {MENU_SAVE_LIST, true, TM_SAVE_LIST},
    {MENU_CLOSE, false, UM_QUIT_REQUEST},   {MENU_WIZARD, false, UM_SHOW_WIZARD},
    {MENU_OPTIONS, false, UM_SHOW_OPTIONS}, {MENU_ABOUT, false, UM_SHOW_ABOUT},
};

uint32_t ViewOf(UINT id)
{
    switch (id) {
    case MENU_VIEW_REDUCED:
        return VIEW_REDUCED;
    case MENU_VIEW_CLIP:
        return VIEW_CLIP;
    default:
        return VIEW_FULL;
    }
}

} // namespace

MenuItemList GetMenuItems(int title)
{
    if (title < 1 || title > MENU_TITLE_COUNT) return {nullptr, 0};
    return MENUS[title - 1];
}

const MenuItem* FindMenuItem(UINT id)
{
    if (id == MENU_SEPARATOR) return nullptr;
    for (const MenuItemList& menu : MENUS)
        for (int i = 0; i < menu.count; ++i)
            if (menu.items[i].id == id) return &menu.items[i];
    return nullptr;
}

const char* GetMenuTitleText(int title)
{
    if (title < 1 || title > MENU_TITLE_COUNT) return nullptr;
    return TITLE_TEXTS[title - 1];
}

MenuItemState GetMenuItemState(UINT id, uint32_t displayFlags, const MenuSelection& selection)
{
    const uint32_t state = GetConnectionState(displayFlags);
    const bool idle = state == CONNECTION_IDLE;
    const bool connected = state == CONNECTION_CONNECTED;
    const bool paused = state == CONNECTION_PAUSED;
    const bool rowFound = selection.row != NO_SELECTED_ROW && selection.searchState == SEARCH_FOUND;
    switch (id) {
    case MENU_OPEN_LIST:
    case MENU_SAVE_LIST:
    case MENU_ADD_DESTINATION:
    case MENU_EDIT_DESTINATION:
    case MENU_DELETE_DESTINATION:
        return {idle, false};
    case MENU_VIEW_REDUCED:
    case MENU_VIEW_CLIP:
    case MENU_VIEW_FULL:
        return {true, (displayFlags & VIEW_MASK) == ViewOf(id)};
    case MENU_WAKE:
        // A found destination is already on.
        return {selection.row != NO_SELECTED_ROW && !rowFound, false};
    case MENU_PUSH_UPDATE:
        return {rowFound, false};
    case MENU_CONNECT:
        return {idle || paused, false};
    case MENU_PAUSE:
        return {connected, false};
    case MENU_DISCONNECT:
        return {connected || paused, false};
    case MENU_MOUSE_SWITCH:
        return {true, (displayFlags & DISPLAY_SEND_MOUSE) != 0};
    case MENU_KEYBOARD_SWITCH:
        return {true, (displayFlags & DISPLAY_SEND_KEYBOARD) != 0};
    default:
        return {true, false};
    }
}

void RunMenuCommand(UINT id, TFernSettings& settings, uint32_t rights,
                    const MenuSelection& selection, TMenuCommandTarget& target)
{
    for (const Forward& forward : FORWARDS) {
        if (forward.id != id) continue;
        if (forward.toClient)
            target.PostToClient(forward.message);
        else
            target.PostToMain(forward.message, 0, 0);
        return;
    }
    switch (id) {
    case MENU_SHOW_HELP:
        target.ShowHelp();
        return;
    case MENU_ADD_DESTINATION:
    case MENU_EDIT_DESTINATION:
    case MENU_DELETE_DESTINATION:
        // The main window hands them to the destination list, which runs the dialogs
        // once the menu has closed.
        target.PostToMain(WM_COMMAND, id, 0);
        return;
    case MENU_WAKE:
    case MENU_PUSH_UPDATE:
        // Offered only with a row; a command that arrives without one names nothing.
        if (selection.row == NO_SELECTED_ROW) return;
        target.PostToMain(id == MENU_WAKE ? UM_WAKE_DESTINATION : UM_SEND_UPDATE_REQUEST,
                          static_cast<WPARAM>(selection.row), 0);
        return;
    case MENU_VIEW_REDUCED:
    case MENU_VIEW_CLIP:
    case MENU_VIEW_FULL:
        SelectWorkingView(settings, ViewOf(id));
        target.PostToMain(UM_UI_STATE, UI_STATE_UNCHANGED, 0);
        break;
    case MENU_CONNECT:
        target.PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_CONNECT, selection.row);
        break;
    case MENU_PAUSE:
        target.PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_PAUSE, 0);
        break;
    case MENU_DISCONNECT:
        target.PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_DISCONNECT, 0);
        break;
    case MENU_MOUSE_SWITCH:
        ClickEventSwitch(settings, rights, DISPLAY_SEND_MOUSE);
        break;
    case MENU_KEYBOARD_SWITCH:
        ClickEventSwitch(settings, rights, DISPLAY_SEND_KEYBOARD);
        break;
    default:
        // Unknown IDs.
        return;
    }
    // The control window shows the view, the session and the switches too.
    target.PostToMain(UM_REPAINT, REPAINT_CONTROL, 1);
}

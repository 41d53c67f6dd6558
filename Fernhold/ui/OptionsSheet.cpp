// Options sheet: filling and applying the working copy.
#include "ui/OptionsSheet.h"

#include "net/NetMessages.h"
#include "net/MainWindowMessages.h"
#include "ui/ConnectionState.h"
#include "ui/RightsCheck.h"

const char RIGHTS_SET_QUESTION[] =
    "ユーザー権限に変更が加えられました。\n管理者ネームとパスワードを設定してください。\n\n"
    "'いいえ' を選ぶとユーザー権限は使用されません。";
const char RIGHTS_ALL_ENABLED_QUESTION[] =
    "ユーザー権限が全て有効に変更されました。\nユーザー権限の使用を中止しますか？\n\n"
    "'いいえ'を選ぶと変更をキャンセルします。";

namespace {
constexpr uint32_t RIGHTS_WERE_UNUSED = 0x80000000;
constexpr uint32_t ALL_TEN_RIGHTS = 0x3FF;

void ApplyRights(const TOptionsWorkingCopy& working, TAppShell& shell, TOptionsSheetSteps& steps)
{
    uint32_t rights = working.user.rights;
    if (rights == RIGHTS_NOT_IN_USE) return;
    if (rights & RIGHTS_WERE_UNUSED) {
        if (steps.AskYesNo(RIGHTS_SET_QUESTION) && steps.RunPasswordDialog() == 1)
            SaveAdministrator(working, shell);
    } else if ((rights & ALL_TEN_RIGHTS) != ALL_TEN_RIGHTS) {
        shell.SaveUserCredentials(working.user);
    } else if (steps.AskYesNo(RIGHTS_ALL_ENABLED_QUESTION)) {
        TUserCredentials unused = working.user;
        unused.name = TString("");
        unused.password = TString("");
        unused.rights = RIGHTS_NOT_IN_USE;
        shell.SaveUserCredentials(unused);
    }
}
} // namespace

void SaveAdministrator(const TOptionsWorkingCopy& working, TAppShell& shell)
{
    TUserCredentials inUse = working.user;
    inUse.rights &= ~RIGHTS_WERE_UNUSED;
    shell.SaveUserCredentials(inUse);
}

int ShowOptionsSheet(TOptionsWorkingCopy& working, TFernSettings& settings, TAppShell& shell,
                     TOptionsSheetSteps& steps)
{
    working.port = settings.port;
    working.serverFlags = settings.serverFlags;
    working.searchFlags = settings.searchFlags;
    working.listFile = settings.defaultListFile;
    shell.GetUserCredentials(working.user);
    if (!(shell.GetRights() & RIGHT_CHANGE_OPTIONS) && steps.Authenticate() != 1) return 0;
    if (steps.RunSheet() != 1) return 0;

    settings.serverFlags = working.serverFlags;
    settings.defaultListFile = working.listFile;
    settings.searchFlags = working.searchFlags;
    if (working.port != settings.port) {
        settings.port = working.port;
        steps.PostToServer(TM_CLOSE_LISTENERS);
        steps.PostToServer(TM_REFRESH_LISTENERS);
    }
    ApplyRights(working, shell, steps);
    uint32_t rights = shell.GetRights();
    if (!(rights & RIGHT_MOUSE)) settings.displayFlags &= ~DISPLAY_SEND_MOUSE;
    if (!(rights & RIGHT_KEYBOARD)) settings.displayFlags &= ~DISPLAY_SEND_KEYBOARD;
    steps.PostToMainWindow(UM_RESET_SEARCH, 0, 0);
    steps.PostToMainWindow(UM_REPAINT, REPAINT_ALL, 1);
    return 1;
}

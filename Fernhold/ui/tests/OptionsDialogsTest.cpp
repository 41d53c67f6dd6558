// The options sheet's rules without windows, then the sheet, the administrator dialogs
// and the about dialog on the display, driven through their controls.
#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorDialogs.h"
#include "ui/OptionsSheet.h"
#include "ui/PortText.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"
#include "ui/tests/DialogPerson.h"
#include "ui/tests/MainWindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <winsock2.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(PortTextTest, OnlyDecimalOneTo65535IsAPort)
{
    struct Case {
        const char* text;
        bool accepted;
        unsigned short port;
    } cases[] = {{"1", true, 1},      {"5483", true, 5483}, {"65535", true, 65535},
                 {"00080", true, 80}, {"0", false, 0},      {"65536", false, 0},
                 {"99999", false, 0}, {"", false, 0},       {"12a", false, 0},
                 {"-1", false, 0},    {" 80", false, 0},    {"4294967297", false, 0}};
    for (const Case& c : cases) {
        unsigned short port = 7;
        EXPECT_EQ(ParsePortText(c.text, port), c.accepted) << c.text;
        EXPECT_EQ(port, c.accepted ? c.port : 7) << c.text;
    }
    unsigned short port = 7;
    EXPECT_FALSE(ParsePortText(nullptr, port));
}

// The window side of a sheet run, scripted: what the sheet does to the working copy and
// the answers to the questions; what was asked and posted is recorded.
class ScriptedSteps : public TOptionsSheetSteps {
public:
    int Authenticate() override { return ++authentications, authenticateAnswer; }
    int RunSheet() override
    {
        if (sheetEdit) sheetEdit(*working);
        return sheetAnswer;
    }
    int AskYesNo(const char* question) override { return questions.push_back(question), yes; }
    int RunPasswordDialog() override
    {
        ++passwordDialogs;
        if (!passwordAnswer) return 0;
        working->user.name = TString("boss");
        working->user.password = TString("pw");
        return 1;
    }
    void PostToServer(UINT message) override { serverPosts.push_back(message); }
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        windowPosts.push_back({message, wParam, lParam});
    }

    TOptionsWorkingCopy* working = nullptr;
    std::function<void(TOptionsWorkingCopy&)> sheetEdit;
    int authenticateAnswer = 1, sheetAnswer = 1, yes = 1, passwordAnswer = 1;
    int authentications = 0, passwordDialogs = 0;
    std::vector<const char*> questions;
    std::vector<UINT> serverPosts;
    struct Post {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Post> windowPosts;
};

TEST(OptionsSheetRulesTest, OkAppliesTheRightsTransitionsAndTheirQuestions)
{
    auto clear = [](uint32_t bit) {
        return [bit](TOptionsWorkingCopy& w) { w.user.rights &= ~bit; };
    };
    auto setAll = [](TOptionsWorkingCopy& w) { w.user.rights |= 0x3FF; };
    struct Case {
        const char* what;
        uint32_t rightsBefore;
        std::function<void(TOptionsWorkingCopy&)> edit;
        int yes, passwordAnswer;
        const char* question;
        int saves;
        uint32_t rightsAfter;
        const char* nameAfter;
    } cases[] = {
        {"unused, box cleared, Yes, set", RIGHTS_NOT_IN_USE, clear(RIGHT_WAKE_ON_LAN), 1, 1,
         RIGHTS_SET_QUESTION, 1, 0x7FFFFFFF & ~RIGHT_WAKE_ON_LAN, "boss"},
        {"unused, box cleared, Yes, cancelled", RIGHTS_NOT_IN_USE, clear(RIGHT_CONNECT), 1, 0,
         RIGHTS_SET_QUESTION, 0, RIGHTS_NOT_IN_USE, "admin"},
        {"unused, box cleared, No", RIGHTS_NOT_IN_USE, clear(RIGHT_CONNECT), 0, 1,
         RIGHTS_SET_QUESTION, 0, RIGHTS_NOT_IN_USE, "admin"},
        {"unused, nothing changed", RIGHTS_NOT_IN_USE, nullptr, 1, 1, nullptr, 0, RIGHTS_NOT_IN_USE,
         "admin"},
        {"in use, one more cleared", 0x3F5, clear(RIGHT_ADD_DESTINATION), 1, 1, nullptr, 1, 0x3E5,
         "admin"},
        {"in use, all set again, Yes", 0x3F5, setAll, 1, 1, RIGHTS_ALL_ENABLED_QUESTION, 1,
         RIGHTS_NOT_IN_USE, ""},
        {"in use, all set again, No", 0x3F5, setAll, 0, 1, RIGHTS_ALL_ENABLED_QUESTION, 0, 0x3F5,
         "admin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFernSettings settings;
        settings.port = htons(DEFAULT_PORT);
        RecordingShell shell;
        shell.rights = c.rightsBefore;
        shell.user.name = TString("admin");
        shell.user.password = TString("secret");
        shell.user.reserved = TString("kept");
        TOptionsWorkingCopy working;
        ScriptedSteps steps;
        steps.working = &working;
        steps.sheetEdit = c.edit;
        steps.yes = c.yes;
        steps.passwordAnswer = c.passwordAnswer;
        EXPECT_EQ(ShowOptionsSheet(working, settings, shell, steps), 1);
        ASSERT_EQ(steps.questions.size(), c.question ? 1u : 0u);
        if (c.question) {
            EXPECT_EQ(steps.questions[0], c.question);
        }
        EXPECT_EQ(shell.saves, c.saves);
        EXPECT_EQ(shell.rights, c.rightsAfter);
        EXPECT_STREQ(static_cast<const char*>(shell.user.name), c.nameAfter);
        EXPECT_STREQ(static_cast<const char*>(shell.user.reserved), "kept");
        if (c.rightsAfter == RIGHTS_NOT_IN_USE && c.saves) {
            EXPECT_STREQ(static_cast<const char*>(shell.user.password), "");
        }
        EXPECT_TRUE(steps.serverPosts.empty());
        ASSERT_EQ(steps.windowPosts.size(), 2u);
        EXPECT_EQ(steps.windowPosts[0].message, UM_RESET_SEARCH);
        EXPECT_EQ(steps.windowPosts[1].message, UM_REPAINT);
        EXPECT_EQ(steps.windowPosts[1].wParam, 0u);
        EXPECT_EQ(steps.windowPosts[1].lParam, 1);
    }
}

TEST(OptionsSheetRulesTest, PortFlagsSwitchesAndTheOptionsRight)
{
    TFernSettings settings;
    settings.port = htons(DEFAULT_PORT);
    settings.displayFlags = 0x113;
    RecordingShell shell;
    shell.rights = 0x3F3; // options, no mouse, no keyboard
    TOptionsWorkingCopy working;
    ScriptedSteps steps;
    steps.working = &working;
    steps.sheetEdit = [](TOptionsWorkingCopy& w) {
        w.port = htons(6001);
        w.serverFlags = 1;
        w.searchFlags = 0;
        w.listFile = TString("other.clf");
    };
    EXPECT_EQ(ShowOptionsSheet(working, settings, shell, steps), 1);
    EXPECT_EQ(steps.authentications, 0);
    EXPECT_EQ(ntohs(settings.port), 6001);
    EXPECT_EQ(settings.serverFlags.load(), 1u);
    EXPECT_EQ(settings.searchFlags.load(), 0u);
    EXPECT_STREQ(static_cast<const char*>(settings.defaultListFile), "other.clf");
    EXPECT_EQ(steps.serverPosts, (std::vector<UINT>{TM_CLOSE_LISTENERS, TM_REFRESH_LISTENERS}));
    EXPECT_EQ(settings.displayFlags.load(), 0x110u);

    // Without the options right the administrator is asked first; a refusal or a cancelled
    // sheet applies nothing.
    shell.rights = 0x1FF;
    for (int refuse : {0, 1}) {
        ScriptedSteps refused;
        refused.working = &working;
        refused.authenticateAnswer = refuse ? 0 : 1;
        refused.sheetAnswer = 0;
        refused.sheetEdit = [](TOptionsWorkingCopy& w) { w.port = htons(7000); };
        EXPECT_EQ(ShowOptionsSheet(working, settings, shell, refused), 0);
        EXPECT_EQ(refused.authentications, 1);
        EXPECT_EQ(ntohs(settings.port), 6001);
        EXPECT_TRUE(refused.serverPosts.empty() && refused.windowPosts.empty());
    }
}

TEST(AdministratorDialogsTest, PasswordEntriesAndAboutAddress)
{
    EXPECT_EQ(PasswordEntryProblem("", "a", "a"), NO_NAME_MESSAGE);
    EXPECT_EQ(PasswordEntryProblem("n", "", ""), NO_PASSWORD_MESSAGE);
    EXPECT_EQ(PasswordEntryProblem("n", "abc", "abC"), PASSWORD_MISMATCH_MESSAGE);
    EXPECT_EQ(PasswordEntryProblem("n", "abc", "abc"), nullptr);
    char text[16];
    const unsigned char loopback[4] = {127, 0, 0, 1};
    FormatAboutAddress(loopback, text);
    EXPECT_STREQ(text, "127.  0.  0.  1");
    const unsigned char wide[4] = {255, 255, 10, 200};
    FormatAboutAddress(wide, text);
    EXPECT_STREQ(text, "255.255. 10.200");
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness.shell.user.name = TString("admin");
        harness.shell.user.password = TString("secret");
        ASSERT_TRUE(harness.Create());
        DrainMessages();
    }
    LRESULT Send(UINT message)
    {
        return SendMessageA(harness.Handle(), message, reinterpret_cast<WPARAM>(harness.Handle()),
                            0);
    }
    MainWindowHarness harness;
};

TEST_F(DialogTest, WrongEntriesKeepTheAuthenticationDialogOpenEveryTime)
{
    DialogPerson person([] {
        return Authenticate("Admin", "secret", true) && Authenticate("admin", "Secret", true) &&
               Authenticate("", "", true) && Authenticate("admin", "secret");
    });
    EXPECT_EQ(Send(UM_AUTHENTICATE), 1);
    EXPECT_TRUE(person.Finish());

    DialogPerson cancel([] {
        HWND dialog = WaitForDialog(AUTHENTICATION);
        ClickButton(dialog, IDCANCEL);
        return dialog && WaitUntilGone(dialog);
    });
    EXPECT_EQ(Send(UM_AUTHENTICATE), 0);
    EXPECT_TRUE(cancel.Finish());
}

TEST_F(DialogTest, TheOptionsRightDecidesWhetherTheSheetAsksBeforeTheRightsPage)
{
    struct Case {
        uint32_t rights;
        int asksOnOpening;
    } cases[] = {{0x1FF, 1}, {0x3FF & ~RIGHT_CONNECT, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rights);
        harness.shell.rights = c.rights;
        int asked = 0;
        bool askedBeforeSheet = false;
        DialogPerson person([&] {
            if (c.asksOnOpening) {
                if (!Authenticate("admin", "secret")) return false;
                ++asked;
            }
            HWND sheet = WaitForDialog(SHEET);
            if (!sheet) return false;
            askedBeforeSheet = asked == 1;
            // The general page opens without asking; the rights page asks.
            if (WaitForDialog(AUTHENTICATION, 300)) return false;
            PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
            if (!Authenticate("admin", "secret")) return false;
            ++asked;
            HWND page = ShowPage(sheet, 1, IDC_CHANGE_ADMINISTRATOR);
            bool shown = page && IsWindowEnabled(GetDlgItem(page, IDC_CHANGE_ADMINISTRATOR)) &&
                         IsChecked(page, IDC_RIGHT_SHOW_MAIN) == ((c.rights & 1) != 0) &&
                         !IsChecked(page, IDC_RIGHT_CONNECT) == !(c.rights & RIGHT_CONNECT);
            PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
            return shown && WaitUntilGone(sheet);
        });
        EXPECT_EQ(Send(UM_SHOW_OPTIONS), 0);
        EXPECT_TRUE(person.Finish());
        EXPECT_EQ(asked, 1 + c.asksOnOpening);
        EXPECT_EQ(askedBeforeSheet, c.asksOnOpening == 1);
        EXPECT_EQ(harness.shell.saves, 0);
    }
}

TEST_F(DialogTest, AFailedAuthenticationLocksTheRightsPage)
{
    harness.shell.rights = 0x3F5;
    DialogPerson person([] {
        HWND sheet = WaitForDialog(SHEET);
        if (!sheet) return false;
        PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND dialog = WaitForDialog(AUTHENTICATION);
        ClickButton(dialog, IDCANCEL);
        if (!dialog || !WaitUntilGone(dialog)) return false;
        HWND page = ShowPage(sheet, 1, IDC_CHANGE_ADMINISTRATOR);
        // Seen but not changed: the boxes show the rights, page and controls are disabled.
        bool locked = page && !IsWindowEnabled(page) &&
                      !IsWindowEnabled(GetDlgItem(page, IDC_RIGHT_MOUSE)) &&
                      IsChecked(page, IDC_RIGHT_MOUSE) && !IsChecked(page, IDC_RIGHT_CONNECT);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return locked && WaitUntilGone(sheet);
    });
    EXPECT_EQ(Send(UM_SHOW_OPTIONS), 1);
    EXPECT_TRUE(person.Finish());
    EXPECT_EQ(harness.shell.rights, 0x3F5u);
}

TEST_F(DialogTest, APortOutsideOneTo65535RefusesOkAndKeepsTheFocusInThePortField)
{
    harness.settings.port = htons(DEFAULT_PORT);
    std::vector<std::string> told;
    bool focused = true;
    DialogPerson person([&] {
        HWND sheet = WaitForDialog(SHEET);
        if (!sheet) return false;
        HWND general = CurrentPage(sheet);
        if (ControlText(general, IDC_OPTIONS_PORT) != "5483") return false;
        for (const char* bad : {"0", "65536", "99999", ""}) {
            SetControlText(general, IDC_OPTIONS_PORT, bad);
            // From the rights page too: OK brings the general page back.
            PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            HWND box = WaitForDialog(PROGRAM_TITLE);
            if (!box) return false;
            told.push_back(MessageBoxText(box));
            ClickButton(box, IDOK);
            if (!WaitUntilGone(box) || !WaitForDialog(SHEET)) return false;
            GUITHREADINFO gui{};
            gui.cbSize = sizeof(gui);
            GetGUIThreadInfo(GetWindowThreadProcessId(sheet, nullptr), &gui);
            focused = focused && CurrentPage(sheet) == general &&
                      gui.hwndFocus == GetDlgItem(general, IDC_OPTIONS_PORT);
        }
        SetControlText(general, IDC_OPTIONS_PORT, "65535");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return WaitUntilGone(sheet);
    });
    EXPECT_EQ(Send(UM_SHOW_OPTIONS), 1);
    EXPECT_TRUE(person.Finish());
    EXPECT_EQ(told, std::vector<std::string>(4, PORT_TEXT_MESSAGE));
    EXPECT_TRUE(focused);
    EXPECT_EQ(ntohs(harness.settings.port), 65535);
}

TEST_F(DialogTest, ThePasswordDialogRefusesIncompleteEntriesAndStoresTheRest)
{
    struct Entry {
        const char *name, *password, *confirm, *told;
    } refused[] = {{"", "pw", "pw", NO_NAME_MESSAGE},
                   {"boss", "", "", NO_PASSWORD_MESSAGE},
                   {"boss", "pw", "pW", PASSWORD_MISMATCH_MESSAGE}};
    // The sheet's working copy is filled when it opens; here it is cancelled at once.
    DialogPerson sheetCancel([] {
        HWND sheet = WaitForDialog(SHEET);
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        return sheet && WaitUntilGone(sheet);
    });
    Send(UM_SHOW_OPTIONS);
    EXPECT_TRUE(sheetCancel.Finish());
    bool filled = false;
    std::vector<std::string> told;
    DialogPerson person([&] {
        HWND dialog = WaitForDialog(PASSWORD);
        if (!dialog) return false;
        filled = ControlText(dialog, IDC_ADMIN_NAME) == "admin" &&
                 ControlText(dialog, IDC_ADMIN_CONFIRM) == "secret";
        for (const Entry& e : refused) {
            SetControlText(dialog, IDC_ADMIN_NAME, e.name);
            SetControlText(dialog, IDC_ADMIN_PASSWORD, e.password);
            SetControlText(dialog, IDC_ADMIN_CONFIRM, e.confirm);
            ClickButton(dialog, IDOK);
            HWND box = WaitForDialog(PROGRAM_TITLE);
            if (!box) return false;
            told.push_back(MessageBoxText(box));
            ClickButton(box, IDOK);
            if (!WaitUntilGone(box)) return false;
        }
        SetControlText(dialog, IDC_ADMIN_CONFIRM, "pw");
        ClickButton(dialog, IDOK);
        return WaitUntilGone(dialog);
    });
    EXPECT_EQ(Send(UM_PASSWORD_DIALOG), 1);
    EXPECT_TRUE(person.Finish());
    EXPECT_TRUE(filled);
    EXPECT_EQ(told, (std::vector<std::string>{NO_NAME_MESSAGE, NO_PASSWORD_MESSAGE,
                                              PASSWORD_MISMATCH_MESSAGE}));
    EXPECT_EQ(harness.shell.saves, 0); // stored in the working copy only
}

TEST_F(DialogTest, TheAboutDialogShowsVersionHostAddressAndMacs)
{
    harness.shell.macs = {TString("00 : 11 : 22 : 33 : 44 : 55"),
                          TString("0A : 0B : 0C : 0D : 0E : 0F")};
    char host[256] = {};
    gethostname(host, sizeof(host));
    char address[16] = {};
    TMemoryBase addresses;
    if (LookupHostAddresses(addresses) && addresses.GetSize() >= 4) {
        unsigned char first[4];
        memcpy(first, static_cast<unsigned char*>(addresses), 4);
        FormatAboutAddress(first, address);
    }
    std::vector<std::string> seen, macs;
    DialogPerson person([&] {
        HWND about = WaitForDialog("バージョン情報");
        if (!about) return false;
        seen = {ControlText(about, IDC_ABOUT_VERSION), ControlText(about, IDC_ABOUT_HOST),
                ControlText(about, IDC_ABOUT_ADDRESS)};
        HWND list = GetDlgItem(about, IDC_ABOUT_MACS);
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            macs.push_back(text);
        }
        ClickButton(about, IDOK);
        return WaitUntilGone(about);
    });
    Send(UM_SHOW_ABOUT);
    EXPECT_TRUE(person.Finish());
    EXPECT_EQ(seen, (std::vector<std::string>{"1.13", host, address}));
    EXPECT_EQ(strlen(address), 15u);
    EXPECT_EQ(macs, (std::vector<std::string>{"00 : 11 : 22 : 33 : 44 : 55",
                                              "0A : 0B : 0C : 0D : 0E : 0F"}));
}

} // namespace

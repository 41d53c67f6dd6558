// The options sheet in the running program: rights set and given up with the user files
// written, a changed port listened on, and the administrator asked before a connect.
#include "app/AppGlobals.h"
#include "app/OptionsFile.h"
#include "app/TMainApp.h"
#include "app/TUserInfo.h"
#include "app/tests/ProgramRunner.h"
#include "app/tests/SettingsTestSupport.h"
#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/OptionsSheet.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"
#include "ui/TMainWindow.h"
#include "ui/tests/DialogPerson.h"
#include "ui/tests/MainWindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class OptionsProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
        char system[MAX_PATH + 32];
        GetSystemCopyPath(system, sizeof(system));
        m_SystemUser = system;
        RemoveFiles();
        // No background search; the default port.
        TFernSettings options;
        options.port = htons(DEFAULT_PORT);
        options.searchFlags = 0;
        ASSERT_EQ(WriteOptionsFile(ProgramFile("FernOption.dat").c_str(), options), 1);
    }
    void TearDown() override { RemoveFiles(); }
    void RemoveFiles()
    {
        DeleteFileA(ProgramFile("FernOption.dat").c_str());
        DeleteFileA(ProgramFile("default.clf").c_str());
        DeleteFileA(m_LocalUser.c_str());
        RemoveDirectoryA(ProgramFile("UserInfo").c_str());
        DeleteFileA(m_SystemUser.c_str());
    }
    void WriteUserFiles(uint32_t rights)
    {
        CreateDirectoryA(ProgramFile("UserInfo").c_str(), nullptr);
        for (const std::string& path : {m_LocalUser, m_SystemUser}) {
            TUserInfo info;
            info.m_Name = TString("admin");
            info.m_Password = TString("secret");
            info.m_Rights = rights;
            ASSERT_EQ(info.Save(TFileName(path.c_str())), 1);
        }
    }
    // Both files load and hold these rights and this administrator. The running program
    // holds them open without sharing: read them once it has ended.
    void ExpectUserFiles(uint32_t rights, const char* name)
    {
        for (const std::string& path : {m_LocalUser, m_SystemUser}) {
            SCOPED_TRACE(path);
            TUserInfo info;
            ASSERT_EQ(info.Load(TFileName(path.c_str())), 1);
            EXPECT_EQ(info.m_Rights, rights);
            EXPECT_TRUE(SameText(info.m_Name, name));
        }
    }
    // Runs the program, gives the test its main window, and shuts it down again.
    void WithProgram(const std::function<void(TMainApp&, HWND)>& body)
    {
        ProgramObjects objects;
        TMainApp app;
        ASSERT_EQ(app.Start(), 1);
        body(app, app.GetMainWindow()->GetHandle());
        app.ShutDown();
        EXPECT_EQ(TMainApp::RunMessageLoop(), 0);
    }
    static LRESULT ShowOptions(HWND hub) { return SendMessageA(hub, UM_SHOW_OPTIONS, 0, 0); }

    std::string m_LocalUser = ProgramFile("UserInfo\\UserInfo1.fnu");
    std::string m_SystemUser;
};

// On the open sheet: to the rights page (answering its administrator question when
// asked), a box set or cleared, OK.
bool ChangeRightsBox(int box, bool checked, bool asks)
{
    HWND sheet = WaitForDialog(SHEET);
    if (!sheet) return false;
    if (asks) {
        PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
        if (!Authenticate("boss", "pw")) return false;
    }
    HWND page = ShowPage(sheet, 1, box);
    if (!page) return false;
    SetCheck(page, box, checked);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return WaitUntilGone(sheet);
}

// Answers the question after OK; true when it was the expected one.
bool Answer(const char* question, int button)
{
    HWND box = WaitForDialog(PROGRAM_TITLE);
    if (!box || MessageBoxText(box) != question) return false;
    ClickButton(box, button);
    return WaitUntilGone(box);
}

bool SetPassword(bool fill)
{
    HWND dialog = WaitForDialog(PASSWORD);
    if (!dialog) return false;
    if (fill) {
        SetControlText(dialog, IDC_ADMIN_NAME, "boss");
        SetControlText(dialog, IDC_ADMIN_PASSWORD, "pw");
        SetControlText(dialog, IDC_ADMIN_CONFIRM, "pw");
    }
    ClickButton(dialog, fill ? IDOK : IDCANCEL);
    return WaitUntilGone(dialog);
}

TEST_F(OptionsProgramTest, RightsAreSetWithAnAdministratorAndGivenUpAgain)
{
    WithProgram([&](TMainApp& app, HWND hub) {
        // Not in use: cleared, OK, Yes, the password dialog cancelled: still not in use.
        DialogPerson cancelled([] {
            return ChangeRightsBox(IDC_RIGHT_CONNECT, false, false) &&
                   Answer(RIGHTS_SET_QUESTION, IDYES) && SetPassword(false);
        });
        EXPECT_EQ(ShowOptions(hub), 1);
        EXPECT_TRUE(cancelled.Finish());
        EXPECT_EQ(app.GetRights(), RIGHTS_NOT_IN_USE);
        EXPECT_FALSE(FileExists(m_LocalUser));

        // The same with the password set: the rights hold everything but connecting.
        DialogPerson set([] {
            return ChangeRightsBox(IDC_RIGHT_CONNECT, false, false) &&
                   Answer(RIGHTS_SET_QUESTION, IDYES) && SetPassword(true);
        });
        EXPECT_EQ(ShowOptions(hub), 1);
        EXPECT_TRUE(set.Finish());
        EXPECT_EQ(app.GetRights(), 0x7FFFFFFFu & ~RIGHT_CONNECT);
    });
    ExpectUserFiles(0x7FFFFFFF & ~RIGHT_CONNECT, "boss");

    // The next run reads them: a connect asks; cancelled, the session stays idle.
    WithProgram([&](TMainApp& app, HWND hub) {
        DialogPerson refused([] {
            HWND dialog = WaitForDialog(AUTHENTICATION);
            ClickButton(dialog, IDCANCEL);
            return dialog && WaitUntilGone(dialog);
        });
        SendMessageA(hub, UM_CONNECT_EVENT, CONNECT_EVENT_CONNECT, 0);
        EXPECT_TRUE(refused.Finish());
        EXPECT_EQ((app.GetSettings().displayFlags.load() >> 8) & 0xFF, 0x01u);

        // Every box set again (the rights page asks), Yes: rights are given up.
        DialogPerson givenUp([] {
            return ChangeRightsBox(IDC_RIGHT_CONNECT, true, true) &&
                   Answer(RIGHTS_ALL_ENABLED_QUESTION, IDYES);
        });
        EXPECT_EQ(ShowOptions(hub), 1);
        EXPECT_TRUE(givenUp.Finish());
        EXPECT_EQ(app.GetRights(), RIGHTS_NOT_IN_USE);
        EXPECT_TRUE(SameText(app.GetUserInfo().m_Password, ""));
    });
    ExpectUserFiles(RIGHTS_NOT_IN_USE, "");
}

TEST_F(OptionsProgramTest, OnlyAChangedPortMakesTheServerListenOnTheNewPort)
{
    WithProgram([&](TMainApp& app, HWND hub) {
        ASSERT_TRUE(ServesWithin("127.0.0.1", DEFAULT_PORT, 15000));
        DialogPerson person([] {
            HWND sheet = WaitForDialog(SHEET);
            if (!sheet) return false;
            SetControlText(CurrentPage(sheet), IDC_OPTIONS_PORT, "27493");
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            return WaitUntilGone(sheet);
        });
        EXPECT_EQ(ShowOptions(hub), 1);
        EXPECT_TRUE(person.Finish());
        EXPECT_EQ(ntohs(app.GetSettings().port), 27493);
        EXPECT_TRUE(ServesWithin("127.0.0.1", 27493, 15000));
    });
}

TEST_F(OptionsProgramTest, ConnectingAsksAndOnlyTheExactNameAndPasswordAreAccepted)
{
    WriteUserFiles(0x3F5);
    WithProgram([&](TMainApp& app, HWND hub) {
        ASSERT_EQ(app.GetRights(), 0x3F5u);
        DialogPerson person([] {
            return Authenticate("Admin", "secret", true) && Authenticate("admin", "secret");
        });
        SendMessageA(hub, UM_CONNECT_EVENT, CONNECT_EVENT_CONNECT, 0);
        EXPECT_TRUE(person.Finish());
        // Accepted: the connect went on at once.
        EXPECT_EQ((app.GetSettings().displayFlags.load() >> 8) & 0xFF, 0x02u);
    });
}

} // namespace

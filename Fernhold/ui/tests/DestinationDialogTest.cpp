// The destination dialogs on the display: the operator (a thread of the test) fills in and
// presses the real dialogs' controls while the test thread runs the operation and its
// modal loops; every step waits for a window to appear, change or go.
#include "net/NetMessages.h"
#include "ui/DestinationTexts.h"
#include "ui/MenuItems.h"
#include "ui/PortText.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"
#include "ui/TDestinationEditor.h"
#include "ui/WakeRequest.h"
#include "ui/tests/DialogPerson.h"
#include "ui/tests/MainWindowHarness.h"
#include "ui/tests/WindowHarness.h"

#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD STEP_MS = 10000;
const char SETTINGS_CAPTION[] = "接続先コンピュータの設定";
const char MAC_CAPTION[] = "MACアドレス";

bool OfThisProcess(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() && IsWindowVisible(window);
}

// Visible dialogs of this process with that caption.
std::vector<HWND> DialogsCaptioned(const char* caption)
{
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", caption)))
        if (OfThisProcess(window)) found.push_back(window);
    return found;
}

// The texts of a dialog's static controls, joined: a message box's message.
std::string StaticTexts(HWND dialog)
{
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof(name));
        if (_stricmp(name, "Static") != 0) continue;
        char text[512] = {};
        GetWindowTextA(child, text, sizeof(text));
        texts += text;
    }
    return texts;
}

// A message box (not the notice, which has its own text control) with that caption.
HWND AwaitMessageBox(const char* caption)
{
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window : DialogsCaptioned(caption))
                if (!GetDlgItem(window, IDC_WAIT_TEXT) && !StaticTexts(window).empty()) {
                    found = window;
                    return true;
                }
            return false;
        },
        STEP_MS);
    return found;
}

HWND AwaitDialog(const char* caption)
{
    HWND found = nullptr;
    WaitFor(
        [&] {
            std::vector<HWND> dialogs = DialogsCaptioned(caption);
            found = dialogs.empty() ? nullptr : dialogs.front();
            return found != nullptr;
        },
        STEP_MS);
    return found;
}

HWND AwaitNotice()
{
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND window : DialogsCaptioned(PROGRAM_TITLE))
                if (GetDlgItem(window, IDC_WAIT_TEXT)) found = window;
            return found != nullptr;
        },
        STEP_MS);
    return found;
}

bool AwaitGone(HWND window)
{
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, STEP_MS);
}

std::string FieldText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void Type(HWND dialog, int id, const char* text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// A press of the button: the dialog takes it from its queue like a click.
void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Presses a button of a message box and waits for it to go.
bool Answer(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return AwaitGone(box);
}

DWORD IpAddressOf(HWND dialog)
{
    DWORD address = 0;
    SendDlgItemMessageA(dialog, IDC_DEST_ADDRESS, IPM_GETADDRESS, 0,
                        reinterpret_cast<LPARAM>(&address));
    return address;
}

// Name, port and IP address fields of the settings dialog.
struct Fields {
    const char* name;
    const char* port;
    DWORD address; // MAKEIPADDRESS
};

void ExpectFields(HWND dialog, const Fields& fields)
{
    EXPECT_EQ(FieldText(dialog, IDC_DEST_NAME), fields.name);
    EXPECT_EQ(FieldText(dialog, IDC_DEST_PORT), fields.port);
    EXPECT_EQ(IpAddressOf(dialog), fields.address);
}

void FillIn(HWND dialog, const Fields& fields)
{
    Type(dialog, IDC_DEST_NAME, fields.name);
    Type(dialog, IDC_DEST_PORT, fields.port);
    SendDlgItemMessageA(dialog, IDC_DEST_ADDRESS, IPM_SETADDRESS, 0,
                        static_cast<LPARAM>(fields.address));
}

std::vector<std::string> MacRows(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_DEST_MAC_LIST);
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char text[64] = {};
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

void MarkMacRow(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, IDC_DEST_MAC_LIST);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
}

// Adds a MAC address through "追加" and the MAC dialog's six edits.
bool AddMacThroughDialog(HWND settings, const char* const (&bytes)[6])
{
    Press(settings, IDC_DEST_MAC_ADD);
    HWND mac = AwaitDialog(MAC_CAPTION);
    if (!mac) return false;
    const int edits[6] = {IDC_MAC_BYTE1, IDC_MAC_BYTE2, IDC_MAC_BYTE3,
                          IDC_MAC_BYTE4, IDC_MAC_BYTE5, IDC_MAC_BYTE6};
    for (int i = 0; i < 6; ++i)
        Type(mac, edits[i], bytes[i]);
    Press(mac, IDOK);
    return AwaitGone(mac);
}

HWND FocusOfThread(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Closes whatever dialog of this process is still open, so that the operation returns
// when the operator stopped early (a failed check).
void CloseOpenDialogs()
{
    for (const char* caption : {SETTINGS_CAPTION, MAC_CAPTION, PROGRAM_TITLE, "Fernhold!"})
        for (HWND window : DialogsCaptioned(caption)) {
            PostMessageA(window, WM_COMMAND, IDNO, 0);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
}

// Runs operation on this thread (its modal dialogs included) while the operator acts on a
// thread of its own.
void WhileOperating(const std::function<void()>& operation,
                    const std::function<void()>& operatorHand)
{
    std::atomic<bool> returned{false};
    std::thread hand([&] {
        operatorHand();
        // Only cleanup after a failed step: never needed when the steps went right.
        while (!returned) {
            CloseOpenDialogs();
            Sleep(100);
        }
    });
    operation();
    returned = true;
    hand.join();
}

// Runs operation on this thread and watches from another until it has returned: true when
// no dialog of the program opened meanwhile (one that does is closed again).
bool OpensNothing(const std::function<void()>& operation)
{
    std::atomic<bool> returned{false}, opened{false};
    std::thread watch([&] {
        while (!returned) {
            for (const char* caption : {SETTINGS_CAPTION, MAC_CAPTION, PROGRAM_TITLE, "Fernhold!"})
                if (!DialogsCaptioned(caption).empty()) opened = true;
            if (opened) CloseOpenDialogs();
            Sleep(20);
        }
    });
    operation();
    returned = true;
    watch.join();
    return !opened;
}

TDestination* AddRecord(TClientCore& client, const char* name, const char* address, uint16_t port,
                        std::vector<std::vector<unsigned char>> macs)
{
    TDestination record;
    record.displayName = TString(name);
    record.computerName = TString(name);
    record.liveAddress.sin_addr.s_addr = inet_addr(address);
    record.liveAddress.sin_port = htons(port);
    record.storedAddress = record.liveAddress;
    for (const auto& mac : macs) {
        unsigned char bytes[6];
        memcpy(bytes, mac.data(), 6);
        record.AddMac(bytes);
    }
    return client.AddDestination(record);
}

std::vector<unsigned char> MacOf(const TDestination& record, unsigned long index)
{
    return std::vector<unsigned char>(record.GetMac(index), record.GetMac(index) + 6);
}

class DestinationDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls),
                                      ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(harness.Create());
        harness.client.SetMainWindow(harness.Handle());
        context.mainWindow = harness.Handle();
    }
    void TearDown() override { harness.client.SetMainWindow(nullptr); }

    unsigned long Count()
    {
        harness.client.LockList();
        unsigned long count = harness.client.GetDestinationCount();
        harness.client.UnlockList();
        return count;
    }
    // Caller keeps the list unchanged meanwhile (no client thread runs in these tests).
    TDestination& Record(unsigned long index) { return *harness.client.GetDestination(index); }

    MainWindowHarness harness;
    TUiContext context{harness.settings, harness.client, harness.server, harness.skin,
                       harness.shell};
    TDestinationEditor editor{context};
    // Refuses at the authentication dialog until told to accept (the shell's empty
    // name and password).
    TestAdministrator administrator;
};

TEST(DestinationTextsTest, MacEditTextsBecomeBytes)
{
    const struct {
        const char* text;
        unsigned char byte;
    } cases[] = {
        {"A", 0x0A},  {"G1", 0x01}, {"", 0x00},   {"FF", 0xFF}, {"7", 0x07},
        {"AZ", 0xA0}, {"0C", 0x0C}, {"ab", 0x00}, {"ZZ", 0x00},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseMacByteText(c.text), c.byte) << '"' << c.text << '"';
    const unsigned char mac[6] = {0x00, 0x1B, 0x2C, 0xA0, 0xFF, 0x05};
    EXPECT_STREQ(FormatMacText(mac).text, "00 : 1B : 2C : A0 : FF : 05");
}

TEST(DestinationTextsTest, PortTextsFromOneTo65535OnlyArePorts)
{
    const struct {
        const char* text;
        bool accepted;
        unsigned short port;
    } cases[] = {
        {"1", true, 1},           {"65535", true, 65535}, {"5483", true, 5483}, {"00080", true, 80},
        {"0", false, 0},          {"65536", false, 0},    {"99999", false, 0},  {"", false, 0},
        {"12a", false, 0},        {" 80", false, 0},      {"-1", false, 0},     {nullptr, false, 0},
        {"4294967297", false, 0},
    };
    for (const auto& c : cases) {
        unsigned short port = 7;
        EXPECT_EQ(ParsePortText(c.text, port), c.accepted) << (c.text ? c.text : "(null)");
        EXPECT_EQ(port, c.accepted ? c.port : 7) << (c.text ? c.text : "(null)");
    }
}

TEST_F(DestinationDialogTest, AddRightAfterEditOpensWithTheEditedValuesAndMakesASecondRecord)
{
    AddRecord(harness.client, "alpha", "10.0.0.7", 5483, {{1, 2, 3, 4, 5, 6}});
    WhileOperating([&] { editor.EditDestinationByDialog(0); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       ExpectFields(dialog, {"alpha", "5483", MAKEIPADDRESS(10, 0, 0, 7)});
                       EXPECT_EQ(MacRows(dialog),
                                 std::vector<std::string>{"01 : 02 : 03 : 04 : 05 : 06"});
                       FillIn(dialog, {"beta", "6000", MAKEIPADDRESS(10, 1, 2, 3)});
                       const char* const second[6] = {"A", "G1", "", "FF", "0", "7"};
                       ASSERT_TRUE(AddMacThroughDialog(dialog, second));
                       Press(dialog, IDC_DEST_OK);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    ASSERT_EQ(Count(), 1u);
    TDestination& edited = Record(0);
    EXPECT_STREQ(static_cast<char*>(edited.computerName), "beta");
    EXPECT_EQ(edited.storedAddress.sin_addr.s_addr, inet_addr("10.1.2.3"));
    EXPECT_EQ(ntohs(edited.storedAddress.sin_port), 6000);
    EXPECT_EQ(edited.busy, 0);
    ASSERT_EQ(edited.GetMacCount(), 2u);
    EXPECT_EQ(MacOf(edited, 1), (std::vector<unsigned char>{0x0A, 0x01, 0x00, 0xFF, 0x00, 0x07}));

    WhileOperating([&] { editor.AddDestinationByDialog(); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       ExpectFields(dialog, {"beta", "6000", MAKEIPADDRESS(10, 1, 2, 3)});
                       EXPECT_EQ(MacRows(dialog).size(), 2u);
                       Press(dialog, IDC_DEST_OK);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    ASSERT_EQ(Count(), 2u);
    TDestination& added = Record(1);
    EXPECT_NE(added.id, edited.id);
    EXPECT_STREQ(static_cast<char*>(added.displayName), "beta");
    EXPECT_STREQ(static_cast<char*>(added.computerName), "beta");
    EXPECT_EQ(added.storedAddress.sin_addr.s_addr, inet_addr("10.1.2.3"));
    EXPECT_EQ(ntohs(added.liveAddress.sin_port), 6000);
    ASSERT_EQ(added.GetMacCount(), 2u);
    EXPECT_EQ(MacOf(added, 0), MacOf(edited, 0));
    EXPECT_EQ(MacOf(added, 1), MacOf(edited, 1));
}

TEST_F(DestinationDialogTest, DeletingTheOnlyMacSavesNoMacAddress)
{
    AddRecord(harness.client, "gamma", "10.0.0.9", 5483, {{0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}});
    WhileOperating([&] { editor.EditDestinationByDialog(0); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       MarkMacRow(dialog, 0);
                       Press(dialog, IDC_DEST_MAC_DELETE);
                       HWND question = AwaitMessageBox(PROGRAM_TITLE);
                       ASSERT_TRUE(question);
                       EXPECT_EQ(StaticTexts(question), DELETE_MAC_QUESTION);
                       ASSERT_TRUE(Answer(question, IDYES));
                       EXPECT_TRUE(MacRows(dialog).empty());
                       Press(dialog, IDC_DEST_OK);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    std::string path = FreshTempPath("onlymac.clf");
    ASSERT_EQ(harness.client.SaveListFile(path.c_str()), 1);
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    // "FNCL", 1, N, then "CNDT", 2, L + 25 + 6 M, L + 1, "gamma\0", the address, M.
    ASSERT_EQ(file.size(), 12u + 16u + 6u + 16u + 4u);
    uint32_t length = 0, macCount = 0xFFFF;
    memcpy(&length, &file[20], 4);
    memcpy(&macCount, &file[file.size() - 4], 4);
    EXPECT_EQ(length, 5u + 25u);
    EXPECT_EQ(macCount, 0u);
    DeleteFileA(path.c_str());
}

TEST_F(DestinationDialogTest, CancelKeepsTheTypedValuesInTheCopyAndLeavesTheListAlone)
{
    WhileOperating([&] { editor.AddDestinationByDialog(); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       ExpectFields(dialog, {"Computer", "5483", 0});
                       FillIn(dialog, {"delta", "7000", MAKEIPADDRESS(10, 9, 8, 7)});
                       const char* const mac[6] = {"12", "34", "56", "78", "9A", "BC"};
                       ASSERT_TRUE(AddMacThroughDialog(dialog, mac));
                       Press(dialog, IDC_DEST_CANCEL);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    EXPECT_EQ(Count(), 0u);
    TDestination& copy = editor.GetEditingCopy();
    EXPECT_STREQ(static_cast<char*>(copy.displayName), "delta");
    EXPECT_EQ(ntohs(copy.liveAddress.sin_port), 7000);
    EXPECT_EQ(copy.liveAddress.sin_addr.s_addr, inet_addr("10.9.8.7"));
    ASSERT_EQ(copy.GetMacCount(), 1u);
    EXPECT_EQ(MacOf(copy, 0), (std::vector<unsigned char>{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}));
}

TEST_F(DestinationDialogTest, OkRefusesAPortOutsideOneTo65535AndKeepsTheFieldFocused)
{
    // Through the edit menu's command, as the main window receives it.
    WhileOperating(
        [&] { SendMessageA(harness.Handle(), WM_COMMAND, MENU_ADD_DESTINATION, 0); },
        [&] {
            HWND dialog = AwaitDialog(SETTINGS_CAPTION);
            ASSERT_TRUE(dialog);
            HWND field = GetDlgItem(dialog, IDC_DEST_PORT);
            for (const char* refused : {"abc", "0", "65536", ""}) {
                Type(dialog, IDC_DEST_PORT, refused);
                Press(dialog, IDC_DEST_OK);
                HWND message = AwaitMessageBox(PROGRAM_TITLE);
                ASSERT_TRUE(message) << refused;
                EXPECT_EQ(StaticTexts(message), PORT_TEXT_MESSAGE) << refused;
                ASSERT_TRUE(Answer(message, IDOK));
                EXPECT_TRUE(WaitFor([&] { return FocusOfThread(dialog) == field; }, STEP_MS))
                    << refused;
                EXPECT_TRUE(IsWindowVisible(dialog)) << refused;
            }
            Type(dialog, IDC_DEST_PORT, "65535");
            Press(dialog, IDC_DEST_OK);
            EXPECT_TRUE(AwaitGone(dialog));
        });
    WhileOperating([&] { editor.AddDestinationByDialog(); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       Type(dialog, IDC_DEST_PORT, "1");
                       Press(dialog, IDC_DEST_OK);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    ASSERT_EQ(Count(), 2u);
    EXPECT_EQ(ntohs(Record(0).liveAddress.sin_port), 65535);
    EXPECT_EQ(ntohs(Record(1).liveAddress.sin_port), 1);
}

TEST_F(DestinationDialogTest, DeleteAsksWithTheDestinationsNameAddressAndPort)
{
    AddRecord(harness.client, "epsilon", "10.0.0.7", 5483, {});
    for (int answer : {IDNO, IDYES})
        WhileOperating([&] { editor.DeleteSelectedDestination(0); },
                       [&] {
                           HWND question = AwaitMessageBox("Fernhold!");
                           ASSERT_TRUE(question);
                           EXPECT_EQ(
                               StaticTexts(question),
                               "\"epsilon\"\n\"10.0.0.7\"\n\"5483\"\n\nを本当に削除しますか？。");
                           EXPECT_EQ(GetWindow(question, GW_OWNER), harness.Handle());
                           EXPECT_TRUE(Answer(question, answer));
                       });
    EXPECT_EQ(Count(), 0u);
}

TEST_F(DestinationDialogTest, NoSelectionOrARefusedAdministratorOpensNothing)
{
    AddRecord(harness.client, "zeta", "10.0.0.7", 5483, {});
    // No selection (or a row beyond the list), every right: nothing asks, nothing opens.
    EXPECT_TRUE(OpensNothing([&] { editor.EditDestinationByDialog(-1); }));
    EXPECT_TRUE(OpensNothing([&] { editor.DeleteSelectedDestination(-1); }));
    EXPECT_TRUE(OpensNothing([&] { editor.EditDestinationByDialog(5); }));
    EXPECT_EQ(administrator.asks, 0);
    // Each operation's right missing, the administrator refused: one question, no dialog.
    const struct {
        uint32_t right;
        std::function<void()> operation;
    } guarded[] = {
        {RIGHT_ADD_DESTINATION, [&] { editor.AddDestinationByDialog(); }},
        {RIGHT_EDIT_DESTINATION, [&] { editor.EditDestinationByDialog(0); }},
        {RIGHT_DELETE_DESTINATION, [&] { editor.DeleteSelectedDestination(0); }},
    };
    for (const auto& g : guarded) {
        harness.shell.rights = 0x7FFFFFFF & ~g.right;
        administrator.asks = 0;
        EXPECT_TRUE(OpensNothing(g.operation)) << g.right;
        EXPECT_EQ(administrator.asks, 1) << g.right;
    }
    EXPECT_EQ(Count(), 1u);
    EXPECT_EQ(Record(0).busy, 0);
    // The administrator accepted: the operation goes on this once.
    harness.shell.rights = 0x7FFFFFFF & ~RIGHT_EDIT_DESTINATION;
    administrator.asks = 0;
    administrator.Accept("", "");
    WhileOperating([&] { editor.EditDestinationByDialog(0); },
                   [&] {
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       Press(dialog, IDC_DEST_CANCEL);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    EXPECT_EQ(administrator.asks, 1);
}

TEST_F(DestinationDialogTest, TheListButtonsOpenTheDialogOnTheSelectedRow)
{
    AddRecord(harness.client, "kappa", "10.0.0.7", 5483, {});
    DrainMessages(); // the row arrives
    HWND panel = harness.Child(300);
    ASSERT_TRUE(panel);
    HWND list = GetDlgItem(panel, 310);
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    // Add at x 170 to 219, edit at 220 to 269 of the button bar (rows 240 to 259).
    const struct {
        int x;
        Fields shown;
    } buttons[] = {{190, {"Computer", "5483", 0}},
                   {240, {"kappa", "5483", MAKEIPADDRESS(10, 0, 0, 7)}}};
    for (const auto& button : buttons) {
        std::atomic<bool> closed{false};
        WhileOperating([&] { PumpUntil([&] { return closed.load(); }, 3 * STEP_MS); },
                       [&] {
                           POINT at = OnScreen(panel, button.x, 250);
                           MouseAt(at, 0);
                           MouseAt(at, MOUSEEVENTF_LEFTDOWN);
                           MouseAt(at, MOUSEEVENTF_LEFTUP);
                           HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                           closed = true;
                           ASSERT_TRUE(dialog) << button.x;
                           ExpectFields(dialog, button.shown);
                           Press(dialog, IDC_DEST_CANCEL);
                           EXPECT_TRUE(AwaitGone(dialog));
                       });
    }
    EXPECT_EQ(Count(), 1u);
}

// A search whose name lookup holds until released, so the destination's worker thread
// runs while the operator acts.
class HeldSearch {
public:
    explicit HeldSearch(TClientCore& client) : m_Client(client)
    {
        THostResolver resolver;
        resolver.byName = [this](const char*, in_addr&) {
            m_Started = 1;
            WaitForSingleObject(m_Release, INFINITE);
            return 0;
        };
        resolver.byAddress = [](const in_addr&, TString&) { return 0; };
        client.SetHostResolver(resolver);
    }
    // The lookup is let go and every worker waited for before the event goes.
    ~HeldSearch()
    {
        Release();
        m_Client.LockList();
        std::vector<HANDLE> workers;
        for (unsigned long i = 0; i < m_Client.GetDestinationCount(); ++i)
            if (HANDLE worker = m_Client.GetDestination(i)->worker.GetHandle())
                workers.push_back(worker);
        m_Client.UnlockList();
        for (HANDLE worker : workers)
            WaitForSingleObject(worker, INFINITE);
        CloseHandle(m_Release);
    }
    // Starts the search on the record at index; true once its thread is in the lookup.
    bool Start(unsigned long index)
    {
        m_Client.LockList();
        TDestination* record = m_Client.GetDestination(index);
        record->searchesLeft = 1;
        m_Client.StartSearch(record);
        m_Client.UnlockList();
        return WaitForValue(m_Started, 1, STEP_MS);
    }
    void Release() { SetEvent(m_Release); }

private:
    TClientCore& m_Client;
    HANDLE m_Release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> m_Started{0};
};

TEST_F(DestinationDialogTest, EditWaitsBehindTheNoticeUntilTheSearchHasEnded)
{
    AddRecord(harness.client, "eta", "10.0.0.7", 5483, {});
    HeldSearch search(harness.client);
    ASSERT_TRUE(search.Start(0));
    WhileOperating([&] { editor.EditDestinationByDialog(0); },
                   [&] {
                       HWND notice = AwaitNotice();
                       ASSERT_TRUE(notice);
                       EXPECT_EQ(FieldText(notice, IDC_WAIT_TEXT), WAIT_NOTICE_TEXT);
                       EXPECT_EQ(GetWindow(notice, GW_OWNER), harness.Handle());
                       EXPECT_TRUE(DialogsCaptioned(SETTINGS_CAPTION).empty());
                       EXPECT_EQ(Record(0).cancel.load(), 1);
                       EXPECT_EQ(Record(0).busy, 1);
                       search.Release();
                       EXPECT_TRUE(AwaitGone(notice));
                       HWND dialog = AwaitDialog(SETTINGS_CAPTION);
                       ASSERT_TRUE(dialog);
                       Press(dialog, IDC_DEST_CANCEL);
                       EXPECT_TRUE(AwaitGone(dialog));
                   });
    EXPECT_EQ(Record(0).busy, 0);
    EXPECT_FALSE(Record(0).worker.IsRunning());
}

// A thread with a message queue standing in for the client thread: it keeps the TM_WAKE
// requests it receives.
class WakeRecorder {
public:
    WakeRecorder()
    {
        m_Thread = std::thread([this] {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
            m_Id = GetCurrentThreadId();
            while (GetMessageA(&message, nullptr, 0, 0) > 0)
                if (message.message == TM_WAKE) {
                    m_Woken.push_back(static_cast<long>(message.wParam));
                    ++m_Count; // after the entry: a reader that sees the count sees it
                }
        });
        WaitFor([this] { return m_Id.load() != 0; }, STEP_MS);
    }
    ~WakeRecorder()
    {
        PostThreadMessageA(m_Id, WM_QUIT, 0, 0);
        m_Thread.join();
    }
    DWORD Id() const { return m_Id; }
    int Count() const { return m_Count; }
    // The indexes in the order they came; read once Count says they are there.
    std::vector<long> Woken() const { return m_Woken; }

private:
    std::thread m_Thread;
    std::atomic<DWORD> m_Id{0};
    std::atomic<int> m_Count{0};
    std::vector<long> m_Woken;
};

TEST_F(DestinationDialogTest, WakeRequestWaitsBehindTheNoticeForASearchThenPostsTheIndex)
{
    AddRecord(harness.client, "theta", "10.0.0.7", 5483, {});
    AddRecord(harness.client, "iota", "10.0.0.8", 5483, {});
    WakeRecorder client;
    HeldSearch search(harness.client);
    ASSERT_TRUE(search.Start(1));
    WhileOperating([&] { RequestWake(context, 1, client.Id()); },
                   [&] {
                       HWND notice = AwaitNotice();
                       ASSERT_TRUE(notice);
                       EXPECT_EQ(client.Count(), 0);
                       search.Release();
                       EXPECT_TRUE(AwaitGone(notice));
                   });
    EXPECT_TRUE(WaitFor([&] { return client.Count() == 1; }, STEP_MS));
    // Without a search it is posted at once; a refused administrator posts nothing.
    RequestWake(context, 0, client.Id());
    EXPECT_TRUE(WaitFor([&] { return client.Count() == 2; }, STEP_MS));
    harness.shell.rights = 0x7FFFFFFF & ~RIGHT_WAKE_ON_LAN;
    RequestWake(context, 0, client.Id());
    EXPECT_EQ(administrator.asks, 1);
    administrator.Accept("", "");
    RequestWake(context, 1, client.Id());
    // Posts keep their order: a request the refusal had posted would stand before this.
    EXPECT_TRUE(WaitFor([&] { return client.Count() == 3; }, STEP_MS));
    EXPECT_EQ(client.Woken(), (std::vector<long>{1, 0, 1}));
}

} // namespace

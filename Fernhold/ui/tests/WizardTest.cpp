// The add-destination wizard with a test network: the workgroup and computer pages, the
// selection, the three registration modes with and without MAC addresses, cancelling and
// ending while the registration runs, and one wizard at a time.
#include "ui/tests/DialogPerson.h"
#include "ui/tests/FakeNetwork.h"
#include "ui/tests/WizardDriver.h"

#include "net/TClientCore.h"
#include "ui/ProgramResources.h"
#include "net/MainWindowMessages.h"
#include "ui/RightsCheck.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

const std::string LONG_NAME(300, 'L');

FakeNetwork TwoWorkgroups()
{
    return FakeNetwork({{"WORKGROUP", {"PC-A", "PC-B", "PC-C"}}, {"OFFICE", {"PC-D", LONG_NAME}}});
}

TWizardServices ServicesOf(FakeNetwork& network)
{
    TWizardServices services;
    services.browser = &network;
    return services;
}

in_addr AddressOf(const char* text)
{
    in_addr address{};
    address.s_addr = inet_addr(text);
    return address;
}

struct Record {
    std::string displayName;
    std::string computerName;
    uint32_t stored;
    uint32_t live;
    unsigned long macs;
};

std::vector<Record> Records(TClientCore& client)
{
    std::vector<Record> records;
    client.LockList();
    for (unsigned long i = 0; i < client.GetDestinationCount(); ++i) {
        TDestination* d = client.GetDestination(i);
        records.push_back({static_cast<char*>(d->displayName), static_cast<char*>(d->computerName),
                           d->storedAddress.sin_addr.s_addr, d->liveAddress.sin_addr.s_addr,
                           d->GetMacCount()});
    }
    client.UnlockList();
    return records;
}

TEST(WizardTest, WorkgroupsAreListedPreselectedBesideTheSweepAndOneMustBeChosen)
{
    FakeNetwork network = TwoWorkgroups();
    WizardDriver driver;
    ASSERT_TRUE(driver.Open(ServicesOf(network)));
    HWND window = driver.Wizard()->GetHandle();
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 531);
    EXPECT_EQ(rect.bottom - rect.top, 360);
    EXPECT_EQ(GetParent(window), driver.harness.Handle()); // owned by the main window
    EXPECT_TRUE(driver.WaitForPage(IDD_WIZARD_WELCOME));
    // Every page sits below the title strip, inside the window, with all of its controls.
    for (int dialog = IDD_WIZARD_WELCOME; dialog <= IDD_WIZARD_WAIT; ++dialog) {
        SCOPED_TRACE(dialog);
        RECT page;
        GetWindowRect(driver.Page(dialog), &page);
        EXPECT_EQ(page.left, rect.left);
        EXPECT_EQ(page.top, rect.top + 24);
        EXPECT_LE(page.right, rect.right);
        EXPECT_LE(page.bottom, rect.bottom);
        for (HWND control = GetWindow(driver.Page(dialog), GW_CHILD); control;
             control = GetWindow(control, GW_HWNDNEXT)) {
            RECT inner;
            GetWindowRect(control, &inner);
            EXPECT_TRUE(inner.left >= page.left && inner.top >= page.top &&
                        inner.right <= page.right && inner.bottom <= page.bottom)
                << GetDlgCtrlID(control);
        }
    }
    // The whole window drags like a caption.
    POINT strip = OnScreen(window, 300, 10);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(strip.x, strip.y)), HTCAPTION);

    // A second wizard does not open while this one exists.
    EXPECT_FALSE(driver.Open(ServicesOf(network)));
    EXPECT_EQ(driver.Wizard()->GetHandle(), window);

    driver.Click(IDD_WIZARD_WELCOME, IDC_WIZARD_NEXT);
    ASSERT_TRUE(driver.WaitForPage(IDD_WIZARD_WORKGROUPS));
    HWND list = driver.Control(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_WORKGROUP_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ListRowText(list, 0, 0), "WORKGROUP");
    EXPECT_EQ(ListRowText(list, 1, 0), "OFFICE");
    EXPECT_EQ(ListRowText(list, 2, 0), AUTO_SEARCH_ENTRY);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED), LVIS_SELECTED);
    // The sweep is the operator's choice, never made for them.
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_SELECTED), 0);
    // The first request's 32 bytes never hold a record: the blocks grew.
    EXPECT_GT(network.moreDataAnswers.load(), 0);
    EXPECT_EQ(network.openEnumerations.load(), 0);

    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    MessageBoxCloser closer;
    driver.Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_NEXT);
    EXPECT_EQ(closer.Wait(), "最低一つのワークグループを選択してください。");
    EXPECT_TRUE(driver.WaitForPage(IDD_WIZARD_WORKGROUPS));

    driver.Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_BACK);
    EXPECT_TRUE(driver.WaitForPage(IDD_WIZARD_WELCOME));
    driver.Click(IDD_WIZARD_WELCOME, IDC_WIZARD_CANCEL);
    EXPECT_EQ(driver.Wizard(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST(WizardTest, ComputersOfTwoWorkgroupsAreCountedAndOnlyCheckedRowsGoOn)
{
    FakeNetwork network = TwoWorkgroups();
    WizardDriver driver;
    ASSERT_TRUE(driver.Open(ServicesOf(network)));
    ASSERT_TRUE(driver.ToComputers({0, 1}));
    HWND found = driver.Control(IDD_WIZARD_COMPUTERS, IDC_WIZARD_COMPUTER_LIST);
    ASSERT_EQ(SendMessageA(found, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(ListRowText(found, 0, 0), "PC-A");
    EXPECT_EQ(ListRowText(found, 0, 1), "WORKGROUP");
    EXPECT_EQ(ListRowText(found, 3, 0), "PC-D");
    EXPECT_EQ(ListRowText(found, 3, 1), "OFFICE");
    // A name longer than the lists' 256-character texts is cut, never written past them.
    EXPECT_EQ(ListRowText(found, 4, 0), LONG_NAME.substr(0, 255));
    EXPECT_EQ(driver.Text(IDD_WIZARD_COMPUTERS, IDC_WIZARD_TOTAL), "合計 5 台のコンピュータ");
    EXPECT_EQ(driver.Text(IDD_WIZARD_WAIT, IDC_WIZARD_WAIT_TEXT),
              "現在 5 台のコンピュータを検索しました。");

    // Nothing checked: the message, then the computers again.
    MessageBoxCloser closer;
    driver.Click(IDD_WIZARD_COMPUTERS, IDC_WIZARD_NEXT);
    EXPECT_EQ(closer.Wait(), "登録するコンピュータを最低一つ選択してください。");
    EXPECT_TRUE(driver.WaitForPage(IDD_WIZARD_COMPUTERS));

    driver.CheckRow(found, 1);
    driver.CheckRow(found, 3);
    driver.Click(IDD_WIZARD_COMPUTERS, IDC_WIZARD_NEXT);
    ASSERT_TRUE(driver.WaitForPage(IDD_WIZARD_SETTINGS));
    HWND chosen = driver.Control(IDD_WIZARD_SETTINGS, IDC_WIZARD_COMPUTER_LIST);
    ASSERT_EQ(SendMessageA(chosen, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ListRowText(chosen, 0, 0), "PC-B");
    EXPECT_EQ(ListRowText(chosen, 1, 0), "PC-D");
    EXPECT_EQ(ListRowText(chosen, 1, 1), "OFFICE");
    EXPECT_EQ(driver.Text(IDD_WIZARD_SETTINGS, IDC_WIZARD_TOTAL), "合計 2 台のコンピュータ");
    // Only one workgroup chosen this time: its computers alone.
    driver.Click(IDD_WIZARD_SETTINGS, IDC_WIZARD_BACK);
    ASSERT_TRUE(driver.WaitForPage(IDD_WIZARD_COMPUTERS));
    driver.Click(IDD_WIZARD_COMPUTERS, IDC_WIZARD_BACK);
    ASSERT_TRUE(driver.WaitForPage(IDD_WIZARD_WORKGROUPS));
    driver.Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_BACK);
    ASSERT_TRUE(driver.ToComputers({1}));
    EXPECT_EQ(SendMessageA(found, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(driver.Text(IDD_WIZARD_COMPUTERS, IDC_WIZARD_TOTAL), "合計 2 台のコンピュータ");
}

TEST(WizardTest, TheModesRegisterNamesAddressesAndMacAddressesAsChosen)
{
    const in_addr resolved = AddressOf("10.1.2.3");
    struct Case {
        int radio;
        bool withMacs;
        const char* displayName;
        uint32_t stored;
        uint32_t live;
        int lookups;
        unsigned long macs;
        int progress;
    } cases[] = {
        // IP only: the name stays the default, the stored address is the resolved one.
        {IDC_WIZARD_ADDRESS_ONLY, false, "Computer", resolved.s_addr, resolved.s_addr, 2, 0, 4},
        // Name only without MAC: no lookup at all, the address stays 0.0.0.0.
        {IDC_WIZARD_NAME_ONLY, false, "PC-A", 0, 0, 0, 0, 4},
        // Name only with MAC: looked up for the fetch, nothing of it stored.
        {IDC_WIZARD_NAME_ONLY, true, "PC-A", 0, resolved.s_addr, 2, 1, 8},
        {IDC_WIZARD_NAME_AND_ADDRESS, true, "PC-A", resolved.s_addr, resolved.s_addr, 2, 1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio * 10 + c.withMacs);
        FakeNetwork network({{"WORKGROUP", {"PC-A", "UNKNOWN"}}});
        TWizardServices services = ServicesOf(network);
        std::atomic<int> lookups{0};
        services.resolver.byName = [&](const char* name, in_addr& address) {
            ++lookups;
            if (std::string(name) != "PC-A") return 0;
            address = resolved;
            return 1;
        };
        services.fetchMacs = [&](TDestination& destination) {
            EXPECT_EQ(destination.liveAddress.sin_addr.s_addr, resolved.s_addr);
            destination.AddMac({2, 0, 0, 0, 0, 1});
        };
        WizardDriver driver;
        ASSERT_TRUE(driver.Open(services));
        ASSERT_TRUE(driver.ToComputers({0}));
        ASSERT_TRUE(driver.ToSettingsWithAllChecked());
        HWND settings = driver.Page(IDD_WIZARD_SETTINGS);
        CheckRadioButton(settings, IDC_WIZARD_NAME_ONLY, IDC_WIZARD_NAME_AND_ADDRESS, c.radio);
        CheckDlgButton(settings, IDC_WIZARD_FETCH_MACS, c.withMacs ? BST_CHECKED : BST_UNCHECKED);
        driver.Click(IDD_WIZARD_SETTINGS, IDC_WIZARD_RUN);
        ASSERT_TRUE(driver.PumpUntil(
            [&] { return driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP) == "完了"; }));
        EXPECT_TRUE(driver.WaitForPage(IDD_WIZARD_PROGRESS));
        EXPECT_EQ(driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_CURRENT), "完了");
        // Each computer steps once per step it took and once for the list.
        EXPECT_EQ(SendMessageA(driver.Control(IDD_WIZARD_PROGRESS, IDC_WIZARD_PROGRESS_BAR),
                               PBM_GETPOS, 0, 0),
                  c.progress);
        std::vector<Record> records = Records(driver.harness.client);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].displayName, c.displayName);
        EXPECT_EQ(records[0].computerName, c.displayName);
        EXPECT_EQ(records[0].stored, c.stored);
        EXPECT_EQ(records[0].live, c.live);
        EXPECT_EQ(records[0].macs, c.macs);
        EXPECT_EQ(lookups.load(), c.lookups);
        // A name that does not resolve keeps 0.0.0.0 and is still added, without MAC.
        EXPECT_EQ(records[1].stored, 0u);
        EXPECT_EQ(records[1].macs, 0u);
    }
}
// A name lookup that holds the registration at one computer until the test lets it go.
class HeldLookup {
public:
    explicit HeldLookup(std::string heldName)
        : m_Held(std::move(heldName)), m_Reached(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_Go(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~HeldLookup()
    {
        CloseHandle(m_Reached);
        CloseHandle(m_Go);
    }
    THostResolver Resolver()
    {
        THostResolver resolver;
        resolver.byName = [this](const char* name, in_addr& address) {
            if (m_Held == name) {
                SetEvent(m_Reached);
                WaitForSingleObject(m_Go, INFINITE);
                returned = true;
            }
            address.s_addr = inet_addr("10.0.0.9");
            return 1;
        };
        return resolver;
    }
    bool Reached() const { return WaitForSingleObject(m_Reached, 0) == WAIT_OBJECT_0; }
    void Go() { SetEvent(m_Go); }
    const std::string& Name() const { return m_Held; }
    std::atomic<bool> returned{false};

private:
    std::string m_Held;
    HANDLE m_Reached;
    HANDLE m_Go;
};

// Starts an address-only registration of five computers whose third lookup is held.
bool RegisterFiveHoldingTheThird(WizardDriver& driver, FakeNetwork& network, HeldLookup& held)
{
    TWizardServices services = ServicesOf(network);
    services.resolver = held.Resolver();
    if (!driver.Open(services) || !driver.ToComputers({0}) || !driver.ToSettingsWithAllChecked())
        return false;
    HWND settings = driver.Page(IDD_WIZARD_SETTINGS);
    CheckRadioButton(settings, IDC_WIZARD_NAME_ONLY, IDC_WIZARD_NAME_AND_ADDRESS,
                     IDC_WIZARD_ADDRESS_ONLY);
    driver.Click(IDD_WIZARD_SETTINGS, IDC_WIZARD_RUN);
    // The worker's progress arrives by a post: the page shows the held computer only once
    // the main thread has taken it.
    return driver.WaitForPage(IDD_WIZARD_PROGRESS) && driver.PumpUntil([&] {
        return held.Reached() &&
               driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_CURRENT) == held.Name();
    });
}

FakeNetwork FiveComputers()
{
    return FakeNetwork({{"WORKGROUP", {"PC-1", "PC-2", "PC-3", "PC-4", "PC-5"}}});
}

TEST(WizardTest, CancelDuringTheThirdOfFiveKeepsTwoAndTheButtonThenCloses)
{
    FakeNetwork network = FiveComputers();
    HeldLookup held("PC-3");
    WizardDriver driver;
    ASSERT_TRUE(RegisterFiveHoldingTheThird(driver, network, held));
    EXPECT_EQ(driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_CURRENT), "PC-3");
    EXPECT_EQ(driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP), "キャンセル");
    driver.Click(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP);
    ASSERT_NE(driver.Wizard(), nullptr); // cancelling stops, it does not close
    held.Go();
    ASSERT_TRUE(driver.PumpUntil(
        [&] { return driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP) == "完了"; }));
    EXPECT_EQ(driver.harness.client.GetDestinationCount(), 2u);
    driver.Click(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP);
    EXPECT_EQ(driver.Wizard(), nullptr);
    EXPECT_EQ(driver.harness.client.GetDestinationCount(), 2u);
}

TEST(WizardTest, EndingTheWizardWhileItRegistersStopsTheWorkerFirst)
{
    FakeNetwork network = FiveComputers();
    HeldLookup held("PC-3");
    WizardDriver driver;
    ASSERT_TRUE(RegisterFiveHoldingTheThird(driver, network, held));
    HWND window = driver.Wizard()->GetHandle();
    // The worker is let go once the window hears WM_DESTROY; the destruction must wait for
    // it (it still reports to the wizard) rather than free the wizard under it.
    static HANDLE destroying;
    static HWND watched;
    destroying = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watched = window;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
            if (code == HC_ACTION && call->hwnd == watched && call->message == WM_DESTROY)
                SetEvent(destroying);
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    std::thread later([&held] {
        WaitForSingleObject(destroying, INFINITE);
        Sleep(100);
        held.Go();
    });
    DestroyWindow(window);
    UnhookWindowsHookEx(hook);
    CloseHandle(destroying);
    EXPECT_TRUE(held.returned.load());
    later.join();
    EXPECT_EQ(driver.Wizard(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    DrainMessages();
    EXPECT_EQ(driver.harness.client.GetDestinationCount(), 2u);
}

TEST(WizardTest, TheMainWindowOpensTheWizardOnlyWithTheRightToAdd)
{
    WizardDriver driver;
    TestAdministrator administrator; // the shell's empty name and password when accepting
    const struct {
        uint32_t rights;
        bool accepts;
        bool opens;
    } cases[] = {
        {RIGHTS_NOT_IN_USE, false, true},
        {RIGHT_SHOW_MAIN_WINDOW, false, false},
        {RIGHT_SHOW_MAIN_WINDOW, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opens);
        driver.harness.shell.rights = c.rights;
        if (c.accepts)
            administrator.Accept("", "");
        else
            administrator.Refuse();
        SendMessageA(driver.harness.Handle(), UM_SHOW_WIZARD, 0, 0);
        EXPECT_EQ(driver.Wizard() != nullptr, c.opens);
        if (driver.Wizard()) DestroyWindow(driver.Wizard()->GetHandle());
    }
    EXPECT_EQ(administrator.asks, 2);
}
// The registration without its window: a computer the sweep found keeps the address that
// answered and the MAC addresses it gave, with neither a lookup nor a second fetch.
class CountingView : public TRegistrationView {
public:
    void ShowComputer(const char*) override {}
    void ShowStep(const char*) override {}
    void Step() override { ++steps; }
    int steps = 0;
};

TEST(WizardRegistrationTest, SweptComputersKeepTheirAnsweringAddressAndMacs)
{
    TWizardComputer swept;
    swept.name = TString("fernhost-b");
    swept.swept = true;
    swept.sweptAddress = AddressOf("10.254.0.2");
    swept.macs = {MacAddress{2, 0, 10, 254, 0, 2}, MacAddress{2, 0, 10, 254, 0, 3}};
    int lookups = 0, fetches = 0;
    std::vector<Record> added;
    TRegistrationServices services;
    services.resolver.byName = [&](const char*, in_addr&) { return ++lookups, 0; };
    services.fetchMacs = [&](TDestination&) { ++fetches; };
    services.add = [&](const TDestination& d) {
        added.push_back({static_cast<char*>(d.displayName), static_cast<char*>(d.computerName),
                         d.storedAddress.sin_addr.s_addr, d.liveAddress.sin_addr.s_addr,
                         d.GetMacCount()});
        EXPECT_EQ(d.GetMac(1)[5], 3);
    };
    std::atomic<uint32_t> stop{0};
    CountingView view;
    EXPECT_EQ(
        RegisterComputers({swept}, REGISTER_NAME | REGISTER_ADDRESS, true, stop, view, services),
        1u);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].displayName, "fernhost-b");
    EXPECT_EQ(added[0].stored, swept.sweptAddress.s_addr);
    EXPECT_EQ(added[0].macs, 2u);
    EXPECT_EQ(lookups, 0);
    EXPECT_EQ(fetches, 0);
    EXPECT_EQ(view.steps, 4);
}
} // namespace

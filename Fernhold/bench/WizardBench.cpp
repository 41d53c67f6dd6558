// The add-destination wizard's two figures: registering 200 computers of a test network in
// name-only mode (until the main window's list shows them all), and the automatic entry's
// sweep of a /24 where two copies answer. Run by tools/bench/wizard-bench.sh, which gives
// this program a namespace whose only subnet besides loopback is the benchmark's own.
#include "net/SubnetSweep.h"
#include "ui/ProgramResources.h"
#include "ui/tests/FakeNetwork.h"
#include "ui/tests/WizardDriver.h"

#include "net/TClientCore.h"

#include "BenchTiming.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {
constexpr int COMPUTERS = 200;
// The main window's destination list: list 310 of the left panel 300.
constexpr int LEFT_PANEL = 300;
constexpr int DESTINATION_LIST = 310;

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void RegisterTwoHundred()
{
    FakeNetwork::Workgroup group{"WORKGROUP", {}};
    for (int i = 0; i < COMPUTERS; ++i)
        group.computers.push_back("PC-" + std::to_string(i));
    FakeNetwork network({group});
    TWizardServices services;
    services.browser = &network;
    WizardDriver driver;
    if (!driver.Open(services) || !driver.ToComputers({0}) || !driver.ToSettingsWithAllChecked()) {
        printf("register: the wizard did not reach its settings page\n");
        return;
    }
    CheckDlgButton(driver.Page(IDD_WIZARD_SETTINGS), IDC_WIZARD_FETCH_MACS, BST_UNCHECKED);
    HWND list = GetDlgItem(driver.harness.Child(LEFT_PANEL), DESTINATION_LIST);
    const double start = BenchSeconds();
    driver.Click(IDD_WIZARD_SETTINGS, IDC_WIZARD_RUN);
    double finished = 0;
    bool done = driver.PumpUntil([&] {
        if (!finished && driver.Text(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP) == "完了")
            finished = BenchSeconds() - start;
        return finished && Rows(list) == COMPUTERS;
    });
    const double seconds = BenchSeconds() - start;
    printf("register: the progress page read \"完了\" after %.3f s\n", finished);
    printf("register %d computers, name only, no MAC: %.3f s until the list shows %d rows%s\n",
           COMPUTERS, seconds, Rows(list), done ? "" : " (not all: timed out)");
}

void SweepTheSubnet()
{
    std::vector<uint32_t> targets = SweepTargets(LocalAdapterAddresses());
    printf("sweep targets: %zu addresses\n", targets.size());
    // Through the wizard as the operator uses it: the automatic entry alone.
    WizardDriver driver;
    if (!driver.Open(SystemWizardServices())) return;
    driver.Click(IDD_WIZARD_WELCOME, IDC_WIZARD_NEXT);
    driver.WaitForPage(IDD_WIZARD_WORKGROUPS);
    HWND groups = driver.Control(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_WORKGROUP_LIST);
    LVITEMA pick{};
    pick.stateMask = pick.state = LVIS_SELECTED;
    SendMessageA(groups, LVM_SETITEMSTATE, Rows(groups) - 1, reinterpret_cast<LPARAM>(&pick));
    const double start = BenchSeconds();
    driver.Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_NEXT);
    driver.WaitForPage(IDD_WIZARD_COMPUTERS);
    const double seconds = BenchSeconds() - start;
    HWND found = driver.Control(IDD_WIZARD_COMPUTERS, IDC_WIZARD_COMPUTER_LIST);
    printf("sweep of the /24 through the wizard's automatic entry: %.3f s, %d found:", seconds,
           Rows(found));
    for (int row = 0; row < Rows(found); ++row)
        printf(" %s (%s)", ListRowText(found, row, 0).c_str(), ListRowText(found, row, 1).c_str());
    printf("\n");
}
} // namespace

int main()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 0), &data);
    RegisterProgramClass();
    RegisterTwoHundred();
    SweepTheSubnet();
    WSACleanup();
    return 0;
}

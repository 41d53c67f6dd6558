// Shows the add-destination wizard on its computer page, filled from a test network, for
// the README's screenshot (tools/screenshot.sh): WizardShow.exe [milliseconds] [welcome]
// ("welcome" stays on the first page). Ends after the time given (60 s by default) or when
// the wizard is closed.
#include "ui/ProgramResources.h"
#include "ui/tests/FakeNetwork.h"
#include "ui/tests/WizardDriver.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    DWORD limit = argc > 1 ? static_cast<DWORD>(strtoul(argv[1], nullptr, 10)) : 60000;
    RegisterProgramClass();
    FakeNetwork network({{"WORKGROUP", {"SOUMU-PC01", "SOUMU-PC02", "KEIRI-PC01", "KEIRI-PC02"}},
                         {"SEIZOU", {"LINE-A", "LINE-B", "KENSA-01"}}});
    TWizardServices services;
    services.browser = &network;
    WizardDriver driver;
    if (!driver.Open(services)) return 1;
    if (argc > 2 && strcmp(argv[2], "welcome") == 0) {
        driver.PumpUntil([&] { return driver.Wizard() == nullptr; }, limit);
        return 0;
    }
    if (!driver.ToComputers({0, 1})) return 1;
    HWND list = driver.Control(IDD_WIZARD_COMPUTERS, IDC_WIZARD_COMPUTER_LIST);
    for (int row : {0, 2, 3, 5})
        driver.CheckRow(list, row);
    driver.PumpUntil([&] { return driver.Wizard() == nullptr; }, limit);
    return 0;
}

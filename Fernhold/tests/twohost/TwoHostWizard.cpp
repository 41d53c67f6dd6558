// Drives the operator's wizard from another process: button clicks as the pages hear them,
// list rows read and set through memory lent in the program's process.
#include "TwoHostWizard.h"

#include "TwoHostUi.h"

#include "net/MainWindowMessages.h"
#include "ui/ProgramResources.h"
#include "ui/TAddWizard.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace TwoHostWizard {
namespace {

using TwoHostUi::WaitFor;

constexpr int LEFT_PANEL = 300, DESTINATION_LIST = 310;

// A list view of another process: its item records must live in that process.
class RemoteList {
public:
    explicit RemoteList(HWND list) : m_List(list)
    {
        DWORD id = 0;
        GetWindowThreadProcessId(list, &id);
        m_Process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (m_Process)
            m_Memory = static_cast<unsigned char*>(
                VirtualAllocEx(m_Process, nullptr, BYTES, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteList()
    {
        if (m_Memory) VirtualFreeEx(m_Process, m_Memory, 0, MEM_RELEASE);
        if (m_Process) CloseHandle(m_Process);
    }
    bool Usable() const { return m_Memory != nullptr; }
    int Count() const { return static_cast<int>(SendMessageA(m_List, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int row, int column)
    {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<char*>(m_Memory + sizeof(LVITEMA));
        item.cchTextMax = TEXT_BYTES;
        char text[TEXT_BYTES] = {};
        if (!WriteProcessMemory(m_Process, m_Memory, &item, sizeof(item), nullptr)) return "";
        SendMessageA(m_List, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_Memory));
        ReadProcessMemory(m_Process, m_Memory + sizeof(LVITEMA), text, sizeof(text) - 1, nullptr);
        return text;
    }
    void SetState(int row, UINT state, UINT mask)
    {
        LVITEMA item{};
        item.state = state;
        item.stateMask = mask;
        if (WriteProcessMemory(m_Process, m_Memory, &item, sizeof(item), nullptr))
            SendMessageA(m_List, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_Memory));
    }

private:
    static constexpr int TEXT_BYTES = 512;
    static constexpr SIZE_T BYTES = sizeof(LVITEMA) + TEXT_BYTES;
    HWND m_List;
    HANDLE m_Process = nullptr;
    unsigned char* m_Memory = nullptr;
};

int Fail(const char* why)
{
    fprintf(stderr, "wizard: %s\n", why);
    return 1;
}

HWND Wizard() { return FindWindowExA(nullptr, nullptr, "FernholdWnd", "Wizard Window"); }
HWND Page(int dialog) { return GetDlgItem(Wizard(), dialog); }
bool Shows(int dialog) { return IsWindowVisible(Page(dialog)) != 0; }

void Click(int dialog, int control)
{
    HWND page = Page(dialog);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, control)));
}

std::string ControlText(int dialog, int control)
{
    char text[256] = {};
    SendMessageA(GetDlgItem(Page(dialog), control), WM_GETTEXT, sizeof(text),
                 reinterpret_cast<LPARAM>(text));
    return text;
}
} // namespace

int RegisterBySweep(const char* name, DWORD seconds)
{
    HWND main = FindWindowA("FernholdWnd", PROGRAM_TITLE);
    if (!main) return Fail("no main window");
    RemoteList destinations(GetDlgItem(GetDlgItem(main, LEFT_PANEL), DESTINATION_LIST));
    if (!destinations.Usable()) return Fail("cannot reach the program's memory");
    int before = destinations.Count();
    PostMessageA(main, UM_SHOW_WIZARD, 0, 0);
    if (!WaitFor([] { return Wizard() && Shows(IDD_WIZARD_WELCOME); }, seconds))
        return Fail("the wizard did not open");
    Click(IDD_WIZARD_WELCOME, IDC_WIZARD_NEXT);
    if (!WaitFor([] { return Shows(IDD_WIZARD_WORKGROUPS); }, seconds))
        return Fail("no workgroup page");
    RemoteList groups(GetDlgItem(Page(IDD_WIZARD_WORKGROUPS), IDC_WIZARD_WORKGROUP_LIST));
    int sweepRow = groups.Count() - 1;
    if (sweepRow < 0 || groups.Text(sweepRow, 0) != AUTO_SEARCH_ENTRY)
        return Fail("no automatic entry on the workgroup page");
    groups.SetState(-1, 0, LVIS_SELECTED);
    groups.SetState(sweepRow, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_NEXT);
    if (!WaitFor([] { return Shows(IDD_WIZARD_COMPUTERS); }, seconds))
        return Fail("the sweep did not end");
    RemoteList found(GetDlgItem(Page(IDD_WIZARD_COMPUTERS), IDC_WIZARD_COMPUTER_LIST));
    if (found.Count() != 1 || found.Text(0, 0) != name ||
        found.Text(0, 1) != AUTO_SEARCH_WORKGROUP) {
        fprintf(stderr, "wizard: the sweep found %d computers, the first \"%s\" in \"%s\"\n",
                found.Count(), found.Count() ? found.Text(0, 0).c_str() : "",
                found.Count() ? found.Text(0, 1).c_str() : "");
        return 1;
    }
    printf("the sweep found %s\n", name);
    found.SetState(0, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    Click(IDD_WIZARD_COMPUTERS, IDC_WIZARD_NEXT);
    if (!WaitFor([] { return Shows(IDD_WIZARD_SETTINGS); }, seconds))
        return Fail("no settings page");
    // The defaults: name only, with MAC addresses.
    Click(IDD_WIZARD_SETTINGS, IDC_WIZARD_RUN);
    if (!WaitFor([] { return ControlText(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP) == "完了"; },
                 seconds))
        return Fail("the registration did not end");
    if (!WaitFor([&] { return destinations.Count() == before + 1; }, seconds))
        return Fail("the main window's list did not grow");
    if (destinations.Text(before, 0) != name) return Fail("the new row has another name");
    printf("registered %s as row %d\n", name, before);
    Click(IDD_WIZARD_PROGRESS, IDC_WIZARD_STOP);
    if (!WaitFor([] { return !Wizard(); }, seconds)) return Fail("the wizard did not close");
    return 0;
}

} // namespace TwoHostWizard

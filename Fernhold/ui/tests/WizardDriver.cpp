// The wizard driver: page clicks, waits and the message-box closer.
#include "ui/tests/WizardDriver.h"

#include "net/MainWindowMessages.h"
#include "ui/ProgramResources.h"

#include <commctrl.h>

WizardDriver::WizardDriver()
    : context{harness.settings, harness.client, harness.server, harness.skin, harness.shell}
{
    harness.Create();
    context.mainWindow = harness.Handle();
    // As the application object does: the list's changes reach the main window's rows.
    harness.client.SetMainWindow(harness.Handle());
}

WizardDriver::~WizardDriver()
{
    if (Wizard()) DestroyWindow(Wizard()->GetHandle());
    DrainMessages();
    harness.client.SetMainWindow(nullptr);
}

bool WizardDriver::Open(const TWizardServices& services)
{
    bool made = TAddWizard::Open(context, services) == 1;
    DrainMessages();
    return made;
}

void WizardDriver::Click(int dialog, int control)
{
    HWND page = Page(dialog);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, control)));
}

bool WizardDriver::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

bool WizardDriver::WaitForPage(int dialog)
{
    return PumpUntil([&] {
        if (!Wizard()) return false;
        for (int d = IDD_WIZARD_WELCOME; d <= IDD_WIZARD_WAIT; ++d)
            if ((IsWindowVisible(Page(d)) != 0) != (d == dialog)) return false;
        return true;
    });
}

std::string WizardDriver::Text(int dialog, int control) const
{
    char text[512] = {};
    GetDlgItemTextA(Page(dialog), control, text, sizeof(text));
    return text;
}

void WizardDriver::CheckRow(HWND list, int row)
{
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool WizardDriver::ToComputers(std::initializer_list<int> workgroupRows)
{
    Click(IDD_WIZARD_WELCOME, IDC_WIZARD_NEXT);
    if (!WaitForPage(IDD_WIZARD_WORKGROUPS)) return false;
    HWND list = Control(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_WORKGROUP_LIST);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : workgroupRows) {
        LVITEMA selected{};
        selected.stateMask = selected.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
    }
    Click(IDD_WIZARD_WORKGROUPS, IDC_WIZARD_NEXT);
    return WaitForPage(IDD_WIZARD_COMPUTERS);
}

bool WizardDriver::ToSettingsWithAllChecked()
{
    HWND list = Control(IDD_WIZARD_COMPUTERS, IDC_WIZARD_COMPUTER_LIST);
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        CheckRow(list, row);
    Click(IDD_WIZARD_COMPUTERS, IDC_WIZARD_NEXT);
    return WaitForPage(IDD_WIZARD_SETTINGS);
}

MessageBoxCloser::MessageBoxCloser() : m_Stop(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    m_Thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

MessageBoxCloser::~MessageBoxCloser()
{
    SetEvent(m_Stop);
    WaitForSingleObject(m_Thread, INFINITE);
    CloseHandle(m_Thread);
    CloseHandle(m_Stop);
}

DWORD WINAPI MessageBoxCloser::Watch(void* self)
{
    auto* closer = static_cast<MessageBoxCloser*>(self);
    while (WaitForSingleObject(closer->m_Stop, 10) == WAIT_TIMEOUT) {
        HWND box = FindWindowA("#32770", PROGRAM_TITLE);
        if (!box || !IsWindowVisible(box)) continue;
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        closer->m_Text = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    return 0;
}

std::string MessageBoxCloser::Wait(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (WaitForSingleObject(m_Thread, 10) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return m_Text;
}

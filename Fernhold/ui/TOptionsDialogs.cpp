// Options sheet and its pages: the controls to and from the working copy.
#include "ui/TOptionsDialogs.h"

#include "net/MainWindowMessages.h"
#include "net/TServerCore.h"
#include "ui/AdministratorDialogs.h"
#include "ui/PortText.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"

#include <commctrl.h>
#include <winsock2.h>

#include <vector>

namespace {
const char SHEET_CAPTION[] = "設定";
// The rights boxes of page 147, bit 0 first.
constexpr int RIGHTS_BOXES[10] = {
    IDC_RIGHT_SHOW_MAIN, IDC_RIGHT_CONNECT, IDC_RIGHT_MOUSE, IDC_RIGHT_KEYBOARD, IDC_RIGHT_ADD,
    IDC_RIGHT_EDIT,      IDC_RIGHT_DELETE,  IDC_RIGHT_WAKE,  IDC_RIGHT_UPDATE,   IDC_RIGHT_OPTIONS};
constexpr int PORT_DIGITS = 5;

// The owning object, stored in the page's DWLP_USER at WM_INITDIALOG.
TOptionsDialogs* PageOwner(HWND page, UINT message, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        LPARAM owner = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
        SetWindowLongPtrA(page, DWLP_USER, owner);
    }
    return reinterpret_cast<TOptionsDialogs*>(GetWindowLongPtrA(page, DWLP_USER));
}

void CheckBit(HWND page, int box, uint32_t flags, uint32_t bit)
{
    CheckDlgButton(page, box, (flags & bit) ? BST_CHECKED : BST_UNCHECKED);
}

void SetBitFromBox(HWND page, int box, uint32_t& flags, uint32_t bit)
{
    if (IsDlgButtonChecked(page, box) == BST_CHECKED)
        flags |= bit;
    else
        flags &= ~bit;
}

BOOL CALLBACK DisableControl(HWND control, LPARAM)
{
    EnableWindow(control, FALSE);
    return TRUE;
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED) CentreOnOwner(sheet);
    return 0;
}
} // namespace

int TOptionsDialogs::ShowOptions()
{
    return ShowOptionsSheet(m_Working, m_Context.settings, m_Context.shell, *this);
}

int TOptionsDialogs::RunPasswordDialog(HWND owner)
{
    return ::RunPasswordDialog(owner, m_Working.user);
}

INT_PTR CALLBACK TOptionsDialogs::GeneralPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    TOptionsDialogs* self = PageOwner(page, message, lParam);
    switch (message) {
    case WM_INITDIALOG:
        self->OpenGeneralPage(page);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code != PSN_APPLY) return FALSE;
        // The sheet has no Apply button: an accepted apply is the sheet's OK.
        self->m_Accepted = self->AcceptGeneralPage(page);
        SetWindowLongPtrA(page, DWLP_MSGRESULT,
                          self->m_Accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        return TRUE;
    case WM_DESTROY:
        if (self) self->CloseGeneralPage(page);
        return FALSE;
    default:
        return FALSE;
    }
}

void TOptionsDialogs::OpenGeneralPage(HWND page)
{
    SetDlgItemInt(page, IDC_OPTIONS_PORT, ntohs(m_Working.port), FALSE);
    SendDlgItemMessageA(page, IDC_OPTIONS_PORT, EM_LIMITTEXT, PORT_DIGITS, 0);
    const char* listFile = m_Working.listFile;
    SetDlgItemTextA(page, IDC_OPTIONS_LIST_FILE, listFile ? listFile : "");
    CheckBit(page, IDC_OPTIONS_REFUSE, m_Working.serverFlags, 1);
    CheckBit(page, IDC_OPTIONS_SEARCH, m_Working.searchFlags, 1);
}

void TOptionsDialogs::CloseGeneralPage(HWND page)
{
    char port[PORT_DIGITS + 1];
    GetDlgItemTextA(page, IDC_OPTIONS_PORT, port, sizeof(port));
    unsigned short value;
    if (ParsePortText(port, value)) m_Working.port = htons(value);
    HWND listEdit = GetDlgItem(page, IDC_OPTIONS_LIST_FILE);
    std::vector<char> listFile(GetWindowTextLengthA(listEdit) + 1);
    GetWindowTextA(listEdit, listFile.data(), static_cast<int>(listFile.size()));
    m_Working.listFile = TString(listFile.data());
    SetBitFromBox(page, IDC_OPTIONS_REFUSE, m_Working.serverFlags, 1);
    SetBitFromBox(page, IDC_OPTIONS_SEARCH, m_Working.searchFlags, 1);
}

int TOptionsDialogs::AcceptGeneralPage(HWND page)
{
    char port[PORT_DIGITS + 1];
    GetDlgItemTextA(page, IDC_OPTIONS_PORT, port, sizeof(port));
    unsigned short value;
    if (ParsePortText(port, value)) return 1;
    HWND sheet = GetParent(page);
    MessageBoxA(sheet, PORT_TEXT_MESSAGE, PROGRAM_TITLE, MB_ICONEXCLAMATION);
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    HWND edit = GetDlgItem(page, IDC_OPTIONS_PORT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return 0;
}

INT_PTR CALLBACK TOptionsDialogs::RightsPageProc(HWND page, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    TOptionsDialogs* self = PageOwner(page, message, lParam);
    switch (message) {
    case WM_INITDIALOG:
        self->OpenRightsPage(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_CHANGE_ADMINISTRATOR || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        self->ChangeAdministrator(page);
        return TRUE;
    case WM_DESTROY:
        if (self) self->CloseRightsPage(page);
        return FALSE;
    default:
        return FALSE;
    }
}

void TOptionsDialogs::OpenRightsPage(HWND page)
{
    uint32_t rights = m_Working.user.rights;
    HWND change = GetDlgItem(page, IDC_CHANGE_ADMINISTRATOR);
    if (rights == RIGHTS_NOT_IN_USE) {
        EnableWindow(change, FALSE);
    } else {
        EnableWindow(change, TRUE);
        // The rights can then be seen but not changed.
        if (SendMessageA(m_Context.mainWindow, UM_AUTHENTICATE, reinterpret_cast<WPARAM>(page),
                         0) != 1) {
            EnumChildWindows(page, DisableControl, 0);
            EnableWindow(page, FALSE);
        }
    }
    for (int bit = 0; bit < 10; ++bit)
        CheckBit(page, RIGHTS_BOXES[bit], rights, 1u << bit);
}

void TOptionsDialogs::CloseRightsPage(HWND page)
{
    for (int bit = 0; bit < 10; ++bit)
        SetBitFromBox(page, RIGHTS_BOXES[bit], m_Working.user.rights, 1u << bit);
}

void TOptionsDialogs::ChangeAdministrator(HWND page)
{
    if (SendMessageA(m_Context.mainWindow, UM_PASSWORD_DIALOG, reinterpret_cast<WPARAM>(page), 0) ==
        1)
        SaveAdministrator(m_Working, m_Context.shell);
}

int TOptionsDialogs::Authenticate()
{
    HWND main = m_Context.mainWindow;
    return SendMessageA(main, UM_AUTHENTICATE, reinterpret_cast<WPARAM>(main), 0) == 1;
}

int TOptionsDialogs::RunSheet()
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    PROPSHEETPAGEA pages[2] = {};
    const int templates[2] = {IDD_GENERAL_OPTIONS, IDD_USER_RIGHTS};
    const DLGPROC procedures[2] = {GeneralPageProc, RightsPageProc};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].hInstance = module;
        pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
        pages[i].pfnDlgProc = procedures[i];
        pages[i].lParam = reinterpret_cast<LPARAM>(this);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = m_Context.mainWindow;
    header.hInstance = module;
    header.pszCaption = SHEET_CAPTION;
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = pages;
    header.pfnCallback = SheetCallback;
    m_Accepted = 0;
    PropertySheetA(&header);
    return m_Accepted;
}

int TOptionsDialogs::AskYesNo(const char* question)
{
    return MessageBoxA(m_Context.mainWindow, question, PROGRAM_TITLE,
                       MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

int TOptionsDialogs::RunPasswordDialog()
{
    HWND main = m_Context.mainWindow;
    return SendMessageA(main, UM_PASSWORD_DIALOG, reinterpret_cast<WPARAM>(main), 0) == 1;
}

void TOptionsDialogs::PostToServer(UINT message)
{
    PostThreadMessageA(m_Context.server.GetThreadId(), message, 0, 0);
}

void TOptionsDialogs::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(m_Context.mainWindow, message, wParam, lParam);
}

// Destination settings dialog.
#include "ui/TDestinationDialog.h"

#include "net/MainWindowMessages.h"
#include "ui/DestinationTexts.h"
#include "ui/DialogPlacement.h"
#include "ui/PortText.h"
#include "ui/ProgramResources.h"
#include "ui/TDestinationEditor.h"

#include <Keelwork/TobjectBase.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

namespace {
constexpr int MAC_COLUMN_WIDTH = 200;

HWND MacList(HWND dialog) { return GetDlgItem(dialog, IDC_DEST_MAC_LIST); }

void SetMacRow(HWND list, int row, const unsigned char* mac, bool insert)
{
    MacText text = FormatMacText(mac);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text.text;
    SendMessageA(list, insert ? LVM_INSERTITEMA : LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// The list's selection mark when it names a MAC address of the copy, -1 otherwise.
long MarkedMac(HWND dialog, const TDestination& copy)
{
    long mark = static_cast<long>(SendMessageA(MacList(dialog), LVM_GETSELECTIONMARK, 0, 0));
    return mark >= 0 && static_cast<unsigned long>(mark) < copy.GetMacCount() ? mark : -1;
}
} // namespace

int TDestinationDialog::Run(HWND owner, TDestinationEditor& editor)
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    return DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_DESTINATION), owner, DialogProc,
                           reinterpret_cast<LPARAM>(&editor)) == 1;
}

INT_PTR CALLBACK TDestinationDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Open(dialog, *reinterpret_cast<TDestinationEditor*>(lParam));
        return TRUE;
    }
    auto* editor = reinterpret_cast<TDestinationEditor*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!editor) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        OnCommand(dialog, *editor, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        TakeFields(dialog, *editor);
        editor->SetSettingsDialog(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

void TDestinationDialog::Open(HWND dialog, TDestinationEditor& editor)
{
    editor.SetSettingsDialog(dialog);
    CentreOnOwner(dialog);
    const TDestination& copy = editor.GetEditingCopy();
    SendDlgItemMessageA(dialog, IDC_DEST_PORT, EM_LIMITTEXT, 5, 0);
    char port[6];
    snprintf(port, sizeof(port), "%u", ntohs(copy.liveAddress.sin_port));
    SetDlgItemTextA(dialog, IDC_DEST_PORT, port);
    const char* name = static_cast<char*>(copy.displayName);
    SetDlgItemTextA(dialog, IDC_DEST_NAME, name ? name : "");
    SendDlgItemMessageA(dialog, IDC_DEST_ADDRESS, IPM_SETADDRESS, 0,
                        static_cast<LPARAM>(ntohl(copy.liveAddress.sin_addr.s_addr)));
    HWND list = MacList(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = MAC_COLUMN_WIDTH;
    column.pszText = const_cast<char*>("MAC Address List");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (unsigned long i = 0; i < copy.GetMacCount(); ++i)
        SetMacRow(list, static_cast<int>(i), copy.GetMac(i), true);
}

void TDestinationDialog::OnCommand(HWND dialog, TDestinationEditor& editor, int id)
{
    switch (id) {
    case IDC_DEST_MAC_ADD:
        AddMac(dialog, editor);
        break;
    case IDC_DEST_MAC_EDIT:
        EditMac(dialog, editor);
        break;
    case IDC_DEST_MAC_DELETE:
        DeleteMac(dialog, editor);
        break;
    case IDC_DEST_OK:
    case IDOK:
        if (AcceptPort(dialog)) EndDialog(dialog, 1);
        break;
    case IDC_DEST_CANCEL:
    case IDCANCEL: // Escape
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
}

void TDestinationDialog::AddMac(HWND dialog, TDestinationEditor& editor)
{
    if (!editor.RunMacDialog()) return;
    TDestination& copy = editor.GetEditingCopy();
    copy.AddMac(editor.GetScratchMac());
    unsigned long last = copy.GetMacCount() - 1;
    SetMacRow(MacList(dialog), static_cast<int>(last), copy.GetMac(last), true);
}

void TDestinationDialog::EditMac(HWND dialog, TDestinationEditor& editor)
{
    TDestination& copy = editor.GetEditingCopy();
    long mark = MarkedMac(dialog, copy);
    if (mark < 0) return;
    unsigned char(&scratch)[6] = editor.GetScratchMac();
    for (int i = 0; i < 6; ++i)
        scratch[i] = copy.GetMac(static_cast<unsigned long>(mark))[i];
    if (!editor.RunMacDialog()) return;
    copy.SetMac(static_cast<unsigned long>(mark), scratch);
    SetMacRow(MacList(dialog), static_cast<int>(mark), scratch, false);
}

void TDestinationDialog::DeleteMac(HWND dialog, TDestinationEditor& editor)
{
    TDestination& copy = editor.GetEditingCopy();
    long mark = MarkedMac(dialog, copy);
    if (mark < 0) return;
    if (MessageBoxA(dialog, DELETE_MAC_QUESTION, PROGRAM_TITLE, MB_YESNO) != IDYES) return;
    HWND list = MacList(dialog);
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(mark), 0);
    copy.RemoveMac(static_cast<unsigned long>(mark));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, mark);
}

bool TDestinationDialog::AcceptPort(HWND dialog)
{
    char text[6] = {};
    GetDlgItemTextA(dialog, IDC_DEST_PORT, text, sizeof(text));
    unsigned short port = 0;
    if (ParsePortText(text, port)) return true;
    MessageBoxA(dialog, PORT_TEXT_MESSAGE, PROGRAM_TITLE, MB_OK | MB_ICONEXCLAMATION);
    HWND field = GetDlgItem(dialog, IDC_DEST_PORT);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    return false;
}

void TDestinationDialog::TakeFields(HWND dialog, TDestinationEditor& editor)
{
    TDestination& copy = editor.GetEditingCopy();
    HWND nameField = GetDlgItem(dialog, IDC_DEST_NAME);
    std::vector<char> name(static_cast<size_t>(GetWindowTextLengthA(nameField)) + 1, '\0');
    GetWindowTextA(nameField, name.data(), static_cast<int>(name.size()));
    copy.displayName = TString(name.data());
    char text[6] = {};
    GetDlgItemTextA(dialog, IDC_DEST_PORT, text, sizeof(text));
    unsigned short port = 0;
    if (ParsePortText(text, port)) copy.liveAddress.sin_port = htons(port);
    DWORD address = 0;
    SendDlgItemMessageA(dialog, IDC_DEST_ADDRESS, IPM_GETADDRESS, 0,
                        reinterpret_cast<LPARAM>(&address));
    copy.liveAddress.sin_addr.s_addr = htonl(address);
}

// About dialog.
#include "ui/AboutDialog.h"

#include "net/HostAddresses.h"
#include "ui/AdministratorDialogs.h"
#include "ui/ProgramResources.h"

#include <winsock2.h>

#include <cstdio>
#include <cstring>

namespace {
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* shell = reinterpret_cast<const TAppShell*>(lParam);
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, ABOUT_VERSION_TEXT);
        char name[256], address[16];
        ReadAboutHost(name, address);
        SetDlgItemTextA(dialog, IDC_ABOUT_HOST, name);
        SetDlgItemTextA(dialog, IDC_ABOUT_ADDRESS, address);
        for (unsigned long i = 0; i < shell->GetMacCount(); ++i) {
            const char* text = shell->GetMacText(i);
            SendDlgItemMessageA(dialog, IDC_ABOUT_MACS, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(text ? text : ""));
        }
        CentreOnOwner(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
} // namespace

void FormatAboutAddress(const unsigned char (&address)[4], char (&text)[16])
{
    snprintf(text, sizeof(text), "%3hu.%3hu.%3hu.%3hu", static_cast<unsigned short>(address[0]),
             static_cast<unsigned short>(address[1]), static_cast<unsigned short>(address[2]),
             static_cast<unsigned short>(address[3]));
}

void ReadAboutHost(char (&name)[256], char (&address)[16])
{
    name[0] = 0;
    address[0] = 0;
    if (gethostname(name, sizeof(name)) != 0) name[0] = 0;
    TMemoryBase addresses;
    if (!LookupHostAddresses(addresses) || addresses.GetSize() < 4) return;
    unsigned char first[4];
    memcpy(first, static_cast<unsigned char*>(addresses), 4);
    FormatAboutAddress(first, address);
}

void RunAboutDialog(HWND owner, const TAppShell& shell)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc,
                    reinterpret_cast<LPARAM>(&shell));
}

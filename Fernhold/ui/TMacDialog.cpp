// MAC address dialog.
#include "ui/TMacDialog.h"

#include "ui/DestinationTexts.h"
#include "ui/DialogPlacement.h"
#include "ui/ProgramResources.h"

#include <Keelwork/TobjectBase.h>

#include <cstdio>

namespace {
const int BYTE_EDITS[6] = {IDC_MAC_BYTE1, IDC_MAC_BYTE2, IDC_MAC_BYTE3,
                           IDC_MAC_BYTE4, IDC_MAC_BYTE5, IDC_MAC_BYTE6};
} // namespace

int TMacDialog::Run(HWND owner, unsigned char (&mac)[6])
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    return DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_MAC_ADDRESS), owner, DialogProc,
                           reinterpret_cast<LPARAM>(mac)) == 1;
}

INT_PTR CALLBACK TMacDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    unsigned char* mac = reinterpret_cast<unsigned char*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        mac = reinterpret_cast<unsigned char*>(lParam);
        CentreOnOwner(dialog);
        for (int i = 0; i < 6; ++i) {
            char text[3];
            snprintf(text, sizeof(text), "%02X", mac[i]);
            SendDlgItemMessageA(dialog, BYTE_EDITS[i], EM_LIMITTEXT, 2, 0);
            SetDlgItemTextA(dialog, BYTE_EDITS[i], text);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (!mac) return FALSE;
        for (int i = 0; i < 6; ++i) {
            char text[3] = {};
            GetDlgItemTextA(dialog, BYTE_EDITS[i], text, sizeof(text));
            mac[i] = ParseMacByteText(text);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// Password and authentication dialogs.
#include "ui/AdministratorDialogs.h"

#include "net/MainWindowMessages.h"
#include "ui/ProgramResources.h"

#include <cstring>
#include <initializer_list>

const char NO_NAME_MESSAGE[] = "管理者ネームが入力されていません！";
const char NO_PASSWORD_MESSAGE[] = "パスワードが未入力です！";
const char PASSWORD_MISMATCH_MESSAGE[] = "パスワードが確認パスワードと一致しません！";
const char AUTHENTICATION_FAILED_MESSAGE[] = "認証に失敗しました！";

namespace {
// The edits' limit, and the buffers that read them with their zero.
constexpr int TEXT_LIMIT = 255;

void LimitEdit(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, TEXT_LIMIT, 0);
}

void ReadEdit(HWND dialog, int id, char (&text)[TEXT_LIMIT + 1])
{
    text[0] = 0;
    GetDlgItemTextA(dialog, id, text, sizeof(text));
}

INT_PTR CALLBACK PasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* working = reinterpret_cast<TUserCredentials*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        working = reinterpret_cast<TUserCredentials*>(lParam);
        for (int id : {IDC_ADMIN_NAME, IDC_ADMIN_PASSWORD, IDC_ADMIN_CONFIRM})
            LimitEdit(dialog, id);
        const char* name = working->name;
        const char* password = working->password;
        SetDlgItemTextA(dialog, IDC_ADMIN_NAME, name ? name : "");
        SetDlgItemTextA(dialog, IDC_ADMIN_PASSWORD, password ? password : "");
        SetDlgItemTextA(dialog, IDC_ADMIN_CONFIRM, password ? password : "");
        CentreOnOwner(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (LOWORD(wParam) == IDOK) {
        char name[TEXT_LIMIT + 1], password[TEXT_LIMIT + 1], confirm[TEXT_LIMIT + 1];
        ReadEdit(dialog, IDC_ADMIN_NAME, name);
        ReadEdit(dialog, IDC_ADMIN_PASSWORD, password);
        ReadEdit(dialog, IDC_ADMIN_CONFIRM, confirm);
        if (const char* problem = PasswordEntryProblem(name, password, confirm)) {
            MessageBoxA(dialog, problem, PROGRAM_TITLE, MB_ICONSTOP);
            return TRUE;
        }
        working->name = TString(name);
        working->password = TString(password);
        EndDialog(dialog, 1);
    }
    return TRUE;
}

INT_PTR CALLBACK AuthenticationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* shell = reinterpret_cast<const TAppShell*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        LimitEdit(dialog, IDC_ADMIN_NAME);
        LimitEdit(dialog, IDC_AUTH_PASSWORD);
        CentreOnOwner(dialog, true);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (LOWORD(wParam) == IDOK) {
        char name[TEXT_LIMIT + 1], password[TEXT_LIMIT + 1];
        ReadEdit(dialog, IDC_ADMIN_NAME, name);
        ReadEdit(dialog, IDC_AUTH_PASSWORD, password);
        if (shell->Authenticates(name, password))
            EndDialog(dialog, 1);
        else
            MessageBoxA(dialog, AUTHENTICATION_FAILED_MESSAGE, PROGRAM_TITLE, MB_OK);
    }
    return TRUE;
}
} // namespace

const char* PasswordEntryProblem(const char* name, const char* password, const char* confirm)
{
    if (!*name) return NO_NAME_MESSAGE;
    if (!*password) return NO_PASSWORD_MESSAGE;
    if (strcmp(password, confirm) != 0) return PASSWORD_MISMATCH_MESSAGE;
    return nullptr;
}

void CentreOnOwner(HWND dialog, bool keepBelowOne)
{
    RECT area, own;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &own);
    int x = area.left + (area.right - area.left - (own.right - own.left)) / 2;
    int y = area.top + (area.bottom - area.top - (own.bottom - own.top)) / 2;
    if (keepBelowOne && x < 1 && y < 1) return;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int RunPasswordDialog(HWND owner, TUserCredentials& working)
{
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr),
                                            MAKEINTRESOURCEA(IDD_PASSWORD), owner, PasswordProc,
                                            reinterpret_cast<LPARAM>(&working))) == 1;
}

int RunAuthenticationDialog(HWND owner, const TAppShell& shell)
{
    return static_cast<int>(
               DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_AUTHENTICATE), owner,
                               AuthenticationProc, reinterpret_cast<LPARAM>(&shell))) == 1;
}

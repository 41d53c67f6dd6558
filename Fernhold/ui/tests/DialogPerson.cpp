// Dialog person: window search, control access and the rescue from a stuck dialog.
#include "ui/tests/DialogPerson.h"

#include "net/MainWindowMessages.h"
#include "ui/AdministratorDialogs.h"
#include "ui/ProgramResources.h"

#include <commctrl.h>

#include <vector>

namespace {
struct Search {
    const char* caption;
    HWND found;
};

bool OfThisProcess(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() && IsWindowVisible(window);
}

BOOL CALLBACK MatchCaption(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    char kind[16] = {};
    GetClassNameA(window, kind, sizeof(kind));
    if (!OfThisProcess(window) || !IsWindowEnabled(window) || std::string(kind) != "#32770")
        return TRUE;
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (std::string(text) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM lParam)
{
    char kind[16] = {};
    GetClassNameA(window, kind, sizeof(kind));
    if (OfThisProcess(window) && std::string(kind) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

void CancelEveryDialog()
{
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        for (int id : {IDCANCEL, IDNO, IDOK})
            ClickButton(dialog, id);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}
} // namespace

HWND WaitForDialog(const char* caption, DWORD timeoutMs)
{
    Search search{caption, nullptr};
    WaitFor(
        [&] {
            EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string ControlText(HWND dialog, int id)
{
    char text[512] = {};
    GetWindowTextA(GetDlgItem(dialog, id), text, sizeof(text));
    return text;
}

std::string MessageBoxText(HWND box) { return ControlText(box, 0xFFFF); }

void SetControlText(HWND dialog, int id, const char* text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void SetCheck(HWND dialog, int id, bool checked)
{
    SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ClickButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

const char SHEET[] = "設定";
const char AUTHENTICATION[] = "Fernhold - 管理者認証 ダイアログ";
const char PASSWORD[] = "パスワードの設定";

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND ShowPage(HWND sheet, int index, int control)
{
    PostMessageA(sheet, PSM_SETCURSEL, index, 0);
    HWND page = nullptr;
    WaitFor(
        [&] {
            page = CurrentPage(sheet);
            return page && GetDlgItem(page, control);
        },
        5000);
    return page && GetDlgItem(page, control) ? page : nullptr;
}

bool Authenticate(const char* name, const char* password, bool expectFailure)
{
    HWND dialog = WaitForDialog(AUTHENTICATION);
    if (!dialog) return false;
    SetControlText(dialog, IDC_ADMIN_NAME, name);
    SetControlText(dialog, IDC_AUTH_PASSWORD, password);
    ClickButton(dialog, IDOK);
    if (!expectFailure) return WaitUntilGone(dialog);
    HWND box = WaitForDialog(PROGRAM_TITLE);
    if (!box || MessageBoxText(box) != AUTHENTICATION_FAILED_MESSAGE) return false;
    ClickButton(box, IDOK);
    return WaitUntilGone(box) && IsWindowVisible(dialog);
}

DialogPerson::DialogPerson(std::function<bool()> script)
    : m_Thread([this, script] {
          bool went = script();
          // The test thread's modal call should now come back by itself.
          bool returned = WaitFor([this] { return m_Returned.load(); }, 5000);
          m_Succeeded = went && returned;
          while (!m_Returned) {
              CancelEveryDialog();
              Sleep(50);
          }
      })
{
}

DialogPerson::~DialogPerson() { Finish(); }

bool DialogPerson::Finish()
{
    m_Returned = true;
    if (m_Thread.joinable()) m_Thread.join();
    return m_Succeeded;
}

TestAdministrator::TestAdministrator()
    : m_Thread([this] {
          while (!m_Stop) {
              HWND dialog = WaitForDialog(AUTHENTICATION, 100);
              if (!dialog) continue;
              ++asks;
              if (m_Accepting) {
                  SetControlText(dialog, IDC_ADMIN_NAME, m_Name.c_str());
                  SetControlText(dialog, IDC_AUTH_PASSWORD, m_Password.c_str());
                  ClickButton(dialog, IDOK);
              } else {
                  ClickButton(dialog, IDCANCEL);
              }
              WaitUntilGone(dialog);
          }
      })
{
}

TestAdministrator::~TestAdministrator()
{
    m_Stop = true;
    m_Thread.join();
}

void TestAdministrator::Accept(const char* name, const char* password)
{
    m_Accepting = false;
    if (!name) return;
    m_Name = name;
    m_Password = password;
    m_Accepting = true;
}

// Entry point of FRNUpdate.exe: the check, the progress dialog on a thread of its own,
// the run and the restart of the main program.
#include "Updater.h"
#include "UpdaterResources.h"

#include <commctrl.h>
#include <process.h>

#include <atomic>

namespace {

// Longest wait for the dialog to exist before the run goes on without it.
constexpr DWORD DIALOG_READY_WAIT_MS = 5000;
constexpr DWORD DIALOG_CLOSE_POLL_MS = 100;
constexpr WPARAM COMMAND_CLOSE = 1;

HINSTANCE g_Instance = nullptr;
// Set by the dialog on creation; the worker only sends and posts to it.
std::atomic<HWND> g_Dialog{nullptr};
HANDLE g_DialogReady = nullptr;

INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        g_Dialog = dialog;
        SetEvent(g_DialogReady);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == COMMAND_CLOSE) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

unsigned __stdcall DialogThread(void*)
{
    DialogBoxParamA(g_Instance, MAKEINTRESOURCEA(IDD_UPDATE_PROGRESS), nullptr, ProgressProc, 0);
    // A dialog that could not be made must not keep the worker waiting.
    SetEvent(g_DialogReady);
    return 0;
}

class TDialogProgress final : public TUpdateProgress {
public:
    void SetRange(uint32_t files) override
    {
        SendDlgItemMessageA(g_Dialog.load(), IDC_UPDATE_PROGRESS_BAR, PBM_SETRANGE32, 0, files);
    }
    void SetPosition(uint32_t file) override
    {
        SendDlgItemMessageA(g_Dialog.load(), IDC_UPDATE_PROGRESS_BAR, PBM_SETPOS, file, 0);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_Instance = instance;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!IsStagedUpdateNewer()) return 0;

    // The platform's 500 ms grace becomes a wait for the dialog's creation itself.
    g_DialogReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE dialogThread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DialogThread, nullptr, 0, nullptr));
    if (dialogThread) WaitForSingleObject(g_DialogReady, DIALOG_READY_WAIT_MS);

    TDialogProgress progress;
    InstallStagedUpdate(progress, [](int) { Sleep(COPY_RETRY_PAUSE_MS); });

    if (dialogThread) {
        // Posted again while the thread lives: a dialog slower than the wait above
        // appears later and must be closed too.
        do
            if (HWND dialog = g_Dialog.load()) PostMessageA(dialog, WM_COMMAND, COMMAND_CLOSE, 0);
        while (WaitForSingleObject(dialogThread, DIALOG_CLOSE_POLL_MS) == WAIT_TIMEOUT);
        CloseHandle(dialogThread);
    }
    CloseHandle(g_DialogReady);
    StartMainProgram();
    return 1;
}

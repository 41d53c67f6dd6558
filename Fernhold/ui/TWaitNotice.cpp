// The "please wait" notice and the wait it covers.
#include "ui/TWaitNotice.h"

#include "net/TDestination.h"
#include "ui/DestinationTexts.h"
#include "ui/DialogPlacement.h"
#include "ui/ProgramResources.h"

#include <Keelwork/TobjectBase.h>

HWND TWaitNotice::Show(HWND owner)
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    HWND notice =
        CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_WAIT_NOTICE), owner, DialogProc, 0);
    if (!notice) return nullptr;
    ShowWindow(notice, SW_SHOWNOACTIVATE);
    UpdateWindow(notice);
    return notice;
}

void TWaitNotice::Close(HWND notice)
{
    if (notice) DestroyWindow(notice);
}

INT_PTR CALLBACK TWaitNotice::DialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    SetDlgItemTextA(dialog, IDC_WAIT_TEXT, WAIT_NOTICE_TEXT);
    CentreOnOwner(dialog);
    return TRUE;
}

HANDLE OpenRunningWorker(const TDestination& record)
{
    if (!record.worker.IsRunning()) return nullptr;
    HANDLE copy = nullptr;
    HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, record.worker.GetHandle(), process, &copy, SYNCHRONIZE, FALSE, 0))
        return nullptr;
    return copy;
}

void WaitShowingNotice(HWND owner, HANDLE thread)
{
    if (!thread) return;
    HWND notice = TWaitNotice::Show(owner);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
            DispatchMessageA(&message);
    }
    TWaitNotice::Close(notice);
    CloseHandle(thread);
}

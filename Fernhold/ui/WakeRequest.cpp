// Wake-up request from the main window.
#include "ui/WakeRequest.h"

#include "net/NetMessages.h"
#include "net/TClientCore.h"
#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"
#include "ui/TWaitNotice.h"

void RequestWake(TUiContext& context, WPARAM index, DWORD clientThread)
{
    HWND main = context.mainWindow;
    if (!IsOperationAllowed(main, main, context.shell.GetRights(), RIGHT_WAKE_ON_LAN)) return;
    TClientCore& client = context.client;
    client.LockList();
    HANDLE worker =
        index < client.GetDestinationCount()
            ? OpenRunningWorker(*client.GetDestination(static_cast<unsigned long>(index)))
            : nullptr;
    client.UnlockList();
    WaitShowingNotice(main, worker);
    PostThreadMessageA(clientThread, TM_WAKE, index, 0);
}

// Adding, editing and deleting single destinations.
#include "ui/TDestinationEditor.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/DestinationTexts.h"
#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"
#include "ui/TDestinationDialog.h"
#include "ui/TMacDialog.h"
#include "ui/TWaitNotice.h"

namespace {
bool Allowed(const TUiContext& context, uint32_t bit)
{
    HWND main = context.mainWindow;
    return IsOperationAllowed(main, main, context.shell.GetRights(), bit) != 0;
}
} // namespace

int TDestinationEditor::RunDestinationDialog()
{
    return TDestinationDialog::Run(m_Context.mainWindow, *this);
}

int TDestinationEditor::RunMacDialog() { return TMacDialog::Run(m_SettingsDialog, m_ScratchMac); }

void TDestinationEditor::PrepareCopyForList()
{
    m_Copy.storedAddress = m_Copy.liveAddress;
    m_Copy.computerName = m_Copy.displayName;
    m_Copy.searchState = SEARCH_IDLE;
    m_Copy.busy = 0;
    m_Copy.lastSearchTime = 0;
    m_Copy.failureCount = 0;
}

void TDestinationEditor::AddDestinationByDialog()
{
    if (!Allowed(m_Context, RIGHT_ADD_DESTINATION)) return;
    TClientCore& client = m_Context.client;
    // Held while the dialog is open, so no search changes the list meanwhile.
    client.LockList();
    if (RunDestinationDialog()) {
        PrepareCopyForList();
        client.AddDestination(m_Copy);
    }
    client.UnlockList();
}

uint32_t TDestinationEditor::TakeRecord(long row)
{
    if (row < 0) return 0;
    TClientCore& client = m_Context.client;
    client.LockList();
    if (static_cast<unsigned long>(row) >= client.GetDestinationCount()) {
        client.UnlockList();
        return 0;
    }
    TDestination* record = client.GetDestination(static_cast<unsigned long>(row));
    uint32_t id = record->id;
    // Busy before the wait, so the client thread cannot start another worker on the
    // record once this one has ended.
    record->busy = 1;
    HANDLE worker = OpenRunningWorker(*record);
    if (worker) record->cancel = 1;
    client.UnlockList();
    WaitShowingNotice(m_Context.mainWindow, worker);

    client.LockList();
    long index = client.FindDestination(id);
    if (index >= 0) m_Copy.CopyFrom(*client.GetDestination(static_cast<unsigned long>(index)));
    client.UnlockList();
    return index >= 0 ? id : 0;
}

void TDestinationEditor::ClearBusy(uint32_t id)
{
    TClientCore& client = m_Context.client;
    client.LockList();
    long index = client.FindDestination(id);
    if (index >= 0) client.GetDestination(static_cast<unsigned long>(index))->busy = 0;
    client.UnlockList();
}

void TDestinationEditor::EditDestinationByDialog(long row)
{
    if (!Allowed(m_Context, RIGHT_EDIT_DESTINATION)) return;
    uint32_t id = TakeRecord(row);
    if (!id) return;
    TClientCore& client = m_Context.client;
    client.LockList();
    if (RunDestinationDialog()) {
        long index = client.FindDestination(id);
        if (index >= 0) {
            PrepareCopyForList();
            client.GetDestination(static_cast<unsigned long>(index))->CopyFrom(m_Copy);
            PostMessageA(m_Context.mainWindow, UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION,
                         static_cast<LPARAM>(id));
        }
    }
    ClearBusy(id);
    client.UnlockList();
}

void TDestinationEditor::DeleteSelectedDestination(long row)
{
    if (!Allowed(m_Context, RIGHT_DELETE_DESTINATION)) return;
    uint32_t id = TakeRecord(row);
    if (!id) return;
    // The copy holds the record's values now; the question is built from it, so the
    // list lock is not held while the operator answers.
    TString question = DeleteDestinationQuestion(m_Copy);
    int answer = MessageBoxA(m_Context.mainWindow, static_cast<char*>(question),
                             DELETE_DESTINATION_CAPTION, MB_YESNO);
    if (answer == IDYES)
        m_Context.client.RemoveDestination(id);
    else
        ClearBusy(id);
}

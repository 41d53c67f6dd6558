// The destination list's editing state (one destination's copy and a scratch MAC address)
// and the operations that add, edit and delete single destinations through the dialogs.
#pragma once

#include "net/TDestination.h"
#include "ui/TUiContext.h"

#include <windows.h>

// Owned by the left panel, which shows the list, for the program's life; main thread.
// The copy is not reset between uses: the add dialog opens with the values of the
// destination last added, edited or deleted.
class TDestinationEditor {
public:
    explicit TDestinationEditor(TUiContext& context) : m_Context(context) {}
    TDestinationEditor(const TDestinationEditor&) = delete;
    TDestinationEditor& operator=(const TDestinationEditor&) = delete;

    // Right 0x10; the settings dialog on the copy, kept under the destination-list lock;
    // OK adds a record made of it.
    void AddDestinationByDialog();
    // Right 0x20; the destination at row (its index in the list, -1 for none): its worker
    // thread is stopped behind the notice, the copy takes it, OK writes the copy back.
    void EditDestinationByDialog(long row);
    // Right 0x40; as edit up to the copy, then the question; Yes deletes the record.
    void DeleteSelectedDestination(long row);

    // Dialog 102 on the copy, owned by the main window: 1 for OK, 0 otherwise.
    int RunDestinationDialog();
    // Dialog 146 on the scratch address, owned by the open settings dialog: 1 for OK.
    int RunMacDialog();

    TDestination& GetEditingCopy() { return m_Copy; }
    unsigned char (&GetScratchMac())[6] { return m_ScratchMac; }
    // The settings dialog while it is open (owner of the MAC dialog), null otherwise.
    void SetSettingsDialog(HWND dialog) { m_SettingsDialog = dialog; }
    HWND GetSettingsDialog() const { return m_SettingsDialog; }

private:
    // Edit's and delete's start: the record at row is marked busy (no search or wake-up
    // starts on it), its worker thread is cancelled and waited for behind the notice, and
    // the copy takes the record. Returns the record's id, 0 when there is none.
    uint32_t TakeRecord(long row);
    void ClearBusy(uint32_t id);
    // What a record made from the copy starts with: the registered name and address are
    // the ones typed, no search has happened.
    void PrepareCopyForList();

    TUiContext& m_Context;
    TDestination m_Copy;
    unsigned char m_ScratchMac[6] = {};
    HWND m_SettingsDialog = nullptr;
};

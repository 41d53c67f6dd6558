// The destination's side of an update: the link to the operator's update service that
// compares versions and stages the description and its files in "UpdateFiles".
#pragma once

#include "net/TClientLink.h"

#include <Keelwork/TMemoryBase.h>

// The go word of the update link: 1 in network byte order (bytes 00 00 00 01).
constexpr uint32_t UPDATE_GO_WORD = 0x01000000;
// The link waits this long after connecting before it asks for the version, so the
// operator's request exchange has ended first.
constexpr DWORD UPDATE_START_PAUSE_MS = 1000;

// Made and deleted by the client engine (TClientCore::FetchUpdate); its work arrives as
// TM_UPDATE_START, then each step posts the next one to its own thread (TM_UPDATE_GET_INI,
// TM_UPDATE_NEXT_FILE with the index), so TM_QUIT is heard between files.
// Paths are relative to the current directory, the program folder.
//
// A fetch ends in one of two ways. Complete: every listed file that the operator had
// is staged whole, and the main window hears UM_UPDATE_RECEIVED. Refused or broken
// (version not newer, no usable description, a reply that did not arrive in full, an
// announcement beyond its bound): the staged description is removed, nothing partial
// is left, and the client thread hears TM_LINK_LOST as for a refused version.
class TUpdateLink : public TClientLink {
public:
    TUpdateLink(const TFernSettings& settings, DWORD clientThreadId, HWND mainWindow);
    ~TUpdateLink() override;

    void Handle(const MSG& message) override;

protected:
    // An update is not part of the session: pausing the session does not hold it.
    bool FollowsSessionPause() const override { return false; }

private:
    void AskVersion();
    void FetchDescription();
    void FetchFile(uint32_t index);
    enum class Received { Whole, Declined, Broken };
    // Sends the go word and receives the announced bytes into m_Received; a block that
    // cannot be allocated is declined (go word 0) instead.
    Received ReceiveData(uint32_t length);
    void PostNextFile(uint32_t index);
    void Finished();
    void Abandon();

    DWORD m_ClientThreadId;
    HWND m_MainWindow;
    uint32_t m_InstalledVersion = 0;
    TMemoryBase m_Received;
};

// Update link: version query, description, files one at a time into the staging folder.
#include "net/TUpdateLink.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/ReplaceFile.h"
#include "net/SocketIo.h"

#include <FRNUpdate/UpdateDescription.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD POST_RETRY_MS = 100;

// Creates the folders between the program folder and the staged file; the path has
// passed the staging rules, so every folder made lies inside "UpdateFiles".
void MakeParentFolders(const char* path)
{
    std::string parents(path);
    for (size_t i = 0; i < parents.size(); ++i) {
        if (parents[i] != '\\' && parents[i] != '/') continue;
        char kept = parents[i];
        parents[i] = '\0';
        CreateDirectoryA(parents.c_str(), nullptr);
        parents[i] = kept;
    }
}

} // namespace

TUpdateLink::TUpdateLink(const TFernSettings& settings, DWORD clientThreadId, HWND mainWindow)
    : TClientLink(SERVICE_UPDATE, settings), m_ClientThreadId(clientThreadId),
      m_MainWindow(mainWindow)
{
}

TUpdateLink::~TUpdateLink() { Stop(); }

void TUpdateLink::Handle(const MSG& message)
{
    if (message.message == TM_UPDATE_START)
        AskVersion();
    else if (message.message == TM_UPDATE_GET_INI)
        FetchDescription();
    else if (message.message == TM_UPDATE_NEXT_FILE)
        FetchFile(static_cast<uint32_t>(message.wParam));
}

void TUpdateLink::Abandon()
{
    DeleteFileA(STAGED_DESCRIPTION);
    PostThreadMessageA(m_ClientThreadId, TM_LINK_LOST, 0, 0);
    PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
}

void TUpdateLink::Finished()
{
    PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
    if (m_MainWindow) PostMessageA(m_MainWindow, UM_UPDATE_RECEIVED, 0, 0);
}

void TUpdateLink::PostNextFile(uint32_t index)
{
    while (!PostThreadMessageA(GetThreadId(), TM_UPDATE_NEXT_FILE, index, 0))
        Sleep(POST_RETRY_MS);
}

void TUpdateLink::AskVersion()
{
    Sleep(UPDATE_START_PAUSE_MS);
    m_InstalledVersion = ReadDescriptionVersion(INSTALLED_DESCRIPTION);
    PacketHeader header{CMD_UPDATE_VERSION, 0, m_InstalledVersion, 0};
    ReplyHeader reply;
    if (!Exchange(header, nullptr, reply) || reply.ok == 0) {
        PostThreadMessageA(m_ClientThreadId, TM_LINK_LOST, 0, 0);
        PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
        return;
    }
    CreateDirectoryA(STAGING_FOLDER, nullptr);
    // A description left by an earlier fetch must never stand in for this one's.
    DeleteFileA(STAGED_DESCRIPTION);
    PostThreadMessageA(GetThreadId(), TM_UPDATE_GET_INI, 0, 0);
}

TUpdateLink::Received TUpdateLink::ReceiveData(uint32_t length)
{
    if (length && !m_Received.JustMemory(length)) {
        // No room: declined, so the stream stays in step.
        return SendWord(m_Socket, 0) > 0 ? Received::Declined : Received::Broken;
    }
    if (length == 0) {
        m_Received.Free();
        return Received::Whole;
    }
    bool whole = SendWord(m_Socket, UPDATE_GO_WORD) > 0 &&
                 RecvAll(m_Socket, static_cast<unsigned char*>(m_Received),
                         static_cast<int>(length)) == static_cast<int>(length);
    return whole ? Received::Whole : Received::Broken;
}

void TUpdateLink::FetchDescription()
{
    PacketHeader header{CMD_UPDATE_GET_INI, 0, 0, 0};
    ReplyHeader reply;
    // Without a whole description there is nothing the updater could install: the
    // program would shut down and never be started again.
    if (!Exchange(header, nullptr, reply) || reply.ok == 0 || reply.length == 0 ||
        reply.length > MAX_DESCRIPTION_BYTES || ReceiveData(reply.length) != Received::Whole ||
        !ReplaceFileContents(STAGED_DESCRIPTION, static_cast<unsigned char*>(m_Received),
                             m_Received.GetSize())) {
        Abandon();
        return;
    }
    m_Received.Free();
    // The version the operator's service claimed must be the one described, and the
    // description must be one the updater will walk.
    if (ReadDescriptionVersion(STAGED_DESCRIPTION) <= m_InstalledVersion ||
        !IsDescriptionBounded(STAGED_DESCRIPTION)) {
        Abandon();
        return;
    }
    PostNextFile(0);
}

void TUpdateLink::FetchFile(uint32_t index)
{
    uint32_t files = ReadFileCount(STAGED_DESCRIPTION);
    if (index >= files) {
        Finished();
        return;
    }
    TString target;
    TString staged;
    unsigned long nameBytes = 0;
    if (ReadFileEntry(STAGED_DESCRIPTION, index, target, staged)) nameBytes = target.Len() + 1;
    // An entry that breaks the rules, or a name no service stores, is skipped.
    if (nameBytes == 0 || nameBytes > MAX_STORED_PAYLOAD) {
        PostNextFile(index + 1);
        return;
    }
    PacketHeader header{CMD_UPDATE_GET_FILE, static_cast<uint32_t>(nameBytes), 0, 0};
    ReplyHeader reply;
    if (!Exchange(header, static_cast<char*>(target), reply)) {
        Abandon();
        return;
    }
    if (reply.ok == 1) {
        // Nothing can be followed after an announcement beyond the bound.
        Received received =
            reply.length > MAX_UPDATE_FILE_BYTES ? Received::Broken : ReceiveData(reply.length);
        if (received == Received::Broken) {
            Abandon();
            return;
        }
        if (received == Received::Whole) {
            MakeParentFolders(staged);
            // Whole or not at all; a staged file that cannot be written is dropped.
            ReplaceFileContents(staged, static_cast<unsigned char*>(m_Received),
                                m_Received.GetSize());
        }
        m_Received.Free();
    }
    PostNextFile(index + 1);
}

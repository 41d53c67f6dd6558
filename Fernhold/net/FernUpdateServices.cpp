// Update services: version answer, description and listed files, update requests.
#include "net/FernUpdateServices.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TUpdateInbox.h"

#include <FRNUpdate/UpdateDescription.h>

#include <cstring>

namespace {

// 1 when this copy's own description lists path under "DESFILE", exactly as written.
bool IsListedTarget(const char* path)
{
    if (!IsDescriptionBounded(INSTALLED_DESCRIPTION)) return false;
    uint32_t files = ReadFileCount(INSTALLED_DESCRIPTION);
    for (uint32_t i = 0; i < files; ++i) {
        TString target;
        if (ReadTargetEntry(INSTALLED_DESCRIPTION, i, target) &&
            strcmp(static_cast<char*>(target), path) == 0)
            return true;
    }
    return false;
}

} // namespace

// Both update services write the same lines.
FernUpdateServ::FernUpdateServ() { OutputDebugStringA(">>■FERN■<<FernUpdateServ : Start\n"); }
FernUpdateServ::~FernUpdateServ() { OutputDebugStringA(">>■FERN■<<FernUpdateServ : Exit\n"); }

void FernUpdateServ::Handle(const PacketHeader& header)
{
    if (header.command != CMD_UPDATE_VERSION && header.command != CMD_UPDATE_GET_INI &&
        header.command != CMD_UPDATE_GET_FILE) {
        TServerConn::Handle(header);
        return;
    }
    unsigned char payload[MAX_STORED_PAYLOAD];
    if (!ReadPayload(header, payload)) return;
    if (header.command == CMD_UPDATE_VERSION) {
        AnswerVersion(header.param1);
    } else if (header.command == CMD_UPDATE_GET_INI) {
        ServeFile(INSTALLED_DESCRIPTION, MAX_DESCRIPTION_BYTES);
    } else {
        const char* path = reinterpret_cast<const char*>(payload);
        // The name must end with its zero inside the payload, and be one we ship.
        if (header.length == 0 || payload[header.length - 1] != 0 || !IsInsideProgramFolder(path) ||
            !IsListedTarget(path))
            Reply(0, 0, 0, 0);
        else
            ServeFile(path, MAX_UPDATE_FILE_BYTES);
    }
}

void FernUpdateServ::AnswerVersion(uint32_t requesterVersion)
{
    Reply(requesterVersion < ReadDescriptionVersion(INSTALLED_DESCRIPTION) ? 1 : 0, 0, 0, 0);
}

void FernUpdateServ::ServeFile(const char* path, uint32_t maxBytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size) ||
        size.QuadPart > static_cast<LONGLONG>(maxBytes)) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        Reply(0, 0, 0, 0);
        return;
    }
    uint32_t length = static_cast<uint32_t>(size.QuadPart);
    Reply(1, length, 0, 0);
    uint32_t go = 0;
    if (length == 0 || !IsRunning()) {
        CloseHandle(file);
        return;
    }
    if (RecvAll(GetSocket(), &go, sizeof(go)) < 1) {
        CloseHandle(file);
        EndService();
        return;
    }
    // A go word of 0 declines the data: nothing is sent.
    for (uint32_t sent = 0; go && sent < length;) {
        DWORD want = length - sent < SEND_PIECE_BYTES ? length - sent : SEND_PIECE_BYTES;
        DWORD got = 0;
        // A file that shrank meanwhile cannot give what was announced: the connection
        // ends, and the requester takes the transfer for broken.
        if (!ReadFile(file, m_Piece, want, &got, nullptr) || got != want ||
            SendAll(GetSocket(), m_Piece, static_cast<int>(got)) != static_cast<int>(got)) {
            EndService();
            break;
        }
        sent += got;
    }
    CloseHandle(file);
}

FernUpdateRequestServ::FernUpdateRequestServ(TUpdateInbox* inbox) : m_Inbox(inbox)
{
    OutputDebugStringA(">>■FERN■<<FernUpdateServ : Start\n");
}
FernUpdateRequestServ::~FernUpdateRequestServ()
{
    OutputDebugStringA(">>■FERN■<<FernUpdateServ : Exit\n");
}

void FernUpdateRequestServ::Handle(const PacketHeader& header)
{
    if (header.command != CMD_UPDATE_REQUEST) {
        TServerConn::Handle(header);
        return;
    }
    unsigned char payload[MAX_STORED_PAYLOAD];
    if (!ReadPayload(header, payload)) return;
    sockaddr_in source{};
    if (header.length == sizeof(source)) memcpy(&source, payload, sizeof(source));
    // Only an IPv4 address with a port is somewhere to fetch from.
    if (source.sin_family != AF_INET || source.sin_port == 0 || source.sin_addr.s_addr == 0) {
        Reply(0, 0, 0, 0);
        return;
    }
    if (m_Inbox) m_Inbox->Deliver(source);
    Reply(1, 0, 0, 0);
}

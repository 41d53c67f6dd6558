// Whole-buffer socket helpers.
#include "net/SocketIo.h"

int SendAll(SOCKET socket, const void* data, int length)
{
    const char* bytes = static_cast<const char*>(data);
    int sent = 0;
    while (sent < length) {
        int result = send(socket, bytes + sent, length - sent, 0);
        if (result < 1) return result;
        sent += result;
    }
    return length;
}

int RecvAll(SOCKET socket, void* buffer, int length)
{
    char* bytes = static_cast<char*>(buffer);
    int received = 0;
    while (received < length) {
        int result = recv(socket, bytes + received, length - received, 0);
        if (result < 1) return result;
        received += result;
    }
    return length;
}

int SkipBytes(SOCKET socket, uint32_t length)
{
    char scratch[256];
    while (length > 0) {
        int piece = length < sizeof(scratch) ? static_cast<int>(length) : sizeof(scratch);
        int result = RecvAll(socket, scratch, piece);
        if (result < 1) return result;
        length -= static_cast<uint32_t>(piece);
    }
    return 1;
}

int SendWord(SOCKET socket, uint32_t word) { return SendAll(socket, &word, sizeof(word)); }

namespace {
int SetTimeout(SOCKET socket, int option, DWORD milliseconds)
{
    return setsockopt(socket, SOL_SOCKET, option, reinterpret_cast<const char*>(&milliseconds),
                      sizeof(milliseconds)) == 0;
}
} // namespace

int SetReceiveTimeout(SOCKET socket, DWORD milliseconds)
{
    return SetTimeout(socket, SO_RCVTIMEO, milliseconds);
}

int SetSendTimeout(SOCKET socket, DWORD milliseconds)
{
    return SetTimeout(socket, SO_SNDTIMEO, milliseconds);
}

void CloseGracefully(SOCKET socket)
{
    shutdown(socket, SD_SEND);
    // A peer that never closes must not hold the calling thread.
    SetReceiveTimeout(socket, CLOSE_DRAIN_TIMEOUT_MS);
    char scratch[256];
    while (recv(socket, scratch, sizeof(scratch), 0) > 0) {
    }
    closesocket(socket);
}

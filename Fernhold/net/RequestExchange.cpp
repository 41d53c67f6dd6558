// Selector handshake, request-reply exchange and CMD_CLOSE on a client socket.
#include "net/RequestExchange.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"

#include <cstring>

bool SelectService(SOCKET socket, uint32_t selector)
{
    uint32_t answer = 0;
    return SendWord(socket, selector) > 0 && RecvAll(socket, &answer, sizeof(answer)) > 0 &&
           answer != 0;
}

bool ExchangeRequest(SOCKET socket, const PacketHeader& header, const void* payload,
                     ReplyHeader& reply)
{
    if (header.length > MAX_STORED_PAYLOAD) return false;
    // Header and payload leave in one send: a payload sent on its own waits behind
    // the header for the peer's delayed acknowledgement, tens of milliseconds each.
    unsigned char request[sizeof(PacketHeader) + MAX_STORED_PAYLOAD];
    memcpy(request, &header, sizeof(header));
    if (header.length) memcpy(request + sizeof(header), payload, header.length);
    if (SendAll(socket, request, static_cast<int>(sizeof(header) + header.length)) < 1)
        return false;
    return RecvAll(socket, &reply, sizeof(reply)) > 0;
}

bool CloseService(SOCKET socket)
{
    PacketHeader header{CMD_CLOSE, 0, 0, 0};
    ReplyHeader reply;
    return ExchangeRequest(socket, header, nullptr, reply) && reply.ok == 1;
}

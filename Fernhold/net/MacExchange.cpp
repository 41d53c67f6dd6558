// Client side of CMD_GET_MACS, shared by the MAC link and the one-shot query.
#include "net/MacExchange.h"

#include "net/NetMessages.h"
#include "net/RequestExchange.h"
#include "net/SocketIo.h"

#include <cstring>

MacReply RequestMacAddresses(SOCKET socket, std::vector<MacAddress>& macs)
{
    macs.clear();
    PacketHeader header{CMD_GET_MACS, 0, 0, 0};
    ReplyHeader reply;
    if (!ExchangeRequest(socket, header, nullptr, reply)) return MacReply::Broken;
    if (reply.ok == 0 && reply.length == 0) return MacReply::NoneServed;
    if (reply.ok == 0 || reply.value1 == 0 || reply.value1 > MAX_RECEIVED_MACS ||
        reply.length != reply.value1 * sizeof(MacAddress))
        return MacReply::Broken;
    unsigned char received[MAX_RECEIVED_MACS * sizeof(MacAddress)];
    if (SendWord(socket, 1) < 1 || RecvAll(socket, received, static_cast<int>(reply.length)) < 1)
        return MacReply::Broken;
    macs.resize(reply.value1);
    memcpy(macs.data(), received, reply.length);
    return MacReply::Received;
}

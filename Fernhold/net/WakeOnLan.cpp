// Magic packet bytes and the broadcast send.
#include "net/WakeOnLan.h"

#include <algorithm>

MagicPacket BuildMagicPacket(const MacAddress& mac)
{
    MagicPacket packet;
    std::fill(packet.begin(), packet.begin() + 6, 0xFF);
    for (int copy = 0; copy < 16; ++copy)
        std::copy(mac.begin(), mac.end(), packet.begin() + 6 + copy * 6);
    return packet;
}

WakeSend SendMagicPacket(const MacAddress& mac)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return WakeSend::NoSocket;
    const BOOL broadcast = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&broadcast),
               sizeof(broadcast));
    const MagicPacket packet = BuildMagicPacket(mac);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = INADDR_BROADCAST;
    bool sent = false;
    for (uint16_t port : {WAKE_PORT, WAKE_FALLBACK_PORT}) {
        target.sin_port = htons(port);
        if (sendto(s, reinterpret_cast<const char*>(packet.data()), MAGIC_PACKET_BYTES, 0,
                   reinterpret_cast<const sockaddr*>(&target),
                   sizeof(target)) == MAGIC_PACKET_BYTES) {
            sent = true;
            break;
        }
    }
    closesocket(s);
    return sent ? WakeSend::Sent : WakeSend::NotSent;
}

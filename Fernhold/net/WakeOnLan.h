// Wake-on-LAN magic packets: their bytes and their broadcast from a fresh socket.
#pragma once

#include "net/MacAddressQuery.h"

#include <cstdint>

// Six 0xFF bytes, then the address sixteen times.
constexpr int MAGIC_PACKET_BYTES = 102;
using MagicPacket = std::array<unsigned char, MAGIC_PACKET_BYTES>;
MagicPacket BuildMagicPacket(const MacAddress& mac);

// The packet goes to 255.255.255.255 on UDP port 0, which adapters take like any other.
// A stack that refuses port 0 (Linux, hence Wine) gets it on port 9, the discard port,
// so the packet still leaves instead of being reported as sent.
constexpr uint16_t WAKE_PORT = 0;
constexpr uint16_t WAKE_FALLBACK_PORT = 9;

enum class WakeSend {
    NoSocket, // no UDP socket could be opened: the address is skipped
    NotSent,  // the socket refused the broadcast on both ports
    Sent,
};
// Opens a UDP socket with SO_BROADCAST, sends the address's packet and closes the socket.
WakeSend SendMagicPacket(const MacAddress& mac);

// Input request builders.
#include "net/EventRequests.h"

#include "net/NetMessages.h"

namespace {
constexpr uint32_t MOUSE_ABSOLUTE = 0x8000;
constexpr uint32_t KEY_UP_FLAG = 2;
constexpr int64_t FULL_SCALE = 65535;
} // namespace

uint32_t MouseFlagsForMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_MOVE;
    case WM_LBUTTONDOWN:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    case WM_LBUTTONUP:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    case WM_RBUTTONDOWN:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_RIGHTDOWN;
    case WM_RBUTTONUP:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_RIGHTUP;
    case WM_MBUTTONDOWN:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_MIDDLEDOWN;
    case WM_MBUTTONUP:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_MIDDLEUP;
    case WM_MOUSEWHEEL:
        return MOUSE_ABSOLUTE | MOUSEEVENTF_WHEEL;
    default:
        return 0;
    }
}

int MakeMouseRequest(long column, long row, long remoteWidth, long remoteHeight, uint32_t flags,
                     int32_t data, EventPacket& packet)
{
    if (remoteWidth == 0 || remoteHeight == 0) return 0;
    packet = EventPacket{};
    packet.header.command = CMD_MOUSE;
    packet.header.length = 8;
    // 64-bit products: a column past 32767 would overflow 32 bits.
    packet.header.param1 = static_cast<uint32_t>(column * FULL_SCALE / remoteWidth);
    packet.header.param2 = static_cast<uint32_t>(row * FULL_SCALE / remoteHeight);
    packet.payload[0] = flags;
    packet.payload[1] = static_cast<uint32_t>(data);
    return 1;
}

EventPacket MakeKeyRequest(uint32_t virtualKey, LPARAM keyData)
{
    EventPacket packet{};
    packet.header.command = CMD_KEY;
    packet.header.param1 = virtualKey;
    packet.header.param2 = (static_cast<uint32_t>(keyData) & 0x80000000u) ? KEY_UP_FLAG : 0;
    return packet;
}

// The switches, the working view and the connection state kept in displayFlags.
#pragma once

#include "net/NetMessages.h"

#include <cstdint>

// Operator switches: send mouse events, send keyboard events.
constexpr uint32_t DISPLAY_SEND_MOUSE = 0x1;
constexpr uint32_t DISPLAY_SEND_KEYBOARD = 0x2;
// Working view (bits 4 to 6, exactly one set) and fitting the full-size view (bit 7).
constexpr uint32_t VIEW_REDUCED = 0x10;
constexpr uint32_t VIEW_CLIP = 0x20;
constexpr uint32_t VIEW_FULL = 0x40;
constexpr uint32_t VIEW_MASK = 0x70;
constexpr uint32_t DISPLAY_FIT_TO_WINDOW = 0x80;

// Connection state: bits 8 to 15 of displayFlags, exactly one of these set.
constexpr uint32_t CONNECTION_IDLE = 0x01;
constexpr uint32_t CONNECTION_CONNECTING = 0x02;
constexpr uint32_t CONNECTION_CONNECTED = 0x04;
constexpr uint32_t CONNECTION_PAUSED = 0x08;
constexpr uint32_t CONNECTION_DISCONNECTING = 0x10;
constexpr int CONNECTION_STATE_SHIFT = 8;
constexpr uint32_t CONNECTION_STATE_MASK = 0xFFu << CONNECTION_STATE_SHIFT;
static_assert((CONNECTION_PAUSED << CONNECTION_STATE_SHIFT) == DISPLAY_STATE_PAUSED,
              "the link threads read the same paused bit");

inline uint32_t GetConnectionState(uint32_t displayFlags)
{
    return (displayFlags & CONNECTION_STATE_MASK) >> CONNECTION_STATE_SHIFT;
}

inline uint32_t WithConnectionState(uint32_t displayFlags, uint32_t state)
{
    return (displayFlags & ~CONNECTION_STATE_MASK) | (state << CONNECTION_STATE_SHIFT);
}

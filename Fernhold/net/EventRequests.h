// Builders of the input requests that the view windows and the keyboard hook send.
#pragma once

#include "net/TEventQueue.h"

// Mouse flag word for a view window's mouse message (always with the absolute bit
// 0x8000); 0 for a message that sends nothing.
uint32_t MouseFlagsForMessage(UINT message);

// A CMD_MOUSE request for a remote pixel: x and y scaled to 0..65535 across the
// remote screen. Returns 0 (nothing built) while the remote size is unknown (0).
int MakeMouseRequest(long column, long row, long remoteWidth, long remoteHeight, uint32_t flags,
                     int32_t data, EventPacket& packet);

// A CMD_KEY request from a keyboard hook's virtual-key code and key-message lParam:
// key flags 2 when bit 31 (transition) says the key goes up, else 0.
EventPacket MakeKeyRequest(uint32_t virtualKey, LPARAM keyData);

// The event link's queue of whole input requests, filled by the main thread and
// emptied by the link thread.
#pragma once

#include "net/WireFormat.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TobjectBase.h>

#include <windows.h>

#include <cstdint>

// One queued request as it goes on the wire: the header and up to 20 payload bytes.
struct EventPacket {
    PacketHeader header;
    uint32_t payload[5];
};
static_assert(sizeof(EventPacket) == 36, "a queue slot is 36 bytes");

// A ring of EVENT_QUEUE_SLOTS slots that holds one fewer packet than it has slots.
// Every call takes the queue lock for its whole work, so any thread may call.
// A full queue drops a new plain mouse move, but never a button, wheel or key request:
// those take the slot of a queued plain move (a dropped release would leave the button
// or key held down on the remote computer).
class TEventQueue : public TobjectBase {
public:
    static constexpr uint32_t EVENT_QUEUE_SLOTS = 200;

    TEventQueue();
    ~TEventQueue();
    TEventQueue(const TEventQueue&) = delete;
    TEventQueue& operator=(const TEventQueue&) = delete;

    // Copies the packet into the next slot, on a full queue in place of a queued plain
    // move (see the class); 0 when it was dropped.
    int Put(const EventPacket& packet);
    // The oldest packet, removed from the queue; all zeros when the queue is empty.
    EventPacket Take();
    int HasItems();

private:
    // Caller holds the lock.
    EventPacket* Slot(uint32_t index);
    bool IsFull() const;
    // Removes one queued plain move: the oldest whose position the next packet replaces
    // anyway, else the oldest. 0 when none is queued.
    int DropQueuedMove();

    CRITICAL_SECTION m_Lock;
    TMemoryBase m_Slots;
    uint32_t m_Read = 0;
    uint32_t m_Write = 0;
};

// Event queue: a fixed ring of request slots under one lock.
#include "net/TEventQueue.h"

#include "net/NetMessages.h"

#include <cstring>

namespace {

constexpr uint32_t MOUSE_ABSOLUTE = 0x8000;

// A mouse request that only moves: no button, no wheel.
bool IsPlainMove(const EventPacket& packet)
{
    return packet.header.command == CMD_MOUSE &&
           packet.payload[0] == (MOUSE_ABSOLUTE | MOUSEEVENTF_MOVE);
}

uint32_t Next(uint32_t index) { return (index + 1) % TEventQueue::EVENT_QUEUE_SLOTS; }

} // namespace

TEventQueue::TEventQueue()
{
    InitializeCriticalSection(&m_Lock);
    m_Slots.Alloc(EVENT_QUEUE_SLOTS * sizeof(EventPacket), 0);
}

TEventQueue::~TEventQueue() { DeleteCriticalSection(&m_Lock); }

EventPacket* TEventQueue::Slot(uint32_t index)
{
    return reinterpret_cast<EventPacket*>(static_cast<unsigned char*>(m_Slots)) + index;
}

bool TEventQueue::IsFull() const { return Next(m_Write) == m_Read; }

int TEventQueue::DropQueuedMove()
{
    uint32_t victim = m_Write; // none yet
    for (uint32_t i = m_Read; i != m_Write; i = Next(i)) {
        if (!IsPlainMove(*Slot(i))) continue;
        if (victim == m_Write) victim = i;
        // A move followed by another move only sets a position the next one replaces; a
        // move before a click places the click (button requests carry no move flag).
        if (Next(i) != m_Write && IsPlainMove(*Slot(Next(i)))) {
            victim = i;
            break;
        }
    }
    if (victim == m_Write) return 0;
    for (uint32_t i = victim; Next(i) != m_Write; i = Next(i))
        *Slot(i) = *Slot(Next(i));
    m_Write = (m_Write + EVENT_QUEUE_SLOTS - 1) % EVENT_QUEUE_SLOTS;
    return 1;
}

int TEventQueue::Put(const EventPacket& packet)
{
    EnterCriticalSection(&m_Lock);
    int stored = 0;
    if (m_Slots.GetSize() == EVENT_QUEUE_SLOTS * sizeof(EventPacket)) {
        if (IsFull() && !IsPlainMove(packet)) DropQueuedMove();
        if (!IsFull()) {
            *Slot(m_Write) = packet;
            m_Write = Next(m_Write);
            stored = 1;
        }
    }
    LeaveCriticalSection(&m_Lock);
    return stored;
}

EventPacket TEventQueue::Take()
{
    EventPacket packet{};
    EnterCriticalSection(&m_Lock);
    if (m_Read != m_Write) {
        packet = *Slot(m_Read);
        m_Read = Next(m_Read);
    }
    LeaveCriticalSection(&m_Lock);
    return packet;
}

int TEventQueue::HasItems()
{
    EnterCriticalSection(&m_Lock);
    int items = m_Read != m_Write;
    LeaveCriticalSection(&m_Lock);
    return items;
}

// Event queue: a fixed ring of request slots under one lock.
#include "net/TEventQueue.h"

#include <cstring>

TEventQueue::TEventQueue()
{
    InitializeCriticalSection(&m_Lock);
    m_Slots.Alloc(EVENT_QUEUE_SLOTS * sizeof(EventPacket), 0);
}

TEventQueue::~TEventQueue() { DeleteCriticalSection(&m_Lock); }

int TEventQueue::Put(const EventPacket& packet)
{
    EnterCriticalSection(&m_Lock);
    uint32_t next = (m_Write + 1) % EVENT_QUEUE_SLOTS;
    int stored = next != m_Read && m_Slots.GetSize() == EVENT_QUEUE_SLOTS * sizeof(EventPacket);
    if (stored) {
        memcpy(static_cast<unsigned char*>(m_Slots) + m_Write * sizeof(EventPacket), &packet,
               sizeof(EventPacket));
        m_Write = next;
    }
    LeaveCriticalSection(&m_Lock);
    return stored;
}

EventPacket TEventQueue::Take()
{
    EventPacket packet{};
    EnterCriticalSection(&m_Lock);
    if (m_Read != m_Write) {
        memcpy(&packet, static_cast<unsigned char*>(m_Slots) + m_Read * sizeof(EventPacket),
               sizeof(EventPacket));
        m_Read = (m_Read + 1) % EVENT_QUEUE_SLOTS;
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

// Event link: queue and send loop.
#include "net/TEventLink.h"

#include "net/NetMessages.h"

TEventLink::TEventLink(const TFernSettings& settings) : TClientLink(SERVICE_EVENTS, settings) {}

TEventLink::~TEventLink() { Stop(); }

void TEventLink::Post(const EventPacket& packet)
{
    m_Queue.Put(packet);
    PostThreadMessageA(GetThreadId(), TM_SEND_EVENTS, 0, 0);
}

void TEventLink::Handle(const MSG& message)
{
    if (message.message != TM_SEND_EVENTS) return;
    while (m_Queue.HasItems()) {
        TWorkerThread::RemoveWaiting(TM_SEND_EVENTS, TM_SEND_EVENTS);
        EventPacket packet = m_Queue.Take();
        // A slot carries at most 20 payload bytes, whatever its header says.
        if (packet.header.length > sizeof(packet.payload))
            packet.header.length = sizeof(packet.payload);
        // One request in flight: each waits for its acknowledgement. A broken
        // connection is noticed by the image link, not here.
        ReplyHeader reply;
        Exchange(packet.header, packet.payload, reply);
    }
}

// Update request link: the operator's listening address to the destination.
#include "net/TUpdateRequestLink.h"

#include "net/NetMessages.h"
#include "net/TServerCore.h"

#include <Keelwork/TMemoryBase.h>

#include <cstring>

TUpdateRequestLink::TUpdateRequestLink(const TFernSettings& settings, TServerCore& server,
                                       DWORD clientThreadId)
    : TClientLink(SERVICE_UPDATE_REQUEST, settings), m_Server(server),
      m_ClientThreadId(clientThreadId)
{
}

TUpdateRequestLink::~TUpdateRequestLink() { Stop(); }

void TUpdateRequestLink::Handle(const MSG& message)
{
    if (message.message == TM_SEND_UPDATE_REQUEST) SendRequest();
}

void TUpdateRequestLink::SendRequest()
{
    // Copied under the listener lock: the first listener, as the host lookup ordered them.
    TMemoryBase addresses;
    if (m_Server.GetListenerAddresses(addresses) == 0) {
        PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
        PostThreadMessageA(m_ClientThreadId, TM_LINK_LOST, 0, 0);
        return;
    }
    sockaddr_in source;
    memcpy(&source, static_cast<unsigned char*>(addresses), sizeof(source));
    PacketHeader header{CMD_UPDATE_REQUEST, sizeof(source), 0, 0};
    ReplyHeader reply;
    Exchange(header, &source, reply);
    PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
}

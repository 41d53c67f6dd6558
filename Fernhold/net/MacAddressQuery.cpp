// The one-shot MAC query over a socket the caller connected.
#include "net/MacAddressQuery.h"

#include "net/MacExchange.h"
#include "net/NetMessages.h"
#include "net/RequestExchange.h"

bool QueryMacAddresses(SOCKET connected, std::vector<MacAddress>& macs)
{
    macs.clear();
    if (!SelectService(connected, SERVICE_MACS)) return false;
    MacReply reply = RequestMacAddresses(connected, macs);
    // After a broken exchange the stream is out of step: the caller's close ends it.
    if (reply != MacReply::Broken) CloseService(connected);
    return reply == MacReply::Received;
}

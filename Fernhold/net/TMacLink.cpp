// MAC link and the fetch procedure built on it.
#include "net/TMacLink.h"

#include "net/MacExchange.h"
#include "net/NetMessages.h"
#include "net/TDestination.h"

#include <algorithm>

namespace {
// The fetch is no part of a remote-control session, so the session's pause must not
// drop its work: the link reads settings that are never paused.
const TFernSettings& UnpausedSettings()
{
    static const TFernSettings settings;
    return settings;
}
} // namespace

TMacLink::TMacLink() : TClientLink(SERVICE_MACS, UnpausedSettings()) {}

TMacLink::~TMacLink() { Stop(); }

void TMacLink::Handle(const MSG& message)
{
    if (message.message != TM_GET_MACS) return;
    if (RequestMacAddresses(m_Socket, m_Macs) != MacReply::Received)
        PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
}

void FetchDestinationMacs(TDestination& destination)
{
    TMacLink link;
    if (!link.Connect(destination.liveAddress)) return;
    // The link's queue exists once Connect returns, so the post cannot fail.
    PostThreadMessageA(link.GetThreadId(), TM_GET_MACS, 0, 0);
    link.Finish();
    for (const MacAddress& mac : link.GetMacs()) {
        unsigned char bytes[TDestination::MAC_BYTES];
        std::copy(mac.begin(), mac.end(), bytes);
        destination.AddMac(bytes);
    }
}

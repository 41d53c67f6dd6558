// The IPv4 addresses of this host, as the listeners follow them.
#pragma once

#include <Keelwork/TMemoryBase.h>

#include <functional>

// Fills addresses with the host's IPv4 addresses (4 bytes each, network byte order,
// in the order the lookup gives them); returns 1, or 0 when the lookup failed.
using THostLookup = std::function<int(TMemoryBase& addresses)>;

// gethostname, then gethostbyname on that name.
int LookupHostAddresses(TMemoryBase& addresses);

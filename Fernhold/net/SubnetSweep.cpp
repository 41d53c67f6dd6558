// Subnet sweep: the targets around this computer's addresses and the many-at-once connects.
// A /24 is swept in one select: the set must hold every socket of it.
#define FD_SETSIZE 512
#include "net/SubnetSweep.h"

#include <ws2tcpip.h>

#include <iphlpapi.h>

#include <algorithm>
#include <memory>

namespace {
constexpr unsigned WIDEST_SWEPT_PREFIX = 24;
constexpr DWORD ADAPTER_BUFFER_BYTES = 64 * 1024;

bool IsLoopback(uint32_t address) { return (address >> 24) == 127; }
bool IsLinkLocal(uint32_t address) { return (address >> 16) == 0xA9FE; }

struct TSocketCloser {
    void operator()(SOCKET* s) const
    {
        if (*s != INVALID_SOCKET) closesocket(*s);
        delete s;
    }
};

void SetTimeouts(SOCKET s, DWORD ms)
{
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof(ms));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof(ms));
}

struct TPendingConnect {
    SOCKET socket;
    uint32_t address;
};

// Starts the non-blocking connects of one batch; those that could not start are left out.
std::vector<TPendingConnect> StartConnects(const uint32_t* targets, size_t count, uint16_t port)
{
    std::vector<TPendingConnect> pending;
    for (size_t i = 0; i < count; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) continue;
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = port;
        to.sin_addr.s_addr = htonl(targets[i]);
        if (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0 ||
            WSAGetLastError() == WSAEWOULDBLOCK) {
            pending.push_back({s, targets[i]});
        } else {
            closesocket(s);
        }
    }
    return pending;
}

// Waits until each connect has ended or connectMs have passed; returns the connected ones
// (back in blocking mode) and closes the rest.
std::vector<TPendingConnect> AwaitConnects(std::vector<TPendingConnect> pending, DWORD connectMs,
                                           const std::atomic<uint32_t>* stop)
{
    std::vector<TPendingConnect> connected;
    DWORD start = GetTickCount();
    while (!pending.empty() && !(stop && *stop)) {
        DWORD spent = GetTickCount() - start;
        if (spent >= connectMs) break;
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        for (const TPendingConnect& p : pending) {
            FD_SET(p.socket, &writable);
            FD_SET(p.socket, &failed);
        }
        // Short rounds, so a stop is seen soon.
        DWORD wait = std::min<DWORD>(connectMs - spent, 100);
        timeval limit{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000) * 1000};
        if (select(0, nullptr, &writable, &failed, &limit) == SOCKET_ERROR) break;
        std::vector<TPendingConnect> still;
        for (const TPendingConnect& p : pending) {
            if (FD_ISSET(p.socket, &writable)) {
                u_long blocking = 0;
                ioctlsocket(p.socket, FIONBIO, &blocking);
                connected.push_back(p);
            } else if (FD_ISSET(p.socket, &failed)) {
                closesocket(p.socket);
            } else {
                still.push_back(p);
            }
        }
        pending.swap(still);
    }
    for (const TPendingConnect& p : pending)
        closesocket(p.socket);
    return connected;
}
} // namespace

std::vector<TAdapterAddress> LocalAdapterAddresses()
{
    std::vector<TAdapterAddress> found;
    ULONG size = ADAPTER_BUFFER_BYTES;
    std::unique_ptr<unsigned char[]> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.reset(new unsigned char[size]);
        result = GetAdaptersAddresses(
            AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
            nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get()), &size);
    }
    if (result != NO_ERROR) return found;
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get()); adapter;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp) continue;
        for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (!address || address->sa_family != AF_INET) continue;
            found.push_back({ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr),
                             unicast->OnLinkPrefixLength});
        }
    }
    return found;
}

std::vector<uint32_t> SweepTargets(const std::vector<TAdapterAddress>& adapters)
{
    std::vector<uint32_t> targets;
    for (const TAdapterAddress& adapter : adapters) {
        if (IsLoopback(adapter.address) || IsLinkLocal(adapter.address) || adapter.address == 0)
            continue;
        // A host route or a point-to-point pair has no neighbours to look for.
        if (adapter.prefixLength > 30) continue;
        unsigned prefix = std::max(adapter.prefixLength, WIDEST_SWEPT_PREFIX);
        uint32_t mask = ~0u << (32 - prefix);
        uint32_t network = adapter.address & mask;
        uint32_t broadcast = network | ~mask;
        for (uint32_t host = network + 1; host < broadcast; ++host)
            targets.push_back(host);
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    for (const TAdapterAddress& own : adapters) {
        auto at = std::lower_bound(targets.begin(), targets.end(), own.address);
        if (at != targets.end() && *at == own.address) targets.erase(at);
    }
    return targets;
}

std::vector<TSweptHost> SweepForCopies(const std::vector<uint32_t>& targets, uint16_t port,
                                       DWORD connectMs, DWORD queryMs, const TMacQuery& query,
                                       const TAddressLookup& lookup,
                                       const std::atomic<uint32_t>* stop)
{
    std::vector<TSweptHost> hosts;
    for (size_t first = 0; first < targets.size() && !(stop && *stop); first += FD_SETSIZE) {
        size_t count = std::min<size_t>(FD_SETSIZE, targets.size() - first);
        std::vector<TPendingConnect> connected =
            AwaitConnects(StartConnects(&targets[first], count, port), connectMs, stop);
        for (const TPendingConnect& c : connected) {
            std::unique_ptr<SOCKET, TSocketCloser> s(new SOCKET(c.socket));
            if (stop && *stop) continue;
            SetTimeouts(c.socket, queryMs);
            TSweptHost host{};
            host.address.s_addr = htonl(c.address);
            if (!query || !query(c.socket, host.macs)) continue;
            if (!lookup || !lookup(host.address, host.name) || !host.name.Len())
                host.name = TString(inet_ntoa(host.address));
            hosts.push_back(std::move(host));
        }
    }
    return hosts;
}

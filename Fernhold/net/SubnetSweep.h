// The search for running copies on this computer's own IPv4 subnets.
#pragma once

#include "net/MacAddressQuery.h"

#include <Keelwork/TString.h>

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// One IPv4 address of an adapter of this computer (host byte order) with its prefix length.
struct TAdapterAddress {
    uint32_t address;
    unsigned prefixLength;
};

// This computer's adapter addresses as the platform lists them (loopback included: the
// targets leave it out).
std::vector<TAdapterAddress> LocalAdapterAddresses();

// The addresses a sweep may visit (host byte order, ascending, no repeats): for each adapter
// address, not loopback or link-local, its subnet but at most the /24 around it, without the
// subnet's own and broadcast addresses and without this computer's addresses. Nothing
// beyond those subnets, ever.
std::vector<uint32_t> SweepTargets(const std::vector<TAdapterAddress>& adapters);

// Asks a connected copy for its MAC addresses (service 5, QueryMacAddresses in the program);
// false when it did not answer.
using TMacQuery = std::function<bool(SOCKET connected, std::vector<MacAddress>& macs)>;
// The host name of an address; 1 when it resolved back to one.
using TAddressLookup = std::function<int(const in_addr& address, TString& name)>;

struct TSweptHost {
    in_addr address;
    // The reverse-looked-up name, or the address as text when it has none.
    TString name;
    std::vector<MacAddress> macs;
};

// Connects to every target on port (network byte order) at once, non-blocking, and gives
// up on those that have not answered within connectMs; asks each that did with query (its
// socket waits at most queryMs per step) and names the ones that answered. Ends early,
// with what it found, when stop becomes non-zero. Any thread; blocks until done.
std::vector<TSweptHost> SweepForCopies(const std::vector<uint32_t>& targets, uint16_t port,
                                       DWORD connectMs, DWORD queryMs, const TMacQuery& query,
                                       const TAddressLookup& lookup,
                                       const std::atomic<uint32_t>* stop);

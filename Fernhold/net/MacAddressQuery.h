// Asks a running copy for the MAC addresses it serves (service 5) over a connected socket.
#pragma once
#include <winsock2.h>
#include <array>
#include <vector>
using MacAddress = std::array<unsigned char, 6>;
// Sends the selector 5, CMD_GET_MACS and the go word, reads the addresses and ends with
// CMD_CLOSE. False when the exchange broke or the host serves none; then `macs` is empty.
// The caller owns the socket and its time-outs.
bool QueryMacAddresses(SOCKET connected, std::vector<MacAddress>& macs);
// The fetch procedure: connects to the destination's live address, fetches through a
// TMacLink and appends the addresses to the destination's MAC list; nothing on failure.
class TDestination;
void FetchDestinationMacs(TDestination& destination);

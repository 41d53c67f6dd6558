// The two-host figures (run by tools/bench/twohost-bench.sh, never by the test suite):
// frames shown on the operator's screen, acknowledged event round trips and bare
// socket round trips across the hosts' veth pair.
#pragma once

#include <winsock2.h>
#include <windows.h>

// Each returns the process exit code for its driver command and prints its figure.
namespace TwoHostMeasure {

// The first IPv4 address of a host name with the port; false when it does not resolve.
bool Resolve(const char* name, int port, sockaddr_in& address);

// frames <seconds>: counts the changes of the reduced pane's middle pixel (the
// destination shows a new colour every step) over that long.
int Frames(DWORD seconds);
// events <host> <port> <seconds>: mouse moves to one point through an event link of
// the program's own code, each acknowledged before the next.
int Events(const char* host, int port, DWORD seconds);
// echo <port> <seconds>: answers each 24-byte request of one connection on this
// host's own address with 16 bytes, the shape of an event and its acknowledgement.
int Echo(int port, DWORD seconds);
// bare <host> <port> <seconds>: 24-byte requests to the echo, one in flight.
int Bare(const char* host, int port, DWORD seconds);

} // namespace TwoHostMeasure

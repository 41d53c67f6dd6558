// Measurements across the two hosts; see the header.
#include "TwoHostMeasure.h"

#include "TwoHostUi.h"
#include "BenchTiming.h"
#include "net/EventRequests.h"
#include "net/SocketIo.h"
#include "net/TEventLink.h"
#include "net/TFernSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace TwoHostMeasure {
namespace {

constexpr int REQUEST_BYTES = 24, REPLY_BYTES = 16;

// Retries the connection for up to seconds, since the peer may not listen yet.
SOCKET ConnectTo(const char* host, int port, DWORD seconds)
{
    DWORD start = GetTickCount();
    sockaddr_in address{};
    while (GetTickCount() - start < seconds * 1000) {
        if (Resolve(host, port, address)) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
            if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) return s;
            closesocket(s);
        }
        Sleep(200);
    }
    return INVALID_SOCKET;
}

} // namespace

bool Resolve(const char* name, int port, sockaddr_in& address)
{
    hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET) return false;
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    memcpy(&address.sin_addr, host->h_addr_list[0], 4);
    return true;
}

int Frames(DWORD seconds)
{
    HWND pane = TwoHostUi::ReducedPane();
    if (!pane) return 1;
    POINT middle{160, 120};
    ClientToScreen(pane, &middle);
    HDC screen = GetDC(nullptr);
    std::vector<double> changes;
    COLORREF last = GetPixel(screen, middle.x, middle.y);
    const double start = BenchSeconds();
    double now = start;
    while (now - start < seconds) {
        COLORREF seen = GetPixel(screen, middle.x, middle.y);
        now = BenchSeconds();
        if (seen != last) changes.push_back(now);
        last = seen;
        Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    std::vector<double> gaps;
    for (size_t i = 1; i < changes.size(); ++i)
        gaps.push_back((changes[i] - changes[i - 1]) * 1000.0);
    std::sort(gaps.begin(), gaps.end());
    double median = gaps.empty() ? 0 : gaps[gaps.size() / 2];
    double longest = gaps.empty() ? 0 : gaps.back();
    printf("frames shown: %zu in %.1f s = %.2f /s; between frames: median %.0f ms, longest %.0f "
           "ms\n",
           changes.size(), now - start, changes.size() / (now - start), median, longest);
    return 0;
}

int Events(const char* host, int port, DWORD seconds)
{
    sockaddr_in address{};
    if (!Resolve(host, port, address)) {
        fprintf(stderr, "%s does not resolve\n", host);
        return 1;
    }
    TFernSettings settings;
    settings.port = htons(static_cast<u_short>(port));
    TEventLink link(settings);
    if (!link.Connect(address)) {
        fprintf(stderr, "no event link to %s\n", host);
        return 1;
    }
    EventPacket move;
    MakeMouseRequest(100, 100, 1920, 1080, MouseFlagsForMessage(WM_MOUSEMOVE), 0, move);
    unsigned long count = 0;
    const double start = BenchSeconds();
    double now = start;
    while (now - start < seconds) {
        // Bursts below the queue's 199: the link sends one, waits for its
        // acknowledgement, then takes the next.
        for (int i = 0; i < 150; ++i)
            link.Post(move);
        count += 150;
        while (link.GetQueue().HasItems() || !link.IsIdle())
            Sleep(1);
        now = BenchSeconds();
    }
    link.Stop();
    printf("acknowledged events: %.0f /s over %lu\n", count / (now - start), count);
    return 0;
}

int Echo(int port, DWORD seconds)
{
    char name[256] = {};
    sockaddr_in address{};
    if (gethostname(name, sizeof(name)) != 0 || !Resolve(name, port, address)) return 1;
    SOCKET listening = socket(AF_INET, SOCK_STREAM, 0);
    if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listening, 1) != 0) {
        fprintf(stderr, "cannot listen on %s:%d\n", inet_ntoa(address.sin_addr), port);
        closesocket(listening);
        return 1;
    }
    printf("echo on %s:%d\n", inet_ntoa(address.sin_addr), port);
    SOCKET s = accept(listening, nullptr, nullptr);
    closesocket(listening);
    SetReceiveTimeout(s, seconds * 1000);
    unsigned char request[REQUEST_BYTES];
    unsigned long answered = 0;
    while (RecvAll(s, request, sizeof(request)) > 0 && SendAll(s, request, REPLY_BYTES) > 0)
        ++answered;
    closesocket(s);
    printf("echo answered %lu\n", answered);
    return 0;
}

int Bare(const char* host, int port, DWORD seconds)
{
    SOCKET s = ConnectTo(host, port, 10);
    if (s == INVALID_SOCKET) {
        fprintf(stderr, "no echo on %s:%d\n", host, port);
        return 1;
    }
    unsigned char buffer[REQUEST_BYTES] = {};
    unsigned long count = 0;
    const double start = BenchSeconds();
    double now = start;
    while (now - start < seconds && SendAll(s, buffer, REQUEST_BYTES) > 0 &&
           RecvAll(s, buffer, REPLY_BYTES) > 0) {
        ++count;
        now = BenchSeconds();
    }
    closesocket(s);
    printf("bare socket round trips: %.0f /s over %lu\n", count / (now - start), count);
    return 0;
}

} // namespace TwoHostMeasure

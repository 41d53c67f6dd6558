// The client's image link against a hostile image service on loopback: the service's side of
// the conversation (acceptance word, screen-size reply, frame reply and stream) is mutated, sent
// whole and ended; the link and the client image must stay within their bounds.
#include "HostileFiles.h"

#include "../../net/tests/NetTestSupport.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TImageLink.h"

#include <Ledgerkit/CompressTMemory.h>

#include <windows.h>

#include <thread>

namespace {

constexpr uint16_t HOSTILE_SERVICE_PORT = 27191;
// What the frame request may reserve: the largest stream a link accepts, and its expansion.
constexpr uint32_t LINK_ALLOWANCE_MB = static_cast<uint32_t>(MAX_FRAME_STREAM >> 20) + 16;
// How long the link may stay without a word after the service's end.
constexpr DWORD SETTLE_MS = 400;

SOCKET ServiceSocket()
{
    static SOCKET listening = [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 0), &data);
        return ListenOnLoopback(HOSTILE_SERVICE_PORT);
    }();
    return listening;
}

// Takes the link's connection, waits for its selector, sends the script in pieces and ends
// the sending side; then reads until the link closes.
void Serve(const Bytes& script)
{
    SOCKET s = accept(ServiceSocket(), nullptr, nullptr);
    if (s == INVALID_SOCKET) return;
    SetReceiveTimeout(s, 5000);
    uint32_t selector = 0;
    if (RecvAll(s, &selector, 4) > 0) {
        for (size_t sent = 0; sent < script.size();) {
            const int piece = static_cast<int>(std::min<size_t>(script.size() - sent, 1000));
            if (SendAll(s, script.data() + sent, piece) < 1) break;
            sent += piece;
        }
    }
    shutdown(s, SD_SEND);
    char sink[512];
    while (recv(s, sink, sizeof(sink), 0) > 0) {
    }
    closesocket(s);
}

// The link's message to this thread, or 0 once it has been quiet for SETTLE_MS.
UINT NextLinkMessage()
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < SETTLE_MS) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == TM_LINK_LOST || message.message == TM_FRAME_RECEIVED)
                return message.message;
        Sleep(2);
    }
    return 0;
}

std::string RunImageLink(const Bytes& script)
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // this thread's queue hears the link
    std::thread service([&script] { Serve(script); });
    TFernSettings settings;
    TClientImage image;
    std::string fault;
    {
        TImageLink link(settings, image, GetCurrentThreadId());
        if (link.Connect(LoopbackAddress("127.0.0.1", HOSTILE_SERVICE_PORT))) {
            PostThreadMessageA(link.GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0);
            PostThreadMessageA(link.GetThreadId(), TM_GET_FRAME, 0, 0);
            for (UINT m; (m = NextLinkMessage()) != 0 && m != TM_LINK_LOST;)
                image.Expand();
        }
        link.Stop();
        if (link.IsRunning()) fault = "the link did not stop";
    }
    service.join();
    const SIZE size = image.GetRemoteSize();
    if (fault.empty() &&
        (size.cx < 0 || size.cy < 0 || size.cx > static_cast<long>(MAX_SCREEN_SIDE) ||
         size.cy > static_cast<long>(MAX_SCREEN_SIDE)))
        fault = "the client image took a screen size past the largest";
    if (fault.empty() &&
        image.GetImageBytes() > 2ul * MAX_SCREEN_SIDE * MAX_SCREEN_SIDE + 4 * MAX_SCREEN_SIDE)
        fault = "the client image is larger than the largest screen";
    return fault;
}

void PutReply(Bytes& out, uint32_t ok, uint32_t length, uint32_t v1, uint32_t v2)
{
    for (uint32_t w : {ok, length, v1, v2})
        PutLE32(out, w);
}

// The acceptance word, the screen-size reply, the frame reply with its stream, and the reply
// to the closing request.
Fixture Script(long width, long height)
{
    Bytes pixels(static_cast<size_t>((width * 2 + 3) / 4 * 4 * height));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i % 50 < 30 ? 0x1F : i * 13);
    TMemory stream;
    CompressTMemoryTypeA(pixels.data(), static_cast<unsigned long>(pixels.size()), stream);
    Fixture f;
    f.bytes = {0, 0, 0, 1};
    PutReply(f.bytes, 1, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    PutReply(f.bytes, 1, stream.GetSize(), 3, 0);
    const unsigned char* data = stream;
    f.bytes.insert(f.bytes.end(), data, data + stream.GetSize());
    PutReply(f.bytes, 1, 0, 0, 0);
    // Reply words of both replies, and the stream's own length field.
    f.fields = {{0, 4}, {4, 4}, {8, 4}, {12, 4}, {16, 4}, {20, 4}, {24, 4}, {28, 4}, {44, 4}};
    return f;
}

std::vector<Fixture> LinkFixtures()
{
    ServiceSocket();
    return {Script(64, 48), Script(7, 5)};
}

const std::vector<HostileTarget> kLinkTargets = {
    {"image-link", LinkFixtures, nullptr, RunImageLink, LINK_ALLOWANCE_MB},
};

} // namespace

const std::vector<HostileTarget>& LinkTargets() { return kLinkTargets; }

// Every service through a real socket on loopback: a mutated conversation (selector, request
// headers, lengths, payloads) is sent, cut anywhere, and then the peer's end; the service
// must let go of the connection, be reaped, and serve the next client normally.
#include "HostileFiles.h"

#include "../../net/tests/NetTestSupport.h"
#include "net/NetMessages.h"
#include "net/TFrameStore.h"
#include "net/TListener.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr uint16_t HOSTILE_PORT = 27190;
// After the peer's end, a service lets go within its drain bound (5 s) at most.
constexpr DWORD LET_GO_MS = 8000;
constexpr uint32_t SELECTORS[] = {SERVICE_EVENTS, SERVICE_IMAGES, SERVICE_MACS, SERVICE_UPDATE,
                                  SERVICE_UPDATE_REQUEST};

// One listener for the whole run, with a captured frame so that frame requests send bulk.
TListener& Listener()
{
    static TFernSettings settings;
    static TFrameStore frames;
    static TListener* listener = [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 0), &data);
        frames.Capture(64, 48, 2, 2);
        TListener* l = new TListener(settings, 0, &frames);
        l->Start(inet_addr("127.0.0.1"), htons(HOSTILE_PORT));
        return l;
    }();
    return *listener;
}

std::string ServesNextClient();

void Put(Bytes& out, uint32_t command, uint32_t length, uint32_t p1, uint32_t p2,
         const Bytes& payload)
{
    PutLE32(out, command);
    PutLE32(out, length);
    PutLE32(out, p1);
    PutLE32(out, p2);
    out.insert(out.end(), payload.begin(), payload.end());
}

// The selector, then requests; the fields are each header's command, length and parameters.
Fixture Conversation(uint32_t selector, const std::vector<std::pair<uint32_t, Bytes>>& requests)
{
    Fixture f;
    PutLE32(f.bytes, selector);
    f.fields.push_back({0, 4});
    for (const auto& r : requests) {
        const uint32_t at = static_cast<uint32_t>(f.bytes.size());
        Put(f.bytes, r.first, static_cast<uint32_t>(r.second.size()), 0, 0, r.second);
        f.fields.insert(f.fields.end(), {{at, 4}, {at + 4, 4}, {at + 8, 4}, {at + 12, 4}});
    }
    Put(f.bytes, CMD_CLOSE, 0, 0, 0, {});
    return f;
}

std::vector<Fixture> ServiceFixtures()
{
    // The listener and a first service thread come up before the first measured iteration.
    Listener();
    ServesNextClient();
    const Bytes move = {1, 0, 0, 0, 0, 0, 0, 0}; // a relative move by nothing
    return {
        Conversation(SERVICE_EVENTS, {{CMD_MOUSE, move}, {CMD_KEY, {}}}),
        Conversation(SERVICE_IMAGES, {{CMD_GET_SCREEN_SIZE, {}}, {CMD_GET_FRAME, {}}}),
        Conversation(SERVICE_MACS, {{CMD_GET_MACS, {}}}),
        Conversation(SERVICE_UPDATE, {{CMD_UPDATE_VERSION, {}}, {CMD_UPDATE_GET_INI, {}}}),
        Conversation(SERVICE_UPDATE_REQUEST, {{CMD_UPDATE_REQUEST, Bytes(20, 7)}}),
    };
}

// A third of the inputs are a fixture cut at one byte and nothing else, so every cut point
// of every conversation comes up; the rest are mutated as any other format.
void MutateConversation(Bytes& input, const std::vector<Fixture>& fixtures, THostileRandom& random)
{
    if (random.OneIn(3)) {
        input.resize(random.Below(static_cast<uint32_t>(input.size()) + 1));
        return;
    }
    const Fixture* base = &fixtures[0];
    for (const Fixture& f : fixtures)
        if (f.bytes.size() >= 4 && input.size() >= 4 &&
            memcmp(f.bytes.data(), input.data(), 4) == 0)
            base = &f;
    MutateBytes(input, base->fields,
                fixtures[random.Below(static_cast<uint32_t>(fixtures.size()))].bytes, random);
}

// Lets go of whatever the event service's random requests pressed on this display.
void ReleaseInput()
{
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    for (int key = 1; key < 255; ++key)
        if (GetAsyncKeyState(key) & 0x8000)
            keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
}

// Sends the bytes in pieces of the input's own choosing, then ends the sending side and
// reads until the service closes; false when it held on past LET_GO_MS.
bool Converse(const Bytes& input)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress("127.0.0.1", HOSTILE_PORT);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(s);
        return true; // refused at the door (a full list) is letting go too
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    char sink[4096];
    size_t sent = 0;
    const DWORD start = GetTickCount();
    bool open = true;
    while (open && GetTickCount() - start < LET_GO_MS) {
        if (sent < input.size()) {
            const int piece =
                static_cast<int>(std::min<size_t>(input.size() - sent, 1 + input[sent] % 64));
            const int n = send(s, reinterpret_cast<const char*>(input.data() + sent), piece, 0);
            if (n > 0)
                sent += n;
            else if (WSAGetLastError() != WSAEWOULDBLOCK)
                sent = input.size();
            if (sent == input.size()) shutdown(s, SD_SEND);
        }
        const int got = recv(s, sink, sizeof(sink), 0);
        if (got == 0 || (got < 0 && WSAGetLastError() != WSAEWOULDBLOCK))
            open = false;
        else if (got < 0)
            Sleep(1);
    }
    closesocket(s);
    return !open;
}

std::string ServesNextClient()
{
    LoopbackClient client("127.0.0.1", HOSTILE_PORT);
    if (client.Select(SERVICE_IMAGES) != SERVICE_ACCEPTED_WORD)
        return "the next client was refused";
    ReplyHeader reply{};
    if (!client.Request(CMD_GET_SCREEN_SIZE, 0, reply) || reply.ok != 1)
        return "the next client got no screen size";
    client.Request(CMD_CLOSE, 0, reply);
    return {};
}

// Reaps until the listener holds no connection of any service; polled closely, since every
// iteration waits here for the service thread of its conversation to end.
bool AllReaped(TListener& listener)
{
    const DWORD start = GetTickCount();
    for (;;) {
        listener.Reap();
        unsigned long left = 0;
        for (uint32_t selector : SELECTORS)
            left += listener.GetConnectionCount(selector);
        if (left == 0) return true;
        if (GetTickCount() - start > LET_GO_MS) return false;
        Sleep(2);
    }
}

std::string RunService(const Bytes& input)
{
    TListener& listener = Listener();
    if (!listener.IsListening()) return "the listener is not listening";
    const bool letGo = Converse(input);
    ReleaseInput();
    if (!letGo) return "the service held the connection after the peer's end";
    if (!AllReaped(listener)) return "a connection was never reaped";
    return ServesNextClient();
}

const std::vector<HostileTarget> kServiceTargets = {
    {"services", ServiceFixtures, MutateConversation, RunService, 16},
};

} // namespace

const std::vector<HostileTarget>& ServiceTargets() { return kServiceTargets; }

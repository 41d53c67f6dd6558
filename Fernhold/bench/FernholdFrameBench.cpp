// Measures the remote-control frame and event paths on loopback: server capture and
// compression, frame request to expanded client image, event round trips, idle CPU.
// Usage: FernholdFrameBench [--hold] [frames folder] (default ../shared/frames, i.e. run
// from the repository root on a 1920 x 1080 display; tools/bench/frame-bench.sh sets it
// up). The frames are the folder's screen-sized bitmaps and a photo-like frame.
// --hold (tools/bench/peer-bench.sh): no event figures; after each frame a line
// "holding <index> crc32 <hex>" and the frame stays on screen until a line arrives on
// standard input, so that other servers can be measured on the same picture.
#include "ScreenPicture.h"

#include "net/EventRequests.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TEventLink.h"
#include "net/TImageLink.h"
#include "net/TServerCore.h"
#include "net/tests/StraightCapture.h"

#include <Ledgerkit/CompressTMemory.h>

#include <BenchFrames.h>
#include <BenchTiming.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr uint16_t BENCH_PORT = 27431;
constexpr int CAPTURE_RUNS = 30;
constexpr int FRAME_RUNS = 30;
constexpr double EVENT_SECONDS = 2.0;
constexpr DWORD IDLE_MS = 5000;
constexpr DWORD WAIT_MS = 10000;

struct Spread {
    double median, low, high;
};

Spread SpreadOf(const std::vector<double>& values)
{
    Spread s{BenchMedian(values), values.front(), values.front()};
    for (double v : values) {
        if (v < s.low) s.low = v;
        if (v > s.high) s.high = v;
    }
    return s;
}

void Report(const char* name, const Spread& ms, const char* target)
{
    std::printf("  %-34s median %7.2f ms   min %7.2f   max %7.2f   %s\n", name, ms.median, ms.low,
                ms.high, target);
}

double ProcessCpuMs()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return -1;
    ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
}

// CPU milliseconds the whole process spends while this thread sleeps for IDLE_MS.
void ReportIdle(const char* when)
{
    double before = ProcessCpuMs();
    Sleep(IDLE_MS);
    double spent = ProcessCpuMs() - before;
    std::printf("idle server, %s: %.1f ms CPU over %lu ms (%.3f %%)   target: 0 beyond timers\n",
                when, spent, IDLE_MS, spent / IDLE_MS * 100.0);
}

// The milliseconds of each call of work, runs times.
std::vector<double> TimeEach(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t0 = BenchSeconds();
        work();
        times.push_back((BenchSeconds() - t0) * 1000.0);
    }
    return times;
}

// Bare 24-byte requests answered by 16-byte replies between two threads of this
// process over 127.0.0.1, for about seconds: batch requests go out in one send, then
// their replies are read. With batch 1 this is the ceiling of any protocol with one
// request in flight. Returns requests per second, 0 when the sockets cannot be made.
double BareRoundTrips(double seconds, unsigned long batch)
{
    SOCKET listening = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    static uint16_t nextPort = BENCH_PORT + 1; // a fresh port each call: no TIME_WAIT in the way
    address.sin_port = htons(nextPort++);
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    if (bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listening, 1) != 0) {
        closesocket(listening);
        return 0;
    }
    std::thread echo([listening] {
        SOCKET s = accept(listening, nullptr, nullptr);
        unsigned char request[24];
        while (RecvAll(s, request, sizeof(request)) > 0 && SendAll(s, request, 16) > 0) {
        }
        closesocket(s);
    });
    SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
    unsigned long count = 0;
    double start = BenchSeconds(), now = start;
    if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
        std::vector<unsigned char> requests(24 * batch);
        const int sent = static_cast<int>(requests.size()), replies = static_cast<int>(16 * batch);
        while (now - start < seconds && SendAll(client, requests.data(), sent) > 0 &&
               RecvAll(client, requests.data(), replies) > 0) {
            count += batch;
            now = BenchSeconds();
        }
    }
    closesocket(client);
    closesocket(listening); // ends an accept still waiting when connect failed
    echo.join();
    return count / (now - start);
}

// A mouse move to the middle of the screen: injecting it again and again changes nothing.
EventPacket CentreMove()
{
    SIZE screen = ScreenSize();
    EventPacket move;
    MakeMouseRequest(screen.cx / 2, screen.cy / 2, screen.cx, screen.cy,
                     MouseFlagsForMessage(WM_MOUSEMOVE), 0, move);
    return move;
}

// Server and client halves of one session in this process: the server engine on
// 127.0.0.1, an image link whose client thread is the calling thread, an event link.
class FrameBench {
public:
    FrameBench()
    {
        m_Settings.port = htons(BENCH_PORT);
        m_Server.SetHostLookup([](TMemoryBase& out) {
            uint32_t address = inet_addr("127.0.0.1");
            out.Free();
            out.AddMemory(4, &address);
            return 1;
        });
    }

    // Starts the server thread and waits for its one listener.
    bool StartServer()
    {
        if (!m_Server.Start() ||
            !PostThreadMessageA(m_Server.GetThreadId(), TM_REFRESH_LISTENERS, 0, 0))
            return false;
        TMemoryBase addresses;
        DWORD start = GetTickCount();
        while (m_Server.GetListenerAddresses(addresses) == 0 && GetTickCount() - start < WAIT_MS)
            Sleep(20);
        return m_Server.GetListenerAddresses(addresses) == 1;
    }

    bool ConnectImage()
    {
        if (!m_ImageLink.Connect(Loopback())) return false;
        PostThreadMessageA(m_ImageLink.GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0);
        DWORD start = GetTickCount();
        while (m_Image.GetImageBytes() == 0 && GetTickCount() - start < WAIT_MS)
            Sleep(10);
        return m_Image.GetImageBytes() != 0;
    }

    // One capture and compression of the desktop into the server's frame store, in
    // the configured grid or in one tile.
    bool Capture(bool wholeScreen = false)
    {
        SIZE screen = ScreenSize();
        return m_Server.GetFrames().Capture(screen.cx, screen.cy,
                                            wholeScreen ? 1 : m_Settings.gridColumns.load(),
                                            wholeScreen ? 1 : m_Settings.gridRows.load()) == 1;
    }

    // The same capture and compression with every tile copied straight into the 16-bit
    // image by the platform (how the server captured before it converted tiles itself).
    void CaptureStraight(TMemDC& image, TMemory& stream)
    {
        SIZE screen = ScreenSize();
        CopyScreenStraight(image, screen.cx, screen.cy, m_Settings.gridColumns.load(),
                           m_Settings.gridRows.load());
        TDIBitmap* bitmap = image.LookImgeObject();
        CompressTMemoryTypeA(bitmap->GetLpPixel(),
                             static_cast<unsigned long>(bitmap->GetLineByte()) *
                                 static_cast<unsigned long>(bitmap->GetHeight()),
                             stream);
    }

    // With a newer frame waiting on the server: TM_GET_FRAME to the link, then the
    // frame expanded on this thread as the client thread would. False when the link
    // broke or no frame came.
    bool FetchFrame()
    {
        PostThreadMessageA(m_ImageLink.GetThreadId(), TM_GET_FRAME, 0, 0);
        UINT arrived = 0;
        DispatchMessagesFor(WAIT_MS, [&arrived](const MSG& message) {
            if (message.message != TM_FRAME_RECEIVED && message.message != TM_LINK_LOST)
                return false;
            arrived = message.message;
            return true;
        });
        return arrived == TM_FRAME_RECEIVED && m_Image.Expand() == 1;
    }

    void ExpandOnly() { m_Image.Expand(); }

    // Pixels of the client image that differ from picture in their 15 colour bits.
    long Mismatches(TDIBitmap& picture)
    {
        long count = 0;
        m_Image.LockImage();
        TDIBitmap* image = m_Image.GetContext().LookImgeObject();
        if (!image || image->GetWidth() != picture.GetWidth() ||
            image->GetHeight() != picture.GetHeight()) {
            m_Image.UnlockImage();
            return -1;
        }
        for (long y = 0; y < image->GetHeight(); ++y) {
            auto* got =
                reinterpret_cast<const uint16_t*>(image->GetLpPixel() + y * image->GetLineByte());
            auto* want =
                reinterpret_cast<const uint16_t*>(picture.GetLpPixel() + y * picture.GetLineByte());
            for (long x = 0; x < image->GetWidth(); ++x)
                count += (got[x] & 0x7FFF) != (want[x] & 0x7FFF);
        }
        m_Image.UnlockImage();
        return count;
    }

    // The packet sent again and again, each acknowledged before the next, for about
    // seconds; returns round trips per second, or 0 when the link cannot be made.
    double EventRoundTrips(const EventPacket& packet, double seconds, unsigned long& count)
    {
        TEventLink link(m_Settings);
        if (!link.Connect(Loopback())) return 0;
        count = 0;
        const double start = BenchSeconds();
        double now = start;
        while (now - start < seconds) {
            // Bursts below the queue's 199: each waits for the last acknowledgement.
            for (int i = 0; i < 150; ++i)
                link.Post(packet);
            count += 150;
            while (link.GetQueue().HasItems() || !link.IsIdle())
                Sleep(1);
            now = BenchSeconds();
        }
        link.Stop();
        return count / (now - start);
    }

    void Disconnect() { m_ImageLink.Stop(); }

private:
    static sockaddr_in Loopback()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(BENCH_PORT);
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        return address;
    }

    TFernSettings m_Settings;
    TServerCore m_Server{m_Settings};
    TClientImage m_Image;
    TImageLink m_ImageLink{m_Settings, m_Image, GetCurrentThreadId()};
};

// The frame in a 16-bit DIB section, to be shown on the display.
TDIBitmap* PictureOf(const BenchFrame& frame)
{
    TDIBitmap* picture = new TDIBitmap;
    if (!picture->CreateDIBitmap(frame.width, frame.height, 16)) {
        picture->Release();
        return nullptr;
    }
    for (long y = 0; y < frame.height; ++y)
        std::memcpy(picture->GetLpPixel() + y * picture->GetLineByte(),
                    &frame.pixels[static_cast<size_t>(frame.lineBytes) * y],
                    static_cast<size_t>(frame.width) * 2);
    return picture;
}

// Keeps the picture on the display until the caller's line arrives (peer-bench.sh
// measures other servers on it meanwhile).
void HoldForPeers(size_t index, const BenchFrame& frame)
{
    std::printf("holding %zu crc32 %08lx\n", index,
                static_cast<unsigned long>(ColourChecksum(frame)));
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) std::printf("  (standard input closed)\n");
}

// Capture, compression and the end-to-end frame path for one frame on the display;
// a "figures" line sums them up for peer-bench.sh.
bool MeasureFrame(FrameBench& bench, size_t index, const BenchFrame& frame, bool hold)
{
    TDIBitmap* picture = PictureOf(frame);
    if (!picture) return false;
    ScreenPicture shown(picture);
    picture->Release(); // the window holds it now
    if (!shown.IsShown()) return false;
    std::printf("%s\n", frame.name.c_str());
    // The display settles after the picture appears; the first captures also make the
    // contexts.
    for (int i = 0; i < 5; ++i)
        bench.Capture();
    // The two captures take turns, so that both meet the same load on a shared machine.
    TMemDC straight;
    TMemory straightStream;
    std::vector<double> captures, straightCaptures;
    for (int i = 0; i < CAPTURE_RUNS; ++i) {
        captures.push_back(TimeEach(1, [&] { bench.Capture(); }).front());
        straightCaptures.push_back(
            TimeEach(1, [&] { bench.CaptureStraight(straight, straightStream); }).front());
    }
    const Spread capture = SpreadOf(captures);
    Report("capture + compression (server)", capture, "(information)");
    Report("  tiles straight to 16 bits instead", SpreadOf(straightCaptures),
           "(the platform converts)");
    Report("  the same in one tile", SpreadOf(TimeEach(CAPTURE_RUNS, [&] { bench.Capture(true); })),
           "");
    TMemory stream;
    unsigned long pixelBytes =
        static_cast<unsigned long>(picture->GetLineByte()) * picture->GetHeight();
    unsigned long streamBytes = 0;
    const Spread compression = SpreadOf(TimeEach(CAPTURE_RUNS, [&] {
        streamBytes = CompressTMemoryTypeA(picture->GetLpPixel(), pixelBytes, stream);
    }));
    Report("  of which compression alone", compression, "");

    bool fetched = bench.Capture() && bench.FetchFrame();
    long mismatches = fetched ? bench.Mismatches(*picture) : -1;
    std::vector<double> times;
    for (int i = 0; fetched && i < FRAME_RUNS; ++i) {
        fetched = bench.Capture();
        double t0 = BenchSeconds();
        fetched = fetched && bench.FetchFrame();
        times.push_back((BenchSeconds() - t0) * 1000.0);
    }
    if (!fetched) {
        std::printf("  frame request failed\n");
        return false;
    }
    const Spread request = SpreadOf(times);
    Report("request to client image (loopback)", request, "target < 30 ms");
    Report("  of which expansion into the image",
           SpreadOf(TimeEach(FRAME_RUNS, [&] { bench.ExpandOnly(); })), "");
    std::printf("  stream %lu bytes; client image %s the picture (%ld pixels differ)\n",
                streamBytes, mismatches == 0 ? "matches" : "DIFFERS from", mismatches);
    std::printf("figures %zu capture_ms %.2f compression_ms %.2f request_ms %.2f stream_bytes %lu "
                "differing %ld\n",
                index, capture.median, compression.median, request.median, streamBytes, mismatches);
    std::fflush(stdout);
    if (hold) HoldForPeers(index, frame);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    WSADATA winsock;
    if (WSAStartup(MAKEWORD(2, 0), &winsock) != 0) return 1;
    bool hold = false;
    std::string folder = "../shared/frames";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hold") == 0)
            hold = true;
        else
            folder = argv[i];
    }
    SIZE screen = ScreenSize();
    std::printf("display %ld x %ld, frames from %s\n", screen.cx, screen.cy, folder.c_str());
    if (screen.cx != 1920 || screen.cy != 1080)
        std::printf("warning: the figures are meant for a 1920 x 1080 display\n");
    std::vector<std::string> skipped;
    std::string error;
    const std::vector<BenchFrame> frames =
        LoadBenchFrames(folder, screen.cx, screen.cy, skipped, error);
    if (!error.empty()) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    for (const std::string& name : skipped)
        std::printf("skipped %s: not an uncompressed %ld x %ld bitmap of 16, 24 or 32 bits\n",
                    name.c_str(), screen.cx, screen.cy);

    FrameBench bench;
    if (!bench.StartServer()) {
        std::printf("server did not start on 127.0.0.1:%u\n", BENCH_PORT);
        return 1;
    }
    Sleep(500); // the listener's start-up work is over
    ReportIdle("listening, no client yet");
    if (!bench.ConnectImage()) {
        std::printf("image link to 127.0.0.1:%u failed\n", BENCH_PORT);
        return 1;
    }
    int failures = 0;
    for (size_t i = 0; i < frames.size(); ++i)
        failures += !MeasureFrame(bench, i, frames[i], hold);
    bench.Disconnect();
    if (hold) {
        std::printf("done\n");
        WSACleanup();
        return failures ? 1 : 0;
    }

    EventPacket move = CentreMove();
    unsigned long events = 0;
    double perSecond = bench.EventRoundTrips(move, EVENT_SECONDS, events);
    std::printf("event round trips (CMD_MOUSE, acknowledged): %.0f /s over %lu events   "
                "target >= 5000 /s\n",
                perSecond, events);
    // The transport alone: a command the events service refuses (ok 0) without injecting.
    EventPacket refused{};
    refused.header.command = CMD_GET_SCREEN_SIZE;
    perSecond = bench.EventRoundTrips(refused, EVENT_SECONDS, events);
    std::printf("  the same link, refused requests (no injection): %.0f /s over %lu\n", perSecond,
                events);
    std::printf("  bare sockets, 24-byte request and 16-byte reply: %.0f /s; 150 requests per "
                "send: %.0f /s\n",
                BareRoundTrips(EVENT_SECONDS, 1), BareRoundTrips(EVENT_SECONDS, 150));
    // The service's own share of each round trip.
    std::vector<double> inject = TimeEach(1000, [&] {
        mouse_event(move.payload[0], move.header.param1, move.header.param2, move.payload[1], 0);
    });
    std::printf("  of which injection (mouse_event) alone: median %.1f us\n",
                BenchMedian(inject) * 1000.0);
    // The floor under every figure above: each socket call and each injection is a few
    // of these (under Wine a request to the wineserver, on Windows a system call).
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<double> systemCall = TimeEach(1000, [&] { ResetEvent(event); });
    CloseHandle(event);
    std::printf("  one call into the system (ResetEvent): median %.1f us\n",
                BenchMedian(systemCall) * 1000.0);
    Sleep(500); // the service threads of the closed links end and are reaped
    ReportIdle("after the clients left");
    WSACleanup();
    return failures ? 1 : 0;
}

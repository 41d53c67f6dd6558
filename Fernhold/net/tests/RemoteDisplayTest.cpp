// Server and client engines on loopback against the real display: frames arrive pixel
// for pixel, frames are paced by delivery, and injected input reaches the display.
#include "NetTestSupport.h"
#include "StraightCapture.h"

#include "net/EventRequests.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TEventLink.h"
#include "net/TImageLink.h"
#include "net/TServerCore.h"

#include <Ledgerkit/CompressTMemory.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 5-5-5 exact colour for every pixel: each channel a multiple of 8 that varies.
uint32_t PatternColour(long x, long y)
{
    uint32_t r = (x * 8) & 0xF8, g = (y * 8) & 0xF8, b = ((x ^ y) * 8) & 0xF8;
    return (r << 16) | (g << 8) | b;
}

// Any 8-bit colour, low bits included, different from pixel to pixel: a conversion
// that rounds or orders channels otherwise than the platform's shows at once.
uint32_t NoiseColour(long x, long y)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h & 0xFFFFFF;
}

uint16_t As555(uint32_t colour)
{
    return static_cast<uint16_t>((((colour >> 19) & 0x1F) << 10) | (((colour >> 11) & 0x1F) << 5) |
                                 ((colour >> 3) & 0x1F));
}

// A topmost window over the whole screen showing a colour for each pixel; it also
// counts the key-down messages it receives while focused.
class PatternWindow {
public:
    explicit PatternWindow(uint32_t (*colour)(long x, long y) = PatternColour)
    {
        m_Size = ScreenSize();
        m_Pixels.resize(static_cast<size_t>(m_Size.cx) * m_Size.cy);
        for (long y = 0; y < m_Size.cy; ++y)
            for (long x = 0; x < m_Size.cx; ++x)
                m_Pixels[static_cast<size_t>(y) * m_Size.cx + x] = colour(x, y);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FernPatternWindow";
        RegisterClassA(&windowClass);
        m_Window =
            CreateWindowExA(WS_EX_TOPMOST, "FernPatternWindow", "pattern", WS_POPUP | WS_VISIBLE, 0,
                            0, m_Size.cx, m_Size.cy, nullptr, nullptr, windowClass.hInstance, this);
        SetForegroundWindow(m_Window);
        SetFocus(m_Window);
        UpdateWindow(m_Window);
        Pump(300);
    }
    ~PatternWindow() { DestroyWindow(m_Window); }

    // Dispatches this thread's window messages for a while.
    static void Pump(DWORD milliseconds)
    {
        DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            Sleep(10);
        } while (GetTickCount() - start < milliseconds);
    }

    SIZE m_Size;
    HWND m_Window;
    int m_KeyDowns = 0;
    WPARAM m_LastKey = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = self->m_Size.cx;
            info.bmiHeader.biHeight = -self->m_Size.cy;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            SetDIBitsToDevice(dc, 0, 0, self->m_Size.cx, self->m_Size.cy, 0, 0, 0, self->m_Size.cy,
                              self->m_Pixels.data(), &info, DIB_RGB_COLORS);
            EndPaint(window, &paint);
            return 0;
        }
        if (self && message == WM_KEYDOWN) {
            ++self->m_KeyDowns;
            self->m_LastKey = wParam;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    std::vector<uint32_t> m_Pixels;
};

class RemoteDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // this thread's queue
        m_Settings.port = htons(PORT);
        ASSERT_TRUE(StartLoopbackServer(m_Server));
    }

    // Requests frames until one is expanded on this thread (true) or the link is lost.
    bool NextFrame(TImageLink& link, DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            if (link.IsIdle()) PostThreadMessageA(link.GetThreadId(), TM_GET_FRAME, 0, 0);
            DWORD wait = GetTickCount();
            while (GetTickCount() - wait < 150) {
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                    if (message.message == TM_FRAME_RECEIVED && m_Image.Expand()) return true;
                    if (message.message == TM_LINK_LOST) return false;
                    DispatchMessageA(&message);
                }
                Sleep(10);
            }
        }
        return false;
    }

    static constexpr uint16_t PORT = 27401;
    TFernSettings m_Settings;
    TServerCore m_Server{m_Settings};
    TClientImage m_Image;
};

TEST_F(RemoteDisplayTest, PatternArrivesPixelForPixelAndFramesFollowDelivery)
{
    PatternWindow pattern;
    TImageLink link(m_Settings, m_Image, GetCurrentThreadId());
    ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", PORT)), 1);

    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0));
    DWORD start = GetTickCount();
    while (m_Image.GetImageBytes() == 0 && GetTickCount() - start < 5000)
        Sleep(20);
    SIZE remote = m_Image.GetRemoteSize();
    ASSERT_EQ(remote.cx, pattern.m_Size.cx);
    ASSERT_EQ(remote.cy, pattern.m_Size.cy);

    ASSERT_TRUE(NextFrame(link, 10000));
    // Requests that found no frame yet each asked for a capture: on a loaded machine a
    // second one may have run before the first delivery.
    const uint32_t delivered = link.GetLastFrameNumber();
    EXPECT_GE(delivered, 1u);
    m_Image.LockImage();
    TDIBitmap* bitmap = m_Image.GetContext().LookImgeObject();
    ASSERT_NE(bitmap, nullptr);
    long mismatches = 0;
    for (long y = 0; y < remote.cy; ++y) {
        const auto* row =
            reinterpret_cast<const uint16_t*>(bitmap->GetLpPixel() + y * bitmap->GetLineByte());
        for (long x = 0; x < remote.cx; ++x) {
            if ((row[x] & 0x7FFF) != As555(PatternColour(x, y)) && mismatches++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << row[x];
        }
    }
    m_Image.UnlockImage();
    EXPECT_EQ(mismatches, 0);

    // No capture runs until the client asks again after its delivery: once the captures
    // asked for before it have run, the frame number stands still.
    TFrameStore& frames = m_Server.GetFrames();
    Sleep(400);
    frames.Lock();
    const uint32_t settled = frames.GetFrameNumber();
    frames.Unlock();
    EXPECT_LE(settled, delivered + 1);
    Sleep(600);
    frames.Lock();
    EXPECT_EQ(frames.GetFrameNumber(), settled);
    frames.Unlock();
    ASSERT_TRUE(NextFrame(link, 10000));
    EXPECT_GT(link.GetLastFrameNumber(), delivered);
    link.Stop();
}

TEST_F(RemoteDisplayTest, InjectedMouseAndKeyReachTheDisplay)
{
    PatternWindow window;
    TEventLink link(m_Settings);
    ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", PORT)), 1);

    SIZE screen = ScreenSize();
    EventPacket move;
    ASSERT_EQ(MakeMouseRequest(300, 200, screen.cx, screen.cy, MouseFlagsForMessage(WM_MOUSEMOVE),
                               0, move),
              1);
    link.Post(move);
    POINT cursor{};
    DWORD start = GetTickCount();
    do {
        PatternWindow::Pump(50);
        GetCursorPos(&cursor);
    } while ((cursor.x != 300 || cursor.y != 200) && GetTickCount() - start < 5000);
    EXPECT_NEAR(cursor.x, 300, 1);
    EXPECT_NEAR(cursor.y, 200, 1);

    SetForegroundWindow(window.m_Window);
    SetFocus(window.m_Window);
    link.Post(MakeKeyRequest('K', 0x00250001));
    link.Post(MakeKeyRequest('K', static_cast<LPARAM>(0xC0250001u)));
    start = GetTickCount();
    while (window.m_KeyDowns == 0 && GetTickCount() - start < 5000)
        PatternWindow::Pump(50);
    EXPECT_EQ(window.m_KeyDowns, 1);
    EXPECT_EQ(window.m_LastKey, static_cast<WPARAM>('K'));
    link.Stop();
}

TEST_F(RemoteDisplayTest, AViewerThatStopsReadingHoldsNeitherCapturesNorTheServer)
{
    PatternWindow pattern; // varied pixels: each frame is megabytes
    TImageLink honest(m_Settings, m_Image, GetCurrentThreadId());
    ASSERT_EQ(honest.Connect(LoopbackAddress("127.0.0.1", PORT)), 1);
    ASSERT_TRUE(PostThreadMessageA(honest.GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0));
    ASSERT_TRUE(NextFrame(honest, 10000)); // a frame exists from here on

    // Asks for eight frames at once, go words included, and reads nothing.
    SOCKET stalled = socket(AF_INET, SOCK_STREAM, 0);
    int window = 1024;
    setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&window),
               sizeof(window));
    sockaddr_in address = LoopbackAddress("127.0.0.1", PORT);
    ASSERT_EQ(connect(stalled, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    uint32_t answer = 0;
    ASSERT_GT(SendWord(stalled, SERVICE_IMAGES), 0);
    ASSERT_GT(RecvAll(stalled, &answer, sizeof(answer)), 0);
    for (int n = 0; n < 8; ++n) {
        PacketHeader request{CMD_GET_FRAME, 0, 0, 0};
        ASSERT_GT(SendAll(stalled, &request, sizeof(request)), 0);
        ASSERT_GT(SendWord(stalled, 1), 0);
    }
    Sleep(1000); // its service thread is now stuck in a send

    // Captures and the other viewer go on.
    const uint32_t before = honest.GetLastFrameNumber();
    ASSERT_TRUE(NextFrame(honest, 10000));
    EXPECT_GT(honest.GetLastFrameNumber(), before);
    honest.Stop();

    // The stuck send gives up, so the server can stop.
    const DWORD start = GetTickCount();
    m_Server.Stop();
    EXPECT_LT(GetTickCount() - start, 25000u);
    closesocket(stalled);
}

// The capture copies each tile at the display's depth and converts it itself; its
// frame must hold exactly the bytes of copying every tile straight into 16 bits.
TEST(CaptureTest, ConvertedTilesGiveThePlatformsStraightCopyByteForByte)
{
    PatternWindow noise(NoiseColour);
    const SIZE screen = noise.m_Size;
    struct Case {
        long width, height;
        uint32_t columns, rows;
    };
    const Case cases[] = {
        {screen.cx, screen.cy, 4, 10}, // the default grid, a short last row on 1024 lines
        {screen.cx, screen.cy, 7, 13}, // short last tiles both ways
        {screen.cx, screen.cy, 1, 1},
        {screen.cx / 2 + 3, screen.cy / 3, 4, 10}, // a smaller frame cuts the tiles
        {screen.cx, screen.cy, 4, 10},             // and a full one again
    };
    TFrameStore frames;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " in " << c.columns << "x" << c.rows);
        ASSERT_EQ(1, frames.Capture(c.width, c.height, c.columns, c.rows));
        TMemDC straight;
        ASSERT_TRUE(CopyScreenStraight(straight, c.width, c.height, c.columns, c.rows));
        TDIBitmap* want = straight.LookImgeObject();
        const unsigned long bytes = static_cast<unsigned long>(want->GetLineByte()) * c.height;
        std::vector<uint8_t> got(bytes);
        frames.Lock();
        const int expanded = UnCompressTMemoryTypeA(
            frames.GetCompressed(), frames.GetCompressed().GetSize(), got.data(), bytes);
        frames.Unlock();
        ASSERT_EQ(1, expanded);
        long differing = 0, showingNoise = 0;
        for (long y = 0; y < c.height; ++y) {
            const auto* wantRow =
                reinterpret_cast<const uint16_t*>(want->GetLpPixel() + y * want->GetLineByte());
            const auto* gotRow =
                reinterpret_cast<const uint16_t*>(got.data() + y * want->GetLineByte());
            for (long x = 0; x < c.width; ++x) {
                showingNoise += (wantRow[x] & 0x7FFF) == As555(NoiseColour(x, y));
                if (gotRow[x] != wantRow[x] && differing++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << gotRow[x]
                                  << " where the platform gives " << wantRow[x];
            }
        }
        EXPECT_EQ(0, differing);
        EXPECT_GT(showingNoise, c.width * c.height / 2) << "the noise is not on the screen";
    }
}

TEST(CaptureGridTest, TilesCoverTheScreenWithoutEmptyTiles)
{
    struct Case {
        long length;
        uint32_t parts;
        long tile, count;
    };
    const Case cases[] = {
        {1024, 4, 256, 4}, {768, 10, 76, 11}, {1080, 10, 108, 10},
        {768, 0, 768, 1},  {5, 10, 1, 5},     {0, 10, 1, 1},
    };
    for (const Case& c : cases) {
        CaptureGrid grid = GridAlong(c.length, c.parts);
        EXPECT_EQ(grid.tile, c.tile) << c.length << "/" << c.parts;
        EXPECT_EQ(grid.count, c.count) << c.length << "/" << c.parts;
    }
}

} // namespace

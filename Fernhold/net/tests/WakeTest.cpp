// Wake-on-LAN through the client thread: the broadcasts read back by a raw socket inside
// the test namespace (where 255.255.255.255 is routed to loopback and goes nowhere else),
// the status texts and the record's states.
#include "MainWindowStub.h"
#include "NetTestSupport.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TClientCore.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const char WAKE_TEXT[] = "Wake On Lan ﾊﾟｹｯﾄを送信しました。";

struct Broadcast {
    uint32_t destination; // network order
    uint16_t port;        // host order
    std::vector<unsigned char> payload;
    DWORD time;
};

// The broadcasts that reach this namespace and wake one of the given addresses: tests
// running beside each other (and every other process of the namespace) see each
// other's packets, so each test keeps to its own addresses.
class BroadcastCapture {
public:
    BroadcastCapture() : m_Socket(socket(AF_INET, SOCK_RAW, IPPROTO_UDP)) {}
    ~BroadcastCapture()
    {
        if (m_Socket != INVALID_SOCKET) closesocket(m_Socket);
    }
    bool IsOpen() const { return m_Socket != INVALID_SOCKET; }

    void Watch(const unsigned char* mac) { m_Macs.emplace_back(mac, mac + 6); }

    // The next broadcast within timeoutMs; false when none came.
    bool Next(Broadcast& out, DWORD timeoutMs)
    {
        SetReceiveTimeout(m_Socket, timeoutMs);
        unsigned char datagram[2048];
        for (;;) {
            int length = recv(m_Socket, reinterpret_cast<char*>(datagram), sizeof(datagram), 0);
            if (length < 28) return false;
            const int header = (datagram[0] & 0x0F) * 4;
            uint32_t destination;
            memcpy(&destination, datagram + 16, 4);
            if (destination != INADDR_BROADCAST || length < header + 8 + 12 ||
                !IsWatched(datagram + header + 8 + 6))
                continue;
            out.destination = destination;
            out.port = static_cast<uint16_t>(datagram[header + 2] << 8 | datagram[header + 3]);
            out.payload.assign(datagram + header + 8, datagram + length);
            out.time = timeGetTime();
            return true;
        }
    }

private:
    bool IsWatched(const unsigned char* mac) const
    {
        for (const std::vector<unsigned char>& watched : m_Macs)
            if (memcmp(watched.data(), mac, 6) == 0) return true;
        return false;
    }

    SOCKET m_Socket;
    std::vector<std::vector<unsigned char>> m_Macs;
};

std::vector<unsigned char> ExpectedPacket(const unsigned char (&mac)[6])
{
    std::vector<unsigned char> packet(6, 0xFF);
    for (int i = 0; i < 16; ++i)
        packet.insert(packet.end(), mac, mac + 6);
    return packet;
}

struct HandleGuard {
    HANDLE handle;
    ~HandleGuard() { CloseHandle(handle); }
    operator HANDLE() const { return handle; }
};

class WakeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InTestNamespace()) GTEST_SKIP() << "broadcasts: only inside the test namespace";
        ASSERT_TRUE(m_Capture.IsOpen()) << "raw sockets need root inside the namespace";
        // A name lookup of a search waits for the gate; it tells that it waits.
        m_Core.SetHostResolver(THostResolver{[this](const char*, in_addr&) {
                                                 SetEvent(m_Searching);
                                                 WaitForSingleObject(m_Gate, 15000);
                                                 return 0;
                                             },
                                             [](const in_addr&, TString&) { return 0; }});
        m_Core.SetMainWindow(m_Window.GetHandle());
        ASSERT_EQ(m_Core.Start(), 1);
    }

    TDestination* Add(std::initializer_list<const unsigned char*> macs)
    {
        TDestination record;
        record.searchState = SEARCH_NOT_FOUND;
        record.failureCount = 3;
        for (const unsigned char* mac : macs) {
            record.AddMac(*reinterpret_cast<const unsigned char(*)[6]>(mac));
            m_Capture.Watch(mac);
        }
        return m_Core.AddDestination(record);
    }

    void Wake(WPARAM index)
    {
        ASSERT_TRUE(PostThreadMessageA(m_Core.GetThreadId(), TM_WAKE, index, 0));
    }

    // A record added by Add hears one change for its addition; the wake thread sends
    // one as it starts and one as it ends.
    bool WaitUntilWoken(const TDestination* record)
    {
        return PumpUntil([&] { return m_Window.EntryChanges(record) >= 3; }, 15000);
    }

    std::vector<std::string> WakeTexts() const
    {
        std::vector<std::string> texts;
        for (const HeardMessage& message : m_Window.heard)
            if (message.message == UM_STATUS_TEXT) {
                EXPECT_EQ(message.lParam, 0) << message.text;
                texts.push_back(message.text);
            }
        return texts;
    }

    HandleGuard m_Gate{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HandleGuard m_Searching{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    TFernSettings m_Settings;
    MainWindowStub m_Window;
    BroadcastCapture m_Capture;
    TClientCore m_Core{m_Settings};
};

TEST_F(WakeTest, TwoMacsGiveTwoMagicBroadcastsTwoSecondsApart)
{
    const unsigned char first[6] = {0x00, 0x1B, 0x21, 0x0A, 0x0B, 0x0C};
    const unsigned char second[6] = {0xFF, 0x00, 0xFF, 0x00, 0x12, 0x34};
    TDestination* record = Add({first, second});
    ASSERT_NE(record, nullptr);

    Broadcast packets[2];
    uint16_t stateAtFirst = 0;
    bool captured[2] = {false, false};
    std::thread reader([&] {
        captured[0] = m_Capture.Next(packets[0], 10000);
        m_Core.LockList();
        stateAtFirst = record->searchState;
        m_Core.UnlockList();
        captured[1] = captured[0] && m_Capture.Next(packets[1], 10000);
    });
    Wake(0);
    reader.join();
    ASSERT_TRUE(captured[0] && captured[1]);
    ASSERT_TRUE(WaitUntilWoken(record));

    EXPECT_EQ(stateAtFirst, SEARCH_WAKING);
    EXPECT_EQ(packets[0].payload, ExpectedPacket(first));
    EXPECT_EQ(packets[1].payload, ExpectedPacket(second));
    for (const Broadcast& packet : packets) {
        EXPECT_EQ(packet.destination, INADDR_BROADCAST);
        // Port 0 where the stack sends to it; Linux under Wine refuses it, then port 9.
        EXPECT_TRUE(packet.port == 0 || packet.port == 9) << packet.port;
    }
    const DWORD gap = packets[1].time - packets[0].time;
    EXPECT_GE(gap, 1900u);
    EXPECT_LE(gap, 3000u);
    EXPECT_EQ(WakeTexts(), (std::vector<std::string>{WAKE_TEXT, WAKE_TEXT}));

    m_Core.LockList();
    EXPECT_EQ(record->searchState, SEARCH_IDLE);
    EXPECT_EQ(record->failureCount, 0u);
    m_Core.UnlockList();
}

TEST_F(WakeTest, NoMacWakesAndIdlesSilentlyAndIndexesOutsideTheListAreIgnored)
{
    const unsigned char mac[6] = {1, 2, 3, 4, 5, 6};
    TDestination* bare = Add({});
    TDestination* other = Add({mac});
    ASSERT_NE(bare, nullptr);
    ASSERT_NE(other, nullptr);
    // Outside the list, then a negative index; the wake of record 0 after them marks
    // that the client thread has handled both.
    Wake(2);
    Wake(static_cast<WPARAM>(-1));
    Wake(0);
    ASSERT_TRUE(WaitUntilWoken(bare));
    m_Core.LockList();
    EXPECT_EQ(bare->searchState, SEARCH_IDLE);
    EXPECT_EQ(bare->failureCount, 0u);
    EXPECT_EQ(other->searchState, SEARCH_NOT_FOUND);
    EXPECT_EQ(other->failureCount, 3u);
    m_Core.UnlockList();
    // The wake thread has ended: anything it sent would be in the capture already.
    Broadcast packet;
    EXPECT_FALSE(m_Capture.Next(packet, 200));
    EXPECT_TRUE(WakeTexts().empty());
    EXPECT_EQ(m_Window.EntryChanges(other), 1); // its addition only
}

TEST_F(WakeTest, ASearchUnderWayEndsBeforeTheWakeBegins)
{
    const unsigned char mac[6] = {0x02, 0x00, 0x5E, 0x10, 0x20, 0x30};
    TDestination* record = Add({mac});
    ASSERT_NE(record, nullptr);
    m_Core.LockList();
    record->searchState = SEARCH_IDLE; // searched at the first tick
    m_Core.UnlockList();
    ASSERT_TRUE(PostThreadMessageA(m_Core.GetThreadId(), TM_SEARCH_TICK, 0, 0));
    ASSERT_EQ(WaitForSingleObject(m_Searching, 10000), WAIT_OBJECT_0);
    Wake(0);
    Broadcast packet;
    EXPECT_FALSE(m_Capture.Next(packet, 500)) << "woken while the search ran";
    SetEvent(m_Gate);
    ASSERT_TRUE(m_Capture.Next(packet, 10000));
    EXPECT_EQ(packet.payload, ExpectedPacket(mac));
    // Addition, search start and end, wake start and end.
    ASSERT_TRUE(PumpUntil([&] { return m_Window.EntryChanges(record) >= 5; }, 15000));
    m_Core.LockList();
    EXPECT_EQ(record->searchState, SEARCH_IDLE);
    EXPECT_EQ(record->failureCount, 0u);
    m_Core.UnlockList();
}

} // namespace

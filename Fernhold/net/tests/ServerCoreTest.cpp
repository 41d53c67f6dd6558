// The server engine on its thread: listeners follow the host's addresses and port.
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/TServerCore.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace {

// Stands in for the main window: counts the listener-change notices of the server thread.
class NoticeWindow {
public:
    NoticeWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FernholdNetTestNotice";
        RegisterClassA(&windowClass);
        m_Window = CreateWindowA("FernholdNetTestNotice", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        s_Notices = 0;
    }
    ~NoticeWindow() { DestroyWindow(m_Window); }
    HWND GetHandle() const { return m_Window; }

    // Pumps messages until `count` notices in all have arrived; false after timeoutMs.
    bool WaitForNotices(int count, DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        while (s_Notices < count) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed > timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
        return true;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == UM_ENTRY_CHANGED && wParam == ENTRY_CHANGED_LISTENERS && lParam == 0)
            ++s_Notices;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static int s_Notices;
    HWND m_Window;
};

int NoticeWindow::s_Notices = 0;

// A host whose address list the test changes.
class FakeHost {
public:
    void Set(std::vector<const char*> addresses, bool found = true)
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Addresses = std::move(addresses);
        m_Found = found;
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Addresses.size();
    }
    THostLookup Lookup()
    {
        return [this](TMemoryBase& out) {
            std::lock_guard<std::mutex> lock(m_Lock);
            out.Free();
            for (const char* text : m_Addresses) {
                uint32_t address = inet_addr(text);
                out.AddMemory(4, &address);
            }
            return m_Found ? 1 : 0;
        };
    }

private:
    std::mutex m_Lock;
    std::vector<const char*> m_Addresses;
    bool m_Found = true;
};

class ServerCoreTest : public ::testing::Test {
protected:
    // The server on a fake host with these addresses, its listeners opened.
    void StartOnHost(std::vector<const char*> addresses, uint16_t port)
    {
        m_Host.Set(std::move(addresses));
        m_Server.SetHostLookup(m_Host.Lookup());
        StartServer(port);
        ASSERT_TRUE(Post(TM_REFRESH_LISTENERS));
        ASSERT_EQ(Listeners().size(), m_Host.Count());
    }
    void StartServer(uint16_t port)
    {
        m_Settings.port = htons(port);
        m_Server.SetMainWindow(m_Notices.GetHandle());
        ASSERT_EQ(m_Server.Start(), 1);
    }
    // Posts a server message and waits for the listener-change notice that follows it.
    bool Post(UINT message)
    {
        ++m_Expected;
        return PostThreadMessageA(m_Server.GetThreadId(), message, 0, 0) &&
               m_Notices.WaitForNotices(m_Expected, 30000);
    }
    std::vector<sockaddr_in> Listeners()
    {
        TMemoryBase addresses;
        unsigned long count = m_Server.GetListenerAddresses(addresses);
        const sockaddr_in* first =
            reinterpret_cast<const sockaddr_in*>(static_cast<unsigned char*>(addresses));
        return std::vector<sockaddr_in>(first, first + count);
    }

    NoticeWindow m_Notices;
    TFernSettings m_Settings;
    TServerCore m_Server{m_Settings};
    FakeHost m_Host;
    int m_Expected = 0;
};

TEST_F(ServerCoreTest, TwoHostAddressesGiveTwoListenersOnOnePort)
{
    if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
    StartServer(27301); // the real host lookup: fernhost is 127.0.0.1 and 127.0.0.2
    ASSERT_TRUE(Post(TM_REFRESH_LISTENERS));
    std::vector<sockaddr_in> listeners = Listeners();
    ASSERT_EQ(listeners.size(), 2u);
    for (const sockaddr_in& bound : listeners)
        EXPECT_EQ(ntohs(bound.sin_port), 27301);
    EXPECT_NE(listeners[0].sin_addr.s_addr, listeners[1].sin_addr.s_addr);

    for (const char* address : {"127.0.0.1", "127.0.0.2"}) {
        LoopbackClient client(address, 27301);
        EXPECT_EQ(client.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD) << address;
    }
    // A second refresh keeps what is there.
    ASSERT_TRUE(Post(TM_REFRESH_LISTENERS));
    EXPECT_EQ(Listeners().size(), 2u);
}

TEST_F(ServerCoreTest, ListenersFollowDisappearingAddressesAndFailedLookups)
{
    StartOnHost({"127.0.0.1", "127.0.0.2"}, 27302);

    LoopbackClient stays("127.0.0.1", 27302);
    ASSERT_EQ(stays.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    LoopbackClient goes("127.0.0.2", 27302);
    ASSERT_EQ(goes.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);

    m_Host.Set({"127.0.0.1"});
    ASSERT_TRUE(Post(TM_REFRESH_LISTENERS)); // the idle connection's grace time passes here
    std::vector<sockaddr_in> listeners = Listeners();
    ASSERT_EQ(listeners.size(), 1u);
    EXPECT_EQ(listeners[0].sin_addr.s_addr, inet_addr("127.0.0.1"));
    EXPECT_TRUE(goes.WaitClosed(1000));
    LoopbackClient refused("127.0.0.2", 27302);
    EXPECT_FALSE(refused.IsConnected());
    ReplyHeader reply{};
    ASSERT_TRUE(stays.Request(CMD_CLOSE, 0, reply));
    EXPECT_EQ(reply.ok, 1u);

    m_Host.Set({}, false);
    ASSERT_TRUE(Post(TM_REFRESH_LISTENERS));
    EXPECT_EQ(Listeners().size(), 0u);
    m_Host.Set({"127.0.0.2"});
    ASSERT_TRUE(Post(TM_REFRESH_LISTENERS));
    EXPECT_EQ(Listeners().size(), 1u);
}

TEST_F(ServerCoreTest, PortChangeClosesEveryListenerAndOpensTheNewPort)
{
    StartOnHost({"127.0.0.1", "127.0.0.2"}, 27303);

    // As the options page does it: close, then refresh at once.
    m_Settings.port = htons(27304);
    m_Expected += 2;
    ASSERT_TRUE(PostThreadMessageA(m_Server.GetThreadId(), TM_CLOSE_LISTENERS, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(m_Server.GetThreadId(), TM_REFRESH_LISTENERS, 0, 0));
    ASSERT_TRUE(m_Notices.WaitForNotices(m_Expected, 30000));

    std::vector<sockaddr_in> listeners = Listeners();
    ASSERT_EQ(listeners.size(), 2u);
    for (const sockaddr_in& bound : listeners)
        EXPECT_EQ(ntohs(bound.sin_port), 27304);
    for (const char* address : {"127.0.0.1", "127.0.0.2"}) {
        LoopbackClient old(address, 27303);
        EXPECT_FALSE(old.IsConnected()) << address;
        LoopbackClient current(address, 27304);
        EXPECT_EQ(current.Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD) << address;
    }
}

TEST_F(ServerCoreTest, EndedServicesAreReapedByTheServerThread)
{
    StartOnHost({"127.0.0.1"}, 27305);
    {
        LoopbackClient closing("127.0.0.1", 27305);
        ASSERT_EQ(closing.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
        LoopbackClient dropping("127.0.0.1", 27305);
        ASSERT_EQ(dropping.Select(SERVICE_UPDATE), SERVICE_ACCEPTED_WORD);
        EXPECT_EQ(m_Server.GetConnectionCount(), 2u);
        ReplyHeader reply{};
        ASSERT_TRUE(closing.Request(CMD_CLOSE, 0, reply));
    } // the second client drops without CMD_CLOSE
    DWORD start = GetTickCount();
    while (m_Server.GetConnectionCount() && GetTickCount() - start < 15000)
        Sleep(50);
    EXPECT_EQ(m_Server.GetConnectionCount(), 0u);
}

TEST_F(ServerCoreTest, StopEndsTheServerThreadAndClosesTheListeners)
{
    StartOnHost({"127.0.0.1"}, 27306);
    DWORD thread = m_Server.GetThreadId();
    m_Server.Stop();
    EXPECT_FALSE(PostThreadMessageA(thread, TM_REFRESH_LISTENERS, 0, 0));
    LoopbackClient refused("127.0.0.1", 27306);
    EXPECT_FALSE(refused.IsConnected());
}

} // namespace

// The client engine's session on its thread: connect to a server engine by name, the
// status texts and connection events in order, the timing floors, frames announced to the
// main window, failed connects and a link that breaks under an established session.
#include "MainWindowStub.h"
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/TClientCore.h"
#include "net/TImageLink.h"
#include "net/TServerCore.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <string>
#include <vector>

namespace {

using Script = std::vector<std::string>;

const std::string LOOKING = "接続先ｺﾝﾋﾟｭｰﾀを探しています...|1";
const std::string NOT_FOUND = "接続先ｺﾝﾋﾟｭｰﾀが見つかりませんでした。|1";
const std::string FOUND = "接続先ｺﾝﾋﾟｭｰﾀが見つかりました。|1";
const std::string CONNECTING = "接続中です...|1";
const std::string CONNECTED = "接続に成功しました。|-1";
const std::string FAILED = "接続に失敗しました。|-1";
const std::string DISCONNECTING = "切断中です...|1";
const std::string CLEARED = "|-1";

class ClientSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        m_Settings.port = htons(SERVER_PORT);
        m_Client.SetMainWindow(m_Main.GetHandle());
    }

    // Appends a destination and returns its index.
    unsigned long AddTarget(const char* name, const char* address, uint16_t port)
    {
        TDestination record;
        record.displayName = TString(name);
        record.liveAddress.sin_addr.s_addr = inet_addr(address);
        record.liveAddress.sin_port = htons(port);
        m_Client.AddDestination(record);
        return m_Client.GetDestinationCount() - 1;
    }

    // Names other than "nowhere" resolve to 127.0.0.1; only 127.0.0.1 resolves back.
    void UseFakeLookups()
    {
        m_Client.SetHostResolver(THostResolver{[](const char* name, in_addr& address) {
                                                   if (std::string(name) == "nowhere") return 0;
                                                   address.s_addr = inet_addr("127.0.0.1");
                                                   return 1;
                                               },
                                               [](const in_addr& address, TString& name) {
                                                   if (address.s_addr != inet_addr("127.0.0.1"))
                                                       return 0;
                                                   name = TString("loopback");
                                                   return 1;
                                               }});
    }

    void Post(UINT message, WPARAM wParam = 0)
    {
        ASSERT_TRUE(PostThreadMessageA(m_Client.GetThreadId(), message, wParam, 0));
    }

    // The main window's answer to event 4: disconnect, then expect the idle event no
    // sooner than 1500 ms after asking.
    void DisconnectAndExpectIdle()
    {
        m_Main.heard.clear();
        DWORD asked = timeGetTime();
        Post(TM_DISCONNECT);
        DWORD idleAt = 0;
        ASSERT_TRUE(m_Main.WaitForConnectEvent(0, 10000, &idleAt));
        EXPECT_GE(idleAt - asked, 1500u);
        EXPECT_EQ(m_Main.Script(), (Script{DISCONNECTING, CLEARED, "event 0"}));
        EXPECT_EQ(m_Client.GetEventLink(), nullptr);
        EXPECT_EQ(m_Client.GetImageLink(), nullptr);
        EXPECT_EQ(m_Client.GetImage().GetImageBytes(), 0u);
    }

    static constexpr uint16_t SERVER_PORT = 27461;
    static constexpr uint16_t PEER_PORT = 27462;
    static constexpr uint16_t SILENT_PORT = 27463;
    TFernSettings m_Settings;
    MainWindowStub m_Main;
    TServerCore m_Server{m_Settings};
    TClientCore m_Client{m_Settings};
};

TEST_F(ClientSessionTest, ConnectsByNameToAServerEngineAndDisconnects)
{
    if (!InTestNamespace()) GTEST_SKIP() << "needs the host name of the test namespace";
    ASSERT_TRUE(StartLoopbackServer(m_Server));
    // Searched and connected by name: the system lookup of the namespace's host name.
    AddTarget("nobody", "0.0.0.0", SERVER_PORT);
    unsigned long index = AddTarget("fernhost", "0.0.0.0", SERVER_PORT);
    ASSERT_EQ(m_Client.Start(), 1);

    DWORD asked = timeGetTime();
    Post(TM_CONNECT, index);
    DWORD connectedAt = 0;
    ASSERT_TRUE(m_Main.WaitForConnectEvent(2, 10000, &connectedAt));
    EXPECT_GE(connectedAt - asked, 2000u);
    EXPECT_EQ(m_Main.Script(), (Script{LOOKING, FOUND, CONNECTING, CONNECTED, "event 2"}));
    EXPECT_EQ(m_Client.GetSelectedIndex(), static_cast<long>(index));
    ASSERT_NE(m_Client.GetEventLink(), nullptr);
    ASSERT_NE(m_Client.GetImageLink(), nullptr);
    EXPECT_EQ(m_Server.GetConnectionCount(), 2u);
    // The connect resolved a copy: the record keeps its stored 0.0.0.0.
    m_Client.LockList();
    EXPECT_EQ(m_Client.GetDestination(index)->liveAddress.sin_addr.s_addr, 0u);
    m_Client.UnlockList();

    // The first screen-size request went out with the connected event.
    EXPECT_TRUE(PumpUntil(
        [this] {
            SIZE remote = m_Client.GetImage().GetRemoteSize();
            return remote.cx == GetSystemMetrics(SM_CXSCREEN) &&
                   remote.cy == GetSystemMetrics(SM_CYSCREEN);
        },
        5000));

    // Frames the image link receives are expanded on the client thread, which then
    // tells the main window.
    EXPECT_TRUE(PumpUntil(
        [this] {
            TImageLink* link = m_Client.GetImageLink();
            if (link->IsIdle()) PostThreadMessageA(link->GetThreadId(), TM_GET_FRAME, 0, 0);
            for (const HeardMessage& heard : m_Main.heard)
                if (heard.message == UM_IMAGE_READY) return true;
            return false;
        },
        10000));

    DisconnectAndExpectIdle();
    EXPECT_TRUE(PumpUntil([this] { return m_Server.GetConnectionCount() == 0; }, 5000));
}

TEST_F(ClientSessionTest, FailedConnectsReportEachStepAndEndWithTheFailureText)
{
    UseFakeLookups();
    unsigned long unnamed = AddTarget("nowhere", "0.0.0.0", SILENT_PORT);
    unsigned long unknown = AddTarget("anything", "127.0.0.3", SILENT_PORT);
    unsigned long silent = AddTarget("anything", "127.0.0.1", SILENT_PORT);
    unsigned long empty = AddTarget("", "0.0.0.0", SILENT_PORT);
    ASSERT_EQ(m_Client.Start(), 1);

    struct Case {
        const char* what;
        unsigned long index;
        Script script;
    } cases[] = {
        {"index out of range", 4, {"event 4", FAILED}},
        {"no name and no address", empty, {LOOKING, NOT_FOUND, "event 4", FAILED}},
        {"name does not resolve", unnamed, {LOOKING, NOT_FOUND, "event 4", FAILED}},
        {"address does not resolve back", unknown, {LOOKING, NOT_FOUND, "event 4", FAILED}},
        {"nothing listens", silent, {LOOKING, FOUND, CONNECTING, "event 4", FAILED}},
    };
    for (const Case& c : cases) {
        m_Main.heard.clear();
        Post(TM_CONNECT, c.index);
        EXPECT_TRUE(PumpUntil(
            [this] { return !m_Main.Script().empty() && m_Main.Script().back() == FAILED; }, 5000))
            << c.what;
        EXPECT_EQ(m_Main.Script(), c.script) << c.what;
    }
    EXPECT_EQ(m_Client.GetSelectedIndex(), static_cast<long>(silent));
    // The refused links stay until the disconnect that event 4 brings.
    DisconnectAndExpectIdle();
}

TEST_F(ClientSessionTest, APeerThatVanishesBringsEventFourAndTheDisconnect)
{
    UseFakeLookups();
    SOCKET listening = ListenOnLoopback(PEER_PORT);
    unsigned long index = AddTarget("peer", "127.0.0.1", PEER_PORT);
    ASSERT_EQ(m_Client.Start(), 1);
    Post(TM_CONNECT, index);
    SOCKET events = AcceptService(listening);
    SOCKET images = AcceptService(listening);
    closesocket(listening);
    ASSERT_NE(events, INVALID_SOCKET);
    ASSERT_NE(images, INVALID_SOCKET);
    ASSERT_TRUE(m_Main.WaitForConnectEvent(2, 10000));

    // The peer goes away: the image link's screen-size exchange breaks.
    closesocket(events);
    closesocket(images);
    ASSERT_TRUE(m_Main.WaitForConnectEvent(4, 5000));
    EXPECT_EQ(m_Main.Script().back(), "event 4");
    DisconnectAndExpectIdle();
}

} // namespace

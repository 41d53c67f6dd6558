// The main window's part in updates: the operator's command behind its right, and the
// destination's end of a fetch (the update marked pending, the program shut down).
#include "ui/tests/MainWindowHarness.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TDestination.h"
#include "net/tests/NetTestSupport.h"
#include "ui/RightsCheck.h"
#include "ui/tests/DialogPerson.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

// Plays a destination's update-request service for one connection: the payload of the
// request it got, or an empty text when nobody came within the wait.
std::string TakeOneRequest(SOCKET listening, DWORD waitMs)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listening, &ready);
    timeval wait{static_cast<long>(waitMs / 1000), 0};
    if (select(0, &ready, nullptr, nullptr, &wait) != 1) return "";
    SOCKET peer = AcceptService(listening);
    std::string payload;
    PacketHeader header;
    while (peer != INVALID_SOCKET && RecvAll(peer, &header, sizeof(header)) > 0 &&
           header.length <= 256) {
        std::string bytes(header.length, '\0');
        if (header.length && RecvAll(peer, &bytes[0], static_cast<int>(header.length)) < 1) break;
        if (header.command == CMD_UPDATE_REQUEST) payload = bytes;
        ReplyHeader reply{1, 0, 0, 0};
        SendAll(peer, &reply, sizeof(reply));
        if (header.command == CMD_CLOSE) break;
    }
    if (peer != INVALID_SOCKET) closesocket(peer);
    return payload;
}

TEST(MainWindowUpdateTest, UpdateCommandAsksTheDestinationOnlyWithTheRight)
{
    MainWindowHarness harness;
    harness.settings.port = htons(27831);
    ASSERT_TRUE(StartLoopbackServer(harness.server));
    ASSERT_TRUE(harness.Create());
    TDestination destination;
    destination.liveAddress = LoopbackAddress("127.0.0.1", 27832);
    ASSERT_NE(harness.client.AddDestination(destination), nullptr);
    sockaddr_in offered = LoopbackAddress("127.0.0.1", 27831);

    const struct {
        uint32_t rights;
        bool administratorAgrees;
        bool sent;
    } cases[] = {
        {RIGHTS_NOT_IN_USE, false, true},
        {RIGHT_PUSH_UPDATE, false, true},
        {RIGHT_CONNECT, false, false},
        {0, true, true},
    };
    TestAdministrator administrator; // the shell's empty name and password when agreeing
    for (const auto& c : cases) {
        harness.shell.rights = c.rights;
        if (c.administratorAgrees)
            administrator.Accept("", "");
        else
            administrator.Refuse();
        SOCKET listening = ListenOnLoopback(27832);
        std::string request;
        std::thread destinationSide([&] { request = TakeOneRequest(listening, 3000); });
        SendMessageA(harness.Handle(), UM_SEND_UPDATE_REQUEST, 0, 0);
        destinationSide.join();
        closesocket(listening);
        ASSERT_EQ(request.size(), c.sent ? sizeof(offered) : 0u) << std::hex << c.rights;
        if (c.sent) {
            EXPECT_EQ(memcmp(request.data(), &offered, sizeof(offered)), 0);
        }
    }
    EXPECT_EQ(harness.shell.shutDowns, 0);
    harness.server.Stop();
}

TEST(MainWindowUpdateTest, ReceivedUpdateIsMarkedPendingAndShutsTheProgramDown)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    SendMessageA(harness.Handle(), UM_UPDATE_RECEIVED, 0, 0);
    EXPECT_EQ(harness.shell.updatePending, 1);
    EXPECT_EQ(harness.shell.shutDowns, 1);
}

} // namespace

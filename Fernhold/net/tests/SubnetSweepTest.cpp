// The sweep's reach (only this computer's subnets, at most the /24 around each address) and
// its many-at-once connects on loopback, where one scripted copy answers.
#include "net/SubnetSweep.h"

#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

uint32_t Ip(const char* text) { return ntohl(inet_addr(text)); }

TEST(SubnetSweepTest, TargetsAreTheOwnSubnetsAtMostTheirSlash24)
{
    struct Case {
        const char* what;
        std::vector<TAdapterAddress> adapters;
        size_t count;
        uint32_t first;
        uint32_t last;
    } cases[] = {
        {"a /24 without its own address",
         {{Ip("10.254.0.1"), 24}},
         253,
         Ip("10.254.0.2"),
         Ip("10.254.0.254")},
        {"a /16 narrowed to the /24 around the address",
         {{Ip("172.16.5.9"), 16}},
         253,
         Ip("172.16.5.1"),
         Ip("172.16.5.254")},
        {"a /28 keeps to itself",
         {{Ip("192.168.7.18"), 28}},
         13,
         Ip("192.168.7.17"),
         Ip("192.168.7.30")},
        {"loopback, link-local and host routes have no neighbours",
         {{Ip("127.0.0.1"), 8}, {Ip("169.254.3.4"), 16}, {Ip("10.9.9.9"), 32}},
         0,
         0,
         0},
        {"two addresses on one subnet: once, without either",
         {{Ip("10.254.0.1"), 24}, {Ip("10.254.0.7"), 24}},
         252,
         Ip("10.254.0.2"),
         Ip("10.254.0.254")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint32_t> targets = SweepTargets(c.adapters);
        ASSERT_EQ(targets.size(), c.count);
        if (!c.count) continue;
        EXPECT_EQ(targets.front(), c.first);
        EXPECT_EQ(targets.back(), c.last);
        for (const TAdapterAddress& own : c.adapters)
            EXPECT_EQ(std::count(targets.begin(), targets.end(), own.address), 0);
    }
}

TEST(SubnetSweepTest, OnlyHostsThatAnswerTheQuestionAreListedByName)
{
    ASSERT_TRUE(InTestNamespace());
    const uint16_t port = 47311;
    SOCKET listening = ListenOnLoopback(port);
    ASSERT_NE(listening, INVALID_SOCKET);
    // One copy on 127.0.0.1 answers with one MAC address; 127.0.0.3 and .4 have nobody.
    std::thread copy([listening] {
        SOCKET peer = accept(listening, nullptr, nullptr);
        const char mac[6] = {2, 0, 0, 0, 0, 7};
        send(peer, mac, sizeof(mac), 0);
        closesocket(peer);
    });
    TMacQuery query = [](SOCKET s, std::vector<MacAddress>& macs) {
        MacAddress mac{};
        if (recv(s, reinterpret_cast<char*>(mac.data()), 6, MSG_WAITALL) != 6) return false;
        macs.push_back(mac);
        return true;
    };
    TAddressLookup lookup = [](const in_addr& address, TString& name) {
        if (address.s_addr != inet_addr("127.0.0.1")) return 0;
        name = TString("fernhost");
        return 1;
    };
    std::vector<TSweptHost> hosts =
        SweepForCopies({Ip("127.0.0.1"), Ip("127.0.0.3"), Ip("127.0.0.4")}, htons(port), 700, 1000,
                       query, lookup, nullptr);
    copy.join();
    closesocket(listening);
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].address.s_addr, inet_addr("127.0.0.1"));
    EXPECT_STREQ(static_cast<char*>(hosts[0].name), "fernhost");
    ASSERT_EQ(hosts[0].macs.size(), 1u);
    EXPECT_EQ(hosts[0].macs[0][5], 7);

    // A stop before the sweep starts visits nobody.
    std::atomic<uint32_t> stop{1};
    EXPECT_TRUE(
        SweepForCopies({Ip("127.0.0.1")}, htons(port), 700, 1000, query, lookup, &stop).empty());
}
} // namespace

// The update services on the wire: version answers, the description and the listed
// files with their go word, the refusals that keep the operator's other files private,
// and the update request reaching the main window.
#include "NetTestSupport.h"
#include "MainWindowStub.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/TListener.h"
#include "net/TUpdateInbox.h"

#include "../../../Ledgerkit/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char DESCRIPTION[] = "[UPDATEINFO]\r\nFileVersion=5\r\nAllFileCount=5\r\n"
                           "[DESFILE]\r\nFILE_0=a.dll\r\nFILE_1=Resource\\b.bmp\r\n"
                           "FILE_2=missing.dll\r\nFILE_3=..\\secret.txt\r\nFILE_4=big.bin\r\n"
                           "[SRCFILE]\r\nFILE_0=UpdateFiles\\a.dll\r\n";

// A program folder with its description, two shipped files and, beside the folder, a
// file no peer may read.
class UpdateServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Root.MakeFolder("program");
        m_Root.MakeFolder("program\\Resource");
        m_Root.Write("secret.txt", "operator's secret");
        m_Root.Write("program\\Update.ini", DESCRIPTION);
        m_Root.Write("program\\a.dll", "contents of a");
        m_Root.Write("program\\Resource\\b.bmp", std::string(70000, 'b'));
        m_Root.Write("program\\unlisted.txt", "not shipped");
        GetCurrentDirectoryA(sizeof(m_Previous), m_Previous);
        SetCurrentDirectoryA((m_Root.Path() + "program").c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_Previous); }

    void Listen(uint16_t port)
    {
        m_Port = port;
        ASSERT_EQ(m_Listener.Start(inet_addr("127.0.0.1"), htons(port)), 1);
    }

    // One request with its parameters and an optional payload.
    static bool Ask(LoopbackClient& client, const PacketHeader& header, ReplyHeader& reply,
                    const void* payload = nullptr)
    {
        return client.SendBytes(&header, sizeof(header)) &&
               (!header.length || client.SendBytes(payload, static_cast<int>(header.length))) &&
               client.ReadReply(reply);
    }

    // CMD_UPDATE_GET_FILE for name (its zero included), then the go word and the data;
    // "<refused>" for the failure reply.
    static std::string Fetch(LoopbackClient& client, const std::string& name)
    {
        PacketHeader header{CMD_UPDATE_GET_FILE, static_cast<uint32_t>(name.size() + 1), 0, 0};
        ReplyHeader reply{};
        if (!Ask(client, header, reply, name.c_str())) return "<broken>";
        return Receive(client, reply);
    }

    static std::string Receive(LoopbackClient& client, const ReplyHeader& reply)
    {
        if (reply.ok != 1) return reply.length || reply.value1 ? "<bad refusal>" : "<refused>";
        std::string data(reply.length, '\0');
        const unsigned char go[4] = {0, 0, 0, 1};
        if (reply.length &&
            (!client.SendBytes(go, 4) || !client.Receive(&data[0], static_cast<int>(reply.length))))
            return "<broken>";
        return data;
    }

    TempFolder m_Root;
    char m_Previous[MAX_PATH] = "";
    TFernSettings m_Settings;
    TUpdateInbox m_Inbox;
    TListener m_Listener{m_Settings, 0, nullptr, nullptr, &m_Inbox};
    uint16_t m_Port = 0;
};

TEST_F(UpdateServiceTest, VersionIsNewerOnlyWhenTheServersIsHigher)
{
    Listen(27801);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_UPDATE), SERVICE_ACCEPTED_WORD);
    const struct {
        uint32_t requester;
        uint32_t ok;
    } cases[] = {{0, 1}, {4, 1}, {5, 0}, {6, 0}, {0xFFFFFFFF, 0}};
    for (const auto& c : cases) {
        ReplyHeader reply{};
        ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_VERSION, 0, c.requester, 0}, reply));
        EXPECT_EQ(reply.ok, c.ok) << c.requester;
        EXPECT_EQ(reply.length, 0u);
    }
    // Without a description the server's version counts as 0.
    DeleteFileA("Update.ini");
    ReplyHeader reply{};
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_VERSION, 0, 0, 0}, reply));
    EXPECT_EQ(reply.ok, 0u);
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_INI, 0, 0, 0}, reply));
    EXPECT_EQ(Receive(client, reply), "<refused>");
}

TEST_F(UpdateServiceTest, DescriptionAndListedFilesArriveWhole)
{
    Listen(27802);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_UPDATE), SERVICE_ACCEPTED_WORD);
    ReplyHeader reply{};
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_INI, 0, 0, 0}, reply));
    EXPECT_EQ(Receive(client, reply), DESCRIPTION);
    EXPECT_EQ(Fetch(client, "a.dll"), "contents of a");
    EXPECT_EQ(Fetch(client, "Resource\\b.bmp"), std::string(70000, 'b'));
    EXPECT_EQ(Fetch(client, "missing.dll"), "<refused>");

    // A go word of 0 declines: nothing follows, and the next request is understood.
    std::string name = "a.dll";
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_FILE, 6, 0, 0}, reply, name.c_str()));
    ASSERT_EQ(reply.length, 13u);
    uint32_t decline = 0;
    ASSERT_TRUE(client.SendBytes(&decline, 4));
    EXPECT_EQ(Fetch(client, "a.dll"), "contents of a");
}

TEST_F(UpdateServiceTest, PathsOutsideTheShippedFilesAreRefused)
{
    Listen(27803);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_UPDATE), SERVICE_ACCEPTED_WORD);
    std::string absolute = m_Root.Path() + "secret.txt";
    const std::string refused[] = {
        "..\\secret.txt", // listed, but outside the program folder
        absolute,
        "unlisted.txt",
        "Update.ini",
        "A.DLL", // names are served exactly as listed
        "\\\\127.0.0.1\\c$\\secret.txt",
        "C:..\\secret.txt",
        "",
    };
    for (const std::string& name : refused)
        EXPECT_EQ(Fetch(client, name), "<refused>") << name;

    // A name without its zero, and one longer than any stored payload.
    ReplyHeader reply{};
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_FILE, 5, 0, 0}, reply, "a.dll"));
    EXPECT_EQ(reply.ok, 0u);
    std::string longName(299, 'a');
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_FILE, 300, 0, 0}, reply, longName.c_str()));
    EXPECT_EQ(reply.ok, 0u);
    EXPECT_EQ(Fetch(client, "a.dll"), "contents of a") << "the connection goes on";
}

TEST_F(UpdateServiceTest, OversizedFilesAndDescriptionsAreRefused)
{
    // Sparse: the length is what counts, not the bytes on disk.
    HANDLE big = CreateFileA("big.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(big, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 256LL * 1024 * 1024 + 1;
    SetFilePointerEx(big, end, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
    Listen(27804);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_UPDATE), SERVICE_ACCEPTED_WORD);
    EXPECT_EQ(Fetch(client, "big.bin"), "<refused>");

    m_Root.Write("program\\Update.ini",
                 std::string(DESCRIPTION) + ";" + std::string(1024 * 1024, 'x') + "\r\n");
    ReplyHeader reply{};
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_GET_INI, 0, 0, 0}, reply));
    EXPECT_EQ(Receive(client, reply), "<refused>");
    EXPECT_EQ(Fetch(client, "a.dll"), "contents of a");
}

TEST_F(UpdateServiceTest, UpdateRequestReachesTheMainWindowWithItsAddress)
{
    MainWindowStub window;
    m_Inbox.SetMainWindow(window.GetHandle());
    Listen(27805);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_UPDATE_REQUEST), SERVICE_ACCEPTED_WORD);

    sockaddr_in malformed[3] = {};
    malformed[0] = LoopbackAddress("127.0.0.9", 5483);
    malformed[0].sin_family = 0;
    malformed[1] = LoopbackAddress("0.0.0.0", 5483);
    malformed[2] = LoopbackAddress("127.0.0.9", 0);
    ReplyHeader reply{};
    for (const sockaddr_in& address : malformed) {
        ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_REQUEST, 16, 0, 0}, reply, &address));
        EXPECT_EQ(reply.ok, 0u);
    }
    sockaddr_in source = LoopbackAddress("127.0.0.9", 5484);
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_REQUEST, 15, 0, 0}, reply, &source));
    EXPECT_EQ(reply.ok, 0u) << "a short address";
    EXPECT_EQ(m_Inbox.GetSource().sin_addr.s_addr, 0u);

    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_REQUEST, 16, 0, 0}, reply, &source));
    EXPECT_EQ(reply.ok, 1u);
    EXPECT_TRUE(PumpUntil(
        [&] {
            for (const HeardMessage& heard : window.heard)
                if (heard.message == UM_UPDATE_REQUESTED) return true;
            return false;
        },
        5000));
    sockaddr_in stored = m_Inbox.GetSource();
    EXPECT_EQ(memcmp(&stored, &source, sizeof(source)), 0);

    // Commands of the other update service are not this one's.
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_UPDATE_VERSION, 0, 0, 0}, reply));
    EXPECT_EQ(reply.ok, 0u);
    ASSERT_TRUE(Ask(client, PacketHeader{CMD_CLOSE, 0, 0, 0}, reply));
    EXPECT_EQ(reply.ok, 1u);
    EXPECT_TRUE(client.WaitClosed(5000));
}

} // namespace

// The destination's fetch against a scripted operator on loopback: what is staged, the
// go word, the end it reports, and a hostile operator that names paths outside the
// program folder, cuts transfers or announces more than any bound.
#include "MainWindowStub.h"
#include "NetTestSupport.h"

#include "net/MainWindowMessages.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TUpdateLink.h"

#include "../../../Ledgerkit/tests/TempFolder.h"

#include <FRNUpdate/UpdateDescription.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

// Plays the operator's update service from a script, one connection, and keeps what
// the fetching side sent.
struct ScriptedOperator {
    uint32_t versionOk = 1;
    bool haveDescription = true;
    std::string description;
    // Served names and their contents; a name not here gets the failure reply.
    std::map<std::string, std::string> files;
    // A name whose announced length is replaced, and one whose data is cut in half.
    std::string oversizedName;
    uint32_t oversizedLength = 0;
    std::string cutName;
    bool cutDescription = false;
    uint32_t descriptionLength = 0; // 0: the description's own length

    // What arrived.
    uint32_t askedVersion = 0xFFFFFFFF;
    std::vector<std::string> askedNames;
    std::vector<std::string> goWords;

    void Serve(SOCKET listening)
    {
        SOCKET peer = AcceptService(listening);
        if (peer == INVALID_SOCKET) return;
        for (;;) {
            PacketHeader header;
            if (RecvAll(peer, &header, sizeof(header)) < 1) break;
            std::string payload(header.length, '\0');
            if (header.length && RecvAll(peer, &payload[0], static_cast<int>(header.length)) < 1)
                break;
            if (header.command == CMD_CLOSE) {
                Reply(peer, 1, 0);
                break;
            }
            if (header.command == CMD_UPDATE_VERSION) {
                askedVersion = header.param1;
                Reply(peer, versionOk, 0);
            } else if (header.command == CMD_UPDATE_GET_INI) {
                if (!haveDescription) {
                    Reply(peer, 0, 0);
                    continue;
                }
                uint32_t length = descriptionLength ? descriptionLength
                                                    : static_cast<uint32_t>(description.size());
                if (!Bulk(peer, description, length, cutDescription)) break;
            } else if (header.command == CMD_UPDATE_GET_FILE) {
                std::string name = payload.c_str();
                askedNames.push_back(name);
                auto file = files.find(name);
                if (file == files.end()) {
                    Reply(peer, 0, 0);
                    continue;
                }
                uint32_t length = name == oversizedName
                                      ? oversizedLength
                                      : static_cast<uint32_t>(file->second.size());
                if (!Bulk(peer, file->second, length, name == cutName)) break;
            } else {
                Reply(peer, 0, 0);
            }
        }
        closesocket(peer);
    }

    static void Reply(SOCKET peer, uint32_t ok, uint32_t length)
    {
        ReplyHeader reply{ok, length, 0, 0};
        SendAll(peer, &reply, sizeof(reply));
    }

    // Announces length, takes the go word, sends the data (half of it when cut, then
    // ends the connection). False when the connection is to end.
    bool Bulk(SOCKET peer, const std::string& data, uint32_t length, bool cut)
    {
        Reply(peer, 1, length);
        unsigned char go[4];
        if (RecvAll(peer, go, 4) < 1) return false;
        goWords.push_back(std::string(reinterpret_cast<char*>(go), 4));
        if (cut) {
            SendAll(peer, data.data(), static_cast<int>(data.size() / 2));
            return false;
        }
        if (length != data.size()) return false; // an announcement it cannot keep
        return SendAll(peer, data.data(), static_cast<int>(data.size())) > 0 || data.empty();
    }
};

const std::string GO_WORD("\0\0\0\x01", 4);

std::string Description(uint32_t version,
                        const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string text = "[UPDATEINFO]\r\nFileVersion=" + std::to_string(version) +
                       "\r\nAllFileCount=" + std::to_string(entries.size()) + "\r\n[DESFILE]\r\n";
    for (size_t i = 0; i < entries.size(); ++i)
        text += "FILE_" + std::to_string(i) + "=" + entries[i].first + "\r\n";
    text += "[SRCFILE]\r\n";
    for (size_t i = 0; i < entries.size(); ++i)
        text += "FILE_" + std::to_string(i) + "=" + entries[i].second + "\r\n";
    return text;
}

enum class FetchEnd { Received, Lost, Nothing };

class UpdateLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Root.MakeFolder("program");
        m_Root.Write("program\\Update.ini", "[UPDATEINFO]\r\nFileVersion=1\r\n");
        GetCurrentDirectoryA(sizeof(m_Previous), m_Previous);
        SetCurrentDirectoryA((m_Root.Path() + "program").c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_Previous); }

    // One fetch against the script; how it ended (UM_UPDATE_RECEIVED to the window or
    // TM_LINK_LOST to this thread, the client thread's stand-in).
    FetchEnd Fetch(ScriptedOperator& script, uint16_t port)
    {
        SOCKET listening = ListenOnLoopback(port);
        std::thread server([&] { script.Serve(listening); });
        MainWindowStub window;
        FetchEnd end = FetchEnd::Nothing;
        {
            TFernSettings settings;
            TUpdateLink link(settings, GetCurrentThreadId(), window.GetHandle());
            EXPECT_EQ(link.Connect(LoopbackAddress("127.0.0.1", port)), 1);
            PostThreadMessageA(link.GetThreadId(), TM_UPDATE_START, 0, 0);
            DWORD start = GetTickCount();
            while (end == FetchEnd::Nothing && GetTickCount() - start < 20000) {
                MSG message;
                if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                    continue;
                }
                if (!message.hwnd && message.message == TM_LINK_LOST) end = FetchEnd::Lost;
                DispatchMessageA(&message);
                for (const HeardMessage& heard : window.heard)
                    if (heard.message == UM_UPDATE_RECEIVED) end = FetchEnd::Received;
            }
            link.WaitUntilEnded();
        }
        server.join();
        closesocket(listening);
        return end;
    }

    // Everything in the root beside the program folder: nothing may be written there.
    std::vector<std::string> Outside() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_Root.Path() + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != ".." && name != "program") names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    bool Staged(const std::string& name) const
    {
        return m_Root.Exists("program\\UpdateFiles\\" + name);
    }

    TempFolder m_Root;
    char m_Previous[MAX_PATH] = "";
};

TEST_F(UpdateLinkTest, NewerVersionStagesTheListedFilesTheOperatorHas)
{
    ScriptedOperator script;
    script.description = Description(2, {{"a.dll", "UpdateFiles\\a.dll"},
                                         {"missing.dll", "UpdateFiles\\missing.dll"},
                                         {"Resource\\c.bmp", "UpdateFiles\\Resource\\c.bmp"}});
    script.files = {{"a.dll", "new a"}, {"Resource\\c.bmp", std::string(300000, 'c')}};
    EXPECT_EQ(Fetch(script, 27811), FetchEnd::Received);
    EXPECT_EQ(script.askedVersion, 1u);
    EXPECT_EQ(script.askedNames,
              (std::vector<std::string>{"a.dll", "missing.dll", "Resource\\c.bmp"}));
    EXPECT_EQ(script.goWords, std::vector<std::string>(3, GO_WORD)) << "description and two files";
    EXPECT_EQ(m_Root.Read("program\\UpdateFiles\\a.dll"), "new a");
    EXPECT_EQ(m_Root.Read("program\\UpdateFiles\\Resource\\c.bmp"), std::string(300000, 'c'));
    EXPECT_FALSE(Staged("missing.dll"));
    EXPECT_EQ(m_Root.Read("program\\UpdateFiles\\Update.ini"), script.description);
    EXPECT_EQ(ReadDescriptionVersion(INSTALLED_DESCRIPTION), 1u) << "installing is the updater's";
}

TEST_F(UpdateLinkTest, VersionNotNewerFetchesNothingAndMakesNoFolder)
{
    ScriptedOperator script;
    script.versionOk = 0;
    EXPECT_EQ(Fetch(script, 27812), FetchEnd::Lost);
    EXPECT_TRUE(script.askedNames.empty());
    EXPECT_TRUE(script.goWords.empty());
    EXPECT_FALSE(m_Root.Exists("program\\UpdateFiles"));
}

TEST_F(UpdateLinkTest, EmptyFileListStillEndsAsReceived)
{
    ScriptedOperator script;
    script.description = Description(2, {});
    EXPECT_EQ(Fetch(script, 27813), FetchEnd::Received);
    EXPECT_EQ(m_Root.Read("program\\UpdateFiles\\Update.ini"), script.description);
}

TEST_F(UpdateLinkTest, PathsOutsideTheFoldersAreNeitherAskedForNorWritten)
{
    ScriptedOperator script;
    script.description = Description(2, {{"..\\evil.dll", "UpdateFiles\\evil.dll"},
                                         {"a.dll", "..\\evil.dll"},
                                         {"b.dll", "UpdateFiles\\..\\..\\evil.dll"},
                                         {"c.dll", "C:\\evil.dll"},
                                         {"d.dll", "d.dll"},
                                         {"e.dll", "UpdateFiles\\Update.ini"},
                                         {"f.dll", "UpdateFiles\\f.dll"}});
    for (const char* name : {"..\\evil.dll", "a.dll", "b.dll", "c.dll", "d.dll", "e.dll", "f.dll"})
        script.files[name] = "evil";
    EXPECT_EQ(Fetch(script, 27814), FetchEnd::Received);
    EXPECT_EQ(script.askedNames, std::vector<std::string>{"f.dll"});
    EXPECT_TRUE(Outside().empty());
    EXPECT_FALSE(m_Root.Exists("program\\d.dll"));
    EXPECT_EQ(m_Root.Read("program\\UpdateFiles\\Update.ini"), script.description);
}

// Broken or bounded fetches: nothing staged for the broken file, no description left
// for the updater, and the end reported as for a refused version.
TEST_F(UpdateLinkTest, HostileOperatorLeavesNothingToInstall)
{
    const std::string good =
        Description(2, {{"a.dll", "UpdateFiles\\a.dll"}, {"b.dll", "UpdateFiles\\b.dll"}});
    struct Case {
        const char* what;
        void (*script)(ScriptedOperator&);
    };
    const Case cases[] = {
        {"file cut in the middle", [](ScriptedOperator& s) { s.cutName = "b.dll"; }},
        {"description cut in the middle", [](ScriptedOperator& s) { s.cutDescription = true; }},
        {"file announced beyond 256 MiB",
         [](ScriptedOperator& s) {
             s.oversizedName = "b.dll";
             s.oversizedLength = MAX_UPDATE_FILE_BYTES + 1;
         }},
        {"description announced beyond 1 MiB",
         [](ScriptedOperator& s) { s.descriptionLength = MAX_DESCRIPTION_BYTES + 1; }},
        {"more than 10 000 files",
         [](ScriptedOperator& s) {
             s.description = "[UPDATEINFO]\r\nFileVersion=2\r\nAllFileCount=10001\r\n";
         }},
        {"description not newer than the version claimed",
         [](ScriptedOperator& s) {
             s.description = Description(1, {{"a.dll", "UpdateFiles\\a.dll"}});
         }},
        {"no description after a newer version",
         [](ScriptedOperator& s) { s.haveDescription = false; }},
    };
    uint16_t port = 27820;
    for (const Case& c : cases) {
        // What an earlier fetch left must not count for this one.
        CreateDirectoryA("UpdateFiles", nullptr);
        m_Root.Write("program\\UpdateFiles\\Update.ini", good);
        ScriptedOperator script;
        script.description = good;
        script.files = {{"a.dll", "new a"}, {"b.dll", std::string(200000, 'b')}};
        c.script(script);
        EXPECT_EQ(Fetch(script, port++), FetchEnd::Lost) << c.what;
        EXPECT_FALSE(Staged("b.dll")) << c.what;
        EXPECT_FALSE(Staged("Update.ini")) << c.what;
        EXPECT_FALSE(Staged("Update.ini.new")) << c.what;
        EXPECT_TRUE(Outside().empty()) << c.what;
        DeleteFileA("UpdateFiles\\a.dll");
    }
}

} // namespace

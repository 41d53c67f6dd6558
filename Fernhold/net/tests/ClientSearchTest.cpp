// The client engine's background search and its list: back-off after failures, the
// round-robin tick with its limit, what a search fills in, stopping with searches under
// way, a list opened record by record, and copies made by AddDestination. The test
// thread plays the client thread and calls the engine's client-thread operations.
#include "MainWindowStub.h"
#include "NetTestSupport.h"

#include "net/TClientCore.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace {

// Lookups the test steers: names resolve to 127.0.0.1 while `succeed` holds, only the
// addresses in `reverse` resolve back; while `gate` is closed every name lookup waits.
class FakeLookups {
public:
    FakeLookups() : m_Gate(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}
    ~FakeLookups() { CloseHandle(m_Gate); }

    THostResolver Resolver()
    {
        return THostResolver{[this](const char* name, in_addr& address) {
                                 WaitForSingleObject(m_Gate, 10000);
                                 {
                                     std::lock_guard<std::mutex> lock(m_Lock);
                                     m_Asked.insert(name);
                                 }
                                 if (!succeed) return 0;
                                 address.s_addr = inet_addr("127.0.0.1");
                                 return 1;
                             },
                             [this](const in_addr& address, TString& name) {
                                 if (address.s_addr != inet_addr("127.0.0.5")) return 0;
                                 name = TString("fivehost");
                                 return 1;
                             }};
    }
    void Close() { ResetEvent(m_Gate); }
    void Open() { SetEvent(m_Gate); }
    std::set<std::string> Asked()
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Asked;
    }

    std::atomic<bool> succeed{false};

private:
    HANDLE m_Gate;
    std::mutex m_Lock;
    std::set<std::string> m_Asked;
};

class ClientSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Client.SetMainWindow(m_Main.GetHandle());
        m_Client.SetHostResolver(m_Lookups.Resolver());
    }

    TDestination* Add(const char* name, const char* address = "0.0.0.0")
    {
        TDestination record;
        record.displayName = TString(name);
        record.liveAddress.sin_addr.s_addr = inet_addr(address);
        return m_Client.AddDestination(record);
    }

    // StartSearch as SearchTick calls it; true when it made a search thread (the
    // record had none left over: every earlier one was finished).
    bool StartSearch(TDestination* destination)
    {
        m_Client.LockList();
        m_Client.StartSearch(destination);
        bool started = destination->worker.GetHandle() != nullptr;
        m_Client.UnlockList();
        return started;
    }

    // Waits for the search thread of the record to end.
    static void Finish(TDestination* destination) { ASSERT_EQ(destination->worker.Join(10000), 1); }

    // The indices of the records whose search thread runs.
    std::set<unsigned long> Running()
    {
        std::set<unsigned long> running;
        m_Client.LockList();
        for (unsigned long i = 0; i < m_Client.GetDestinationCount(); ++i)
            if (m_Client.GetDestination(i)->worker.IsRunning()) running.insert(i);
        m_Client.UnlockList();
        return running;
    }

    void FinishAll()
    {
        m_Client.LockList();
        unsigned long count = m_Client.GetDestinationCount();
        m_Client.UnlockList();
        for (unsigned long i = 0; i < count; ++i)
            Finish(m_Client.GetDestination(i));
    }

    TFernSettings m_Settings;
    MainWindowStub m_Main;
    FakeLookups m_Lookups;
    TClientCore m_Client{m_Settings};
};

TEST_F(ClientSearchTest, FailuresBackOffOneFiveTenThenSixtySecondsAndASuccessResets)
{
    TDestination* target = Add("flaky");
    target->searchesLeft = SEARCHES_WITHOUT_END;
    ASSERT_TRUE(StartSearch(target));
    Finish(target);
    ASSERT_EQ(target->searchState, SEARCH_NOT_FOUND);
    ASSERT_EQ(target->failureCount, 1u);

    // Wait after the failure count reached by the previous search.
    const DWORD waits[] = {1000, 5000, 10000, 60000, 60000};
    for (uint32_t failures = 1; failures <= 5; ++failures) {
        DWORD wait = waits[failures - 1];
        target->lastSearchTime = timeGetTime() - (wait - 300);
        EXPECT_FALSE(StartSearch(target)) << failures << " failures";
        target->lastSearchTime = timeGetTime() - (wait + 5);
        ASSERT_TRUE(StartSearch(target)) << failures << " failures";
        Finish(target);
        EXPECT_EQ(target->failureCount, failures + 1);
    }

    // One success clears the count; a found record rests 60 s, then fails with 1 s.
    m_Lookups.succeed = true;
    target->lastSearchTime = timeGetTime() - 60005;
    ASSERT_TRUE(StartSearch(target));
    Finish(target);
    EXPECT_EQ(target->searchState, SEARCH_FOUND);
    EXPECT_EQ(target->failureCount, 0u);
    target->lastSearchTime = timeGetTime() - 59700;
    EXPECT_FALSE(StartSearch(target));
    m_Lookups.succeed = false;
    target->lastSearchTime = timeGetTime() - 60005;
    ASSERT_TRUE(StartSearch(target));
    Finish(target);
    EXPECT_EQ(target->failureCount, 1u);
    target->lastSearchTime = timeGetTime() - 1005;
    EXPECT_TRUE(StartSearch(target));
    Finish(target);
}

TEST_F(ClientSearchTest, BusyRecordsAndSpentSearchesAreLeftAloneAndCountsGoDown)
{
    TDestination* busy = Add("busy");
    busy->searchesLeft = SEARCHES_WITHOUT_END;
    busy->busy = 1;
    TDestination* spent = Add("spent");
    TDestination* twice = Add("twice");
    twice->searchesLeft = 2;
    EXPECT_FALSE(StartSearch(busy));
    EXPECT_FALSE(StartSearch(spent));
    m_Lookups.Close();
    ASSERT_TRUE(StartSearch(twice));
    EXPECT_EQ(twice->searchesLeft, 1u);
    // A record whose thread still runs gets no second one.
    StartSearch(twice);
    EXPECT_EQ(twice->searchesLeft, 1u);
    m_Lookups.Open();
    Finish(twice);
    EXPECT_TRUE(m_Lookups.Asked() == std::set<std::string>{"twice"});
}

TEST_F(ClientSearchTest, TickStartsAtMostTheLimitTakingTheRecordsAfterTheCursor)
{
    for (int i = 0; i < 10; ++i)
        Add(("host" + std::to_string(i)).c_str());
    m_Settings.simultaneousSearches = 4;
    m_Lookups.succeed = true;

    m_Lookups.Close();
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{0, 1, 2, 3}));
    // Four still run: the next tick starts nothing.
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{0, 1, 2, 3}));
    m_Lookups.Open();
    FinishAll();

    m_Lookups.Close();
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{4, 5, 6, 7}));
    m_Lookups.Open();
    FinishAll();
    // Wrapping round: 8 and 9 start, 0 and 1 were found a moment ago and rest.
    m_Lookups.Close();
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{8, 9}));
    m_Lookups.Open();
    FinishAll();
    EXPECT_EQ(m_Lookups.Asked().size(), 10u);

    // A load starts the round over at the first record.
    std::string path = FreshTempPath("fern-search-tick.clf");
    ASSERT_EQ(m_Client.SaveListFile(path.c_str()), 1);
    ASSERT_EQ(m_Client.LoadListFile(path.c_str()), 1);
    DeleteFileA(path.c_str());
    m_Lookups.Close();
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{0, 1, 2, 3}));
    m_Lookups.Open();
    FinishAll();

    // With searching switched off, a reset stops every record from being searched.
    m_Settings.searchFlags = 0;
    m_Client.ResetSearch();
    m_Client.SearchTick();
    EXPECT_TRUE(Running().empty());
    m_Client.LockList();
    for (unsigned long i = 0; i < m_Client.GetDestinationCount(); ++i)
        EXPECT_EQ(m_Client.GetDestination(i)->searchesLeft, 0u) << i;
    m_Client.UnlockList();
    m_Settings.searchFlags = 1;
    m_Client.ResetSearch();
    EXPECT_EQ(m_Client.GetDestination(9)->searchesLeft, SEARCHES_WITHOUT_END);
}

TEST_F(ClientSearchTest, StopWaitsForTheSearchesItsRecordsRunAndEndsTheThread)
{
    for (int i = 0; i < 3; ++i)
        Add(("host" + std::to_string(i)).c_str());
    ASSERT_EQ(m_Client.Start(), 1);
    m_Lookups.Close();
    m_Client.SearchTick();
    ASSERT_EQ(Running().size(), 3u);
    // The searches end only after Stop has begun; each then needs the list lock.
    std::thread opener([this] {
        Sleep(300);
        m_Lookups.Open();
    });
    HANDLE stopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread stopper([this, stopped] {
        m_Client.Stop();
        SetEvent(stopped);
    });
    bool ended = WaitForSingleObject(stopped, 10000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "Stop did not return";
    if (!ended) m_Lookups.Open();
    opener.join();
    stopper.join();
    CloseHandle(stopped);
    EXPECT_EQ(m_Client.GetDestinationCount(), 0u);
    EXPECT_EQ(m_Client.GetThreadId(), 0u);
}

TEST_F(ClientSearchTest, ASearchFillsInWhatResolved)
{
    m_Lookups.succeed = true;
    struct Case {
        const char* name;
        const char* address;
        uint16_t state;
        const char* displayAfter;
        const char* addressAfter;
    } cases[] = {
        // A record at 0.0.0.0 takes the address its name resolves to.
        {"named", "0.0.0.0", SEARCH_FOUND, "named", "127.0.0.1"},
        // Both resolve: the address stays.
        {"both", "127.0.0.5", SEARCH_FOUND, "both", "127.0.0.5"},
        // Only the address resolves back: the display name becomes the host's name.
        {"", "127.0.0.5", SEARCH_FOUND, "fivehost", "127.0.0.5"},
        // Nothing resolves.
        {"", "127.0.0.6", SEARCH_NOT_FOUND, "", "127.0.0.6"},
    };
    for (const Case& c : cases) {
        TDestination* target = Add(c.name, c.address);
        target->searchesLeft = 1;
        ASSERT_TRUE(StartSearch(target)) << c.name;
        Finish(target);
        EXPECT_EQ(target->searchState, c.state) << c.name;
        EXPECT_EQ(target->displayName.StringCmp(c.displayAfter), 1) << c.name;
        EXPECT_EQ(target->liveAddress.sin_addr.s_addr, inet_addr(c.addressAfter)) << c.name;
        EXPECT_EQ(target->searchesLeft, 0u) << c.name;
        // Searching, then the result.
        EXPECT_TRUE(PumpUntil([&] { return m_Main.EntryChanges(target) == 3; }, 2000))
            << c.name << ": added, searching, result";
    }
}

TEST_F(ClientSearchTest, ARecordAtNoAddressIsFoundByTheSystemLookupOfItsName)
{
    if (!InTestNamespace()) GTEST_SKIP() << "needs the host name of the test namespace";
    m_Client.SetHostResolver(SystemHostResolver());
    TDestination* target = Add("fernhost");
    target->searchesLeft = SEARCHES_WITHOUT_END;
    ASSERT_TRUE(StartSearch(target));
    Finish(target);
    EXPECT_EQ(target->searchState, SEARCH_FOUND);
    in_addr found = target->liveAddress.sin_addr;
    EXPECT_TRUE(found.s_addr == inet_addr("127.0.0.1") || found.s_addr == inet_addr("127.0.0.2"));
    EXPECT_EQ(target->liveAddress.sin_port, htons(5483));
}

TEST_F(ClientSearchTest, AnOpenedListArrivesRecordByRecord)
{
    std::string path = FreshTempPath("fern-opened-list.clf");
    {
        TClientCore saver(m_Settings);
        for (const char* name : {"one", "two", "three"}) {
            TDestination record;
            record.computerName = TString(name);
            saver.AddDestination(record);
        }
        ASSERT_EQ(saver.SaveListFile(path.c_str()), 1);
    }
    // One search a tick: the first tick moves the cursor to the first old record.
    m_Settings.simultaneousSearches = 1;
    Add("old");
    Add("older");
    m_Client.SearchTick();
    FinishAll();
    PumpUntil([] { return false; }, 100);
    m_Main.heard.clear();

    m_Client.OpenListFile(path.c_str());
    PumpUntil([this] { return m_Main.heard.size() >= 5; }, 2000);
    ASSERT_EQ(m_Client.GetDestinationCount(), 3u);
    ASSERT_EQ(m_Main.heard.size(), 5u);
    EXPECT_EQ(m_Main.heard[0].message, UM_STATUS_TEXT);
    EXPECT_EQ(m_Main.heard[0].text, "接続先ﾘｽﾄを読み込んでいます...");
    EXPECT_EQ(m_Main.heard[0].lParam, 1);
    for (unsigned long i = 0; i < 3; ++i) {
        EXPECT_EQ(m_Main.heard[1 + i].message, UM_ENTRY_CHANGED);
        EXPECT_EQ(m_Main.heard[1 + i].lParam, static_cast<LPARAM>(m_Client.GetDestination(i)->id));
    }
    EXPECT_EQ(m_Main.heard[4].message, UM_STATUS_TEXT);
    EXPECT_EQ(m_Main.heard[4].text, "");
    EXPECT_EQ(m_Main.heard[4].lParam, -1);
    EXPECT_EQ(m_Client.GetDestination(2)->displayName.StringCmp("three"), 1);
    // The search round starts over at the first opened record.
    m_Lookups.Close();
    m_Client.SearchTick();
    EXPECT_EQ(Running(), (std::set<unsigned long>{0}));
    m_Lookups.Open();
    FinishAll();

    // A file of another kind empties the list and leaves the loading text shown.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "LCNF", 4, &written, nullptr);
    CloseHandle(file);
    PumpUntil([] { return false; }, 100);
    m_Main.heard.clear();
    m_Client.OpenListFile(path.c_str());
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(m_Client.GetDestinationCount(), 0u);
    EXPECT_EQ(m_Main.Script(), (std::vector<std::string>{"接続先ﾘｽﾄを読み込んでいます...|1"}));
    DeleteFileA(path.c_str());
}

TEST_F(ClientSearchTest, AddedRecordsAreIndependentCopies)
{
    const unsigned char macA[6] = {1, 2, 3, 4, 5, 6};
    const unsigned char macB[6] = {0xF0, 0xE0, 0xD0, 0xC0, 0xB0, 0xA0};
    TDestination source;
    source.displayName = TString("shown");
    source.computerName = TString("registered");
    source.liveAddress.sin_addr.s_addr = inet_addr("127.0.0.7");
    source.storedAddress.sin_port = htons(6001);
    source.AddMac(macA);
    source.AddMac(macB);
    source.searchState = SEARCH_SEARCHING;
    source.failureCount = 2;
    source.searchesLeft = 5;
    source.busy = 1;

    TDestination* copy = m_Client.AddDestination(source);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, &source);
    source.AddMac(macA);
    source.displayName = TString("changed");

    EXPECT_EQ(copy->displayName.StringCmp("shown"), 1);
    EXPECT_EQ(copy->computerName.StringCmp("registered"), 1);
    EXPECT_EQ(copy->liveAddress.sin_addr.s_addr, inet_addr("127.0.0.7"));
    EXPECT_EQ(copy->storedAddress.sin_port, htons(6001));
    ASSERT_EQ(copy->GetMacCount(), 2u);
    EXPECT_EQ(memcmp(copy->GetMac(0), macA, 6), 0);
    EXPECT_EQ(memcmp(copy->GetMac(1), macB, 6), 0);
    EXPECT_EQ(copy->failureCount, 2u);
    EXPECT_EQ(copy->searchesLeft, 5u);
    // No thread searches the copy, and no dialog edits it.
    EXPECT_EQ(copy->searchState, SEARCH_IDLE);
    EXPECT_EQ(copy->busy, 0u);
    EXPECT_TRUE(PumpUntil([&] { return m_Main.EntryChanges(copy) == 1; }, 2000));
}

TEST_F(ClientSearchTest, RecordsAreNamedByAnIdThatNoLaterRecordTakes)
{
    TDestination* first = Add("first");
    TDestination* second = Add("second");
    ASSERT_NE(first->id, second->id);
    uint32_t gone = first->id;
    m_Client.LockList();
    EXPECT_EQ(m_Client.FindDestination(second->id), 1);
    m_Client.UnlockList();

    // A load frees both; its records may reuse their memory, never their ids.
    std::string path = FreshTempPath("fern-record-ids.clf");
    ASSERT_EQ(m_Client.SaveListFile(path.c_str()), 1);
    ASSERT_EQ(m_Client.LoadListFile(path.c_str()), 1);
    DeleteFileA(path.c_str());
    m_Client.LockList();
    EXPECT_EQ(m_Client.GetDestinationCount(), 2u);
    EXPECT_EQ(m_Client.FindDestination(gone), -1);
    for (unsigned long i = 0; i < m_Client.GetDestinationCount(); ++i) {
        EXPECT_GT(m_Client.GetDestination(i)->id, gone);
        EXPECT_EQ(m_Client.FindDestination(m_Client.GetDestination(i)->id), static_cast<long>(i));
    }
    m_Client.UnlockList();
}

} // namespace

// Reading one network record: the block grows to the size asked for, within bounds.
#include "net/NetworkBrowser.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Answers every request with "more room needed" of a fixed size until the room suffices,
// then with a record whose text fills the rest of it.
class AskingBrowser : public TNetworkBrowser {
public:
    explicit AskingBrowser(DWORD asked) : m_Asked(asked) {}
    DWORD OpenEnum(DWORD, DWORD, DWORD, NETRESOURCEA*, HANDLE*) override { return NO_ERROR; }
    DWORD EnumResource(HANDLE, DWORD* count, void* buffer, DWORD* size) override
    {
        ++calls;
        if (*size < m_Asked || *size <= sizeof(NETRESOURCEA)) {
            *size = m_Asked;
            return ERROR_MORE_DATA;
        }
        auto* record = static_cast<NETRESOURCEA*>(buffer);
        memset(buffer, 0, *size);
        char* text = reinterpret_cast<char*>(record + 1);
        memset(text, 'W', *size - sizeof(NETRESOURCEA) - 1);
        record->lpRemoteName = text;
        *count = 1;
        return NO_ERROR;
    }
    DWORD CloseEnum(HANDLE) override { return NO_ERROR; }
    int calls = 0;

private:
    DWORD m_Asked;
};

TEST(NetworkBrowserTest, ABlockGrowsToWhatIsAskedButNotWithoutBound)
{
    struct Case {
        DWORD asked;
        int read;
        int calls;
    } cases[] = {
        {sizeof(NETRESOURCEA) + 300, 1, 2}, // grown once, then read
        {16, 0, 1},                         // "more room" for less than it had: ends
        {0xFFFFFFF0u, 0, 1},                // four gigabytes asked for: ends, nothing taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        AskingBrowser browser(c.asked);
        TResourceBlock block;
        EXPECT_EQ(ReadNextEntry(browser, nullptr, block), c.read);
        EXPECT_EQ(browser.calls, c.calls);
        if (c.read) {
            char text[ENTRY_TEXT_CHARS];
            CopyEntryText(text, block.Resource().lpRemoteName);
            EXPECT_EQ(strlen(text), ENTRY_TEXT_CHARS - 1); // 299 characters cut to 255
        }
    }
}
} // namespace

// The platform's network enumeration and the walk of networks, workgroups and computers.
#include "net/NetworkBrowser.h"

#include <cstring>

namespace {
// The first request's room; the platform names a larger size when a record needs it.
constexpr DWORD FIRST_BLOCK_BYTES = 32;
// No record of a network, workgroup or computer needs more; a provider that asks for more
// ends the enumeration instead of taking the memory.
constexpr DWORD LARGEST_BLOCK_BYTES = 64 * 1024;
// The global enumeration is read one record at a time into this much room.
constexpr DWORD NETWORK_BUFFER_BYTES = 2048;

class TSystemNetworkBrowser : public TNetworkBrowser {
public:
    DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEA* container,
                   HANDLE* enumeration) override
    {
        return WNetOpenEnumA(scope, type, usage, container, enumeration);
    }
    DWORD EnumResource(HANDLE enumeration, DWORD* count, void* buffer, DWORD* bufferSize) override
    {
        return WNetEnumResourceA(enumeration, count, buffer, bufferSize);
    }
    DWORD CloseEnum(HANDLE enumeration) override { return WNetCloseEnum(enumeration); }
};
} // namespace

TNetworkBrowser& SystemNetworkBrowser()
{
    static TSystemNetworkBrowser browser;
    return browser;
}

int ReadNextEntry(TNetworkBrowser& browser, HANDLE enumeration, TResourceBlock& block)
{
    block.m_Bytes.assign(FIRST_BLOCK_BYTES, 0);
    for (;;) {
        DWORD count = 1;
        DWORD size = static_cast<DWORD>(block.m_Bytes.size());
        DWORD result = browser.EnumResource(enumeration, &count, block.m_Bytes.data(), &size);
        if (result == ERROR_MORE_DATA && size > block.m_Bytes.size() &&
            size <= LARGEST_BLOCK_BYTES) {
            block.m_Bytes.assign(size, 0);
            continue;
        }
        // The record must at least hold its header to be read.
        return result == NO_ERROR && count == 1 && block.m_Bytes.size() >= sizeof(NETRESOURCEA);
    }
}

std::vector<TResourceBlock> ReadWorkgroups(TNetworkBrowser& browser)
{
    std::vector<TResourceBlock> workgroups;
    HANDLE global = nullptr;
    if (browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_DISK, RESOURCEUSAGE_CONTAINER, nullptr,
                         &global) != NO_ERROR)
        return workgroups;
    alignas(NETRESOURCEA) unsigned char buffer[NETWORK_BUFFER_BYTES];
    bool found = false;
    for (;;) {
        DWORD count = 1, size = sizeof(buffer);
        if (browser.EnumResource(global, &count, buffer, &size) != NO_ERROR || count != 1) break;
        if (reinterpret_cast<NETRESOURCEA*>(buffer)->dwDisplayType == RESOURCEDISPLAYTYPE_NETWORK) {
            found = true;
            break;
        }
    }
    browser.CloseEnum(global);
    if (!found) return workgroups;
    // Unlike ReadChildren, every record is kept: the computer worker opens each later.
    HANDLE children = nullptr;
    if (browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0,
                         reinterpret_cast<NETRESOURCEA*>(buffer), &children) != NO_ERROR)
        return workgroups;
    for (;;) {
        TResourceBlock block;
        if (!ReadNextEntry(browser, children, block)) break;
        workgroups.push_back(std::move(block));
    }
    browser.CloseEnum(children);
    return workgroups;
}

void ReadChildren(TNetworkBrowser& browser, NETRESOURCEA* container,
                  const std::function<void(const NETRESOURCEA&)>& onChild,
                  const std::function<bool()>& keepGoing)
{
    HANDLE children = nullptr;
    if (browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &children) != NO_ERROR)
        return;
    TResourceBlock block;
    while (keepGoing() && ReadNextEntry(browser, children, block))
        onChild(block.Resource());
    browser.CloseEnum(children);
}

void CopyEntryText(char (&target)[ENTRY_TEXT_CHARS], const char* source)
{
    target[0] = '\0';
    if (!source) return;
    size_t length = strnlen(source, ENTRY_TEXT_CHARS - 1);
    memcpy(target, source, length);
    target[length] = '\0';
}

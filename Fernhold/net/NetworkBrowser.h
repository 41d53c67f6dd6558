// The Windows network's workgroups and computers, read through a replaceable enumeration.
#pragma once

#include <windows.h>

#include <winnetwk.h>

#include <functional>
#include <vector>

// The platform's WNetOpenEnumA / WNetEnumResourceA / WNetCloseEnum; tests give a provider of
// their own. The wizard's workers call it from their threads, one worker at a time.
class TNetworkBrowser {
public:
    virtual ~TNetworkBrowser() = default;
    virtual DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEA* container,
                           HANDLE* enumeration) = 0;
    virtual DWORD EnumResource(HANDLE enumeration, DWORD* count, void* buffer,
                               DWORD* bufferSize) = 0;
    virtual DWORD CloseEnum(HANDLE enumeration) = 0;
};

// The platform's enumeration (one object for the program's life).
TNetworkBrowser& SystemNetworkBrowser();

// One network-resource record as the platform wrote it: the NETRESOURCEA at the start, its
// texts behind it in the same block (so the block is never moved once filled).
class TResourceBlock {
public:
    const NETRESOURCEA& Resource() const
    {
        return *reinterpret_cast<const NETRESOURCEA*>(m_Bytes.data());
    }
    NETRESOURCEA* Container() { return reinterpret_cast<NETRESOURCEA*>(m_Bytes.data()); }

private:
    friend int ReadNextEntry(TNetworkBrowser&, HANDLE, TResourceBlock&);
    std::vector<unsigned char> m_Bytes;
};

// Asks for one entry, growing the block to the size the platform names when it needs more
// room (up to 64 KiB). 1 with an entry in block; 0 when the enumeration ended or failed, or
// the platform asked for more room than that or for no more than it had.
int ReadNextEntry(TNetworkBrowser& browser, HANDLE enumeration, TResourceBlock& block);

// The workgroups of the first network the global enumeration (disk resources, containers)
// names, in the platform's order; empty when there is no network or it cannot be opened.
std::vector<TResourceBlock> ReadWorkgroups(TNetworkBrowser& browser);

// Every child of container (all usages), handed to onChild one at a time while keepGoing
// answers true.
void ReadChildren(TNetworkBrowser& browser, NETRESOURCEA* container,
                  const std::function<void(const NETRESOURCEA&)>& onChild,
                  const std::function<bool()>& keepGoing);

// Texts of the enumeration as the wizard's lists hold them: at most 255 characters and the
// terminating zero; a longer text is cut, a missing one is empty.
constexpr size_t ENTRY_TEXT_CHARS = 256;
void CopyEntryText(char (&target)[ENTRY_TEXT_CHARS], const char* source);

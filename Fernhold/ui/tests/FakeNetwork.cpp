// The fake network: a provider entry that is no network, one network, its workgroups and
// their computers as "\\NAME".
#include "ui/tests/FakeNetwork.h"

#include <cstring>
#include <memory>

namespace {
constexpr char NETWORK_NAME[] = "Test Network";

struct Cursor {
    std::vector<std::string> names;
    std::vector<DWORD> types;
    size_t next = 0;
};
} // namespace

FakeNetwork::FakeNetwork(std::vector<Workgroup> workgroups)
{
    // A first record that is not a network: the walk must pass over it.
    m_Children[""].push_back({"Other Provider", RESOURCEDISPLAYTYPE_GENERIC});
    m_Children[""].push_back({NETWORK_NAME, RESOURCEDISPLAYTYPE_NETWORK});
    for (const Workgroup& group : workgroups) {
        m_Children[NETWORK_NAME].push_back({group.name, RESOURCEDISPLAYTYPE_DOMAIN});
        auto& computers = m_Children[group.name];
        for (const std::string& computer : group.computers)
            computers.push_back({"\\\\" + computer, RESOURCEDISPLAYTYPE_SERVER});
    }
}

DWORD FakeNetwork::OpenEnum(DWORD, DWORD, DWORD, NETRESOURCEA* container, HANDLE* enumeration)
{
    std::string key = container && container->lpRemoteName ? container->lpRemoteName : "";
    auto found = m_Children.find(key);
    if (found == m_Children.end()) return ERROR_INVALID_PARAMETER;
    auto cursor = std::make_unique<Cursor>();
    for (const Entry& entry : found->second) {
        cursor->names.push_back(entry.remoteName);
        cursor->types.push_back(entry.displayType);
    }
    *enumeration = cursor.release();
    ++openEnumerations;
    return NO_ERROR;
}

DWORD FakeNetwork::EnumResource(HANDLE enumeration, DWORD* count, void* buffer, DWORD* bufferSize)
{
    auto* cursor = static_cast<Cursor*>(enumeration);
    if (cursor->next >= cursor->names.size()) {
        *count = 0;
        return ERROR_NO_MORE_ITEMS;
    }
    const std::string& name = cursor->names[cursor->next];
    DWORD needed = static_cast<DWORD>(sizeof(NETRESOURCEA) + name.size() + 1);
    if (*bufferSize < needed) {
        *bufferSize = needed;
        ++moreDataAnswers;
        return ERROR_MORE_DATA;
    }
    auto* record = static_cast<NETRESOURCEA*>(buffer);
    memset(record, 0, sizeof(*record));
    record->dwScope = RESOURCE_GLOBALNET;
    record->dwDisplayType = cursor->types[cursor->next];
    record->dwUsage = RESOURCEUSAGE_CONTAINER;
    char* text = reinterpret_cast<char*>(record + 1);
    memcpy(text, name.c_str(), name.size() + 1);
    record->lpRemoteName = text;
    *count = 1;
    ++cursor->next;
    return NO_ERROR;
}

DWORD FakeNetwork::CloseEnum(HANDLE enumeration)
{
    delete static_cast<Cursor*>(enumeration);
    --openEnumerations;
    return NO_ERROR;
}

// A network of workgroups and computers for the wizard's tests and benchmark, served through
// the enumeration seam the way the platform serves it (one record per call, more room asked).
#pragma once

#include "net/NetworkBrowser.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

class FakeNetwork : public TNetworkBrowser {
public:
    // Workgroups in order, each with its computers' bare names.
    struct Workgroup {
        std::string name;
        std::vector<std::string> computers;
    };
    explicit FakeNetwork(std::vector<Workgroup> workgroups);

    DWORD OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEA* container,
                   HANDLE* enumeration) override;
    DWORD EnumResource(HANDLE enumeration, DWORD* count, void* buffer, DWORD* bufferSize) override;
    DWORD CloseEnum(HANDLE enumeration) override;

    // How often a record did not fit the room it was asked into.
    std::atomic<int> moreDataAnswers{0};
    std::atomic<int> openEnumerations{0};

private:
    struct Entry {
        std::string remoteName;
        DWORD displayType;
    };
    // Children by the container's remote name; "" is the global network.
    std::map<std::string, std::vector<Entry>> m_Children;
};

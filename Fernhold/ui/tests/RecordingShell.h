// A shell for the window tests: the rights word and administrator they set, the saves
// and shutdowns asked for.
#pragma once

#include "ui/TAppShell.h"

#include <cstdint>
#include <cstring>
#include <vector>

class RecordingShell : public TAppShell {
public:
    uint32_t GetRights() const override { return rights; }
    void SetScreenSize(int, int) override {}
    void ShutDown() override { ++shutDowns; }
    void GetUserCredentials(TUserCredentials& out) const override
    {
        out = user;
        out.rights = rights;
    }
    void SaveUserCredentials(const TUserCredentials& credentials) override
    {
        user = credentials;
        rights = credentials.rights;
        ++saves;
    }
    int Authenticates(const char* name, const char* password) const override
    {
        const char* stored = user.name;
        const char* secret = user.password;
        return strcmp(stored ? stored : "", name) == 0 &&
               strcmp(secret ? secret : "", password) == 0;
    }
    unsigned long GetMacCount() const override { return static_cast<unsigned long>(macs.size()); }
    const TString& GetMacText(unsigned long index) const override { return macs[index]; }
    void SetUpdatePending(int pending) override { updatePending = pending; }

    uint32_t rights = 0xFFFFFFFF;
    int shutDowns = 0;
    TUserCredentials user;
    int saves = 0;
    std::vector<TString> macs;
    int updatePending = 0;
};

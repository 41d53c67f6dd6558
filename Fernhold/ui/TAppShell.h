// What the windows ask of the application shell: the operator's rights, the screen size,
// the program's shutdown, the administrator and this computer's MAC address texts.
#pragma once

#include <Keelwork/TString.h>

#include <cstdint>

// The administrator's texts and the rights word, as the options sheet edits them.
struct TUserCredentials {
    TString name;
    TString password;
    TString reserved;
    uint32_t rights = 0xFFFFFFFF;
};

// Implemented by the application object; windows and the session controller reach the
// shell only through this, so they never include the application object. Main thread.
class TAppShell {
public:
    // The operator's rights word (RIGHTS_NOT_IN_USE when no administrator is set).
    virtual uint32_t GetRights() const = 0;
    // The local screen changed size (WM_DISPLAYCHANGE).
    virtual void SetScreenSize(int width, int height) = 0;
    // Saves what must be kept, stops the engines and destroys the main window, which
    // ends the message loop. The caller's window is gone when it returns.
    virtual void ShutDown() = 0;
    // A complete update has arrived: the updater is started when the program ends.
    virtual void SetUpdatePending(int pending) = 0;

    // The local user information's texts and rights.
    virtual void GetUserCredentials(TUserCredentials& out) const = 0;
    // Makes them the local user information and writes both user files at once.
    virtual void SaveUserCredentials(const TUserCredentials& credentials) = 0;
    // 1 when name and password equal the administrator's, byte for byte.
    virtual int Authenticates(const char* name, const char* password) const = 0;
    // This computer's MAC address texts, one per adapter in adapter order.
    virtual unsigned long GetMacCount() const = 0;
    virtual const TString& GetMacText(unsigned long index) const = 0;

protected:
    ~TAppShell() = default;
};

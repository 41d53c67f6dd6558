// The application object: Windows Sockets, the engines, the local MAC addresses and
// the settings, and the program's start and shutdown.
#pragma once

#include "app/TUserInfo.h"
#include "net/TFernSettings.h"
#include "net/WireFormat.h"
#include "ui/TAppShell.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TString.h>
#include <Keelwork/TobjectBase.h>

class TClientCore;
class TServerCore;
class TMainWindow;

// One instance, made by the entry point and reached through g_lpMainApp. Start and
// ShutDown run on the main thread; the engines' threads live from Start to ShutDown.
class TMainApp final : public TobjectBase, public TAppShell {
public:
    // Makes the program's folder the current directory, starts Windows Sockets 2.0
    // (a failure is shown and remembered: Start then refuses) and reads the MAC
    // addresses. Never fails.
    TMainApp();
    ~TMainApp();

    // Creates the main window, starts the client and server threads, loads the default
    // connection list and opens the listeners. Returns 1 when the program runs, 0 when
    // it must not start.
    int Start();
    // Saves the options and the destination list, stops the client engine, then the
    // server engine, and destroys the main window, which ends the message loop.
    void ShutDown() override;
    // The main thread's message loop; returns the wParam of WM_QUIT.
    static int RunMessageLoop();

    // ./FernOption.dat: read at start before the user information, written at shutdown.
    void LoadOptions();
    void SaveOptions();
    // Reconciles ./UserInfo\UserInfo1.fnu with the system copy; 0 when the program must
    // not start (only the local copy is good).
    int LoadUserInfo();
    // Makes the system copy equal to the local copy and writes both.
    void SaveUserInfo();
    TUserInfo& GetUserInfo() { return m_LocalUser; }

    int IsWinsockReady() const { return m_WinsockReady; }
    TFernSettings& GetSettings() { return m_Settings; }
    TServerCore* GetServer() const { return m_lpServer; }
    TClientCore* GetClient() const { return m_lpClient; }
    TMainWindow* GetMainWindow() const { return m_lpMainWindow; }

    // Size of the local screen; the main window follows display changes.
    int GetScreenWidth() const { return m_ScreenWidth; }
    int GetScreenHeight() const { return m_ScreenHeight; }
    void SetScreenSize(int width, int height) override;
    uint32_t GetRights() const override { return m_LocalUser.m_Rights; }
    void GetUserCredentials(TUserCredentials& out) const override;
    void SaveUserCredentials(const TUserCredentials& credentials) override;
    int Authenticates(const char* name, const char* password) const override
    {
        return m_LocalUser.Authenticates(name, password);
    }

    // One entry per network adapter, as text ("%02X : ..." ) and as 6 bytes.
    unsigned long GetMacCount() const override;
    const TString& GetMacText(unsigned long index) const override;
    const unsigned char* GetMacAddress(unsigned long index) const;

    // 1 once a complete update has arrived: the entry point starts the updater. The
    // address a peer asked this copy to fetch from is kept by the server engine
    // (TServerCore::GetUpdateInbox), whose service receives it.
    int IsUpdatePending() const { return m_UpdatePending; }
    void SetUpdatePending(int pending) override { m_UpdatePending = pending; }

private:
    // Adapter addresses through NetBIOS: one entry per adapter number, whatever the
    // status command answers.
    void ReadMacAddresses();
    int CreateMainWindow();
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam);

    WSADATA m_WsaData;
    int m_WinsockReady = 0;
    // Holds the application's reference on the main window's core.
    TMainWindow* m_lpMainWindow = nullptr;
    TServerCore* m_lpServer = nullptr;
    TClientCore* m_lpClient = nullptr;
    int m_ScreenWidth = 0;
    int m_ScreenHeight = 0;
    // TString* entries.
    TMemoryBase m_MacTexts;
    // unsigned char[6]* entries.
    TMemoryBase m_MacBytes;
    TFernSettings m_Settings;
    int m_UpdatePending = 0;
    TUserInfo m_LocalUser;
    TUserInfo m_SystemUser;
};

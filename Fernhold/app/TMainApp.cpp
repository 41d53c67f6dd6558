// Application object: construction, Start, ShutDown and the message loop.
#include "app/TMainApp.h"

#include "app/AppGlobals.h"
#include "app/OptionsFile.h"
#include "net/ConnectionListFile.h"
#include "net/NetMessages.h"
#include "net/TClientCore.h"
#include "net/TServerCore.h"
#include "net/TWorkerThread.h"
#include "ui/SkinStore.h"
#include "ui/TMainWindow.h"
#include "net/MainWindowMessages.h"

#include <Panekind/TWndCore.h>

#include <nb30.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD START_SETTLE_MS = 500;
constexpr char OPTIONS_FILE[] = ".\\FernOption.dat";
constexpr char USER_FOLDER[] = ".\\UserInfo";
constexpr char LOCAL_USER_FILE[] = ".\\UserInfo\\UserInfo1.fnu";

template <typename T> T* EntryAt(const TMemoryBase& list, unsigned long index)
{
    return reinterpret_cast<T* const*>(static_cast<unsigned char*>(list))[index];
}

// The folder part of a path: everything up to and including the last backslash.
void CutAfterLastBackslash(char* path)
{
    char* last = strrchr(path, '\\');
    if (last)
        last[1] = '\0';
    else
        path[0] = '\0';
}

} // namespace

TMainApp::TMainApp()
{
    char path[1024];
    DWORD length = GetModuleFileNameA(TobjectBase::m_hInst, path, sizeof(path));
    if (length > 0 && length < sizeof(path)) {
        CutAfterLastBackslash(path);
        SetCurrentDirectoryA(path);
    }
    GetCurrentDirectoryA(sizeof(g_StartupDirectory), g_StartupDirectory);

    m_ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_Settings.port = htons(static_cast<unsigned short>(TString("5483")));
    m_lpClient = new TClientCore(m_Settings);
    m_lpServer = new TServerCore(m_Settings);

    if (WSAStartup(MAKEWORD(2, 0), &m_WsaData) != 0) {
        MessageBoxA(nullptr, "WinSock2.0 の初期化に失敗しました!。", PROGRAM_TITLE, MB_ICONERROR);
        return;
    }
    m_WinsockReady = 1;
    ReadMacAddresses();
    // The MAC service serves its own copy, fixed before any listener opens.
    std::vector<MacAddress> served(GetMacCount());
    for (unsigned long i = 0; i < GetMacCount(); ++i)
        memcpy(served[i].data(), GetMacAddress(i), served[i].size());
    m_lpServer->SetServedMacs(std::move(served));
}

TMainApp::~TMainApp()
{
    if (m_WinsockReady) WSACleanup();
    delete m_lpClient;
    delete m_lpServer;
    for (unsigned long i = 0; i < GetMacCount(); ++i) {
        delete EntryAt<TString>(m_MacTexts, i);
        delete[] EntryAt<unsigned char>(m_MacBytes, i);
    }
}

void TMainApp::ReadMacAddresses()
{
    NCB control;
    LANA_ENUM adapters;
    memset(&control, 0, sizeof(control));
    memset(&adapters, 0, sizeof(adapters));
    control.ncb_command = NCBENUM;
    control.ncb_buffer = reinterpret_cast<UCHAR*>(&adapters);
    control.ncb_length = sizeof(adapters);
    Netbios(&control);

    for (UCHAR i = 0; i < adapters.length && i < MAX_LANA; ++i) {
        UCHAR adapter = adapters.lana[i];
        memset(&control, 0, sizeof(control));
        control.ncb_command = NCBRESET;
        control.ncb_lana_num = adapter;
        Netbios(&control);

        ADAPTER_STATUS status;
        memset(&status, 0, sizeof(status));
        memset(&control, 0, sizeof(control));
        control.ncb_command = NCBASTAT;
        control.ncb_lana_num = adapter;
        memcpy(control.ncb_callname, "*               ", NCBNAMSZ);
        control.ncb_buffer = reinterpret_cast<UCHAR*>(&status);
        control.ncb_length = sizeof(status);
        Netbios(&control);

        const UCHAR* mac = status.adapter_address;
        char text[30];
        snprintf(text, sizeof(text), "%02X : %02X : %02X : %02X : %02X : %02X", mac[0], mac[1],
                 mac[2], mac[3], mac[4], mac[5]);
        TString* entry = new TString(text);
        unsigned char* bytes = new unsigned char[6];
        memcpy(bytes, mac, 6);
        m_MacTexts.AddMemory(sizeof(entry), &entry);
        m_MacBytes.AddMemory(sizeof(bytes), &bytes);
    }
}

unsigned long TMainApp::GetMacCount() const { return m_MacBytes.GetSize() / sizeof(void*); }

const TString& TMainApp::GetMacText(unsigned long index) const
{
    return *EntryAt<TString>(m_MacTexts, index);
}

const unsigned char* TMainApp::GetMacAddress(unsigned long index) const
{
    return EntryAt<unsigned char>(m_MacBytes, index);
}

void TMainApp::SetScreenSize(int width, int height)
{
    m_ScreenWidth = width;
    m_ScreenHeight = height;
}

int TMainApp::CreateMainWindow()
{
    if (!g_lpSkinStore) return 0;
    TMainWindow* window =
        new TMainWindow(m_Settings, *m_lpClient, *m_lpServer, *g_lpSkinStore, *this);
    if (!window->Create()) {
        window->Release();
        return 0;
    }
    m_lpMainWindow = window;
    m_lpServer->SetMainWindow(window->GetHandle());
    m_lpClient->SetMainWindow(window->GetHandle());
    return 1;
}

void TMainApp::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(m_lpMainWindow->GetHandle(), message, wParam, lParam);
}

int TMainApp::Start()
{
    if (!m_WinsockReady) return 0;
    LoadOptions();
    if (!LoadUserInfo()) return 0;
    if (!CreateMainWindow()) return 0;
    if (!m_lpClient->Start() || !m_lpServer->Start()) return 0;
    PostToMainWindow(UM_UI_STATE, UI_STATE_IDLE, 0);
    Sleep(START_SETTLE_MS);
    // A missing file is created empty; a damaged one leaves what could be read, and is
    // kept aside before the list saved at exit replaces it.
    int whole = 0;
    if (!m_lpClient->LoadListFile(m_Settings.defaultListFile, &whole) || !whole)
        KeepDamagedListFile(m_Settings.defaultListFile);
    m_lpMainWindow->AddTrayIcon();
    PostThreadMessageA(m_lpServer->GetThreadId(), TM_REFRESH_LISTENERS, 0, 0);
    PostThreadMessageA(m_lpClient->GetThreadId(), TM_SEARCH_TICK, 0, 0);
    PostToMainWindow(UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, static_cast<LPARAM>(-1));
    return 1;
}

void TMainApp::ShutDown()
{
    SetCurrentDirectoryA(g_StartupDirectory);
    if (m_lpMainWindow) EnableWindow(m_lpMainWindow->GetHandle(), FALSE);
    // The view window rectangle is taken from the live view window here once it exists.
    SaveOptions();
    // Whatever file the list came from, it is kept under the default name.
    m_lpClient->SaveListFile(m_Settings.defaultListFile);
    m_lpClient->Stop();
    m_lpServer->Stop();
    if (m_lpMainWindow) {
        m_lpServer->SetMainWindow(nullptr);
        m_lpMainWindow->RemoveTrayIcon();
        DestroyWindow(m_lpMainWindow->GetHandle());
        m_lpMainWindow->Release();
        m_lpMainWindow = nullptr;
    }
}

int TMainApp::RunMessageLoop()
{
    for (;;) {
        MSG message;
        TWorkerThread::TakeMessage(message);
        if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void TMainApp::LoadOptions() { ReadOptionsFile(OPTIONS_FILE, m_Settings); }

void TMainApp::SaveOptions() { WriteOptionsFile(OPTIONS_FILE, m_Settings); }

int TMainApp::LoadUserInfo()
{
    char systemPath[MAX_PATH + 32];
    GetSystemCopyPath(systemPath, sizeof(systemPath));
    int local = m_LocalUser.Load(TFileName(LOCAL_USER_FILE));
    int system = m_SystemUser.Load(TFileName(systemPath));
    if (local && !system) {
        MessageBoxA(
            nullptr,
            "ファイル構成に問題があります！。\n一度全て消して新しくファイルを入れ直してください。",
            PROGRAM_TITLE, MB_ICONSTOP);
        return 0;
    }
    if (system && !(local && m_LocalUser.SameAs(m_SystemUser))) {
        m_LocalUser.CopyFrom(m_SystemUser);
        SaveUserInfo();
    }
    return 1;
}

void TMainApp::SaveUserInfo()
{
    if (GetFileAttributesA(USER_FOLDER) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryA(USER_FOLDER, nullptr);
    char systemPath[MAX_PATH + 32];
    GetSystemCopyPath(systemPath, sizeof(systemPath));
    m_SystemUser.CopyFrom(m_LocalUser);
    m_LocalUser.Save(TFileName(LOCAL_USER_FILE));
    m_SystemUser.Save(TFileName(systemPath));
}

void TMainApp::GetUserCredentials(TUserCredentials& out) const
{
    out.name = m_LocalUser.m_Name;
    out.password = m_LocalUser.m_Password;
    out.reserved = m_LocalUser.m_Reserved;
    out.rights = m_LocalUser.m_Rights;
}

void TMainApp::SaveUserCredentials(const TUserCredentials& credentials)
{
    m_LocalUser.m_Name = credentials.name;
    m_LocalUser.m_Password = credentials.password;
    m_LocalUser.m_Reserved = credentials.reserved;
    m_LocalUser.m_Rights = credentials.rights;
    SaveUserInfo();
}

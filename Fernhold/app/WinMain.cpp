// Entry point of Fernhold.exe: checks, the process-wide objects, the message loop and
// the updater started as the very last act.
#include "app/AppGlobals.h"
#include "app/FoundationVersion.h"
#include "app/TMainApp.h"
#include "ui/SkinStore.h"
#include "ui/TFernWndClass.h"

#include <FRNUpdate/StartLog.h>

#include <Keelwork/TobjectBase.h>

#include <commctrl.h>

// Single-instance flag: one word in a data section shared by every process that runs
// this image. Set by the first copy and never cleared; it goes with the last process.
#ifdef _MSC_VER
#pragma data_seg("Fernhold")
volatile LONG g_InstanceRunning = 0;
#pragma data_seg()
#pragma comment(linker, "/SECTION:Fernhold,RWS")
#else
volatile LONG g_InstanceRunning __attribute__((section("Fernhold"), shared)) = 0;
#endif

namespace {

const char* const ERROR_CAPTION = "Fernhold - [ Error ]";
const char* const START_FAILED_TEXT = "起動処理中にｴﾗｰが発生したため起動できません。\n";

void ShowError(const char* text) { MessageBoxA(nullptr, text, ERROR_CAPTION, MB_ICONERROR); }

// Starts the updater suspended; its thread is resumed only after this copy has
// deleted its objects and closed its sockets. The outcome goes to the debugger.
void StartUpdater(PROCESS_INFORMATION& updater)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    char commandLine[1] = {'\0'};
    CreateProcessA("FRNUpdate.exe", commandLine, nullptr, nullptr, FALSE,
                   NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup, &updater);
    LogProcessStart();
}

void DeleteObjects()
{
    delete g_lpMainApp;
    g_lpMainApp = nullptr;
    delete g_lpSkinStore;
    g_lpSkinStore = nullptr;
    delete g_lpWndClass;
    g_lpWndClass = nullptr;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!IsFoundationRecent(TobjectBase::m_hInstDll)) {
        OutputDebugStringA("\nﾀﾞｲﾅﾐｯｸﾘﾝｸﾗｲﾌﾞﾗﾘが古いﾊﾞｰｼﾞｮﾝです。\n");
        return 0;
    }
    TobjectBase::m_hInst = instance;

    if (InterlockedExchange(&g_InstanceRunning, 1) == 1) {
        ShowError(" Fernhold は、既に実行中です。\n\n多重起動は出来ませんので、\nFernhold "
                  "の実行を中断します。\n");
        return 1;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_INTERNET_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        ShowError(START_FAILED_TEXT);
        return 0;
    }

    g_lpWndClass = new TFernWndClass;
    g_lpWndClass->RegisterClassExA();
    g_lpSkinStore = new SkinStore;
    g_lpMainApp = new TMainApp;
    if (!g_lpMainApp->Start()) {
        ShowError(START_FAILED_TEXT);
        DeleteObjects();
        return 0;
    }

    int exitCode = TMainApp::RunMessageLoop();

    PROCESS_INFORMATION updater{};
    if (g_lpMainApp->IsUpdatePending()) StartUpdater(updater);
    DeleteObjects();
    if (updater.hProcess) CloseHandle(updater.hProcess);
    if (updater.hThread) {
        ResumeThread(updater.hThread);
        CloseHandle(updater.hThread);
    }
    return exitCode;
}

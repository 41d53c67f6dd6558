// The soak's driver commands; see the header.
#include "TwoHostSoak.h"

#include "TwoHostMeasure.h"
#include "TwoHostUi.h"
#include "net/NetMessages.h"
#include "net/TClientImage.h"
#include "net/TEventLink.h"
#include "net/TFernSettings.h"
#include "net/TImageLink.h"

#include <winsock2.h>
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

namespace TwoHostSoak {
namespace {

constexpr int TITLEBAR = 100;
// Inside the title bar's close button (9 x 9 at 347, 3).
constexpr POINT CLOSE_BUTTON{351, 7};
constexpr char QUESTION_TITLE[] = "Fernhold";

// The first process of that program name, with its thread count; 0 when none runs.
DWORD FindProcess(const char* program, DWORD& threads)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, program) != 0) continue;
        found = entry.th32ProcessID;
        threads = entry.cntThreads;
    }
    CloseHandle(snapshot);
    return found;
}

} // namespace

int Resources(const char* program)
{
    DWORD threads = 0;
    DWORD id = FindProcess(program, threads);
    HANDLE process =
        id ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id) : nullptr;
    if (!process) {
        fprintf(stderr, "%s does not run\n", program);
        return 1;
    }
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof(memory));
    printf("%lu %lu %lu %lu %llu %llu\n", threads, handles, GetGuiResources(process, GR_GDIOBJECTS),
           GetGuiResources(process, GR_USEROBJECTS),
           static_cast<unsigned long long>(memory.PrivateUsage),
           static_cast<unsigned long long>(memory.WorkingSetSize));
    CloseHandle(process);
    return 0;
}

int Quit(DWORD seconds)
{
    HWND main = TwoHostUi::MainWindow();
    DWORD id = 0;
    if (main) GetWindowThreadProcessId(main, &id);
    HANDLE process = id ? OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr;
    if (!process) return 1;
    HWND question = nullptr;
    auto asked = [&] {
        question = FindWindowA("#32770", QUESTION_TITLE);
        return question && IsWindowVisible(question);
    };
    // A click that came before the window could take it is repeated.
    bool clicked = false;
    for (int attempt = 0; attempt < 3 && !clicked; ++attempt)
        clicked = TwoHostUi::ClickAt(GetDlgItem(main, TITLEBAR), CLOSE_BUTTON.x, CLOSE_BUTTON.y) &&
                  TwoHostUi::WaitFor(asked, 5);
    if (!clicked) {
        fprintf(stderr, "the close button asked nothing\n");
        CloseHandle(process);
        return 1;
    }
    HWND yes = GetDlgItem(question, IDYES);
    RECT button{};
    GetClientRect(yes, &button);
    bool ended = TwoHostUi::ClickAt(yes, button.right / 2, button.bottom / 2) &&
                 WaitForSingleObject(process, seconds * 1000) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) {
        fprintf(stderr, "the program did not end within %lu s of Yes\n", seconds);
        return 1;
    }
    printf("the program ended after Yes\n");
    return 0;
}

int SecondOperator(const char* host, int port, DWORD seconds)
{
    sockaddr_in address{};
    if (!TwoHostMeasure::Resolve(host, port, address)) {
        fprintf(stderr, "%s does not resolve\n", host);
        return 1;
    }
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue the image link posts to
    TFernSettings settings;
    TClientImage image;
    TEventLink events(settings);
    TImageLink frames(settings, image, GetCurrentThreadId());
    if (!events.Connect(address) || !frames.Connect(address)) {
        fprintf(stderr, "the second operator cannot connect to %s\n", host);
        return 1;
    }
    PostThreadMessageA(frames.GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0);
    unsigned shown = 0;
    bool lost = false;
    const DWORD start = GetTickCount();
    while (!lost && GetTickCount() - start < seconds * 1000) {
        // The operator's pacing: a request whenever the link is idle, at most every 100 ms.
        if (frames.IsIdle()) PostThreadMessageA(frames.GetThreadId(), TM_GET_FRAME, 0, 0);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == TM_LINK_LOST) lost = true;
            if (message.message == TM_FRAME_RECEIVED && image.Expand())
                printf("frames %u\n", ++shown);
        }
    }
    SIZE remote = image.GetRemoteSize();
    frames.Stop();
    events.Stop();
    if (lost || shown == 0) {
        fprintf(stderr, "the second operator %s\n", lost ? "lost its link" : "saw no frame");
        return 1;
    }
    printf("second operator: %u frames of %ld x %ld in %lu s\n", shown, remote.cx, remote.cy,
           seconds);
    return 0;
}

int Resolution(int width, int height)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    LONG result = ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
    auto reported = [&] {
        return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
    };
    if (result != DISP_CHANGE_SUCCESSFUL || !TwoHostUi::WaitFor(reported, 10)) {
        fprintf(stderr, "no resolution %d x %d (change result %ld); the display offers:", width,
                height, result);
        for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
            fprintf(stderr, " %lux%lu", mode.dmPelsWidth, mode.dmPelsHeight);
        fprintf(stderr, "\n");
        return 1;
    }
    printf("the display is %d x %d\n", width, height);
    return 0;
}

} // namespace TwoHostSoak

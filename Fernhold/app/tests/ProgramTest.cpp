// Fernhold.exe as a whole: one copy at a time, listening, and shutdown on request.
#include "net/tests/NetTestSupport.h"

#include "net/NetMessages.h"
#include "ui/WindowMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint16_t PROGRAM_PORT = 5483;

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1) + "Fernhold.exe";
}

struct WindowQuery {
    DWORD process;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    char caption[128] = {};
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, caption, sizeof(caption));
    if (process == query->process && strcmp(className, query->className) == 0 &&
        strcmp(caption, query->caption) == 0) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of the process with that class and caption, or null after timeoutMs.
HWND WaitForWindow(DWORD process, const char* className, const char* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowQuery query{process, className, caption, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found || GetTickCount() - start > timeoutMs) return query.found;
        Sleep(100);
    }
}

// Presses a message box's button the way a click does, again until the box is gone
// (a press that arrives while the box is still being set up is lost).
bool PressButton(HWND box, int id)
{
    DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (GetTickCount() - start > 15000) return false;
        HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button))
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        Sleep(300);
    }
    return true;
}

// True once a service on 127.0.0.x:5483 accepts and closes an exchange.
bool ServesWithin(const char* address, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        LoopbackClient client(address, PROGRAM_PORT);
        ReplyHeader reply{};
        if (client.Select(SERVICE_EVENTS) == SERVICE_ACCEPTED_WORD &&
            client.Request(CMD_CLOSE, 0, reply) && reply.ok == 1)
            return true;
        Sleep(200);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

class Program {
public:
    ~Program()
    {
        if (!m_Info.hProcess) return;
        if (WaitForSingleObject(m_Info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_Info.hProcess, 99);
            WaitForSingleObject(m_Info.hProcess, 10000);
        }
        CloseHandle(m_Info.hProcess);
        CloseHandle(m_Info.hThread);
    }
    bool Start()
    {
        std::string path = ProgramPath();
        std::string folder = path.substr(0, path.rfind('\\'));
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        char commandLine[] = "Fernhold.exe";
        return CreateProcessA(path.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &m_Info) != 0;
    }
    DWORD GetId() const { return m_Info.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the program has not ended within timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs)
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(m_Info.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_Info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_Info{};
};

TEST(ProgramTest, OneCopyRunsListensAndEndsOnTheQuitRequest)
{
    if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
    Program first;
    ASSERT_TRUE(first.Start());
    HWND hub = WaitForWindow(first.GetId(), "FernholdWnd", "Fernhold ver1.13", 30000);
    ASSERT_NE(hub, nullptr);
    EXPECT_FALSE(IsWindowVisible(hub));
    EXPECT_TRUE(ServesWithin("127.0.0.1", 15000));
    EXPECT_TRUE(ServesWithin("127.0.0.2", 5000));

    // A second copy shows the error box, ends with 1 and leaves the first alone.
    Program second;
    ASSERT_TRUE(second.Start());
    HWND error = WaitForWindow(second.GetId(), "#32770", "Fernhold - [ Error ]", 30000);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(PressButton(error, IDOK));
    EXPECT_EQ(second.WaitForExit(15000), 1u);
    EXPECT_TRUE(IsWindow(hub));
    EXPECT_TRUE(ServesWithin("127.0.0.1", 5000));

    // Quitting is confirmed: No keeps the program, Yes ends it.
    PostMessageA(hub, UM_QUIT_REQUEST, 0, 0);
    HWND confirm = WaitForWindow(first.GetId(), "#32770", "Fernhold", 15000);
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(PressButton(confirm, IDNO));
    EXPECT_EQ(first.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(ServesWithin("127.0.0.1", 5000));

    PostMessageA(hub, UM_QUIT_REQUEST, 0, 0);
    confirm = WaitForWindow(first.GetId(), "#32770", "Fernhold", 15000);
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(PressButton(confirm, IDYES));
    EXPECT_EQ(first.WaitForExit(30000), 0u);
    LoopbackClient after("127.0.0.1", PROGRAM_PORT);
    EXPECT_FALSE(after.IsConnected());
}

} // namespace

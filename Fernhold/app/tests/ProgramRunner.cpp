// Starting Fernhold.exe from a test and finding and answering its windows.
#include "app/tests/ProgramRunner.h"

#include "net/NetMessages.h"
#include "net/tests/NetTestSupport.h"
#include "net/MainWindowMessages.h"

#include <cstring>

namespace {

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

} // namespace

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1) + "Fernhold.exe";
}

std::string ProgramFile(const char* name)
{
    std::string path = ProgramPath();
    return path.substr(0, path.rfind('\\') + 1) + name;
}

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

bool WaitUntilShown(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!IsWindowVisible(window)) {
        if (!IsWindow(window) || GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

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

bool ServesWithin(const char* address, uint16_t port, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        LoopbackClient client(address, port);
        ReplyHeader reply{};
        if (client.Select(SERVICE_EVENTS) == SERVICE_ACCEPTED_WORD &&
            client.Request(CMD_CLOSE, 0, reply) && reply.ok == 1)
            return true;
        Sleep(200);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

Program::~Program()
{
    if (!m_Info.hProcess) return;
    if (WaitForSingleObject(m_Info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_Info.hProcess, 99);
        WaitForSingleObject(m_Info.hProcess, 10000);
    }
    CloseHandle(m_Info.hProcess);
    CloseHandle(m_Info.hThread);
}

bool Program::Start()
{
    std::string path = ProgramPath();
    std::string folder = path.substr(0, path.rfind('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    char commandLine[] = "Fernhold.exe";
    return CreateProcessA(path.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &m_Info) != 0;
}

DWORD Program::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(m_Info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(m_Info.hProcess, &code);
    return code;
}

bool QuitConfirmed(Program& program, HWND mainWindow)
{
    PostMessageA(mainWindow, UM_QUIT_REQUEST, 0, 0);
    HWND confirm = WaitForWindow(program.GetId(), "#32770", "Fernhold", 15000);
    return confirm && PressButton(confirm, IDYES) && program.WaitForExit(30000) == 0;
}

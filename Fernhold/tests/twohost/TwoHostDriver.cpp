// Drives one copy of Fernhold.exe on a test host from outside: writes its destination
// list, checks a peer's events service, posts connection events to its main window and
// types keys on its display. Run by tools/twohost/run.sh inside a host.
#include "net/ConnectionListFile.h"
#include "net/ReplaceFile.h"
#include "net/TDestination.h"
#include "net/TEventLink.h"
#include "net/TFernSettings.h"
#include "net/MainWindowMessages.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char MAIN_CLASS[] = "FernholdWnd";
constexpr const char MAIN_TITLE[] = "Fernhold ver1.13";
constexpr WPARAM EVENT_CONNECT = 1;

// list <file> <name> <IPv4 address> [<name> <IPv4 address>...]: a list of destinations,
// each registered under its name at its address, port 5483, written by the program's
// own list code.
int WriteList(const char* path, char** pairs, int pairCount)
{
    TDestination* destinations[8] = {};
    if (pairCount < 1 || pairCount > 8) return 2;
    for (int i = 0; i < pairCount; ++i) {
        destinations[i] = new TDestination;
        destinations[i]->computerName = pairs[2 * i];
        destinations[i]->displayName = pairs[2 * i];
        destinations[i]->storedAddress.sin_addr.s_addr = inet_addr(pairs[2 * i + 1]);
        destinations[i]->liveAddress = destinations[i]->storedAddress;
    }
    TMemoryBase image;
    WriteListImage(destinations, pairCount, image);
    int written = ReplaceFileContents(path, image, image.GetSize());
    for (TDestination* destination : destinations)
        delete destination;
    if (!written) fprintf(stderr, "cannot write %s\n", path);
    return written ? 0 : 1;
}

// serves <host name> <port> <seconds>: an event link of the program's own client code
// reaches the host's events service by name (selector accepted), then closes.
int Serves(const char* name, int port, DWORD seconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        hostent* host = gethostbyname(name);
        if (host && host->h_addrtype == AF_INET) {
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<u_short>(port));
            memcpy(&address.sin_addr, host->h_addr_list[0], 4);
            TFernSettings settings;
            TEventLink link(settings);
            if (link.Connect(address)) {
                link.Stop();
                printf("%s (%s) serves events on %d\n", name, inet_ntoa(address.sin_addr), port);
                return 0;
            }
        }
        if (GetTickCount() - start > seconds * 1000) break;
        Sleep(500);
    }
    fprintf(stderr, "%s: no events service on %d\n", name, port);
    return 1;
}

HWND MainWindow()
{
    HWND window = FindWindowA(MAIN_CLASS, MAIN_TITLE);
    if (!window) fprintf(stderr, "no main window\n");
    return window;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// True while the main window is the foreground window and has its thread's focus,
// so that a key typed on this display reaches its thread (and the keyboard hook).
bool HasFocus(HWND window) { return GetForegroundWindow() == window && FocusOf(window) == window; }

bool WaitFor(bool (*done)(HWND), HWND window, DWORD seconds)
{
    DWORD start = GetTickCount();
    while (!done(window)) {
        if (GetTickCount() - start > seconds * 1000) return false;
        Sleep(100);
    }
    return true;
}

// connect <destination index> <seconds>: posts the connect event and waits until the
// main window has its thread's focus, which it takes once connected (a shown main
// window may hold it already; the script then waits for the links). Then brings it to
// the foreground, where the operator's click on connect would have left it, so that
// keys typed on this display go to its thread.
int Connect(int index, DWORD seconds)
{
    HWND window = MainWindow();
    if (!window) return 1;
    PostMessageA(window, UM_CONNECT_EVENT, EVENT_CONNECT, index);
    if (!WaitFor([](HWND w) { return FocusOf(w) == w; }, window, seconds)) {
        fprintf(stderr, "the main window did not take the focus\n");
        return 1;
    }
    SetForegroundWindow(window);
    if (!WaitFor(HasFocus, window, 10)) {
        fprintf(stderr, "the main window did not come to the foreground\n");
        return 1;
    }
    printf("connected: the main window has the focus\n");
    return 0;
}

// type <keys>: presses and releases each key (letters and digits are their own
// virtual-key codes) while the main window has the focus.
int Type(const char* keys)
{
    HWND window = MainWindow();
    if (!window) return 1;
    if (!HasFocus(window)) {
        fprintf(stderr, "the main window does not have the focus\n");
        return 1;
    }
    for (const char* key = keys; *key; ++key) {
        BYTE code = static_cast<BYTE>(*key);
        BYTE scan = static_cast<BYTE>(MapVirtualKeyA(code, MAPVK_VK_TO_VSC));
        keybd_event(code, scan, 0, 0);
        Sleep(50);
        keybd_event(code, scan, KEYEVENTF_KEYUP, 0);
        Sleep(50);
    }
    printf("typed %s\n", keys);
    return 0;
}

// post <event> <lParam>: one connection event to the main window.
int Post(WPARAM event, LPARAM parameter)
{
    HWND window = MainWindow();
    if (!window) return 1;
    return PostMessageA(window, UM_CONNECT_EVENT, event, parameter) ? 0 : 1;
}

int Usage()
{
    fprintf(stderr,
            "usage: TwoHostDriver list <file> <name> <address>... | serves <name> <port> "
            "<seconds> | connect <index> <seconds> | type <keys> | post <event> <lParam>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (strcmp(command, "list") == 0 && argc >= 5 && argc % 2 == 1)
        return WriteList(argv[2], argv + 3, (argc - 3) / 2);
    if (strcmp(command, "connect") == 0 && argc == 4)
        return Connect(atoi(argv[2]), strtoul(argv[3], nullptr, 10));
    if (strcmp(command, "type") == 0 && argc == 3) return Type(argv[2]);
    if (strcmp(command, "post") == 0 && argc == 4)
        return Post(strtoul(argv[2], nullptr, 10), strtol(argv[3], nullptr, 10));
    if (strcmp(command, "serves") == 0 && argc == 5) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return 1;
        int result = Serves(argv[2], atoi(argv[3]), strtoul(argv[4], nullptr, 10));
        WSACleanup();
        return result;
    }
    return Usage();
}

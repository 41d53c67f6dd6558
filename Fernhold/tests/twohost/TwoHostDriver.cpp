// Drives one copy of Fernhold.exe on a test host from outside: writes its destination
// list and options, checks a peer's events service, works its windows with real input
// on this display and reads back what they show, and takes the two-host figures. Run
// by tools/twohost/run.sh inside a host.
#include "TwoHostMeasure.h"
#include "TwoHostSoak.h"
#include "TwoHostUi.h"
#include "TwoHostWizard.h"
#include "app/OptionsFile.h"
#include "net/ConnectionListFile.h"
#include "net/ReplaceFile.h"
#include "net/TDestination.h"
#include "net/TEventLink.h"
#include "net/TFernSettings.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

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

// macs <file> <name>: the MAC addresses the list file keeps for the record of that name;
// 0 when it keeps at least one.
int PrintMacs(const char* path, const char* name)
{
    TMemoryBase image;
    if (!LoadFileImage(path, image)) return 1;
    TListImageReader reader;
    if (!reader.Open(static_cast<unsigned char*>(image), image.GetSize())) return 1;
    unsigned long macs = 0;
    while (TDestination* record = reader.Next()) {
        if (strcmp(static_cast<char*>(record->displayName), name) == 0) {
            macs = record->GetMacCount();
            for (unsigned long i = 0; i < macs; ++i) {
                const unsigned char* mac = record->GetMac(i);
                printf("%s %02x:%02x:%02x:%02x:%02x:%02x\n", name, mac[0], mac[1], mac[2], mac[3],
                       mac[4], mac[5]);
            }
        }
        delete record;
    }
    if (!macs) fprintf(stderr, "%s keeps no MAC address for %s\n", path, name);
    return macs ? 0 : 1;
}

// options <file> <milliseconds>: the program's default options with that frame timer,
// written by its own options code before it starts.
int WriteOptions(const char* path, unsigned long interval)
{
    TFernSettings settings;
    settings.port = htons(DEFAULT_PORT);
    settings.viewTimerInterval = static_cast<uint32_t>(interval);
    if (WriteOptionsFile(path, settings)) return 0;
    fprintf(stderr, "cannot write %s\n", path);
    return 1;
}

// serves <host name> <port> <seconds>: an event link of the program's own client code
// reaches the host's events service by name (selector accepted), then closes.
int Serves(const char* name, int port, DWORD seconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        sockaddr_in address{};
        if (TwoHostMeasure::Resolve(name, port, address)) {
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

int Usage()
{
    fprintf(stderr,
            "usage: TwoHostDriver list <file> <name> <address>... | options <file> <ms> | serves "
            "<name> <port> <seconds> | select <row> | press <button> | await <stage> <seconds> "
            "| click-pane <x> <y> | pattern <pane> <width> <height> <clip x> <clip y> "
            "<seconds> | type <keys> | frames <seconds> | events <name> <port> <seconds> | "
            "echo <port> <seconds> | bare <name> <port> <seconds> | wizard <name> <seconds> | "
            "macs <file> <name> | resources <program.exe> | quit <seconds> | second <name> "
            "<port> <seconds> | resolution <width> <height> | update <row> | wake <row> [notice] "
            "<seconds>\n");
    return 2;
}

unsigned long Number(const char* text) { return strtoul(text, nullptr, 10); }

// The commands that need Windows Sockets.
int Network(int argc, char** argv)
{
    const char* command = argv[1];
    if (strcmp(command, "serves") == 0 && argc == 5)
        return Serves(argv[2], atoi(argv[3]), Number(argv[4]));
    if (strcmp(command, "events") == 0 && argc == 5)
        return TwoHostMeasure::Events(argv[2], atoi(argv[3]), Number(argv[4]));
    if (strcmp(command, "echo") == 0 && argc == 4)
        return TwoHostMeasure::Echo(atoi(argv[2]), Number(argv[3]));
    if (strcmp(command, "bare") == 0 && argc == 5)
        return TwoHostMeasure::Bare(argv[2], atoi(argv[3]), Number(argv[4]));
    if (strcmp(command, "second") == 0 && argc == 5)
        return TwoHostSoak::SecondOperator(argv[2], atoi(argv[3]), Number(argv[4]));
    return Usage();
}

} // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (strcmp(command, "list") == 0 && argc >= 5 && argc % 2 == 1)
        return WriteList(argv[2], argv + 3, (argc - 3) / 2);
    if (strcmp(command, "options") == 0 && argc == 4) return WriteOptions(argv[2], Number(argv[3]));
    if (strcmp(command, "select") == 0 && argc == 3) return TwoHostUi::SelectRow(atoi(argv[2]));
    if (strcmp(command, "press") == 0 && argc == 3) return TwoHostUi::Press(argv[2]);
    if (strcmp(command, "await") == 0 && argc == 4)
        return TwoHostUi::Await(argv[2], Number(argv[3]));
    if (strcmp(command, "click-pane") == 0 && argc == 4)
        return TwoHostUi::ClickReducedPane(atoi(argv[2]), atoi(argv[3]));
    if (strcmp(command, "pattern") == 0 && argc == 8)
        return TwoHostUi::AwaitPattern(argv[2], atoi(argv[3]), atoi(argv[4]),
                                       POINT{atoi(argv[5]), atoi(argv[6])}, Number(argv[7]));
    if (strcmp(command, "type") == 0 && argc == 3) return TwoHostUi::Type(argv[2]);
    if (strcmp(command, "macs") == 0 && argc == 4) return PrintMacs(argv[2], argv[3]);
    if (strcmp(command, "wizard") == 0 && argc == 4)
        return TwoHostWizard::RegisterBySweep(argv[2], Number(argv[3]));
    if (strcmp(command, "update") == 0 && argc == 3) return TwoHostUi::PushUpdate(atoi(argv[2]));
    if (strcmp(command, "wake") == 0 && argc == 4)
        return TwoHostUi::Wake(atoi(argv[2]), false, Number(argv[3]));
    if (strcmp(command, "wake") == 0 && argc == 5 && strcmp(argv[3], "notice") == 0)
        return TwoHostUi::Wake(atoi(argv[2]), true, Number(argv[4]));
    if (strcmp(command, "frames") == 0 && argc == 3) return TwoHostMeasure::Frames(Number(argv[2]));
    if (strcmp(command, "resources") == 0 && argc == 3) return TwoHostSoak::Resources(argv[2]);
    if (strcmp(command, "quit") == 0 && argc == 3) return TwoHostSoak::Quit(Number(argv[2]));
    if (strcmp(command, "resolution") == 0 && argc == 4)
        return TwoHostSoak::Resolution(atoi(argv[2]), atoi(argv[3]));
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return 1;
    int result = Network(argc, argv);
    WSACleanup();
    return result;
}

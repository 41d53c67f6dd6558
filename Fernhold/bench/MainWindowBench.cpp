// The skinned main window's costs: a full repaint and each child's, an arriving
// 1920 x 1080 image stretched into the reduced canvas, the CPU of the idle program, and
// the GDI objects and private bytes shown and minimised.
#include "app/AppGlobals.h"
#include "app/TMainApp.h"
#include "ui/tests/MainWindowHarness.h"

#include "BenchTiming.h"

#include <psapi.h>

#include <cstdio>

namespace {

void PrintMs(const char* what, double seconds, double targetMs)
{
    if (targetMs > 0)
        printf("%-52s %8.3f ms   (target < %.0f ms)\n", what, seconds * 1000, targetMs);
    else
        printf("%-52s %8.3f ms\n", what, seconds * 1000);
}

// UM_REPAINT for one child index (0 all), then the paint that copies the canvases.
void RepaintAndShow(MainWindowHarness& harness, WPARAM child)
{
    SendMessageA(harness.Handle(), UM_REPAINT, child, 1);
    RedrawWindow(harness.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct Resources {
    DWORD gdiObjects;
    SIZE_T privateBytes;
};

Resources Measure()
{
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof(memory));
    // Wine leaves PrivateUsage at 0; the page-file figure is the same committed memory.
    SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return Resources{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), privateBytes};
}

void RepaintFigures()
{
    MainWindowHarness harness;
    harness.Create();
    SetForegroundWindow(harness.Handle());
    DrainMessages();
    PrintMs("full repaint (UM_REPAINT 0, composed and copied)",
            BenchTime([&] { RepaintAndShow(harness, 0); }), 5);
    const char* names[] = {"",
                           "title bar",
                           "menu window",
                           "left panel",
                           "right panel",
                           "control window and strip",
                           "state window",
                           "full-size view"};
    for (WPARAM child = 1; child <= 7; ++child) {
        char what[64];
        snprintf(what, sizeof(what), "  repaint %s", names[child]);
        PrintMs(what, BenchTime([&] { RepaintAndShow(harness, child); }), 0);
    }

    TClientImage& image = harness.client.GetImage();
    image.SetRemoteSize(1920, 1080);
    image.LockImage();
    TDIBitmap* remote = image.GetContext().LookImgeObject();
    for (long y = 0; y < 1080; ++y) {
        uint16_t* row =
            reinterpret_cast<uint16_t*>(remote->GetLpPixel() + y * remote->GetLineByte());
        for (long x = 0; x < 1920; ++x)
            row[x] = static_cast<uint16_t>((x * 7 + y * 13) & 0x7FFF);
    }
    image.UnlockImage();
    harness.settings.displayFlags = 0x113;
    PrintMs("1920x1080 image into the reduced canvas (UM_IMAGE_READY)",
            BenchTime([&] { SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0); }), 2);
    DrainMessages();

    Resources shown = Measure();
    CloseWindow(harness.Handle());
    DrainMessages();
    Resources minimised = Measure();
    printf("GDI objects shown / minimised                        %lu / %lu%s\n", shown.gdiObjects,
           minimised.gdiObjects, shown.gdiObjects ? "" : "   (the platform does not count them)");
    printf("private bytes shown / minimised                      %.1f / %.1f MiB\n",
           shown.privateBytes / 1048576.0, minimised.privateBytes / 1048576.0);
    printf("skin loaded shown / minimised                        yes / %s\n",
           harness.skin.IsLoaded() ? "yes" : "no");
}

// The whole program started, shown, idle and unconnected. Wine's process clock counts
// 10-ms ticks, so a minute is read and given per 10 s.
void IdleFigure()
{
    RegisterProgramClass();
    SkinStore skin;
    g_lpSkinStore = &skin;
    TMainApp app;
    if (!app.Start()) {
        printf("idle program: could not start\n");
        return;
    }
    auto cpu = [] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto ticks = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return (ticks(kernel) + ticks(user)) / 1e7;
    };
    DWORD settle = GetTickCount();
    while (GetTickCount() - settle < 2000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        DrainMessages();
    }
    // The clock's own check: a tenth of a second of work must show.
    double busy = cpu();
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < 100;) {
    }
    printf("CPU clock check: 100 ms of work reads               %8.3f ms\n", (cpu() - busy) * 1000);
    double before = cpu();
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000 - (GetTickCount() - start), QS_ALLINPUT);
        DrainMessages();
    }
    double used = cpu() - before;
    printf("idle program, shown and unconnected, per 10 s of 60   %8.3f ms CPU = %.3f %% of a core"
           "   (target < 0.1 %%)\n",
           used * 1000, used / 10 * 100);
    app.ShutDown();
    TMainApp::RunMessageLoop();
    g_lpSkinStore = nullptr;
}

} // namespace

int main()
{
    RepaintFigures();
    IdleFigure();
    return 0;
}

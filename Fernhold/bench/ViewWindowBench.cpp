// The view windows' costs: a 1920 x 1080 image arriving (UM_IMAGE_READY) until every view
// that shows it has repainted, in the panels and in the full-size view at actual size
// and fitted to 1280 x 720; and the destination list holding 10 000 destinations, all
// rows refreshed and one row. Run in the program folder (its "./Resource" is drawn):
//   cmake --build build --target FernholdViewWindowBench
//   cd build/bin && ../../tools/with-wine.sh .. wine FernholdViewWindowBench.exe
#include "ui/tests/ViewTestSupport.h"

#include "net/MainWindowMessages.h"

#include "BenchTiming.h"

#include <cstdio>

namespace {

constexpr uint32_t CONNECTED_REDUCED = 0x411;
constexpr uint32_t CONNECTED_FULL = 0x441;
constexpr uint32_t CONNECTED_FITTED = 0x4C1;
constexpr unsigned long DESTINATIONS = 10000;

void PrintMs(const char* what, double seconds, double targetMs)
{
    printf("%-60s %8.3f ms   (target < %.0f ms)\n", what, seconds * 1000, targetMs);
}

// A picture that changes in both directions, so no copy path can shortcut it.
uint16_t Pattern(long x, long y) { return static_cast<uint16_t>((x * 7 + y * 13) & 0x7FFF); }

// UM_IMAGE_READY, the repaints it posts, and the paints of every window they touch.
void ImageArrives(MainWindowHarness& harness, HWND extra)
{
    SendMessageA(harness.Handle(), UM_IMAGE_READY, 0, 0);
    DrainMessages();
    RedrawWindow(harness.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (extra) RedrawWindow(extra, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

void ImageFigures()
{
    MainWindowHarness harness;
    harness.Create();
    PaintRemote(harness.client.GetImage(), 1920, 1080, Pattern);
    SetForegroundWindow(harness.Handle());

    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_REDUCED);
    PrintMs("1920x1080 image: reduced and clip panes repainted",
            BenchTime([&] { ImageArrives(harness, nullptr); }), 10);

    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_FULL);
    HWND full = FullViewWindow();
    PrintMs("1920x1080 image: full-size view at actual size (602x398 pane)",
            BenchTime([&] { ImageArrives(harness, full); }), 10);
    // A pane of 1280 x 720: the window is 38 wider and 82 higher; placed so that the
    // whole pane lies on the test display's 1280 columns.
    SetWindowPos(full, nullptr, -12, 0, 1280 + 38, 720 + 82, SWP_NOZORDER);
    DrainMessages();
    PrintMs("1920x1080 image: full-size view at actual size (1280x720 pane)",
            BenchTime([&] { ImageArrives(harness, full); }), 10);
    harness.settings.displayFlags = CONNECTED_FITTED;
    FullViewOf(full)->FitChanged();
    PrintMs("1920x1080 image: full-size view fitted to 1280x720",
            BenchTime([&] { ImageArrives(harness, full); }), 10);
}

void ListFigures()
{
    MainWindowHarness harness;
    harness.Create();
    SetForegroundWindow(harness.Handle());
    DrainMessages();
    TDestination record;
    uint32_t lastId = 0;
    for (unsigned long i = 0; i < DESTINATIONS; ++i) {
        record.displayName = TString("computer-") & TString(i);
        record.liveAddress.sin_addr.s_addr = htonl(0x0A000000 + i);
        record.liveAddress.sin_port = htons(5483);
        if (TDestination* added = harness.client.AddDestination(record)) lastId = added->id;
    }
    printf("destinations in the list                                     %8lu\n",
           harness.client.GetDestinationCount());
    HWND main = harness.Handle();
    auto refresh = [&](LPARAM which) {
        SendMessageA(main, UM_ENTRY_CHANGED, ENTRY_CHANGED_DESTINATION, which);
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    double first = BenchSeconds();
    refresh(ENTRY_CHANGED_ALL);
    PrintMs("10 000 destinations: first fill (rows inserted)", BenchSeconds() - first, 200);
    PrintMs("10 000 destinations: full refresh (UM_ENTRY_CHANGED -1)",
            BenchTime([&] { refresh(ENTRY_CHANGED_ALL); }, 3, 2), 200);
    PrintMs("10 000 destinations: one row, the last (UM_ENTRY_CHANGED id)",
            BenchTime([&] { refresh(lastId); }), 1);
}

} // namespace

int main()
{
    RegisterProgramClass();
    ImageFigures();
    ListFigures();
    return 0;
}

// The program's settings: held by the application object, loaded and saved by the
// options file, read by the engines through a reference.
#pragma once

#include <Keelwork/TString.h>

#include <windows.h>

#include <atomic>
#include <cstdint>

// Fields that threads other than the main thread read are atomic; the main thread
// (options dialog, main window) writes them at any time without a lock.
struct TFernSettings {
    // TCP port of every listener and outgoing link, in network byte order.
    std::atomic<uint16_t> port{0};
    // Bit 0: refuse every incoming connection.
    std::atomic<uint32_t> serverFlags{0};
    // Bit 0: search the destinations periodically and without end.
    std::atomic<uint32_t> searchFlags{1};
    std::atomic<uint32_t> simultaneousSearches{4};
    // Capture grid of the screen-image service.
    std::atomic<uint32_t> gridColumns{4};
    std::atomic<uint32_t> gridRows{10};
    // Bits 0/1 send mouse/keyboard events, bits 4-6 working view, bit 7 fit the
    // full-size view, bits 8-15 connection state.
    std::atomic<uint32_t> displayFlags{0x113};
    // Milliseconds between frame requests.
    std::atomic<uint32_t> viewTimerInterval{500};

    // Main-thread only.
    TString defaultListFile{"default.clf"};
    RECT viewWindowRect{0, 0, 0, 0};
    int32_t mainX = -10000;
    int32_t mainY = -10000;
};

// Default TCP port, 5483, in host order.
constexpr uint16_t DEFAULT_PORT = 5483;

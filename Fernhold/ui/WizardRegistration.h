// What the add-destination wizard's registration does with each chosen computer, without
// its window.
#pragma once

#include "net/HostResolver.h"
#include "net/SubnetSweep.h"
#include "net/TDestination.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// Registration mode bits of the settings page's radio buttons.
constexpr unsigned REGISTER_NAME = 1;
constexpr unsigned REGISTER_ADDRESS = 2;

// One computer chosen on the wizard's pages. A computer the sweep found carries the address
// that answered and the MAC addresses it gave (not fetched a second time).
struct TWizardComputer {
    TString name;
    bool swept = false;
    in_addr sweptAddress{};
    std::vector<MacAddress> macs;
};

// The progress page as the registration reports to it (from the registration's thread).
class TRegistrationView {
public:
    virtual ~TRegistrationView() = default;
    virtual void ShowComputer(const char* name) = 0;
    virtual void ShowStep(const char* step) = 0;
    virtual void Step() = 0;
};

// Where the registration takes names, MAC addresses and the list from.
struct TRegistrationServices {
    // Name lookup (only byName is used).
    THostResolver resolver;
    // Appends the MAC addresses of the copy at the record's live address; nothing when it
    // does not answer. Empty: no MAC addresses are fetched.
    std::function<void(TDestination&)> fetchMacs;
    // Takes a copy of the finished record into the destination list.
    std::function<void(const TDestination&)> add;
};

// Registers computers in order, four progress steps each; mode is REGISTER_NAME,
// REGISTER_ADDRESS or both. Stops before the next step once stop is non-zero, discarding
// the record at hand (those added before stay). Returns how many were added.
unsigned long RegisterComputers(const std::vector<TWizardComputer>& computers, unsigned mode,
                                bool withMacs, const std::atomic<uint32_t>& stop,
                                TRegistrationView& view, const TRegistrationServices& services);

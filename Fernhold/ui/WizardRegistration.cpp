// The registration steps of one computer: name, address, MAC addresses, the list.
#include "ui/WizardRegistration.h"

namespace {
// The address step: the lookup's first address, or the one that answered the sweep.
// Without REGISTER_ADDRESS only the live address is set, for the MAC query.
void TakeAddress(const TWizardComputer& computer, unsigned mode,
                 const TRegistrationServices& services, TDestination& record)
{
    in_addr found{};
    if (computer.swept)
        found = computer.sweptAddress;
    else if (!services.resolver.byName || !services.resolver.byName(computer.name, found))
        return;
    record.liveAddress.sin_family = AF_INET;
    record.liveAddress.sin_addr = found;
    if (mode & REGISTER_ADDRESS) record.storedAddress = record.liveAddress;
}

void TakeMacs(const TWizardComputer& computer, const TRegistrationServices& services,
              TDestination& record)
{
    if (computer.swept) {
        for (const MacAddress& mac : computer.macs) {
            unsigned char bytes[TDestination::MAC_BYTES];
            std::copy(mac.begin(), mac.end(), bytes);
            record.AddMac(bytes);
        }
    } else if (services.fetchMacs && record.liveAddress.sin_addr.s_addr != 0) {
        services.fetchMacs(record);
    }
}
} // namespace

unsigned long RegisterComputers(const std::vector<TWizardComputer>& computers, unsigned mode,
                                bool withMacs, const std::atomic<uint32_t>& stop,
                                TRegistrationView& view, const TRegistrationServices& services)
{
    unsigned long added = 0;
    for (const TWizardComputer& computer : computers) {
        view.ShowComputer(computer.name);
        TDestination record;
        if ((mode & REGISTER_NAME) && !stop) {
            view.ShowStep("名前の登録...");
            record.displayName = computer.name;
            record.computerName = record.displayName;
            view.Step();
        }
        if (((mode & REGISTER_ADDRESS) || withMacs) && !stop) {
            view.ShowStep("IPアドレスを登録...");
            TakeAddress(computer, mode, services, record);
            view.Step();
        }
        if (withMacs && !stop) {
            view.ShowStep("MACアドレスを登録...");
            TakeMacs(computer, services, record);
            view.Step();
        }
        if (stop) break;
        view.ShowStep("リストに登録");
        if (services.add) services.add(record);
        ++added;
        view.Step();
    }
    return added;
}

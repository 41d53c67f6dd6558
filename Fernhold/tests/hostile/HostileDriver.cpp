// The driver: per-iteration seeds, the memory bound, and the watchdog that names the seed of
// an iteration that crashed or hung before the process goes.
#include "HostileTarget.h"

#include "AllocationWatch.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

// What the watchdog and the crash filter print; written by the driving thread only.
struct RunningIteration {
    std::atomic<const char*> target{nullptr};
    std::atomic<uint64_t> seed{0};
    std::atomic<DWORD> startedAt{0};
    std::atomic<bool> active{false};
};
RunningIteration g_Running;

void ReportAndEnd(const char* what)
{
    fprintf(stderr, "hostile input: %s in target %s, iteration seed %llu\n", what,
            g_Running.target.load() ? g_Running.target.load() : "?",
            static_cast<unsigned long long>(g_Running.seed.load()));
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info)
{
    char what[64];
    snprintf(what, sizeof(what), "crash (exception 0x%08lX)",
             static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    ReportAndEnd(what);
    return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI Watchdog(void* hangMs)
{
    const DWORD limit = static_cast<DWORD>(reinterpret_cast<uintptr_t>(hangMs));
    for (;;) {
        Sleep(250);
        if (g_Running.active && GetTickCount() - g_Running.startedAt > limit) ReportAndEnd("hang");
    }
}

void StartGuards(uint32_t hangMs)
{
    static bool started = false;
    if (started) return;
    started = true;
    SetUnhandledExceptionFilter(CrashFilter);
    StartAllocationWatch();
    HANDLE thread = CreateThread(
        nullptr, 0, Watchdog, reinterpret_cast<void*>(static_cast<uintptr_t>(hangMs)), 0, nullptr);
    if (thread) CloseHandle(thread);
}

} // namespace

Bytes HostileInput(const HostileTarget& target, const std::vector<Fixture>& fixtures, uint64_t seed)
{
    THostileRandom random(seed);
    const Fixture& base = fixtures[random.Below(static_cast<uint32_t>(fixtures.size()))];
    Bytes input = base.bytes;
    if (target.mutate) {
        target.mutate(input, fixtures, random);
    } else {
        const Bytes& donor = fixtures[random.Below(static_cast<uint32_t>(fixtures.size()))].bytes;
        MutateBytes(input, base.fields, donor, random);
    }
    return input;
}

namespace {

// One run under the watchdog, with the memory bound checked after it.
std::string RunOnce(const HostileTarget& target, const Bytes& input, uint64_t seed)
{
    g_Running.target = target.name;
    g_Running.seed = seed;
    g_Running.startedAt = GetTickCount();
    g_Running.active = true;
    TakeLargestAllocation();
    std::string fault = target.run(input);
    const size_t largest = TakeLargestAllocation();
    g_Running.active = false;
    if (fault.empty() && largest > (static_cast<size_t>(target.allowanceMb) << 20))
        fault = "asked for " + std::to_string(largest >> 20) + " MB at once, beyond its bound of " +
                std::to_string(target.allowanceMb) + " MB";
    return fault;
}

} // namespace

HostileResult RunHostileTarget(const HostileTarget& target, uint64_t seed, uint64_t iterations,
                               uint32_t budgetMs, uint32_t hangMs)
{
    StartGuards(hangMs);
    const std::vector<Fixture> fixtures = target.fixture();
    HostileResult result;
    const DWORD start = GetTickCount();
    for (uint64_t i = 0; i < iterations; ++i) {
        if (budgetMs && GetTickCount() - start >= budgetMs) break;
        const uint64_t iterationSeed = seed + i;
        result.fault =
            RunOnce(target, HostileInput(target, fixtures, iterationSeed), iterationSeed);
        ++result.iterations;
        if (!result.fault.empty()) {
            result.faultSeed = iterationSeed;
            break;
        }
    }
    return result;
}

HostileResult RunHostileTarget(const HostileTarget& target, const Bytes& input, uint32_t hangMs)
{
    StartGuards(hangMs);
    target.fixture(); // whatever the fixtures set up, as in a seeded run
    HostileResult result;
    result.fault = RunOnce(target, input, 0);
    result.iterations = 1;
    return result;
}

std::vector<HostileTarget> FileTargets()
{
    std::vector<HostileTarget> all;
    for (const auto* table : {&CodecTargets(), &SettingsTargets(), &ImageTargets()})
        all.insert(all.end(), table->begin(), table->end());
    return all;
}

std::vector<HostileTarget> SocketTargets()
{
    std::vector<HostileTarget> all = ServiceTargets();
    all.insert(all.end(), LinkTargets().begin(), LinkTargets().end());
    return all;
}

const HostileTarget* FindHostileTarget(const std::string& name)
{
    for (const auto* table :
         {&CodecTargets(), &SettingsTargets(), &ImageTargets(), &ServiceTargets(), &LinkTargets()})
        for (const HostileTarget& target : *table)
            if (name == target.name) return &target;
    return nullptr;
}

// The long run on demand: FernholdHostile [--target NAME] [--iterations N] [--seed S]
// [--seconds T]; every target when none is named. Exit code 1 when a fault was found.
// With --dump the named target's input of iteration seed S is printed in hex instead.
#include "HostileTarget.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const char* only = nullptr;
    uint64_t iterations = 10000, seed = 1;
    uint32_t seconds = 0;
    bool dump = false;
    for (int i = 1; i < argc; ++i) {
        const bool valued = i + 1 < argc;
        if (!strcmp(argv[i], "--dump"))
            dump = true;
        else if (valued && !strcmp(argv[i], "--target"))
            only = argv[++i];
        else if (valued && !strcmp(argv[i], "--iterations"))
            iterations = strtoull(argv[++i], nullptr, 10);
        else if (valued && !strcmp(argv[i], "--seed"))
            seed = strtoull(argv[++i], nullptr, 10);
        else if (valued && !strcmp(argv[i], "--seconds"))
            seconds = static_cast<uint32_t>(atoi(argv[++i]));
    }
    std::vector<HostileTarget> targets = FileTargets();
    const std::vector<HostileTarget> sockets = SocketTargets();
    targets.insert(targets.end(), sockets.begin(), sockets.end());
    if (only) {
        const HostileTarget* target = FindHostileTarget(only);
        if (!target) {
            fprintf(stderr, "no target %s\n", only);
            return 2;
        }
        targets = {*target};
        if (dump) {
            const Bytes input = HostileInput(*target, target->fixture(), seed);
            for (size_t i = 0; i < input.size(); ++i)
                printf("%02X%s", input[i], i % 16 == 15 ? "\n" : " ");
            printf("\n%zu bytes\n", input.size());
            return 0;
        }
    }
    int faults = 0;
    for (const HostileTarget& target : targets) {
        const HostileResult r = RunHostileTarget(target, seed, iterations, seconds * 1000);
        printf("%-20s %10llu iterations from seed %llu: %s", target.name,
               static_cast<unsigned long long>(r.iterations), static_cast<unsigned long long>(seed),
               r.fault.empty() ? "sound\n" : "FAULT ");
        if (!r.fault.empty()) {
            printf("at iteration seed %llu: %s\n", static_cast<unsigned long long>(r.faultSeed),
                   r.fault.c_str());
            ++faults;
        }
        fflush(stdout);
    }
    return faults ? 1 : 0;
}

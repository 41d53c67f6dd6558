// The table of hostile-input targets and the driver that mutates their fixtures and runs them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A small deterministic generator (SplitMix64): one seed reproduces an iteration exactly on
// every machine, which no standard engine's distributions promise.
class THostileRandom {
public:
    explicit THostileRandom(uint64_t seed) : m_State(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to bound - 1 (0 when bound is 0).
    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(Next() % bound) : 0; }
    bool OneIn(uint32_t n) { return Below(n) == 0; }

private:
    uint64_t m_State;
};

// A little-endian length, count or size field of a format, where aimed edits go.
struct LengthField {
    uint32_t offset;
    uint8_t width; // 1, 2 or 4 bytes
};

// One valid input of a target and the length fields inside it.
struct Fixture {
    Bytes bytes;
    std::vector<LengthField> fields;
};

// One parser or service. fixture makes the valid inputs; mutate turns one of them into a
// hostile input (null: MutateBytes with the fixture's fields, another fixture as splice donor);
// run feeds the input to the parser or service and checks what it left in memory and on disk
// against what a damaged input must load as: the fault found, or empty when all is well.
// allowanceMb bounds the largest block one run may ask the libraries for.
struct HostileTarget {
    const char* name;
    std::vector<Fixture> (*fixture)();
    void (*mutate)(Bytes& input, const std::vector<Fixture>& fixtures, THostileRandom& random);
    std::string (*run)(const Bytes& input);
    uint32_t allowanceMb;
};

// The generic mutations: bit flips, byte sets, length-field edits, truncation, insertion,
// splicing from donor; one to four of them.
void MutateBytes(Bytes& input, const std::vector<LengthField>& fields, const Bytes& donor,
                 THostileRandom& random);

// The targets, one table per area; a new parser or service adds its entry to its area's
// table (or a new table here, in FileTargets or SocketTargets, and in FindHostileTarget).
const std::vector<HostileTarget>& CodecTargets();
const std::vector<HostileTarget>& SettingsTargets();
const std::vector<HostileTarget>& ImageTargets();
const std::vector<HostileTarget>& ServiceTargets();
// The client's links against hostile services.
const std::vector<HostileTarget>& LinkTargets();
// Every file parser's target: the codec, settings and image tables together.
std::vector<HostileTarget> FileTargets();
// The targets on sockets: services and links.
std::vector<HostileTarget> SocketTargets();
// The target of that name among all of them; null when there is none.
const HostileTarget* FindHostileTarget(const std::string& name);

struct HostileResult {
    uint64_t iterations = 0;
    uint64_t faultSeed = 0; // the seed of the failing iteration when fault is set
    std::string fault;
};

// Runs iteration seeds seed, seed + 1, ... until iterations have run or budgetMs has passed
// (0: no time limit), stopping at the first fault. A crash or an iteration that takes longer
// than hangMs ends the process after printing the target and the iteration's seed (the
// watchdog starts with the first run, whose hangMs holds for the process).
HostileResult RunHostileTarget(const HostileTarget& target, uint64_t seed, uint64_t iterations,
                               uint32_t budgetMs, uint32_t hangMs = 20000);
// Runs one given input through the target, with the same checks.
HostileResult RunHostileTarget(const HostileTarget& target, const Bytes& input,
                               uint32_t hangMs = 20000);
// The input of the target's iteration with this seed (what a run with that seed feeds it).
Bytes HostileInput(const HostileTarget& target, const std::vector<Fixture>& fixtures,
                   uint64_t seed);

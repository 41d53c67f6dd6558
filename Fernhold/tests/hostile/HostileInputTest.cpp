// Every target of the table for a few seconds from a fixed seed, and the iterations that once
// found a fault, replayed alone.
#include "HostileTarget.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

// Test listings name a target by its name, not its bytes.
void PrintTo(const HostileTarget& target, std::ostream* out) { *out << target.name; }

namespace {

constexpr uint64_t SUITE_SEED = 20261210;
constexpr uint32_t SUITE_BUDGET_MS = 2500;
constexpr uint64_t SUITE_MAX_ITERATIONS = 200000;

std::vector<HostileTarget> SuiteTargets()
{
#ifdef FERN_HOSTILE_SERVICES
    return SocketTargets();
#else
    return FileTargets();
#endif
}

class HostileInputTest : public ::testing::TestWithParam<HostileTarget> {};

TEST_P(HostileInputTest, MutatedInputsAreHandledSoundly)
{
    const HostileTarget& target = GetParam();
    const HostileResult result =
        RunHostileTarget(target, SUITE_SEED, SUITE_MAX_ITERATIONS, SUITE_BUDGET_MS);
    printf("%s: %llu iterations from seed %llu\n", target.name,
           static_cast<unsigned long long>(result.iterations),
           static_cast<unsigned long long>(SUITE_SEED));
    EXPECT_GT(result.iterations, 0u);
    EXPECT_EQ(result.fault, "") << target.name << " failed at iteration seed " << result.faultSeed;
}

INSTANTIATE_TEST_SUITE_P(Targets, HostileInputTest, ::testing::ValuesIn(SuiteTargets()),
                         [](const ::testing::TestParamInfo<HostileTarget>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

#ifndef FERN_HOSTILE_SERVICES
Bytes Words(std::initializer_list<uint32_t> words, const char* tag)
{
    Bytes out(tag, tag + strlen(tag));
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return out;
}

// Inputs that once found a fault, each run once through its target.
TEST(HostileInputCases, InputsThatOnceFoundAFault)
{
    struct Case {
        const char* target;
        Bytes input;
    };
    std::vector<Case> cases = {
        // A version-50 options file (no search flags), read over settings whose search
        // flags are not the default.
        {"options-file",
         {0x46, 0x4E, 0x41, 0x50, 0x32, 0,    0,    0,    0x13, 0x04, 0,    0,    0xF4, 0x01, 0,
          0,    4,    0,    0,    0,    4,    0,    0,    0,    0x0A, 0,    0,    0,    0x15, 0x6B,
          0,    0,    0,    0,    0xF0, 0xD8, 0xFF, 0xFF, 0xF0, 0xD8, 0xFF, 0xFF, 0,    0,    0,
          0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0}},
        // A raw record of 8000 x 8000 pixels that holds none of them.
        {"timg-file", Words({24, 0x04080003, 8000, 8000, 0}, "TIMG")},
    };
    // A list whose last record runs past the end of the file.
    const Bytes list = FindHostileTarget("default-list")->fixture()[0].bytes;
    cases.push_back({"default-list", Bytes(list.begin(), list.end() - 3)});
    for (const Case& c : cases) {
        const HostileTarget* target = FindHostileTarget(c.target);
        ASSERT_NE(target, nullptr) << c.target;
        const HostileResult r = RunHostileTarget(*target, c.input);
        EXPECT_EQ(r.fault, "") << c.target;
    }
}
#endif

} // namespace

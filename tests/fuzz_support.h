// Bounded fuzzing: how many inputs and how long, from the environment
// (make stress raises them), and a seeded generator so a run can be repeated.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

struct FuzzBudget {
    long inputs;
    std::chrono::seconds time;
    uint32_t seed;
};

// FUZZ_SCALE multiplies the default count; FUZZ_SECONDS caps the time; FUZZ_SEED.
FuzzBudget fuzzBudget(long defaultInputs, long defaultSeconds);

struct Fuzzer {
    explicit Fuzzer(uint32_t seed) : random(seed) {}
    uint32_t below(uint32_t n) { return n == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, n - 1)(random); }
    bool chance(int percent) { return below(100) < uint32_t(percent); }
    std::string bytes(size_t count);
    std::mt19937 random;
};

// A RIFF file from a mutated plan: chunk ids, sizes, odd sizes and padding,
// "fmt " sizes and fields, cbSize, truncation, nesting, repeats, empty files.
std::string mutatedWave(Fuzzer& fuzzer);

// Where a failing input is kept for a regression fixture.
std::string keepFailingInput(const std::string& kind, const std::string& bytes);

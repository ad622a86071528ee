#include "effects/engine/random_source.h"

#include <chrono>

namespace vistello::effects {

namespace {
std::uint32_t clockSeed() {
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}
} // namespace

ClockRandom::ClockRandom() : engine_(clockSeed()) {}

ClockRandom::ClockRandom(std::uint32_t seed) : engine_(seed) {}

void ClockRandom::reseed(std::uint32_t seed) {
    engine_.seed(seed);
}

void ClockRandom::reseedFromClock() {
    engine_.seed(clockSeed());
}

int ClockRandom::Random(int n) {
    if (n <= 1)
        return 0;
    // Multiply-shift with rejection of the short tail (Lemire): exactly uniform, and cheaper than
    // a distribution object on the speckles' thousands of draws per step.
    const auto range = static_cast<std::uint32_t>(n);
    std::uint64_t product = static_cast<std::uint64_t>(engine_()) * range;
    auto low = static_cast<std::uint32_t>(product);
    if (low < range) {
        const std::uint32_t threshold = (0u - range) % range;
        while (low < threshold) {
            product = static_cast<std::uint64_t>(engine_()) * range;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<int>(product >> 32);
}

ScriptedRandom::ScriptedRandom(std::vector<int> draws) : draws_(std::move(draws)) {}

int ScriptedRandom::Random(int n) {
    requests_.push_back(n);
    if (draws_.empty() || n <= 0)
        return 0;
    const int value = draws_[next_];
    next_ = (next_ + 1) % draws_.size();
    if (value < 0)
        return 0;
    return value < n ? value : n - 1;
}

} // namespace vistello::effects

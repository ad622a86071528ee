#pragma once
// The random numbers of the transitions: the random choice of effect 0 and the ragged edges of
// shreds and speckles.
//
// Effects draw through a `RandomSource` they are handed, never through process-wide state, so a
// test can script the exact draws and the renderer and the preview each own their generator.

#include <cstdint>
#include <random>
#include <vector>

namespace vistello::effects {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A uniform integer in 0..n − 1; 0 when n <= 0.
    virtual int Random(int n) = 0;
};

// The program's generator: uniform draws from a Mersenne twister, seeded from the clock.
class ClockRandom final : public RandomSource {
  public:
    ClockRandom(); // seeded from the clock
    explicit ClockRandom(std::uint32_t seed);
    void reseed(std::uint32_t seed);
    void reseedFromClock();
    int Random(int n) override;

  private:
    std::mt19937 engine_;
};

// Test double: returns the scripted values in order (repeating the list when it runs out; 0 when
// empty), each limited to n − 1, and records every n it was asked for.
class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<int> draws = {});
    int Random(int n) override;
    const std::vector<int>& requests() const { return requests_; }

  private:
    std::vector<int> draws_;
    std::size_t next_ = 0;
    std::vector<int> requests_;
};

} // namespace vistello::effects

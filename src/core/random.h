#pragma once
// The run's own random numbers: a small xorshift generator, so that a run with the same seed
// draws the same numbers on every machine. The station logic seeds it from the game clock.
#include <cstdint>

namespace kavrin {

struct TRandom {
  uint32_t State = 0x9e3779b9u;

  void Seed(int32_t seed) {
    // Spread neighbouring clock values apart; xorshift never leaves a zero state.
    uint32_t s = static_cast<uint32_t>(seed) * 2654435761u ^ 0x9e3779b9u;
    State = s != 0 ? s : 0x9e3779b9u;
    Next();
  }
  uint32_t Next() {
    uint32_t x = State;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    State = x;
    return x;
  }
  // 0 .. n - 1; 0 when n < 1.
  int32_t Below(int32_t n) {
    if (n < 1) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(Next()) * static_cast<uint32_t>(n)) >> 32);
  }
};

}  // namespace kavrin

#pragma once
// The one law that turns a linear ratio (an amplitude, a share of a range, a percentage) into a
// channel volume in 1/100 dB.
#include <cmath>
#include <cstdint>

#include "core/rounding.h"

namespace kavrin {

inline constexpr int32_t kSilentVolume = -10000;

// k x log10(x), not rounded; silence where the logarithm has no value (x at or below 0, or not a
// number) and never quieter than silence.
inline long double LevelLaw(long double x, long double k = 2000) {
  if (!(x > 0)) return kSilentVolume;
  const long double v = k * std::log10(x);
  return v > kSilentVolume ? v : kSilentVolume;
}

// The law rounded to the nearest value, halves to even.
inline int32_t Level(long double x, long double k = 2000) { return static_cast<int32_t>(Round(LevelLaw(x, k))); }

}  // namespace kavrin

#pragma once
// The one law that turns a linear level into a channel volume in 1/100 dB.
#include <cmath>
#include <cstdint>

#include "core/rounding.h"

namespace kavrin {

inline constexpr int32_t kSilentVolume = -10000;

// k x log10(x), rounded to the nearest integer (halves to even); silence for x <= 0, where the
// logarithm has no value, and never quieter than silence.
inline int32_t LevelLaw(long double k, long double x) {
  if (!(x > 0)) return kSilentVolume;
  const long double v = k * std::log10(x);
  if (!(v > kSilentVolume)) return kSilentVolume;
  return static_cast<int32_t>(Round(v));
}

}  // namespace kavrin

#pragma once
// Fixed-point values of the data files and the dynamics: the value times 10000 in 64 bits.
// Every assignment from a real rounds to the nearest 1/10000; arithmetic happens in long double
// (through the implicit conversion) and lands back here rounded again.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/rounding.h"

namespace kavrin {

struct Fixed4 {
  int64_t raw = 0;

  // Beyond this magnitude a value is held at it: the raw value must stay inside 64 bits.
  static constexpr long double kLimit = 9.0e14L;

  constexpr Fixed4() = default;
  // Data files and the physics may produce a value no 64-bit count can hold (an absurd mass, a
  // quotient by a tiny divisor): it is held at the range's end, and a NaN or an infinity, which
  // has no nearest count at all, becomes 0, instead of a conversion whose result is undefined.
  Fixed4(long double value) : raw(FromReal(value)) {}

  static constexpr Fixed4 FromRaw(int64_t r) {
    Fixed4 f;
    f.raw = r;
    return f;
  }

  static int64_t FromReal(long double value) {
    if (!std::isfinite(value)) return 0;
    value = std::clamp(value, -kLimit, kLimit);
    return RoundToEven(value * 10000.0L);
  }

  constexpr long double Real() const { return static_cast<long double>(raw) / 10000.0L; }
  operator long double() const { return Real(); }

  friend constexpr bool operator==(Fixed4 a, Fixed4 b) { return a.raw == b.raw; }
};

}  // namespace kavrin

#pragma once
// Fixed-point values of the data files and the dynamics: the value times 10000 in 64 bits.
// Every assignment from a real rounds to the nearest 1/10000; arithmetic happens in long double
// (through the implicit conversion) and lands back here rounded again.
#include <cmath>
#include <cstdint>

namespace kavrin {

struct Fixed4 {
  int64_t raw = 0;

  constexpr Fixed4() = default;
  Fixed4(long double value) : raw(static_cast<int64_t>(std::nearbyint(value * 10000.0L))) {}

  static constexpr Fixed4 FromRaw(int64_t r) {
    Fixed4 f;
    f.raw = r;
    return f;
  }

  constexpr long double Real() const { return static_cast<long double>(raw) / 10000.0L; }
  operator long double() const { return Real(); }

  friend constexpr bool operator==(Fixed4 a, Fixed4 b) { return a.raw == b.raw; }
};

}  // namespace kavrin

#pragma once
#include <cmath>
#include <cstdint>

namespace kavrin {

// Nearest integer, halves to the even neighbour (the default floating-point rounding mode).
inline int64_t Round(long double x) { return static_cast<int64_t>(std::nearbyint(x)); }

// The same as Round without the library call, which costs more than the arithmetic of a whole
// air-brake step. |x| must be below 2^63.
inline int64_t RoundToEven(long double x) {
  int64_t whole = static_cast<int64_t>(x);  // toward zero
  const long double rest = x - static_cast<long double>(whole);  // exact
  if (rest > 0.5L || (rest == 0.5L && (whole & 1) != 0)) ++whole;
  else if (rest < -0.5L || (rest == -0.5L && (whole & 1) != 0)) --whole;
  return whole;
}

// Halves away from zero: add or subtract one half, then truncate.
inline int64_t RoundHalfAway(long double x) {
  return static_cast<int64_t>(x >= 0 ? x + 0.5L : x - 0.5L);
}

// x raised to a whole power by repeated multiplication (n < 0 gives 1 / x^-n, x = 0 then 0).
inline long double IntPower(long double x, int n) {
  long double r = 1.0L;
  for (int i = 0; i < (n < 0 ? -n : n); ++i) r *= x;
  if (n < 0) return r == 0.0L ? 0.0L : 1.0L / r;
  return r;
}

}  // namespace kavrin

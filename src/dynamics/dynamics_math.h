#pragma once
// Small arithmetic rules the force and air models share. Vehicle data may hold zeros (an absent
// key) or extreme values: a quotient by zero contributes nothing, and no infinity or NaN ever
// lands in the run state.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/fixed4.h"
#include "core/rounding.h"

namespace kavrin {

// a / b, or 0 when b is 0 (or the quotient is not a number): the term drops out.
inline long double Quot(long double a, long double b) {
  if (b == 0) return 0;
  const long double q = a / b;
  return std::isfinite(q) ? q : 0;
}

// A fixed-point value from a real: Fixed4's own conversion (0 for infinity or NaN, the range's
// end beyond it), under the name the force and air models use.
inline Fixed4 ToFixed(long double x) { return Fixed4(x); }

// A whole real as a 32-bit value, held to its range; 0 for infinity or NaN.
inline int32_t ToInt32(long double x) {
  if (!std::isfinite(x)) return 0;
  if (x >= static_cast<long double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (x <= static_cast<long double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

// RoundHalfAway and Round for values that end in a 32-bit field.
inline int32_t RoundHalfAway32(long double x) { return ToInt32(x >= 0 ? std::trunc(x + 0.5L) : std::trunc(x - 0.5L)); }
inline int32_t RoundEven32(long double x) {
  if (!std::isfinite(x) || std::fabs(x) > 4.0e9L) return ToInt32(x);
  return ToInt32(static_cast<long double>(RoundToEven(x)));
}

// The change in one 33 ms tick of a rate given per second.
inline long double PerTick(long double perSecond, long double dispRate) { return Quot(perSecond, dispRate); }

inline void AddTo(Fixed4& f, long double d) { f = ToFixed(f.Real() + d); }

inline void ClampAtZero(Fixed4& f) {
  if (f.raw < 0) f = Fixed4{};
}
inline void ClampAtZero(long double& x) {
  if (x < 0) x = 0;
}

}  // namespace kavrin

#include "app/clock.h"

#include <cmath>
#include <numbers>

#include "core/rounding.h"

namespace kavrin {

namespace {

std::string TwoDigits(int32_t v) { return (v < 10 && v >= 0 ? "0" : "") + std::to_string(v); }

THandEnd HandEnd(long double degrees, long double radius) {
  long double a = degrees * std::numbers::pi_v<long double> / 180.0L;
  return {25.0L + radius * std::sin(a), 25.0L - radius * std::cos(a)};
}

}  // namespace

void timecalc(TClockState& c, int32_t time, int32_t ClockHand) {
  int32_t hours = time / 108000;
  int32_t minutes = (time % 108000) / 1800;
  int32_t seconds = (time % 1800) / 30;
  int32_t second = time / 30;
  c.Redrawn = false;
  if (second == c.LastSecond) return;
  c.LastSecond = second;
  c.ClockText = TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds);
  long double hourLength = static_cast<long double>(RoundHalfAway(0.6L * ClockHand));
  c.HourHand = HandEnd(30.0L * hours + 0.5L * minutes, hourLength);
  c.MinuteHand = HandEnd(6.0L * minutes + 0.1L * seconds, ClockHand);
  c.SecondHand = HandEnd(6.0L * seconds, ClockHand);
  c.Redrawn = true;
}

}  // namespace kavrin

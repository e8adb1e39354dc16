#pragma once
// The time-of-day display: the clock text and the three hands of the analog clock.
#include <cstdint>
#include <string>

namespace kavrin {

struct THandEnd {
  long double X = 25, Y = 25;
};

struct TClockState {
  int32_t ClockTime = 0;  // 1/30 s since midnight
  std::string ClockText;
  int32_t LastSecond = -1;  // second count of the last update
  // End points of the hour, minute and second hands on the 50 x 50 clock picture, from its
  // centre (25, 25); redrawn when the second changes.
  THandEnd HourHand, MinuteHand, SecondHand;
  bool Redrawn = false;  // the hands changed in the last call
};

// `ClockHand` is the vehicle's hand length in pixels (the hour hand is 0.6 of it).
void timecalc(TClockState& clock, int32_t time, int32_t ClockHand);

}  // namespace kavrin

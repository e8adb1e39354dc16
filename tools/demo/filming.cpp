#include "demo/filming.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/rounding.h"

namespace kavrin::demo {

namespace {

// cm run over `frames` frames while the speed goes linearly from a to b (km/h).
long double RowCm(double a, double b, long double frames) {
  return (static_cast<long double>(a) + b) / 7.2L * (frames / kFilmFps) * 100.0L;
}

}  // namespace

Schedule::Schedule(std::vector<SpeedRow> rows) : rows_(std::move(rows)) {
  // Each row starts where the program's frame-to-distance conversion puts it: at the sum of the
  // rows before it, each rounded to whole cm. Within a row the camera moves on smoothly.
  long double c = 0;
  for (const SpeedRow& r : rows_) {
    startCm_.push_back(c);
    c += Round((static_cast<long double>(r.FromSpeed) + r.ToSpeed) * (r.ToFrame - r.FromFrame) / 2.16L);
  }
}

long double Schedule::Cm(double frame) const {
  if (rows_.empty() || frame <= 0) return 0;
  auto it = std::upper_bound(rows_.begin(), rows_.end(), frame,
                             [](double f, const SpeedRow& r) { return f < r.ToFrame; });
  if (it == rows_.end()) --it;
  const SpeedRow& r = *it;
  const size_t i = static_cast<size_t>(it - rows_.begin());
  const double span = r.ToFrame - r.FromFrame;
  const double t = std::clamp(frame - r.FromFrame, 0.0, span);
  const double sf = span > 0 ? r.FromSpeed + (r.ToSpeed - r.FromSpeed) * t / span : r.FromSpeed;
  return startCm_[i] + RowCm(r.FromSpeed, sf, t);
}

double Schedule::Speed(double frame) const {
  for (const SpeedRow& r : rows_) {
    if (frame < r.ToFrame || &r == &rows_.back()) {
      const double span = r.ToFrame - r.FromFrame;
      const double t = std::clamp(frame - r.FromFrame, 0.0, span);
      return span > 0 ? r.FromSpeed + (r.ToSpeed - r.FromSpeed) * t / span : r.FromSpeed;
    }
  }
  return 0;
}

int32_t Schedule::FrameAt(long double cm) const {
  int32_t lo = 0, hi = FrameCount() - 1;
  if (hi < 0) return 0;
  if (Cm(hi) < cm) return hi;
  while (lo < hi) {
    int32_t mid = lo + (hi - lo) / 2;
    if (Cm(mid) >= cm) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

void ProfileBuilder::Add(int frames, double toSpeed) {
  if (frames <= 0) return;
  // The route file carries four decimals; the camera must run on exactly what it says.
  toSpeed = std::round(toSpeed * 10000.0) / 10000.0;
  rows_.push_back({frame_, frame_ + frames, speed_, toSpeed});
  cm_ += RowCm(speed_, toSpeed, frames);
  frame_ += frames;
  speed_ = toSpeed;
}

void ProfileBuilder::Stand(int frames) {
  if (speed_ != 0) throw std::logic_error("the filming train cannot stand while running");
  Add(frames, 0);
}

void ProfileBuilder::RampTo(double speed) {
  const double rate = speed > speed_ ? accel_ : brake_;
  const int frames = std::max(1, static_cast<int>(std::lround(std::fabs(speed - speed_) / rate * kFilmFps)));
  Add(frames, speed);
}

void ProfileBuilder::HoldUntil(long double cm) {
  if (speed_ <= 0) throw std::logic_error("holding a speed of 0 never arrives");
  const long double frames = (cm - cm_) * 2.16L / (2.0L * speed_);
  if (frames < -1) throw std::logic_error("the line plan asks the filming train to go back");
  Add(static_cast<int>(std::lround(static_cast<double>(frames))), speed_);
}

long double ProfileBuilder::BrakePoint(long double cm, double speed) const {
  // (v^2 - w^2) / (7.2 b) metres.
  return cm - (static_cast<long double>(speed_) * speed_ - static_cast<long double>(speed) * speed) /
                  (7.2L * brake_) * 100.0L;
}

void ProfileBuilder::StopAt(long double cm) {
  const double v = speed_;
  if (v <= 0) throw std::logic_error("a stop needs a running train");
  const int brakeFrames = std::max(1, static_cast<int>(std::lround(v / brake_ * kFilmFps)));
  const long double brakeCm = RowCm(v, 0, brakeFrames);
  const long double cruise = cm - cm_ - brakeCm;
  const int cruiseFrames = std::max(1, static_cast<int>(std::lround(static_cast<double>(cruise * 2.16L / (2.0L * v)))));
  // The whole remaining distance: (v + vb) m / 2.16 + vb n / 2.16 = cm - cm_.
  const long double vb = (2.16L * (cm - cm_) - static_cast<long double>(v) * cruiseFrames) / (cruiseFrames + brakeFrames);
  if (vb <= 0 || std::fabs(static_cast<double>(vb) - v) > 0.05 * v + 0.5) {
    throw std::logic_error("the stop lies too near for the brake rate");
  }
  Add(cruiseFrames, static_cast<double>(vb));
  Add(brakeFrames, 0);
}

}  // namespace kavrin::demo

#pragma once
// How the filming train ran: its speed over the film's frames, as rows of linear change. The
// rows are written to the route file as they are, and the renderer places the camera from them,
// so the film and the frame-to-distance table cannot disagree.
#include <cstdint>
#include <vector>

namespace kavrin::demo {

inline constexpr int kFilmFps = 30;

struct SpeedRow {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  double FromSpeed = 0;  // km/h
  double ToSpeed = 0;
};

class Schedule {
 public:
  Schedule() = default;
  explicit Schedule(std::vector<SpeedRow> rows);

  const std::vector<SpeedRow>& Rows() const { return rows_; }
  // Frames of the film: one past the last row's end.
  int32_t FrameCount() const { return rows_.empty() ? 0 : rows_.back().ToFrame + 1; }
  // Distance in cm from frame 0 to frame f: the mean speed over each row times its time, which
  // is exact for a speed that changes linearly, from the start of the row as the program
  // reckons it (whole cm).
  long double Cm(double frame) const;
  double Speed(double frame) const;
  // The first frame at which the camera has reached `cm`; FrameCount() - 1 beyond the end.
  int32_t FrameAt(long double cm) const;

 private:
  std::vector<SpeedRow> rows_;
  std::vector<long double> startCm_;
};

// Builds the rows run by run. Distances are in cm along the route, speeds in km/h, rates in
// km/h per second.
class ProfileBuilder {
 public:
  explicit ProfileBuilder(double accel, double brake) : accel_(accel), brake_(brake) {}

  void Stand(int frames);
  // Speed changes at the acceleration or brake rate to `speed`.
  void RampTo(double speed);
  // Holds the speed until the camera has come as near to `cm` as whole frames allow.
  void HoldUntil(long double cm);
  // Brakes to a stand exactly at `cm`. The last stretch at speed drifts a little in speed so
  // that the stop lands where the platform is, not where whole frames happen to end.
  void StopAt(long double cm);
  // Where braking from the present speed to `speed` must begin so as to reach it at `cm`.
  long double BrakePoint(long double cm, double speed) const;

  int32_t Frame() const { return frame_; }
  long double Cm() const { return cm_; }
  double SpeedNow() const { return speed_; }
  Schedule Finish() const { return Schedule(rows_); }

 private:
  void Add(int frames, double toSpeed);

  double accel_, brake_;
  std::vector<SpeedRow> rows_;
  int32_t frame_ = 0;
  long double cm_ = 0;
  double speed_ = 0;
};

}  // namespace kavrin::demo

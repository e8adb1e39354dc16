#include "dynamics/motion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/rounding.h"

namespace kavrin {

namespace {

constexpr long double kGravity = 9.8L;
constexpr const char* kSlipText = "空転";
constexpr const char* kSlideText = "滑走";
constexpr const char* kLevelText = "L";

// A gradient as the cab shows it: one decimal, halves away from zero, no sign on a zero.
std::string OneDecimal(Fixed4 value) {
  const int64_t tenths = (std::llabs(value.raw) + 500) / 1000;
  std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  return value.raw < 0 && tenths != 0 ? "-" + text : text;
}

// The mass the wheels press on the rail with: the motor cars of an electric train, the whole
// train of a diesel one (every axle of a railcar is driven).
long double AdhesionMass(const TVehicleParams& veh) { return veh.Engine_Type == 1 ? veh.Mt : veh.Tons; }

}  // namespace

void ApplyResistance(TDynamicsState& d, TTractionState& tr, const TVehicleParams& veh, const TRouteTables& route,
                     const TDelayedHandle& dh) {
  const long double v = std::fabs(d.Speed);
  const long double m = veh.Tons;
  const bool powered = dh.AppliedNotch > 0;
  const bool braking = dh.LastBrakeNotch < 0;
  d.Resistance = Fixed4{};

  if (powered) {
    d.Adhesion = (0.279L * v + 1) / (0.367L * v + 1) * route.Friction;
  } else if (braking) {
    d.Adhesion = route.Friction / (0.0059L * v + 1);
  }

  // The gradient is a rise per 1000 horizontal, so the force goes with the sine of the slope.
  const long double g = d.Gradient;
  d.Resistance = d.Resistance - m * 1000 * kGravity * g / std::sqrt(g * g + 1000.0L * 1000.0L);
  if (d.InTunnel) d.Resistance = d.Resistance - route.TunnelR / 10000.0L * v * v * m * kGravity;

  if (powered) {
    d.AdhesionLimit = d.Adhesion * AdhesionMass(veh) * 1000 * kGravity + d.Resistance;
  } else if (braking) {
    d.AdhesionLimit = d.Adhesion * m * 1000 * kGravity + d.Resistance;
  }

  if (powered && tr.TractiveForce > d.AdhesionLimit) {
    tr.TractiveForce = d.Adhesion / 2 * AdhesionMass(veh) * 1000 * kGravity;
    d.SlipText = kSlipText;
  } else if (!braking || tr.TractiveForce >= -d.AdhesionLimit) {
    d.SlipText.clear();
  } else {
    tr.TractiveForce = -0.66L * d.Adhesion * m * 1000 * kGravity;
    d.SlipText = kSlideText;
  }

  // Starting resistance fades out by 3 km/h; uphill the gradient already holds the train back.
  // It is friction: it opposes the motion, and at rest what would start the motion (tractive
  // force, gradient, tunnel) up to its own size, so on its own it never moves the train.
  d.MotionFriction = 0;
  if (powered && v < 3 && d.Resistance >= 0) {
    const long double start = (3 - v) * kGravity * m;
    if (d.Speed == 0) {
      const long double drive = static_cast<long double>(tr.TractiveForce) + d.Resistance;
      d.Resistance = d.Resistance - std::clamp(drive, -start, start);
    } else {
      d.Resistance = d.Speed > 0 ? d.Resistance - start : d.Resistance + start;
      d.MotionFriction += start;
    }
  }

  if (d.Speed > 0.1L || d.Speed < -0.1L) {
    const long double running =
        kGravity * (1.32L * m + 0.0164L * v * m + (0.028L + 0.0078L * (veh.Cars - 1)) * v * v);
    d.Resistance = d.Speed > 0 ? d.Resistance - running : d.Resistance + running;
    d.MotionFriction += running;
  }
}

void ApplyHoldAndConstantSpeed(TDynamicsState& d, TTractionState& tr, const THandleState& h, int32_t movieState) {
  if (d.Resistance > 0 && h.HoldEngaged && d.Gradient < 0) tr.TractiveForce = tr.TractiveForce - d.Resistance;
  if (h.ConstActive == 1) tr.TractiveForce = d.Resistance < 0 ? Fixed4{-d.Resistance} : Fixed4{};
  if (movieState == 1) d.Resistance = Fixed4{};
}

void UpdateSpeed(TDynamicsState& d, TTractionState& tr, const TBrakeState& b, const TVehicleParams& veh) {
  const long double m = veh.Tons;
  if (m <= 0) {
    d.PredictedSpeed = d.Speed;
    return;
  }
  d.PredictedSpeed = d.Speed + tr.TractiveForce / (m * 1000) * 3.6L / 33 + d.Resistance / (m * 1000) * 3.6L / 33;

  auto stop = [&] {
    d.Speed = 0;
    tr.TractiveForce = Fixed4{};
    d.Resistance = Fixed4{};
  };
  const long double tf = tr.TractiveForce;
  const long double r = d.Resistance;
  if (d.Speed == 0) {
    // The trailer cars' cylinders hold the train against the gradient while they can. A
    // vehicle without an emergency pressure has nothing to hold with.
    const long double hold =
        veh.EBPress != 0 ? b.ShoeFriction * b.BcPressT / veh.EBPress / 3.6L * m * 1000 : 0.0L;
    if (std::fabs(r) < std::fabs(hold)) stop();
  } else if (d.Speed > 0) {
    if (tf < 0 && std::fabs(tf) > std::fabs(r) && d.PredictedSpeed < 0) stop();
  } else {
    if (tf > 0 && std::fabs(tf) > std::fabs(r) && d.PredictedSpeed > 0) stop();
  }

  if (d.NoAccel) return;
  const long double before = d.Speed;
  d.Speed += (static_cast<long double>(tr.TractiveForce) + d.Resistance) / (m * 1000) * 3.6L / 30;
  // A step that friction alone carries through 0 ends at rest instead of turning the train.
  if (before != 0 && d.MotionFriction > 0 && !(d.Speed * before > 0)) {
    const long double sign = before > 0 ? 1.0L : -1.0L;
    const long double free =
        before + (static_cast<long double>(tr.TractiveForce) + d.Resistance + sign * d.MotionFriction) / (m * 1000) * 3.6L / 30;
    if (free * before > 0) d.Speed = 0;
  }
}

void FollowFilmSegment(TDynamicsState& d, const TRouteTables& route, int32_t curFrame) {
  const auto& units = route.SpeedUnits;
  for (int32_t i = 0; i < units.Count(); ++i) {
    const TSpeedUnitRec& u = units[i];
    if (!(u.FromFrame <= curFrame && curFrame < u.ToFrame)) continue;
    if (i != d.FilmSegment && d.FilmSegment != -1) {
      // The boundary just crossed: the start of the row when entering it forwards, its end when
      // backing into it.
      if (d.FilmSegment < i) d.Position = i == 0 ? 0 : units[i - 1].EndPos;
      else d.Position = u.EndPos;
    }
    const long double span = u.ToFrame - u.FromFrame;
    d.FilmSpeed = static_cast<int32_t>(
        RoundHalfAway(u.FromSpeed + (u.ToSpeed - u.FromSpeed) / span * (curFrame - u.FromFrame)));
    d.FilmSegment = i;
  }
}

void AdvancePosition(TDynamicsState& d, long double nextStopPos) {
  // cm travelled in 1/30 s at Speed km/h.
  d.PositionStep = d.Speed == 0 ? 0.0L : d.Speed / 36000 * 33333;
  d.Position += d.PositionStep;
  d.RemainDist = nextStopPos - d.Position;
}

void SampleCarGradient(TDynamicsState& d, const TVehicleParams& veh) {
  if (d.CarGradient.empty()) return;
  if (!(std::fabs(d.Position - d.LastGradientPos) > static_cast<long double>(veh.Length) * 100)) return;
  d.LastGradientPos = d.Position;
  std::copy_backward(d.CarGradient.begin(), d.CarGradient.end() - 1, d.CarGradient.end());
  d.CarGradient.front() = static_cast<int32_t>(Round(d.HeadGradient));
  int64_t sum = 0;
  for (int32_t g : d.CarGradient) sum += g;
  d.Gradient = static_cast<long double>(sum) / static_cast<long double>(d.CarGradient.size());
}

void ScanHeadGradient(TDynamicsState& d, const TRouteTables& route, int32_t curFrame) {
  const auto& slopes = route.Slopes;
  const int32_t count = slopes.Count();
  for (int32_t i = 0; i < count; ++i) {
    const TSlopeRec& s = slopes[i];
    if (s.FromFrame < curFrame && curFrame < s.ToFrame) {
      if (!(s.Gradient == d.HeadGradient) && s.Gradient.raw != 0) d.SlopeSignCell = i + 1;
      d.HeadGradient = s.Gradient;
      d.GradientText = OneDecimal(s.Gradient);
      d.GradientAbsText = OneDecimal(Fixed4::FromRaw(std::llabs(s.Gradient.raw)));
    }
    const bool beforeNext = i + 1 < count && s.ToFrame < curFrame && curFrame < slopes[i + 1].FromFrame;
    const bool pastLast = i + 1 == count && s.ToFrame < curFrame;
    if (beforeNext || pastLast) {
      d.HeadGradient = Fixed4{};
      d.SlopeSignCell = 0;
      d.GradientText = kLevelText;
      d.GradientAbsText = kLevelText;
    }
  }
}

void StartMotion(TDynamicsState& d, const TVehicleParams& veh, long double position) {
  d = TDynamicsState{};
  d.Position = position;
  d.FilmSegment = -1;
  // A train of no cars still feels the gradient under it.
  d.CarGradient.assign(static_cast<size_t>(std::max(veh.Cars, 1)), 0);
}

}  // namespace kavrin

#include "dynamics/brakes.h"

#include <cmath>

#include "dynamics/dynamics_math.h"

namespace kavrin {

namespace {

// The friction curve of the brake shoes, relative to its value at BrakeRate[2] and above.
long double ShoeFrictionAt(long double v, const TVehicleParams& veh) {
  const long double ref = veh.BrakeRate[2].Real();
  auto mu = [&](long double u) { return Quot(0.25L * (0.01L * u + 1.0L), veh.BrakeRate2 * u + 1.0L); };
  const long double atRef = mu(ref);
  // A curve that cannot be formed leaves the shoes at their full friction.
  if (atRef == 0) return 1;
  return Quot(mu(v), atRef);
}

}  // namespace

void BrakeForceStep(TBrakeState& b, TTractionState& tr, long double speed, const TVehicleParams& veh) {
  const long double v = std::fabs(speed);
  // At rest the shoes stand at BrakeRate[0], as the train was set up; the force does not act
  // then. From BrakeRate[2] up (that speed included) the friction is full.
  if (v == 0) b.ShoeFriction = veh.BrakeRate[0];
  else if (v < veh.BrakeRate[2].Real()) b.ShoeFriction = ToFixed(ShoeFrictionAt(v, veh));
  else b.ShoeFriction = Fixed4(1.0L);

  const long double rate = veh.BrakeRate[0].Real();
  const long double friction = b.ShoeFriction.Real();
  const long double motor = rate * Quot(b.BcPressM.Real(), veh.EBPress) / 3.6L * veh.Mt.Real() * 1000.0L * friction;
  const long double trailer = rate * Quot(b.BcPressT.Real(), veh.EBPress) / 3.6L * veh.Tt.Real() * 1000.0L * friction;
  b.BrakeForce = ToFixed(motor + trailer);
  if (veh.BrakeType2 > 0 && tr.EBrakeCurrent > 0)
    b.BrakeForce = ToFixed(b.BrakeForce.Real() + veh.EBrakeCurr[1] * tr.EBrakeCurrent * 9.8L);

  if (speed > 0) tr.TractiveForce = ToFixed(tr.TractiveForce.Real() - b.BrakeForce.Real());
  else if (speed < 0) tr.TractiveForce = ToFixed(tr.TractiveForce.Real() + b.BrakeForce.Real());
}

void BrakeNotchDelays(TDelayedHandle& d, const THandleState& h, const TBrakeState& b, long double speed,
                      const TVehicleParams& veh, const TTrainInputs& in) {
  // The protection demands override the handle: emergency outright, the service demand at the
  // highest service step unless the handle already stands at emergency.
  int32_t target = h.BrakeNotch;
  if (in.EmergencyTrip != 0) target = -veh.Brake;
  else if (in.ATSTrip != 0) target = h.BrakeNotch == -veh.Brake ? h.BrakeNotch : 1 - veh.Brake;

  // Each pending change is taken up once its count reaches the delay, so that a delay of 0 (the
  // key absent) acts on the next tick.
  if (d.BrakeDelayRun) {
    ++d.BrakeDelayCnt;
    const bool due = (b.BcPressT.raw == 0 && d.BrakeDelayCnt >= veh.BrakeDelay) ||
                     (b.BcPressT.raw > 0 && d.BrakeDelayCnt >= 0.7L * veh.BrakeDelay);
    if (due) {
      d.BrakeDelayRun = false;
      d.BrakeDelayCnt = 0;
      d.LastBrakeNotch = target;
    }
  }

  if (d.SapDelayRun) {
    ++d.SapDelayCnt;
    if (d.SapDelayCnt >= veh.SAPDelay) {
      d.SapDelayRun = false;
      d.SapDelayCnt = 0;
      d.SapNotch = target;
    }
  }

  if (d.EBrakeDelayRun) {
    if (d.EBrakeNotch == 0 && speed < veh.LoseElec[0]) {
      // Too slow for the motors to brake: the change is dropped, its count with it.
      d.EBrakeDelayRun = false;
      d.EBrakeDelayCnt = 0;
    } else {
      if (d.EBrakeNotch != 0) d.EBrakeDelayCnt = veh.EBrakeDelay;
      else ++d.EBrakeDelayCnt;
      if (d.EBrakeDelayCnt >= veh.EBrakeDelay) {
        d.EBrakeDelayRun = false;
        d.EBrakeDelayCnt = 0;
        d.EBrakeNotch = target;
      }
    }
  }
}

}  // namespace kavrin

#include "dynamics/traction.h"

#include <cmath>
#include <cstdlib>

#include "core/rounding.h"
#include "dynamics/diesel.h"
#include "dynamics/dynamics_math.h"

namespace kavrin {

namespace {

// x^n as repeated products, which is what the notch curves were tuned with. Exponents far
// beyond any speed come only from broken data; they take the library power instead of a loop
// of that length.
long double NotchPower(long double x, int32_t n) {
  if (std::abs(static_cast<int64_t>(n)) > 10000) return std::pow(x, static_cast<long double>(n));
  return IntPower(x, n);
}

// Acceleration (km/h/s) of one notch-table row at speed v >= 0.
long double NotchAccel(const TNotchRow& r, long double v) {
  if (r.A0 > 0) {
    if (v < r.V1) return r.A0 + Quot(r.A1 - r.A0, r.V1) * v;
    if (v < r.V2) return Quot(r.A1 * r.V1, v);
    const long double decay = Quot(NotchPower(r.X, RoundHalfAway32(v)), NotchPower(r.X, r.V2));
    return Quot(r.A1 * r.V1 * decay, v);
  }
  // A braking or idle notch (a suppression notch) acts only inside its speed band.
  if (r.V1 <= v && v < r.V2) return r.A0;
  return 0;
}

long double ForceOf(long double accel, Fixed4 tons) { return accel / 3.6L * tons.Real() * 1000.0L; }

// The needle moves half the gap each tick. The half step is what is rounded (halves away from
// zero), not the new reading: rounding the reading would leave a needle falling towards 0 stuck
// at 1 A for ever, since 1 - 0.5 rounds back up to 1.
void SmoothAmmeter(TTractionState& tr) {
  const long double value = tr.AmMeterValue;
  const long double half = std::fabs(static_cast<long double>(tr.AmMeterTarget) - value) / 2.0L;
  const long double step = static_cast<long double>(RoundHalfAway32(half));
  if (tr.AmMeterValue < tr.AmMeterTarget) tr.AmMeterValue = ToInt32(value + step);
  else if (tr.AmMeterValue > tr.AmMeterTarget) tr.AmMeterValue = ToInt32(value - step);
}

void MotorCurrent(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double speed,
                  const TVehicleParams& veh, const TCurrentP& p, const TTrainInputs& in) {
  const int32_t n = d.AppliedNotch;
  const auto& rows = p.Rows;
  const int32_t count = static_cast<int32_t>(rows.size());
  if (n > 0 && in.DoorState == 0 && (veh.DoorLock == 0 || veh.DoorLock == 1)) {
    // The current of the step in use, Ka / (v - Kb). Every pass over the rows works out the same
    // value, and the first row can never be a next step, so it is worked out once, first.
    if (tr.CurrentStepIdx >= 0 && tr.CurrentStepIdx < count) {
      const TCurrentStep& step = rows[tr.CurrentStepIdx];
      const long double gap = h.Reverser * speed - step.Kb;
      if (gap != 0) tr.NotchCurrent = RoundHalfAway32(step.Ka / gap);
    }
    // The next step engages (after its hold time) once the current has fallen below the limit.
    const int64_t limit = static_cast<int64_t>(p.Limit) + in.CurrentLimitAdd;
    for (int32_t j = tr.CurrentStepIdx + 1; j < count; ++j) {
      if (j >= 0 && h.PowerNotch >= rows[j].MinNotch && tr.NotchCurrent < limit) tr.StepDelayRun = true;
    }
  } else if (n == 0) {
    tr.CurrentStepIdx = 0;
    tr.NotchCurrent = 0;
  }
  tr.AmMeterTarget = tr.NotchCurrent;
}

void NotchTableAmmeter(TTractionState& tr, const TDelayedHandle& d, long double speed, const TVehicleParams& veh,
                       const TVehicleTables& t) {
  const int32_t n = d.AppliedNotch;
  const long double acc = Quot(tr.MotorForce.Real() * 3.6L, veh.Tons.Real() * 1000.0L);
  const long double scaled = acc * veh.AmMeterScale;
  // The first speed point of the top notch.
  const bool hasTop = veh.Power >= 1 && veh.Power <= static_cast<int32_t>(t.Notch.size());
  const long double w = hasTop ? t.Notch[veh.Power - 1].V1 : 0;
  if (veh.AmMeterMode == 1) {
    if (n > 0 && speed < w) tr.AmMeterTarget = RoundEven32(Quot(scaled, w) * speed);
    else if (n > 0) tr.AmMeterTarget = RoundEven32(scaled);
    else if (d.LastBrakeNotch < 0 && tr.MotorForce.raw < 0) tr.AmMeterTarget = RoundEven32(scaled);
    else tr.AmMeterTarget = 0;
  } else {
    tr.AmMeterTarget = d.LastBrakeNotch < 0 || n > 0 ? RoundHalfAway32(scaled) : 0;
  }
}

// Brake_Type 1: the current ramps up to the share of EBrakeCurr[0] the brake position asks for.
void RampedBrakeCurrent(TTractionState& tr, const TDelayedHandle& d, long double speed, const TVehicleParams& veh,
                        const TTrainInputs& in) {
  long double& current = tr.EBrakeCurrent;
  const int32_t e = d.EBrakeNotch;
  const long double up = PerTick(veh.EBrakeUp, in.DispRate);
  const long double down = PerTick(veh.EBrakeDown, in.DispRate);
  if (veh.BrakeType2 > 0) {
    const long double asked = Quot(veh.EBrakeCurr[0], veh.Brake - 1) * -e;
    if (e > -veh.Brake && speed >= veh.LoseElec[1] && current < veh.EBrakeCurr[0] && current < asked) current += up;
    else current -= down;
  }
  if (current < 0) current = 0;
  if (current > 0 && (e == 0 || e == -veh.Brake)) {
    current -= down;
    if (current < 0) current = 0;
  }
  if (current > 0) tr.AmMeterTarget = -RoundHalfAway32(current);
}

// Brake_Type 0: the current follows the rows of the dynamic-brake table, stepping on while it is
// below what the brake position (or the suppression step) allows.
void SteppedBrakeCurrent(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double v,
                         const TVehicleParams& veh, const TVehicleTables& t, const TTrainInputs& in) {
  long double& current = tr.EBrakeCurrent;
  int32_t& idx = tr.CurrentBIdx;
  const auto& rows = t.CurrentB;
  const int32_t count = static_cast<int32_t>(rows.size());
  auto follow = [&] {
    if (idx < 0 || idx >= count || rows[idx].Ka == 0) return;
    current = Quot(v - rows[idx].Kb, rows[idx].Ka);
  };
  const int32_t e = d.EBrakeNotch;
  if (h.SuppressPos > 0) {
    const int32_t allowed = h.SuppressPos <= kSuppressValues ? t.Suppress[h.SuppressPos] : 0;
    for (int32_t j = 0; j < count; ++j) {
      follow();
      if (j > idx && current < 125 && allowed > idx) ++idx;
    }
    if (current < 0) current = 0;
  } else if (((veh.DoorLock == 1 && in.DoorState == 0) || veh.DoorLock == 0) && e < 0) {
    if (v < veh.LoseElec[1]) {
      current = 0;
    } else {
      const int32_t asked = -e <= kBrakeCurrValues ? t.BrakeCurr[-e] : 0;
      for (int32_t j = 0; j < count; ++j) {
        follow();
        if (asked == 0) {
          idx = 0;
          current = 0;
        } else if (j > idx && current < asked) {
          ++idx;
        }
      }
    }
  }
  if (e == 0) {
    idx = 0;
    current = 0;
  }
  // Braking on the motors leaves the power steps at the start.
  if (idx > 0) tr.CurrentStepIdx = 0;
  if (current > 0) tr.AmMeterTarget = -RoundHalfAway32(current);
}

}  // namespace

void TractionForce(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double speed,
                   const TVehicleParams& veh, const TVehicleTables& t, const TTrainInputs& in) {
  tr.TractiveForce = Fixed4{};
  const bool doorsAllow = veh.DoorLock == 0 || (veh.DoorLock == 1 && in.DoorState == 0);
  if (!(speed < veh.MaxSpeed) || !doorsAllow || in.EngineRunning != 1 || in.EmergencyTrip != 0 || in.ATSTrip != 0)
    return;
  const int32_t n = d.AppliedNotch;
  const long double v = std::fabs(speed);
  long double force = 0;
  if (veh.Engine_Type == 1 && veh.Power_Type == 1 && n > 0 && h.BrakeNotch == 0) {
    if (n <= static_cast<int32_t>(t.Notch.size())) force = ForceOf(NotchAccel(t.Notch[n - 1], v), veh.Tons);
  } else if (veh.Engine_Type == 1 && veh.Power_Type == 0 && n > 0) {
    const TCurrentP& p = t.CurrentP;
    const long double accel = v < p.Speed ? p.Accel : Quot(p.Accel * p.Speed, v);
    force = Quot(ForceOf(accel, veh.Tons), p.Limit) * tr.NotchCurrent;
  } else if (veh.Engine_Type == 0) {
    // Diesel cars: the engine's force through the engaged gear.
    if (in.Diesel) force = DieselTractiveForce(veh, t, *in.Diesel, n, speed);
  }
  if (h.Reverser == 0) force = 0;
  else if (h.Reverser == -1) force = -force;
  tr.TractiveForce = ToFixed(force);
}

void PowerNotchDelay(TTractionState& tr, TDelayedHandle& d, const THandleState& h, const TVehicleParams& veh,
                     const TVehicleTables& t, const TTrainInputs& in) {
  if (tr.StepDelayRun) {
    ++tr.StepDelayCnt;
    const auto& rows = t.CurrentP.Rows;
    const bool known = tr.CurrentStepIdx >= 0 && tr.CurrentStepIdx < static_cast<int32_t>(rows.size());
    if (!known) {
      tr.StepDelayRun = false;
      tr.StepDelayCnt = 0;
    } else if (tr.StepDelayCnt >= rows[tr.CurrentStepIdx].HoldTicks) {
      tr.StepDelayRun = false;
      tr.StepDelayCnt = 0;
      ++tr.CurrentStepIdx;
      tr.StepAdvanced = true;
    }
  }
  // A pending change is taken up once its count reaches the delay, so a delay of 0 (the key
  // absent) takes it up on the next tick instead of never.
  if (d.PowerDelayRun) {
    ++d.PowerDelayCnt;
    if (d.PowerDelayCnt >= veh.PowerDelay) {
      d.PowerDelayRun = false;
      d.PowerDelayCnt = 0;
      if (in.MovieState == 0 || in.MovieState == 2) {
        const int32_t p = h.PowerNotch;
        if (p >= d.AppliedNotch || p >= veh.NotchBack || p == 0) d.AppliedNotch = p;
      }
    }
  }
  tr.MotorForce = tr.TractiveForce;
}

void TractionCurrent(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double speed,
                     const TVehicleParams& veh, const TVehicleTables& t, const TTrainInputs& in) {
  SmoothAmmeter(tr);
  if (veh.Power_Type == 0) MotorCurrent(tr, d, h, speed, veh, t.CurrentP, in);
  else if (veh.Power_Type == 1) NotchTableAmmeter(tr, d, speed, veh, t);
  if (veh.Brake_Type == 1) RampedBrakeCurrent(tr, d, speed, veh, in);
  else if (veh.Brake_Type == 0) SteppedBrakeCurrent(tr, d, h, std::fabs(speed), veh, t, in);
}

}  // namespace kavrin

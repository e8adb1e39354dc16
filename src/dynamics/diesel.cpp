#include "dynamics/diesel.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

constexpr long double kGravity = 9.8L;
constexpr long double kIdleRpm = 30;
constexpr long double kNeutralTopRpm = 95;
constexpr int32_t kShiftTicks = 10;     // 100 ms ticks of a gear change
constexpr int32_t kEngineKeyTicks = 50;  // the start key held this long starts the engine
constexpr int32_t kStopSoundTick = 40;   // the stop key's sound comes before the engine stops

const TEngineRow* EngineRow(const TVehicleTables& t, int32_t gear) {
  return gear >= 0 && gear < static_cast<int32_t>(t.Engine.size()) ? &t.Engine[static_cast<size_t>(gear)] : nullptr;
}

// Interpolation along one band of a gear's effort curve; a band of no width has its start value.
long double Band(long double f0, long double f1, int32_t s0, int32_t s1, long double v) {
  if (s1 == s0) return f0;
  return f0 + (f1 - f0) / (s1 - s0) * std::fabs(v - s0);
}

int32_t EngineStartSound(const TVehicleTables& t) { return t.EngineSound2[2]; }
int32_t EngineStopSound(const TVehicleTables& t) { return t.EngineSound2[3]; }

}  // namespace

long double DieselTractiveForce(const TVehicleParams& veh, const TVehicleTables& t, const TDieselState& d,
                                int32_t appliedNotch, long double speed) {
  if (d.GearShiftState != 0 || appliedNotch <= 0 || veh.Power <= 0) return 0;
  const TEngineRow* row = EngineRow(t, d.Gear);
  if (!row) return 0;
  const long double v = std::fabs(speed);
  const long double perNotch = kGravity / veh.Power;
  if (v < row->S1) {
    const long double effort = Band(row->F0, row->F1, row->S0, row->S1, v) * perNotch;
    // Starting off, only the first two notches count, so that the train does not jerk.
    const int32_t notches = speed < veh.PowerJerk ? std::min(appliedNotch, 2) : appliedNotch;
    return effort * notches;
  }
  if (v < row->S2) return Band(row->F1, row->F2, row->S1, row->S2, v) * perNotch * appliedNotch;
  return 0;
}

void UpdateEngineSpeed(TDieselState& d, const TVehicleTables& t, int32_t appliedNotch, long double speed) {
  const int32_t g = d.Gear;
  const bool driving = appliedNotch != 0 && d.GearShiftState == 0;
  if (g > 0) {
    const TEngineRateRow* rate =
        g < static_cast<int32_t>(t.EngineRate.size()) ? &t.EngineRate[static_cast<size_t>(g)] : nullptr;
    d.EngineRpmTarget = rate ? std::fabs(speed) * rate->Slope + rate->Offset : 0.0L;
    if (driving) {
      // The top gear is the direct drive: the engine is coupled to the wheels.
      if (g == t.EngineRows - 1) {
        d.EngineRpm = d.EngineRpmTarget;
      } else {
        const long double gap = d.EngineRpmTarget - d.EngineRpm;
        const long double step = std::fabs(gap) > 5 ? 0.6L : std::fabs(gap) > 1 ? 0.03L : 0.0L;
        d.EngineRpm += gap > 0 ? step : -step;
      }
    } else if (d.EngineRpm > kIdleRpm) {
      d.EngineRpm -= 1;
    }
  } else if (t.Gear_Type == 1) {
    d.EngineRpmTarget = 100;
    if (driving) {
      d.EngineRpm = d.EngineRpm < kNeutralTopRpm ? std::min(d.EngineRpm + 0.5L, kNeutralTopRpm) : kNeutralTopRpm;
    } else if (d.EngineRpm > kIdleRpm) {
      d.EngineRpm -= 1;
    }
  }
  if (d.EngineRunning == 0) {
    if (d.EngineRpm > 0) d.EngineRpm -= 3;
  } else if (d.EngineRpm < kIdleRpm) {
    d.EngineRpm += 3;
  }
  d.EngineRpm = std::max(d.EngineRpm, 0.0L);
}

void SelectGear(TDieselState& d, THandleState& h, const TVehicleTables& t, long double speed) {
  if (t.Gear_Type != 0 || d.GearShiftState != 0) return;
  const long double v = std::fabs(speed);
  for (int32_t g = 0; g < t.EngineRows; ++g) {
    const TEngineRow* row = EngineRow(t, g);
    if (!row) break;
    // The lever stays within the gears the table has, whatever its speeds say.
    if (h.GearLever == g && d.Gear < t.EngineRows - 1 && v > row->S2 && g < t.EngineRows - 1) h.GearLever += 1;
    if (h.GearLever == g && v < row->S0 && g > 0) h.GearLever -= 1;
  }
  if (d.Gear >= 1 && speed < 10) d.Gear = 1;
}

bool ShiftGears(TDieselState& d, const THandleState& h, const TGearShiftInputs& in) {
  const bool doorsAllow = (in.DoorLock == 1 && in.DoorsClosed) || in.DoorLock == 0;
  bool cabChanged = false;
  if (doorsAllow && d.GearShiftState == 0 && d.ShiftTimer == 0) {
    if (d.EngineRunning == 1 && in.AppliedNotch > 0 && d.Gear != h.GearLever && !in.EmergencyTrip) {
      d.GearShiftState = 1;
      cabChanged = true;
    } else if (d.Gear != 0 && in.AppliedNotch == 0) {
      // Power off lets the gearbox go to neutral at once; the change still takes its second.
      d.Gear = 0;
      d.GearShiftState = 2;
      cabChanged = true;
    }
  }
  if (d.GearShiftState != 0) {
    d.ShiftTimer += 1;
    if (d.ShiftTimer >= kShiftTicks) {
      d.ShiftTimer = 0;
      if (doorsAllow && d.GearShiftState == 1 && !in.EmergencyTrip && h.GearLever > 0) d.Gear = h.GearLever;
      if (d.GearShiftState == 2) d.Gear = 0;
      d.GearShown = d.Gear;
      d.GearShiftState = 0;
      cabChanged = true;
    }
  }
  return cabChanged;
}

void CheckEngineStall(TDieselState& d, const THandleState& h, TDelayedHandle& dh, const TVehicleTables& t,
                      long double speed) {
  if (d.EngineRunning == 1 && h.Reverser != 0 && d.Gear == h.GearLever && h.GearLever == t.EngineRows - 1 &&
      dh.AppliedNotch >= 1 && std::fabs(speed) < 0.5L) {
    d.EngineRunning = 0;
    dh.AppliedNotch = 0;
    d.EngineSounds.Restart(EngineStopSound(t));
  }
}

void OperateEngineKeys(TDieselState& d, int32_t engineSwitch, const THandleState& h, const TVehicleTables& t) {
  const int32_t held = d.EngineSwitchTicks;
  if (d.EngineRunning == 0 && engineSwitch == 1 && held == 1) {
    d.EngineSounds.Restart(EngineStartSound(t));
    d.EngineRunning = -1;
  } else if (d.EngineRunning == -1 && engineSwitch == 1 && held == kEngineKeyTicks) {
    d.EngineRunning = 1;
  } else if (d.EngineRunning == -1 && engineSwitch == 0 && held >= 1 && held < kEngineKeyTicks) {
    // Let go before the engine caught.
    d.EngineSounds.Push(TSoundRequest::Op::Play, EngineStopSound(t));
    d.EngineRunning = 0;
    d.EngineSwitchTicks = 0;
  }

  if (d.EngineRunning == 1 && engineSwitch == 2 && held == 1 && h.PowerNotch == 0) {
    d.EngineRunning = -2;
  } else if (d.EngineRunning == -2 && engineSwitch == 2 && held == kStopSoundTick) {
    d.EngineSounds.Push(TSoundRequest::Op::Play, EngineStopSound(t));
  } else if (d.EngineRunning == -2 && engineSwitch == 2 && held == kEngineKeyTicks) {
    d.EngineRunning = 0;
    d.EngineSwitchTicks = 0;
  } else if (d.EngineRunning == -2 && engineSwitch == 0 && held >= 1 && held < kEngineKeyTicks) {
    d.EngineRunning = 1;
    d.EngineSwitchTicks = 0;
  }

  if (engineSwitch == 0) d.EngineSwitchTicks = 0;
  else if (engineSwitch == 1 || engineSwitch == 2) d.EngineSwitchTicks += 1;
}

bool EnginePictureShown(const TDieselState& d) {
  return d.EngineRunning == 1 || d.EngineRunning == -1 || d.EngineRunning == -2;
}

}  // namespace kavrin

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "dynamics/dynamics_math.h"
#include "unit/dynamics_fixture.h"

namespace kavrin {
namespace {

using test::TrainRig;

TEST(DynamicsMath, RoundingMatchesFixedPointAndNothingNonNumericGetsIn) {
  for (long double x : {2.5L, 3.5L, -2.5L, -3.5L, 0.5L, -0.5L, 7.49999L, -7.50001L, 1e12L}) {
    EXPECT_EQ(RoundToEven(x), static_cast<int64_t>(std::nearbyint(x))) << x;
  }
  long double x = -123456.789L;
  for (int i = 0; i < 2000; ++i, x += 123.45678901L / 7) EXPECT_EQ(ToFixed(x).raw, Fixed4(x).raw) << x;
  EXPECT_EQ(ToFixed(0.00005L).raw, Fixed4(0.00005L).raw);
  EXPECT_EQ(ToFixed(std::numeric_limits<long double>::infinity()).raw, 0);
  EXPECT_EQ(ToFixed(std::numeric_limits<long double>::quiet_NaN()).raw, 0);
  EXPECT_EQ(ToFixed(1e300L), Fixed4(9.0e14L));
  EXPECT_EQ(Quot(1, 0), 0);
  EXPECT_EQ(RoundHalfAway32(-2.5L), -3);
  EXPECT_EQ(RoundHalfAway32(1e20L), std::numeric_limits<int32_t>::max());
}

TEST(PowerDelay, ANotchDownStopsAtNotchBackUnlessItGoesToOff) {
  struct Case {
    int32_t from, to, notchBack, delay, applied;
  };
  const Case cases[] = {
      {5, 2, 3, 4, 5},  // below NotchBack: the notch in force stays
      {5, 0, 3, 4, 0},  // off always applies
      {5, 3, 3, 4, 3},
      {2, 4, 3, 4, 4},  // notching up is never held back
      {1, 3, 0, 0, 3},  // no delay given: the next tick
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.veh.NotchBack = c.notchBack;
    r.veh.PowerDelay = c.delay;
    r.Applied(c.from);
    r.Power(c.to);
    const int ticks = c.delay > 0 ? c.delay : 1;
    for (int i = 1; i < ticks; ++i) PowerNotchDelay(r.tr, r.d, r.h, r.veh, r.t, r.in);
    EXPECT_EQ(r.d.AppliedNotch, c.from) << c.from << "->" << c.to;
    PowerNotchDelay(r.tr, r.d, r.h, r.veh, r.t, r.in);
    EXPECT_EQ(r.d.AppliedNotch, c.applied) << c.from << "->" << c.to;
    EXPECT_FALSE(r.d.PowerDelayRun);
    EXPECT_EQ(r.d.PowerDelayCnt, 0);
  }
}

TEST(PowerDelay, TwoMovementsAreTakenUpOneDelayAfterTheFirstAtTheLaterPosition) {
  TrainRig r;
  r.veh.PowerDelay = 5;
  r.Power(1);
  r.Ticks(2);
  r.Power(3);  // the count goes on
  r.Ticks(2);
  EXPECT_EQ(r.d.AppliedNotch, 0);
  r.Tick();
  EXPECT_EQ(r.d.AppliedNotch, 3);
}

TEST(PowerDelay, NotTakenUpWhileASideFilmShows) {
  TrainRig r;
  r.veh.PowerDelay = 1;
  r.in.MovieState = 1;
  r.Power(2);
  r.Tick();
  EXPECT_EQ(r.d.AppliedNotch, 0);
  EXPECT_FALSE(r.d.PowerDelayRun);  // the change is spent
}

TEST(Traction, ForceOnlyWhenEverythingAllowsItAndTheReverserGivesItsDirection) {
  // Notch 2 at 10 km/h: 2 km/h/s on 36 t.
  struct Case {
    const char* what;
    std::function<void(TrainRig&)> set;
    long double force;
  };
  const std::vector<Case> cases = {
      {"plain", [](TrainRig&) {}, 20000},
      {"brake out of release", [](TrainRig& r) { r.h.BrakeNotch = -1; }, 0},
      {"at MaxSpeed", [](TrainRig& r) { r.veh.MaxSpeed = 10; }, 0},
      {"above MaxSpeed", [](TrainRig& r) { r.veh.MaxSpeed = 5; }, 0},
      // 30 km/h backwards, constant power: 2 x 20 / 30 km/h/s, still forward with the reverser.
      {"backwards past MaxSpeed", [](TrainRig& r) { r.speed = -30; }, 13333.3333L},
      {"reverser neutral", [](TrainRig& r) { r.h.Reverser = 0; }, 0},
      {"reverser back", [](TrainRig& r) { r.h.Reverser = -1; }, -20000},
      {"doors open, interlocked", [](TrainRig& r) { r.veh.DoorLock = 1; r.in.DoorState = 1; }, 0},
      {"doors open, no interlock", [](TrainRig& r) { r.in.DoorState = 1; }, 20000},
      {"doors closed, DoorLock 2", [](TrainRig& r) { r.veh.DoorLock = 2; }, 0},
      {"engine stopped", [](TrainRig& r) { r.in.EngineRunning = 0; }, 0},
      {"emergency demand", [](TrainRig& r) { r.in.EmergencyTrip = 1; }, 0},
      {"service demand", [](TrainRig& r) { r.in.ATSTrip = 1; }, 0},
      {"diesel", [](TrainRig& r) { r.veh.Engine_Type = 0; }, 0},
      {"notch beyond the table", [](TrainRig& r) { r.t.Notch.resize(1); }, 0},
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.Applied(2);
    r.speed = 10;
    r.veh.MaxSpeed = 20;
    c.set(r);
    TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
    EXPECT_EQ(r.tr.TractiveForce, Fixed4(c.force)) << c.what;
  }
}

TEST(Traction, NotchTableCurves) {
  struct Case {
    TNotchRow row;
    long double speed;
    long double force;  // N on 36 t: 10000 per km/h/s
  };
  const TNotchRow power{3, 2, 20, 60, 0.98L, 0};
  const TNotchRow retard{-1.5L, 0, 20, 60, 0, 0};  // a retarding notch: only inside its band
  const Case cases[] = {
      {power, 0, 30000},
      {power, 10, 25000},                // linear from A0 to A1
      {power, -10, 25000},               // backwards alike
      {power, 40, 10000},                // constant power: 2 x 20 / 40
      {power, 70, 4668.9875L},           // 2 x 20 x 0.98^(70-60) / 70
      {power, 69.5L, 4702.5773L},        // the exponent takes the speed rounded: 70
      {retard, 10, 0},
      {retard, 20, -15000},
      {retard, 59.9L, -15000},
      {retard, 60, 0},
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.t.Notch = {c.row};
    r.Applied(1);
    r.speed = c.speed;
    TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
    EXPECT_NEAR(r.tr.TractiveForce.Real(), c.force, 0.0001L) << c.row.A0 << " at " << c.speed;
  }
}

TEST(Traction, RowsThatWouldDivideByZeroGiveNoForce) {
  const TNotchRow rows[] = {
      {3, 2, 0, 0, 0.98L, 0},    // V1 = V2 = 0 at standstill
      {3, 2, 0, 10, 0.98L, 0},   // constant power from 0 km/h
      {3, 2, 5, 8, 0, 0},        // X = 0
      {3, 2, 5, -2000000000, 0.98L, 0},
  };
  for (const TNotchRow& row : rows) {
    TrainRig r;
    r.t.Notch = {row};
    r.Applied(1);
    for (long double v : {0.0L, 9.0L}) {
      r.speed = v;
      TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
      const long double f = r.tr.TractiveForce.Real();
      EXPECT_TRUE(f == 0 || (row.V1 > 0 && v < row.V1)) << row.V1 << "," << row.V2 << " at " << v << ": " << f;
    }
  }
  TrainRig r;
  r.veh.Tons = Fixed4{};
  r.in.DispRate = 0;
  r.Applied(3);
  r.speed = 10;
  r.Ticks(3);
  EXPECT_EQ(r.tr.TractiveForce.raw, 0);
  EXPECT_EQ(r.tr.AmMeterTarget, 0);
}

// The resistance-control model: three steps, the motor current Ka / (v - Kb) of the step in use.
struct StepRig : TrainRig {
  StepRig() {
    veh.Power_Type = 0;
    veh.Brake_Type = 2;  // no dynamic brake
    t.CurrentP.Limit = 400;
    t.CurrentP.Accel = 2.5L;
    t.CurrentP.Speed = 30;
    t.CurrentP.Rows = {{1, 4000, -10, 3, 0}, {2, 6000, -10, 3, 0}, {4, 9000, -10, 3, 0}};
    speed = 10;
  }
  void Current() { TractionCurrent(tr, d, h, speed, veh, t, in); }
  void Delay() { PowerNotchDelay(tr, d, h, veh, t, in); }
};

TEST(CurrentSteps, TheNextStepEngagesAfterItsHoldTimeUpToWhatTheHandleAllows) {
  StepRig r;
  r.Applied(2);
  r.Current();
  EXPECT_EQ(r.tr.NotchCurrent, 200);  // 4000 / (10 + 10)
  EXPECT_EQ(r.tr.AmMeterTarget, 200);
  EXPECT_TRUE(r.tr.StepDelayRun);
  r.Delay();
  r.Delay();
  EXPECT_EQ(r.tr.CurrentStepIdx, 0);
  r.Delay();
  EXPECT_EQ(r.tr.CurrentStepIdx, 1);
  EXPECT_TRUE(r.tr.StepAdvanced);
  r.Current();
  EXPECT_EQ(r.tr.NotchCurrent, 300);
  r.Delay();
  r.Delay();
  r.Delay();
  r.Delay();
  EXPECT_EQ(r.tr.CurrentStepIdx, 1) << "step 3 needs notch 4";

  // The force follows the current: 2.5 km/h/s at the 400 A reference.
  TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
  EXPECT_EQ(r.tr.TractiveForce, Fixed4(18750.0L));
  r.speed = 60;  // constant power above 30 km/h
  TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
  EXPECT_EQ(r.tr.TractiveForce, Fixed4(9375.0L));

  // Off: back to the first step with no current.
  r.Applied(0);
  r.Current();
  EXPECT_EQ(r.tr.CurrentStepIdx, 0);
  EXPECT_EQ(r.tr.NotchCurrent, 0);

  // No reference current: no force, whatever the current.
  r.t.CurrentP.Limit = 0;
  r.Applied(2);
  r.tr.NotchCurrent = 300;
  TractionForce(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
  EXPECT_EQ(r.tr.TractiveForce.raw, 0);
}

TEST(CurrentSteps, AHoldTimeOfZeroAdvancesOnTheNextTick) {
  StepRig r;
  r.t.CurrentP.Rows[0].HoldTicks = 0;
  r.Applied(2);
  r.Current();
  r.Delay();
  EXPECT_EQ(r.tr.CurrentStepIdx, 1);
}

TEST(Ammeter, HalvesTheGapEachTickAndReachesTheTargetExactly) {
  for (long double force : {30100.0L, -30100.0L}) {
    TrainRig r;
    r.veh.AmMeterScale = 100;
    r.tr.MotorForce = Fixed4(force);  // 3.01 km/h/s: 301 A
    r.d.AppliedNotch = 1;
    r.d.LastBrakeNotch = -1;
    std::vector<int32_t> shown;
    for (int i = 0; i < 11; ++i) {
      TractionCurrent(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
      shown.push_back(force > 0 ? r.tr.AmMeterValue : -r.tr.AmMeterValue);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{0, 151, 226, 264, 283, 292, 297, 299, 300, 301, 301}));
    // Power off: the needle falls back the same way and rests at 0, not at 1 A.
    r.tr.MotorForce = Fixed4{};
    r.d.AppliedNotch = 0;
    r.d.LastBrakeNotch = 0;
    shown.clear();
    for (int i = 0; i < 11; ++i) {
      TractionCurrent(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
      shown.push_back(force > 0 ? r.tr.AmMeterValue : -r.tr.AmMeterValue);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{301, 150, 75, 37, 18, 9, 4, 2, 1, 0, 0}));
  }
}

TEST(Ammeter, NotchTableTargets) {
  struct Case {
    int32_t mode, notch, lastBrake;
    long double motorForce, speed;
    int32_t target;
  };
  // 30000 N on 36 t is 3 km/h/s, 300 A at 100 A per km/h/s; the top notch's V1 is 20 km/h.
  const Case cases[] = {
      {1, 1, 0, 30000, 10, 150},    // scaled by speed below V1 of the top notch
      {1, 1, 0, 30000, 25, 300},
      {1, 0, -2, -30000, 10, -300},  // a retarding force while braking
      {1, 0, -2, 30000, 10, 0},
      {1, 0, 0, -30000, 10, 0},
      {0, 0, -2, -30000, 10, -300},
      {0, 2, 0, 30000, 10, 300},
      {0, 0, 0, 30000, 10, 0},
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.veh.AmMeterMode = c.mode;
    r.veh.AmMeterScale = 100;
    r.d.AppliedNotch = c.notch;
    r.d.LastBrakeNotch = c.lastBrake;
    r.tr.MotorForce = Fixed4(c.motorForce);
    r.speed = c.speed;
    TractionCurrent(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
    EXPECT_EQ(r.tr.AmMeterTarget, c.target) << c.mode << " " << c.notch << " " << c.motorForce;
  }
}

TEST(DynamicBrake, RampedCurrentRisesToTheShareOfItsPositionAndFallsInReleaseOrEmergency) {
  TrainRig r;
  r.veh.BrakeType2 = 1;
  r.veh.EBrakeCurr = {420, 10};
  r.veh.EBrakeUp = 300;    // 10 A a tick
  r.veh.EBrakeDown = 600;  // 20 A a tick
  r.veh.LoseElec = {5, 10};
  r.speed = 50;
  r.d.EBrakeNotch = -3;  // 3 of 7 service steps: 180 A
  auto tick = [&] { TractionCurrent(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in); };
  for (int i = 0; i < 18; ++i) tick();
  EXPECT_NEAR(r.tr.EBrakeCurrent, 180, 1e-9L);
  EXPECT_EQ(r.tr.AmMeterTarget, -180);
  tick();
  EXPECT_NEAR(r.tr.EBrakeCurrent, 160, 1e-9L);  // at its share: it falls back and climbs again
  r.d.EBrakeNotch = 0;
  tick();
  EXPECT_NEAR(r.tr.EBrakeCurrent, 120, 1e-9L);  // twice the fall in release
  r.d.EBrakeNotch = -8;
  tick();
  EXPECT_NEAR(r.tr.EBrakeCurrent, 80, 1e-9L);  // and at emergency
  r.d.EBrakeNotch = -3;
  r.speed = 9;  // below LoseElec[1]
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_EQ(r.tr.EBrakeCurrent, 0);
}

TEST(DynamicBrake, SteppedCurrentFollowsTheTableUpToThePositionsCurrent) {
  struct Case {
    long double speed;
    int32_t notch, brakeCurr;
    int32_t idx;
    long double current;
  };
  // Rows give 10, 20 and 30 A per km/h.
  const Case cases[] = {
      {20, -3, 350, 1, 400},  // step 2 engaged at 200 A < 350 A; step 3 not at 400 A
      {20, -3, 700, 2, 400},  // step 3 engaged; its current shows next tick
      {20, -3, 0, 0, 0},      // a position without current
      {9, -3, 700, 0, 0},     // below LoseElec[1]
      {20, 0, 700, 0, 0},     // released
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.veh.Brake_Type = 0;
    r.veh.LoseElec = {5, 10};
    r.t.CurrentB = {{0.1L, 0, 0}, {0.05L, 0, 0}, {1.0L / 30, 0, 0}};
    r.t.BrakeCurr[3] = c.brakeCurr;
    r.tr.CurrentStepIdx = 2;
    r.d.EBrakeNotch = c.notch;
    r.speed = c.speed;
    TractionCurrent(r.tr, r.d, r.h, r.speed, r.veh, r.t, r.in);
    EXPECT_EQ(r.tr.CurrentBIdx, c.idx) << c.speed << " " << c.brakeCurr;
    EXPECT_NEAR(r.tr.EBrakeCurrent, c.current, 1e-9L) << c.speed << " " << c.brakeCurr;
    EXPECT_EQ(r.tr.AmMeterTarget, -static_cast<int32_t>(c.current));
    EXPECT_EQ(r.tr.CurrentStepIdx, c.idx > 0 ? 0 : 2);
  }
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include "dynamics/diesel.h"
#include "dynamics/traction.h"
#include "support/fake_sound_bank.h"

namespace kavrin {
namespace {

constexpr int kStartSound = 7;
constexpr int kStopSound = 8;

// A five-notch railcar with neutral, a converter gear and the direct gear.
struct Railcar {
  TVehicleParams veh;
  TVehicleTables t;
  TDieselState d;
  THandleState h;
  TDelayedHandle dh;
  test::FakeSoundBank sound;

  Railcar() {
    veh.Engine_Type = 0;
    veh.Power = 5;
    veh.PowerJerk = 10;
    t.Engine = {
        {0, 0, -1, 0, 0, 0},
        {0, 20, 48, 5200, 4200, 2400},
        {40, 55, 100, 2600, 2100, 900},
    };
    t.EngineRows = 3;
    t.EngineRate = {{30, 0}, {40, 0.5L}, {20, 0.75L}};
    t.EngineSound2 = {0, 0, kStartSound, kStopSound};
    for (int c : {kStartSound, kStopSound}) {
      auto w = std::make_shared<Wave>();
      w->SampleRate = 1000;
      w->Samples.assign(1000, 0.0f);
      sound.SetWaveData(c, w);
    }
    h.GearLever = 1;
  }

  long double Force(int32_t notch, long double speed) { return DieselTractiveForce(veh, t, d, notch, speed); }

  // One 100 ms step of the gearbox; true when the cab was to be updated.
  bool Logic(long double speed, TGearShiftInputs in = {}) {
    in.AppliedNotch = dh.AppliedNotch;
    SelectGear(d, h, t, speed);
    return ShiftGears(d, h, in);
  }
  void Keys(int32_t engineSwitch) {
    OperateEngineKeys(d, engineSwitch, h, t);
    PlaySoundRequests(d.EngineSounds, sound);
  }
};

TEST(Diesel, EffortByGearNotchAndSpeed) {
  struct Case {
    int32_t gear, notch;
    long double speed;
    long double newtons;
  };
  // Gear 1 at 5 km/h gives (5200 - 1000 / 20 x 5) x 9.8 / 5 = 9702 N a notch.
  const Case cases[] = {
      {1, 5, 5, 2 * 9702.0L},        // below PowerJerk only two notches count
      {1, 1, 5, 9702.0L},
      {1, 5, -5, 2 * 9702.0L},       // backing up counts as below PowerJerk
      {1, 5, 10, 5 * 9212.0L},       // at PowerJerk all five
      {1, 3, 30, 3 * (4200.0L - 1800.0L / 28 * 10) * 9.8L / 5},
      {1, 5, 47.9L, 5 * (4200.0L - 1800.0L / 28 * 27.9L) * 9.8L / 5},
      {1, 5, 48, 0},                 // at S2 the gear gives nothing
      {1, 5, 70, 0},
      {2, 5, 70, (2100.0L - 1200.0L / 45 * 15) * 9.8L},
      {2, 5, 30, (2600.0L - 500.0L / 15 * 10) * 9.8L},  // below S0 the band mirrors
      {1, 0, 30, 0},
      {3, 5, 30, 0},                 // a gear the table does not have
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "gear " << c.gear << " notch " << c.notch << " at " << double(c.speed));
    Railcar r;
    r.d.Gear = c.gear;
    EXPECT_NEAR(static_cast<double>(r.Force(c.notch, c.speed)), static_cast<double>(c.newtons), 1e-9);
  }
  Railcar r;
  r.d.Gear = 1;
  r.d.GearShiftState = 1;
  EXPECT_EQ(r.Force(5, 30), 0.0L);
  r.d.GearShiftState = 0;
  r.veh.Power = 0;
  EXPECT_EQ(r.Force(5, 30), 0.0L);
}

TEST(Diesel, TheTractionStepTakesTheGearsForceAndItsGating) {
  Railcar r;
  r.veh.MaxSpeed = 95;
  r.d.Gear = 1;
  r.dh.AppliedNotch = 5;
  r.h.Reverser = -1;
  TTrainInputs in;
  in.DispRate = 30;
  in.Diesel = &r.d;
  TTractionState tr;
  TractionForce(tr, r.dh, r.h, -30, r.veh, r.t, in);
  EXPECT_EQ(tr.TractiveForce.raw, Fixed4(-r.Force(5, -30)).raw);
  EXPECT_LT(tr.TractiveForce.raw, 0);
  in.EngineRunning = 0;
  TractionForce(tr, r.dh, r.h, -30, r.veh, r.t, in);
  EXPECT_EQ(tr.TractiveForce.raw, 0);
}

TEST(Diesel, PowerEngagesTheGearAfterOneSecondWithNoEffortMeanwhile) {
  Railcar r;
  r.dh.AppliedNotch = 3;
  EXPECT_TRUE(r.Logic(0));
  EXPECT_EQ(r.d.GearShiftState, 1);
  for (int tick = 2; tick <= 9; ++tick) {
    EXPECT_FALSE(r.Logic(0)) << tick;
    EXPECT_EQ(r.Force(3, 0), 0.0L);
  }
  EXPECT_EQ(r.d.GearShown, 0);
  EXPECT_TRUE(ShiftGears(r.d, r.h, TGearShiftInputs{3, 0, true, false}));
  EXPECT_EQ(r.d.Gear, 1);
  EXPECT_EQ(r.d.GearShiftState, 0);
  EXPECT_EQ(r.d.GearShown, 1);
  EXPECT_GT(r.Force(3, 0), 0.0L);

  // Taking power off drops to neutral at once; the change still takes its second.
  r.dh.AppliedNotch = 0;
  EXPECT_TRUE(r.Logic(20));
  EXPECT_EQ(r.d.Gear, 0);
  EXPECT_EQ(r.d.GearShiftState, 2);
  for (int tick = 2; tick <= 10; ++tick) r.Logic(20);
  EXPECT_EQ(r.d.GearShiftState, 0);
  EXPECT_EQ(r.d.ShiftTimer, 0);
}

TEST(Diesel, NoGearChangeWithDoorsOpenEmergencyOrEngineStopped) {
  struct Case {
    TGearShiftInputs in;
    int32_t engine;
  };
  const Case cases[] = {
      {{0, 1, false, false}, 1},  // doors interlocked and open
      {{0, 2, true, false}, 1},   // a door lock that cuts traction altogether
      {{0, 0, true, true}, 1},    // emergency brake
      {{0, 0, true, false}, 0},   // engine stopped
  };
  for (const Case& c : cases) {
    Railcar r;
    r.d.EngineRunning = c.engine;
    r.dh.AppliedNotch = 2;
    for (int tick = 0; tick < 12; ++tick) r.Logic(0, c.in);
    EXPECT_EQ(r.d.Gear, 0);
  }
}

TEST(Diesel, AutomaticGearboxFollowsTheSpeed) {
  Railcar r;
  r.d.Gear = 1;
  SelectGear(r.d, r.h, r.t, 50);  // above gear 1's S2
  EXPECT_EQ(r.h.GearLever, 2);
  r.d.Gear = 2;
  SelectGear(r.d, r.h, r.t, 200);  // never beyond the top gear
  EXPECT_EQ(r.h.GearLever, 2);
  SelectGear(r.d, r.h, r.t, 45);  // below the direct gear's S0 at 40? not yet
  EXPECT_EQ(r.h.GearLever, 2);
  SelectGear(r.d, r.h, r.t, 30);
  EXPECT_EQ(r.h.GearLever, 1);

  // Up-shifts cascade in one step from neutral; down-shifts go one gear at a time.
  r.h.GearLever = 0;
  r.d.Gear = 0;
  r.t.Engine[1].S2 = 10;
  SelectGear(r.d, r.h, r.t, 60);
  EXPECT_EQ(r.h.GearLever, 2);

  // Below 10 km/h an engaged gear is the first.
  r.d.Gear = 2;
  SelectGear(r.d, r.h, r.t, 5);
  EXPECT_EQ(r.d.Gear, 1);
  EXPECT_EQ(r.h.GearLever, 1);

  // Nothing moves while a change is in progress, nor with the manual gearbox.
  r.d.GearShiftState = 1;
  SelectGear(r.d, r.h, r.t, 60);
  EXPECT_EQ(r.h.GearLever, 1);
  Railcar m;
  m.t.Gear_Type = 1;
  m.d.Gear = 1;
  SelectGear(m.d, m.h, m.t, 60);
  EXPECT_EQ(m.h.GearLever, 1);
}

TEST(Diesel, EngineSpeed) {
  Railcar r;
  // The direct gear couples the engine to the wheels: 20 + 0.75 x 60.
  r.d.Gear = 2;
  r.d.EngineRpm = 30;
  UpdateEngineSpeed(r.d, r.t, 5, 60);
  EXPECT_EQ(r.d.EngineRpm, 65.0L);
  UpdateEngineSpeed(r.d, r.t, 5, -64);
  EXPECT_EQ(r.d.EngineRpm, 68.0L);
  // The converter lets it move towards 40 + 0.5 v: fast when far, slowly when near.
  r.d.Gear = 1;
  struct Step {
    long double speed, rpm;
  };
  for (Step s : {Step{30, 67.4L}, Step{70, 68.0L}, Step{60, 68.03L}, Step{57, 68.03L}}) {
    UpdateEngineSpeed(r.d, r.t, 5, s.speed);
    EXPECT_NEAR(static_cast<double>(r.d.EngineRpm), static_cast<double>(s.rpm), 1e-12) << double(s.speed);
  }
  // Power off or a change in progress: it winds down by 1 a tick to idle.
  r.d.GearShiftState = 1;
  UpdateEngineSpeed(r.d, r.t, 5, 70);
  EXPECT_NEAR(static_cast<double>(r.d.EngineRpm), 67.03, 1e-12);
  for (int i = 0; i < 60; ++i) UpdateEngineSpeed(r.d, r.t, 0, 70);
  EXPECT_NEAR(static_cast<double>(r.d.EngineRpm), 30, 3);

  // The manual gearbox in neutral races the engine to 95 and holds it there.
  Railcar m;
  m.t.Gear_Type = 1;
  m.d.EngineRpm = 30;
  for (int i = 0; i < 129; ++i) UpdateEngineSpeed(m.d, m.t, 2, 0);
  EXPECT_EQ(m.d.EngineRpm, 94.5L);
  for (int i = 0; i < 5; ++i) UpdateEngineSpeed(m.d, m.t, 2, 0);
  EXPECT_EQ(m.d.EngineRpm, 95.0L);
  EXPECT_EQ(m.d.EngineRpmTarget, 100.0L);

  // A stopped engine runs down by 3 a tick to 0; started again, it comes up to idle.
  r.d.EngineRunning = 0;
  r.d.Gear = 0;
  r.d.EngineRpm = 31;
  for (int i = 0; i < 10; ++i) UpdateEngineSpeed(r.d, r.t, 0, 0);
  EXPECT_EQ(r.d.EngineRpm, 1.0L);
  UpdateEngineSpeed(r.d, r.t, 0, 0);
  EXPECT_EQ(r.d.EngineRpm, 0.0L);
  r.d.EngineRunning = 1;
  for (int i = 0; i < 10; ++i) UpdateEngineSpeed(r.d, r.t, 0, 0);
  EXPECT_EQ(r.d.EngineRpm, 30.0L);
}

TEST(Diesel, PowerInTheTopGearAtAStandstillStallsTheEngine) {
  struct Case {
    long double speed;
    int32_t reverser, lever, gear;
    bool stalls;
  };
  const Case cases[] = {
      {0.4L, 1, 2, 2, true},
      {-0.4L, -1, 2, 2, true},
      {0.5L, 1, 2, 2, false},
      {0, 0, 2, 2, false},  // reverser in neutral
      {0, 1, 1, 1, false},  // the converter gear takes up the load
      {0, 1, 2, 1, false},  // the top gear is not yet engaged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.speed));
    Railcar r;
    r.h.Reverser = c.reverser;
    r.h.GearLever = c.lever;
    r.d.Gear = c.gear;
    r.dh.AppliedNotch = 3;
    CheckEngineStall(r.d, r.h, r.dh, r.t, c.speed);
    PlaySoundRequests(r.d.EngineSounds, r.sound);
    EXPECT_EQ(r.d.EngineRunning, c.stalls ? 0 : 1);
    EXPECT_EQ(r.dh.AppliedNotch, c.stalls ? 0 : 3);
    EXPECT_EQ(r.sound.ch[kStopSound].plays, c.stalls ? 1 : 0);
  }
}

TEST(Diesel, EngineKeysHeldForTheirTime) {
  // The start key held 5 s: cranking from the second step, running after 50.
  Railcar r;
  r.d.EngineRunning = 0;
  EXPECT_FALSE(EnginePictureShown(r.d));
  r.Keys(1);
  EXPECT_EQ(r.d.EngineRunning, 0);
  r.Keys(1);
  EXPECT_EQ(r.d.EngineRunning, -1);
  EXPECT_EQ(r.sound.ch[kStartSound].plays, 1);
  EXPECT_TRUE(EnginePictureShown(r.d));
  for (int i = 0; i < 48; ++i) r.Keys(1);
  EXPECT_EQ(r.d.EngineRunning, -1);
  r.Keys(1);
  EXPECT_EQ(r.d.EngineRunning, 1);
  EXPECT_EQ(r.sound.ch[kStopSound].plays, 0);
  r.Keys(0);
  EXPECT_EQ(r.d.EngineSwitchTicks, 0);

  // Released after 3 s: the stop sound, and the engine stays stopped.
  Railcar early;
  early.d.EngineRunning = 0;
  for (int i = 0; i < 30; ++i) early.Keys(1);
  EXPECT_EQ(early.d.EngineRunning, -1);
  early.Keys(0);
  EXPECT_EQ(early.d.EngineRunning, 0);
  EXPECT_EQ(early.sound.ch[kStopSound].plays, 1);
  for (int i = 0; i < 60; ++i) early.Keys(0);
  EXPECT_EQ(early.d.EngineRunning, 0);

  // The stop key: winding down from the second step, the stop sound at 40, stopped at 50.
  Railcar s;
  s.Keys(2);
  s.Keys(2);
  EXPECT_EQ(s.d.EngineRunning, -2);
  for (int i = 0; i < 38; ++i) s.Keys(2);
  EXPECT_EQ(s.sound.ch[kStopSound].plays, 0);
  s.Keys(2);
  EXPECT_EQ(s.sound.ch[kStopSound].plays, 1);
  for (int i = 0; i < 9; ++i) s.Keys(2);
  EXPECT_EQ(s.d.EngineRunning, -2);
  s.Keys(2);
  EXPECT_EQ(s.d.EngineRunning, 0);
  EXPECT_FALSE(EnginePictureShown(s.d));

  // Let go early, or with power on, the engine keeps running.
  Railcar k;
  for (int i = 0; i < 20; ++i) k.Keys(2);
  k.Keys(0);
  EXPECT_EQ(k.d.EngineRunning, 1);
  k.h.PowerNotch = 1;
  for (int i = 0; i < 60; ++i) k.Keys(2);
  EXPECT_EQ(k.d.EngineRunning, 1);
}

}  // namespace
}  // namespace kavrin

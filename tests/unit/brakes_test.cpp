#include <gtest/gtest.h>

#include <vector>

#include "support/fake_sound_bank.h"
#include "unit/dynamics_fixture.h"

namespace kavrin {
namespace {

using test::TrainRig;

TEST(BrakeForce, CylindersAndShoesAgainstTheMotionAndNotAtRest) {
  struct Case {
    long double speed;
    long double shoe, brakeForce, tractive;
  };
  // Both cylinders at EBPress: 4.5 km/h/s on 20 + 16 t is 45000 N at full shoe friction.
  const Case cases[] = {
      {50, 1, 45000, 1000 - 45000},
      {-50, 1, 45000, 1000 + 45000},
      {40, 1, 45000, 1000 - 45000},  // at BrakeRate[2] the friction is already full
      {20, 1.1020L, 49590, 1000 - 49590},  // (1.2 / 1.4) / (1.4 / 1.8)
      {0, 4.5L, 202500, 1000},             // at rest nothing acts on the force
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.b.BcPressM = r.b.BcPressT = Fixed4(420.0L);
    r.tr.TractiveForce = Fixed4(1000.0L);
    BrakeForceStep(r.b, r.tr, c.speed, r.veh);
    EXPECT_EQ(r.b.ShoeFriction, Fixed4(c.shoe)) << c.speed;
    EXPECT_EQ(r.b.BrakeForce, Fixed4(c.brakeForce)) << c.speed;
    EXPECT_EQ(r.tr.TractiveForce, Fixed4(c.tractive)) << c.speed;
  }
}

TEST(BrakeForce, TheDynamicBrakeAddsItsForceWhenItIsUsedAndAMissingEBPressNothing) {
  TrainRig r;
  r.tr.EBrakeCurrent = 100;
  r.veh.EBrakeCurr = {400, 10};  // 10 kgf per ampere
  BrakeForceStep(r.b, r.tr, 50, r.veh);
  EXPECT_EQ(r.b.BrakeForce.raw, 0);  // BrakeType2 0: not blended in
  r.veh.BrakeType2 = 1;
  BrakeForceStep(r.b, r.tr, 50, r.veh);
  EXPECT_EQ(r.b.BrakeForce, Fixed4(9800.0L));

  TrainRig z;
  z.veh.EBPress = 0;
  z.b.BcPressM = z.b.BcPressT = Fixed4(300.0L);
  BrakeForceStep(z.b, z.tr, 50, z.veh);
  EXPECT_EQ(z.b.BrakeForce.raw, 0);
}

TEST(BrakeDelay, FullDelayFromReleaseAndSeventyPercentWhileTheCylindersHoldAir) {
  struct Case {
    long double trailer;  // kPa in BcPressT
    int32_t delay, ticks;
  };
  const Case cases[] = {
      {0, 10, 10}, {50, 10, 7}, {50, 3, 3},  // 2.1 ticks: the third
      {0, 0, 1},   {50, 0, 1},               // no delay given: the next tick
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.veh.BrakeDelay = c.delay;
    r.b.BcPressT = Fixed4(c.trailer);
    r.BrakeAt(-3);
    for (int i = 1; i < c.ticks; ++i) BrakeNotchDelays(r.d, r.h, r.b, r.speed, r.veh, r.in);
    EXPECT_EQ(r.d.LastBrakeNotch, 0) << c.trailer << " kPa, delay " << c.delay;
    BrakeNotchDelays(r.d, r.h, r.b, r.speed, r.veh, r.in);
    EXPECT_EQ(r.d.LastBrakeNotch, -3) << c.trailer << " kPa, delay " << c.delay;
    EXPECT_FALSE(r.d.BrakeDelayRun);
  }
}

TEST(BrakeDelay, ProtectionDemandsOverrideTheHandle) {
  struct Case {
    int32_t emergency, ats, handle, applied;
  };
  const Case cases[] = {
      {0, 1, -3, -7},  // service demand: the highest service step
      {0, 1, -8, -8},  // the handle at emergency stays there
      {0, 1, 0, -7},
      {1, 0, -3, -8},
      {1, 1, 0, -8},
      {0, 0, -3, -3},
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.speed = 30;
    r.in.EmergencyTrip = c.emergency;
    r.in.ATSTrip = c.ats;
    r.BrakeAt(c.handle);
    BrakeNotchDelays(r.d, r.h, r.b, r.speed, r.veh, r.in);
    EXPECT_EQ(r.d.LastBrakeNotch, c.applied) << c.emergency << c.ats << " " << c.handle;
    EXPECT_EQ(r.d.SapNotch, c.applied);
    EXPECT_EQ(r.d.EBrakeNotch, c.applied);
  }
}

TEST(BrakeDelay, TheDynamicBrakeEngagesAfterItsDelayNotBelowLoseElecAndAtOnceWhileBraking) {
  TrainRig r;
  r.veh.EBrakeDelay = 5;
  r.veh.LoseElec = {5, 10};
  auto tick = [&] { BrakeNotchDelays(r.d, r.h, r.b, r.speed, r.veh, r.in); };
  r.speed = 3;
  r.BrakeAt(-3);
  tick();
  EXPECT_FALSE(r.d.EBrakeDelayRun);  // dropped
  r.speed = 30;
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_EQ(r.d.EBrakeNotch, 0);

  r.BrakeAt(-3);
  for (int i = 0; i < 4; ++i) tick();
  EXPECT_EQ(r.d.EBrakeNotch, 0);
  tick();
  EXPECT_EQ(r.d.EBrakeNotch, -3);
  r.BrakeAt(-5);
  tick();
  EXPECT_EQ(r.d.EBrakeNotch, -5);
}

TEST(Pneumatics, AutomaticBrakeVentsThePipeUnderEmergencyTripWhateverTheHandle) {
  for (int32_t handle : {0, -1, -3, -4}) {
    TrainRig r;
    r.veh.BrakeType = 0;
    r.veh.Brake = 4;
    r.b.BpPress = 490;
    r.b.ErPress = Fixed4(490.0L);
    r.h.BrakeNotch = r.d.LastBrakeNotch = handle;
    r.in.EmergencyTrip = 1;
    for (int i = 0; i < 15; ++i) Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
    // BrakeUp / 0.6 = 500 kPa a second for half a second.
    EXPECT_NEAR(r.b.BpPress, 240, 1e-9L) << handle;
    EXPECT_NEAR(r.b.ErPress.Real(), 240, 0.001L) << handle;
    EXPECT_GE(r.b.BcPressT.Real(), 420) << handle;
    EXPECT_GE(r.b.BcPressM.Real(), 420) << handle;
  }
  // Without the demand, in release, the charged pipe stays put.
  TrainRig r;
  r.veh.BrakeType = 0;
  r.veh.Brake = 4;
  r.b.BpPress = 490;
  r.b.ErPress = Fixed4(490.0L);
  Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
  EXPECT_EQ(r.b.BpPress, 490);
}

TEST(Pneumatics, AutomaticBrakeChargesThePipeFromTheStartOfARun) {
  TrainRig r;
  r.veh.BrakeType = 0;
  r.veh.Brake = 4;
  r.b.BcPressT = Fixed4(420.0L);
  for (int i = 0; i < 30 * 60; ++i) Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
  EXPECT_GE(r.b.BpPress, 489);
  EXPECT_LT(r.b.BpPress, 491.1L);  // at most one step past FeedPress
  EXPECT_EQ(r.b.FeedPress, 490);
  EXPECT_EQ(r.b.BcPressT.raw, 0);  // released once the pipe stood above the cylinders
}

TEST(Pneumatics, ElectricCommandAppliesByItselfWhenTheMainReservoirRunsLow) {
  struct Case {
    long double mainReservoir;
    int32_t notch;
    long double cylinders;
  };
  const Case cases[] = {
      {300, 0, 13},   // 1.3 x BrakeUp a second even in release
      {500, 0, 0},
      {500, -8, 13},  // emergency
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.veh.BrakeType = 2;
    r.b.MrPress = Fixed4(c.mainReservoir);
    r.d.LastBrakeNotch = c.notch;
    Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
    EXPECT_EQ(r.b.BcPressM, Fixed4(c.cylinders)) << c.mainReservoir << " " << c.notch;
    EXPECT_EQ(r.b.BcPressT, Fixed4(c.cylinders)) << c.mainReservoir << " " << c.notch;
  }
}

TEST(Pneumatics, ReleaseIsNearlyFullRateHighUpAndAnEleventhNearZero) {
  EXPECT_EQ(ReleaseDivisor(1.2L, 0), 11);
  struct Case {
    long double from, after;
  };
  // BrakeDown 330: 11 kPa a tick before the divisor.
  const Case cases[] = {
      {300, 289.4447L},  // 11 / 1.0421
      {2, 0.9664L},      // 11 / 10.642
  };
  for (const Case& c : cases) {
    TrainRig r;
    r.b.ErPress = Fixed4(420.0L);  // charged: the straight-air brake may release
    r.b.BcPressT = Fixed4(c.from);
    Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
    EXPECT_EQ(r.b.BcPressT, Fixed4(c.after)) << c.from;
  }
  // An uncharged equalising reservoir holds the brake on.
  TrainRig r;
  r.b.BcPressT = Fixed4(300.0L);
  Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
  EXPECT_EQ(r.b.BcPressT, Fixed4(300.0L));
}

TEST(Pneumatics, StraightAirServiceHoldsTheMotorCarsOffWhileTheDynamicBrakeCarries) {
  for (long double current : {0.0L, 100.0L}) {
    TrainRig r;
    r.veh.BrakeType2 = 1;
    r.veh.ELBR = 20;  // kPa
    r.d.LastBrakeNotch = -7;  // full service: 350 kPa
    r.tr.EBrakeCurrent = current;
    for (int i = 0; i < 60; ++i) Pneumatics(r.b, r.d, r.h, r.tr, r.veh, r.in);
    EXPECT_EQ(r.b.BcPressT, Fixed4(340.0L));  // 10 kPa a tick while 10 kPa short of the command
    EXPECT_EQ(r.b.MrPress, Fixed4(880.0L - 34));
    EXPECT_EQ(r.b.BcPressM, Fixed4(current > 0 ? 20.0L : 340.0L)) << current;
  }
}

TEST(Compressor, StartsBelowLowAirPressAndStopsAtHighAirPressWithItsSounds) {
  TrainRig r;
  r.t.CPStart = 1;
  r.t.CPCnt = 2;
  r.t.CPEnd = 3;
  test::FakeSoundBank bank;
  for (int c = 1; c <= 3; ++c) bank.SetWaveData(c, test::FakeSoundBank::WaveOf(1));
  auto compressor = [&](long double rpm) {
    Compressor(r.b, r.veh, r.t, rpm);
    PlaySoundRequests(r.b.CompressorSounds, bank);
  };
  r.b.MrPress = Fixed4(780.0L);
  compressor(0);
  EXPECT_FALSE(r.b.CompressorOn);  // at LowAirPress it does not start
  r.b.MrPress = Fixed4(770.0L);
  int calls = 0;
  do {
    compressor(0);
    ++calls;
  } while (r.b.CompressorOn && calls < 1000);
  // 0.3 kPa a call from 770 to 880.1, then the call that stops it.
  EXPECT_EQ(calls, 368);
  EXPECT_EQ(r.b.MrPress, Fixed4(880.1L));
  EXPECT_EQ(bank.ch[1].plays, 1);
  EXPECT_EQ(bank.ch[2].loops, 1);
  EXPECT_EQ(bank.ch[3].plays, 1);
  EXPECT_EQ(bank.GetStatus(2), 0);
  EXPECT_NE(bank.GetStatus(3), 0);

  // A diesel car's compressor runs with its engine.
  r.veh.Engine_Type = 0;
  r.b.MrPress = Fixed4(700.0L);
  compressor(1000);
  EXPECT_EQ(r.b.MrPress, Fixed4(704.0L));
}

TEST(Pneumatics, AVehicleOfZerosStoresNoNonNumber) {
  for (int32_t type : {0, 1, 2}) {
    TrainRig r;
    r.veh = TVehicleParams{};
    r.veh.BrakeType = type;
    r.veh.BrakeType2 = 2;
    r.veh.Brake = 1;  // Brake - 1 divides the commands
    r.veh.Engine_Type = 1;
    r.veh.Power_Type = 0;
    r.veh.MaxSpeed = 100;  // traction is worked out, on a mass of 0
    r.in.DispRate = 0;
    r.t = TVehicleTables{};
    r.speed = 50;
    r.Applied(3);
    r.d.LastBrakeNotch = r.d.SapNotch = r.d.EBrakeNotch = -1;
    r.h.BrakeNotch = -1;
    r.b.BcPressM = r.b.BcPressT = Fixed4(100.0L);
    r.tr.EBrakeCurrent = 60;
    r.Ticks(5);
    EXPECT_EQ(r.tr.TractiveForce.raw, 0) << type;
    EXPECT_EQ(r.b.BcPressM, Fixed4(100.0L)) << type;
    EXPECT_EQ(r.b.BcPressT, Fixed4(100.0L)) << type;
    EXPECT_EQ(r.b.BrakeForce.raw, 0) << type;
  }
}

}  // namespace
}  // namespace kavrin

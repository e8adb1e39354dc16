#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "sound/running_sounds.h"
#include "support/fake_sound_bank.h"

namespace kavrin {
namespace {

using test::FakeSoundBank;

// A bank with a long wave on every channel, so that loops and one-shots stay busy.
struct SoundRig {
  SoundRig() {
    for (int c = 0; c < 200; ++c) bank.SetWaveData(c, FakeSoundBank::WaveOf(10));
    levels.Layout = {13, 20, 12, 4};
    ResetRunningSounds(state, levels);
  }
  bool Busy(int c) const { return bank.GetStatus(c) != 0; }
  int32_t Vol(int c) const { return bank.Volume(c); }

  FakeSoundBank bank;
  TRunningSoundState state;
  TSoundState levels;
  TVehicleTables tables;
  std::unique_ptr<TRouteTables> route = std::make_unique<TRouteTables>();
};

TEST(RunningSoundsTest, LevelLawIsSilentWhereTheLogarithmHasNoValue) {
  EXPECT_EQ(Level(0.5), -602);
  EXPECT_EQ(Level(1), 0);
  EXPECT_EQ(Level(0.01), -4000);
  EXPECT_EQ(Level(0), -10000);
  EXPECT_EQ(Level(-1), -10000);
  EXPECT_EQ(Level(std::nan("")), -10000);
  EXPECT_EQ(Level(0.5, 5000), -1505);
}

TEST(RunningSoundsTest, BandsCrossFadeTheTwoRecordingsAroundTheSpeed) {
  struct Case {
    double speed;
    int lower, upper;           // the two looping bands
    int32_t lowerVol, upperVol;  // their volumes
  };
  const Case cases[] = {
      {5, 0, 1, 777, -602},    // channel 0 keeps its own volume
      {10, 1, 2, 0, -4000},    // the upper share 0 becomes 1
      {47, 4, 5, -1046, -310},
      {119, 11, 12, -2000, -92},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.speed);
    SoundRig rig;
    rig.bank.SetVolume(0, 777);
    RunningBands(rig.bank, 13, k.speed);
    for (int c = 0; c < 13; ++c) EXPECT_EQ(rig.Busy(c), c == k.lower || c == k.upper) << c;
    EXPECT_EQ(rig.Vol(k.lower), k.lowerVol);
    EXPECT_EQ(rig.Vol(k.upper), k.upperVol);
  }
}

TEST(RunningSoundsTest, BandsStopTheNeighboursWhenTheSpeedMoves) {
  SoundRig rig;
  RunningBands(rig.bank, 13, 47);
  RunningBands(rig.bank, 13, 33);  // slowing: band 5 is b + 2
  EXPECT_FALSE(rig.Busy(5));
  EXPECT_TRUE(rig.Busy(3));
  EXPECT_TRUE(rig.Busy(4));
  RunningBands(rig.bank, 13, 45);  // rising: band 3 is b - 1
  EXPECT_FALSE(rig.Busy(3));
  // At 120 km/h and above only the top band is started, at full volume.
  SoundRig fast;
  fast.bank.SetVolume(12, -3000);
  RunningBands(fast.bank, 13, 130);
  EXPECT_TRUE(fast.Busy(12));
  EXPECT_EQ(fast.Vol(12), 0);
}

TEST(RunningSoundsTest, BandsTouchOnlyTheVehiclesDriveSounds) {
  SoundRig rig;
  rig.bank.LoopPlay(7);  // a route sound after six drive sounds
  RunningBands(rig.bank, 6, 53);  // b = 5, b + 1 and b + 2 are not bands
  EXPECT_TRUE(rig.Busy(5));
  EXPECT_FALSE(rig.Busy(6));
  EXPECT_TRUE(rig.Busy(7));
  EXPECT_EQ(rig.Vol(6), 0);
}

TBrakeSoundInputs Braking(double speed, double bc) {
  TBrakeSoundInputs in;
  in.Speed = speed;
  in.BcPressT = bc;
  in.LoseElec1 = 5;
  in.BrakeType = 1;
  in.Brake = 9;
  in.EBPress = 440;
  return in;
}

TEST(RunningSoundsTest, SquealGrowsAsTheTrainSlowsAndDiesAway) {
  SoundRig rig;
  rig.tables.SoundSqueak = 50;
  BrakeSqueal(rig.bank, rig.tables, Braking(20, 250));
  EXPECT_TRUE(rig.Busy(50));
  EXPECT_EQ(rig.Vol(50), -4000);
  BrakeSqueal(rig.bank, rig.tables, Braking(-20, 250));  // rolling back is no louder
  EXPECT_EQ(rig.Vol(50), -4000);
  BrakeSqueal(rig.bank, rig.tables, Braking(20, 0));  // released
  EXPECT_EQ(rig.Vol(50), -4100);
  BrakeSqueal(rig.bank, rig.tables, Braking(0.5, 250));  // stopped
  EXPECT_EQ(rig.Vol(50), -5100);
  EXPECT_FALSE(rig.Busy(50));
  // Without a shoe-loss figure the volume stays; a tiny pressure is held at the range end.
  SoundRig odd;
  odd.tables.SoundSqueak = 50;
  odd.bank.SetVolume(50, -1234);
  TBrakeSoundInputs none = Braking(20, 250);
  none.LoseElec1 = 0;
  BrakeSqueal(odd.bank, odd.tables, none);
  EXPECT_EQ(odd.Vol(50), -1234);
  BrakeSqueal(odd.bank, odd.tables, Braking(20, 1e-12));
  EXPECT_EQ(odd.Vol(50), std::numeric_limits<int32_t>::min());
}

TEST(RunningSoundsTest, ReleaseSoundOncePerMovementAndNoneUnderATrip) {
  SoundRig rig;
  rig.tables.SoundBKRows = 3;
  rig.tables.SoundBK = {{{0, 60}, {0, 61}, {0, 62}}};
  rig.tables.SoundBRRows = 3;
  rig.tables.SoundBR = {{{0, 70}, {0, 71}, {0, 72}}};
  TBrakeSoundInputs in = Braking(30, 200);
  in.LastBrakeNotch = -3;
  in.BrakeNotch = 0;
  BrakeReleaseSound(rig.state, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[62].plays, 1);
  rig.bank.Stop(62);
  BrakeReleaseSound(rig.state, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[62].plays, 1);  // the same movement
  // Toward release, the cylinders above what notch 1 asks: "[Sound_BR]" row 1.
  in.LastBrakeNotch = -3;
  in.BrakeNotch = -1;
  rig.state.BrakeSoundDone = 0;
  BrakeReleaseSound(rig.state, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[71].plays, 1);
  // Released with nothing applied: the flag clears.
  in.LastBrakeNotch = 0;
  in.BrakeNotch = 0;
  in.BcPressT = 0;
  BrakeReleaseSound(rig.state, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.state.BrakeSoundDone, 0);
  // LastBrakeNotch 0 names no row: nothing plays, the movement counts as heard.
  in.BcPressT = 100;
  BrakeReleaseSound(rig.state, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.state.BrakeSoundDone, 1);
  for (int c : {60, 61, 70, 72}) EXPECT_EQ(rig.bank.ch[c].plays, 0) << c;
  SoundRig trip;
  trip.tables = rig.tables;
  in.LastBrakeNotch = -3;
  in.ATSTrip = true;
  BrakeReleaseSound(trip.state, trip.bank, trip.tables, in);
  EXPECT_EQ(trip.bank.ch[62].plays, 0);
}

TEST(RunningSoundsTest, EmergencySoundOncePerEmergency) {
  struct Case {
    int brakeType;
    double bp, bc, speed;
    bool plays;
  };
  const Case cases[] = {
      {0, 300, 0, 0, true}, {1, 0, 0, 50, false}, {2, 0, 100, 50, true}, {2, 0, 100, 5, false}, {2, 0, 500, 50, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.brakeType);
    SoundRig rig;
    rig.tables.SoundEB = 80;
    rig.tables.SoundEB2 = 10;
    TBrakeSoundInputs in = Braking(k.speed, k.bc);
    in.BrakeType = k.brakeType;
    in.BpPress = k.bp;
    in.BrakeNotch = -9;
    EmergencyBrakeSound(rig.state, rig.bank, rig.tables, in);
    EmergencyBrakeSound(rig.state, rig.bank, rig.tables, in);
    EXPECT_EQ(rig.bank.ch[80].plays, k.plays ? 1 : 0);
    in.BrakeNotch = 0;
    EmergencyBrakeSound(rig.state, rig.bank, rig.tables, in);
    EXPECT_EQ(rig.state.EBSoundDone, 0);
  }
}

TEST(RunningSoundsTest, AutomaticBrakeApplicationAndCharging) {
  SoundRig rig;
  rig.tables.SoundApply = {90, 91};
  TBrakeSoundInputs in = Braking(0, 0);
  in.BrakeType = 0;
  in.LastBrakeNotch = -3;
  in.BpPress = 50;
  in.MrPress = 700;
  AutomaticBrakeSounds(rig.bank, rig.tables, in);
  EXPECT_TRUE(rig.Busy(90));
  EXPECT_EQ(rig.Vol(90), -602);
  EXPECT_FALSE(rig.Busy(91));
  in.LastBrakeNotch = 0;
  in.BpPress = 465;
  AutomaticBrakeSounds(rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(90));
  EXPECT_TRUE(rig.Busy(91));
  EXPECT_EQ(rig.Vol(91), -1204);
  in.BpPress = 400;
  in.MrPress = 430;
  AutomaticBrakeSounds(rig.bank, rig.tables, in);
  EXPECT_EQ(rig.Vol(91), -1046);
  in.BpPress = 495;
  AutomaticBrakeSounds(rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(91));
}

TRouteSoundRec Window(int index, int from, int to, int loop, int pitch, int bySpeed, int fade = 0, int slow = 0) {
  TRouteSoundRec r;
  r.SoundIndex = index;
  r.FromFrame = from;
  r.ToFrame = to;
  r.RefSpeed = 50;
  r.Loop = loop;
  r.PitchBySpeed = pitch;
  r.VolumeBySpeed = bySpeed;
  r.Fade = fade;
  r.SlowTrigger = slow;
  return r;
}

TEST(RunningSoundsTest, EnvironmentSoundsStartOnceLoopToTheirEndAndFade) {
  SoundRig rig;
  rig.route->RouteSounds.Add() = Window(1, 100, 400, 0, 0, 0);  // once, channel 14
  rig.route->RouteSounds.Add() = Window(2, 100, 400, 1, 1, 1);  // loop by speed, channel 15
  TLineSoundInputs in;
  in.Speed = 50;
  auto tick = [&](int frame, double speed) {
    in.CurFrame = frame;
    in.Speed = speed;
    AttenuationZones(rig.state, *rig.route, frame);
    EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  };
  tick(105, 50);
  tick(110, 50);
  EXPECT_EQ(rig.bank.ch[14].plays, 1);
  EXPECT_EQ(rig.bank.ch[15].loops, 1);
  EXPECT_EQ(rig.Vol(15), 0);
  tick(200, 25);
  EXPECT_EQ(rig.Vol(15), -1505);
  EXPECT_EQ(rig.bank.ch[15].frequency, 500);
  tick(250, 0);  // standing inside the window: silent
  EXPECT_EQ(rig.Vol(15), -10000);
  EXPECT_TRUE(rig.Busy(15));
  tick(405, 50);
  EXPECT_FALSE(rig.Busy(15));
  EXPECT_EQ(rig.state.RouteSoundStarted[1], 1);
  // Without VolumeBySpeed the sound is full whatever the zone lets through.
  SoundRig full;
  full.route->Attens.Add() = {0, 1000, 0, 30};
  full.route->Attens.Add() = {0, 1000, 0, 60};
  full.route->RouteSounds.Add() = Window(1, 100, 400, 1, 0, 0);
  full.bank.SetVolume(14, -2000);
  AttenuationZones(full.state, *full.route, 200);
  EXPECT_DOUBLE_EQ(static_cast<double>(full.state.AttenFactor), 0.6);  // the last row wins
  in.CurFrame = 200;
  in.Speed = 40;
  EnvironmentSounds(full.state, full.bank, *full.route, full.levels.Layout, in);
  EXPECT_EQ(full.Vol(14), 0);
}

TEST(RunningSoundsTest, AFadeRowCarriesItsFactorToTheRowsAfterIt) {
  SoundRig rig;
  rig.route->RouteSounds.Add() = Window(1, 100, 400, 1, 0, 0, 1);  // fading in at frame 101
  rig.route->RouteSounds.Add() = Window(2, 50, 400, 1, 0, 1);
  TLineSoundInputs in;
  in.CurFrame = 101;
  in.Speed = 50;
  AttenuationZones(rig.state, *rig.route, in.CurFrame);
  EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_DOUBLE_EQ(static_cast<double>(rig.state.AttenFactor), 0.1);  // 0.033 clamped
  EXPECT_EQ(rig.Vol(15), -5000);
}

TEST(RunningSoundsTest, SlowTriggerStartsOnlyBelowItsSpeed) {
  SoundRig rig;
  rig.route->RouteSounds.Add() = Window(1, 100, 400, 0, 0, 0, 0, 1);
  TLineSoundInputs in;
  in.CurFrame = 200;
  in.Speed = 50.5;  // 51 rounded half up
  EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_FALSE(rig.Busy(14));
  in.Speed = 49.6;
  EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_EQ(rig.bank.ch[14].plays, 1);
}

TEST(RunningSoundsTest, ARouteSoundWithoutReferenceSpeedKeepsTheRestOfItsRow) {
  SoundRig rig;
  TRouteSoundRec r = Window(1, 100, 400, 1, 1, 1);
  r.RefSpeed = 0;
  rig.route->RouteSounds.Add() = r;
  TLineSoundInputs in;
  in.CurFrame = 105;
  in.Speed = 30;
  EnvironmentSounds(rig.state, rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_TRUE(rig.Busy(14));
  EXPECT_EQ(rig.bank.ch[14].frequency, 1000);
}

TEST(RunningSoundsTest, PointsPlayTheFirstMatchingRowOncePerPass) {
  SoundRig rig;
  rig.tables.SwitchSound = {{100, 30, 1}, {101, 80, 1}, {102, 200, 2}};
  rig.tables.SwitchSoundCount = 3;
  rig.route->Switches.Add() = {500, 1};
  rig.route->Switches.Add() = {900, 1};
  TLineSoundInputs in;
  in.CurFrame = 490;
  in.Speed = 40;
  PointsSounds(rig.state, rig.bank, *rig.route, rig.tables, in);
  PointsSounds(rig.state, rig.bank, *rig.route, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[100].plays, 0);
  EXPECT_EQ(rig.bank.ch[101].plays, 1);
  // Too fast for every row of its kind: silent, but counted as passed.
  in.CurFrame = 905;
  in.Speed = 90;
  PointsSounds(rig.state, rig.bank, *rig.route, rig.tables, in);
  EXPECT_EQ(rig.state.SwitchPlayed[1], 1);
  in.Speed = 10;
  PointsSounds(rig.state, rig.bank, *rig.route, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[100].plays, 0);
}

TEST(RunningSoundsTest, DopplerPitchesByApproachAndWaitsForItsStation) {
  SoundRig rig;
  auto wave = std::make_shared<Wave>();
  wave->SampleRate = 22050;
  wave->Samples.assign(22050, 0.0f);
  rig.bank.SetWaveData(14, wave);
  rig.route->Dopplers.Add() = {1, 0, 10000, 0, 0, 100000};
  rig.route->Dopplers.Add() = {2, 0, 10000, 0, 3, 100000};  // channel 15, after station 3
  TLineSoundInputs in;
  in.Speed = 60;
  in.Position = 97000;
  DopplerSounds(rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_TRUE(rig.Busy(14));
  EXPECT_EQ(rig.bank.ch[14].frequency, 23184);
  EXPECT_EQ(rig.Vol(14), -310);
  EXPECT_FALSE(rig.Busy(15));
  const uint8_t announced[] = {0, 0, 0, 1};
  in.DepAnnounced = announced;
  in.Position = 103000;
  DopplerSounds(rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_EQ(rig.bank.ch[14].frequency, 21021);
  EXPECT_TRUE(rig.Busy(15));
  // At the range's edge the level has no logarithm: silent, not a fault.
  in.Position = 110000;
  DopplerSounds(rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_EQ(rig.Vol(14), -10000);
  in.Position = 120000;
  DopplerSounds(rig.bank, *rig.route, rig.levels.Layout, in);
  EXPECT_FALSE(rig.Busy(14));
  EXPECT_FALSE(rig.Busy(15));
}

MotorSoundData MotorRow(int kagen) {
  MotorSoundData m;
  m.kagen = kagen;
  m.Speed1 = 0;
  m.Speed2 = 20;
  m.Speed3 = 60;
  m.Speed4 = 100;
  m.Rate1 = 0.5L;
  m.Rate2 = 1;
  m.Rate3 = 1.5L;
  m.Rate4 = 2;
  m.Volume1 = 50;
  m.Volume2 = 100;
  m.Volume3 = 100;
  m.Volume4 = 60;
  return m;
}

TEST(RunningSoundsTest, ElectricMotorRowsFollowTheSpeedAndFadeOut) {
  SoundRig rig;
  rig.tables.MotorSoundCount = 2;
  rig.tables.EngineSound1[0] = MotorRow(0);  // power, channel 33
  rig.tables.EngineSound1[1] = MotorRow(3);  // full whatever the motor level, channel 34
  TMotorSoundInputs in;
  in.Brake = 9;
  in.Speed = 40;
  in.AppliedNotch = 2;
  for (int i = 0; i < 5; ++i) ElectricMotorCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.levels.MotorLevel, 100);  // 1, 21, .. 81, then limited
  EXPECT_EQ(rig.bank.ch[33].frequency, 1250);
  EXPECT_EQ(rig.state.MotorCurveVol[0], 100);
  EXPECT_EQ(rig.Vol(33), 0);
  EXPECT_TRUE(rig.Busy(33));
  in.AppliedNotch = 0;
  for (int i = 0; i < 9; ++i) ElectricMotorCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.levels.MotorRowLevel[0], 10);
  EXPECT_TRUE(rig.Busy(33));  // still looping, silent
  EXPECT_EQ(rig.Vol(33), -10000);
  EXPECT_EQ(rig.Vol(34), 0);  // kagen 3 ignores the falling motor level
  in.Speed = 150;             // beyond every interval
  ElectricMotorCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[33].frequency, 1250);
  EXPECT_EQ(rig.state.MotorCurveVol[0], 1);
}

TEST(RunningSoundsTest, DieselEngineFollowsTheEngineSpeedAndSwapsIdleAtTheDoors) {
  SoundRig rig;
  rig.tables.MotorSoundCount = 3;
  MotorSoundData engine = MotorRow(-1);
  engine.Speed1 = 20;
  engine.Speed4 = 120;
  rig.tables.EngineSound1[0] = engine;
  rig.tables.EngineSound1[1] = MotorRow(-2);
  rig.tables.EngineSound1[2] = MotorRow(1);
  rig.tables.EngineSound2 = {150, 151, 0, 0};
  TMotorSoundInputs in;
  in.EngineRunning = 1;
  in.EngineRpm = 70;
  in.AppliedNotch = 1;
  in.Gear = 1;
  DieselEngineCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[33].frequency, 1250);
  EXPECT_EQ(rig.state.MotorCurveVol[0], 55);
  EXPECT_EQ(rig.levels.MotorLevel, 6);
  EXPECT_EQ(rig.levels.MotorRowLevel[0], 100);
  EXPECT_EQ(rig.levels.MotorRowLevel[1], 1);  // kagen -2 waits for the brake
  EXPECT_EQ(rig.levels.MotorRowLevel[2], 100);
  for (int c : {33, 34, 35, 150}) EXPECT_TRUE(rig.Busy(c)) << c;
  EXPECT_FALSE(rig.Busy(151));
  // The 10-unit fade below the span.
  in.EngineRpm = 15;
  in.Gear = 2;
  in.LastBrakeNotch = -2;
  DieselEngineCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.state.MotorCurveVol[0], 25);
  EXPECT_EQ(rig.levels.MotorRowLevel[1], 100);
  EXPECT_EQ(rig.levels.MotorRowLevel[2], 1);
  // Doors open: the doors' idle sound until 30 ticks, the running idle from 55.
  in.DoorState = 1;
  rig.state.DoorOpenTicks = 3;
  DieselEngineCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(150));
  EXPECT_TRUE(rig.Busy(151));
  rig.state.DoorOpenTicks = 55;
  DieselEngineCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_TRUE(rig.Busy(150));
  EXPECT_FALSE(rig.Busy(151));
  in.EngineRunning = 0;
  DieselEngineCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(150));
}

TEST(RunningSoundsTest, GearChangeCurvesAndAZeroWidthSpan) {
  SoundRig rig;
  rig.tables.HensokuSoundCount = 2;
  HensokuSoundData h;
  h.kagen = 1;
  h.gear = 1;
  h.StartSpeed = 10;
  h.EndSpeed = 30;
  h.StartRate = 1;
  h.EndRate = 2;
  h.StartVolume = 40;
  h.EndVolume = 80;
  rig.tables.EngineSound3[0] = h;  // channel 45
  h.StartSpeed = 20;  // zero width
  h.EndSpeed = 20;
  rig.tables.EngineSound3[1] = h;
  TMotorSoundInputs in;
  in.EngineRunning = 1;
  in.AppliedNotch = 1;
  in.Gear = 1;
  in.Speed = 20;
  GearChangeCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.bank.ch[45].frequency, 1500);
  EXPECT_EQ(rig.state.HensokuCurveVol[0], 60);
  EXPECT_EQ(rig.levels.HensokuRowLevel[0], 11);
  EXPECT_EQ(rig.levels.HensokuLevel, 11);
  EXPECT_EQ(rig.Vol(45), Level(60 * 11 * 11 / 1e6L, 1660));
  EXPECT_EQ(rig.bank.ch[46].frequency, 1000);  // no line through one point
  EXPECT_EQ(rig.state.HensokuCurveVol[1], 40);  // at the end of the fade
  in.Speed = 5;
  GearChangeCurves(rig.state, rig.levels, rig.bank, rig.tables, in);
  EXPECT_EQ(rig.state.HensokuCurveVol[0], 20);
  EXPECT_TRUE(rig.Busy(45));
}

TEST(RunningSoundsTest, DoorOpenCounter) {
  TRunningSoundState s;
  DoorOpenCounter(s, 1, 1);
  EXPECT_EQ(s.DoorOpenTicks, 0);
  DoorOpenCounter(s, 1, 0);
  DoorOpenCounter(s, 1, 0);
  EXPECT_EQ(s.DoorOpenTicks, 2);
  DoorOpenCounter(s, 0, 1);
  EXPECT_EQ(s.DoorOpenTicks, 2);
  DoorOpenCounter(s, 0, 0);
  EXPECT_EQ(s.DoorOpenTicks, 0);
}

struct HornRig : SoundRig {
  HornRig() {
    tables.Horn4 = {110, 111, 112, 113, 10};
    tables.HornAir = Fixed4(20);
    bank.SetWaveData(110, FakeSoundBank::WaveOf(0.5));
    bank.SetWaveData(111, FakeSoundBank::WaveOf(0.5));
    bank.SetWaveData(112, FakeSoundBank::WaveOf(0.5));
  }
  void Pass(int held) {
    in.HornKey = held;
    HornStep(state, bank, tables, in, mr);
  }
  THornInputs in;
  Fixed4 mr = Fixed4(700);
};

TEST(RunningSoundsTest, HornChainsItsSegmentsAndBlowsTheTailAfterTheGap) {
  HornRig rig;
  rig.Pass(1);
  EXPECT_EQ(rig.bank.ch[110].plays, 1);
  rig.in.ClockTime = 10;  // not past the gap
  rig.Pass(1);
  EXPECT_EQ(rig.bank.ch[111].plays, 0);
  rig.in.ClockTime = 11;
  rig.Pass(1);
  EXPECT_EQ(rig.bank.ch[111].plays, 1);
  EXPECT_EQ(rig.state.LastHornTime, 11);
  rig.bank.Advance(500);  // A and B run out
  rig.bank.Stop(111);
  rig.bank.Play(112);
  rig.in.ClockTime = 30;
  rig.Pass(1);
  EXPECT_EQ(rig.bank.ch[111].plays, 2);  // C busy, B not: B again
  rig.in.ClockTime = 35;
  rig.Pass(0);
  EXPECT_EQ(rig.bank.ch[113].plays, 0);  // within the gap
  rig.in.ClockTime = 41;
  rig.Pass(0);
  rig.Pass(0);
  EXPECT_EQ(rig.bank.ch[113].plays, 1);
}

TEST(RunningSoundsTest, APostedHornCharacterIsATapNotAHold) {
  HornRig rig;
  rig.in.HornTap = 1;
  rig.Pass(0);
  rig.in.HornTap = 0;
  EXPECT_EQ(rig.bank.ch[110].plays, 1);
  for (int t = 1; t <= 20; ++t) {
    rig.in.ClockTime = t;
    rig.Pass(0);
  }
  EXPECT_EQ(rig.bank.ch[111].plays, 0);  // no chain
  EXPECT_EQ(rig.bank.ch[113].plays, 1);  // the tail once the gap has passed
}

TEST(RunningSoundsTest, HornDipsTheReservoirGaugeAndSwingsBack) {
  HornRig rig;
  rig.Pass(0);
  EXPECT_EQ(rig.state.HornDipRate, 20);
  for (int i = 0; i < 5; ++i) rig.Pass(1);
  EXPECT_EQ(rig.state.HornDip.Real(), -30);  // -1.5 H
  EXPECT_EQ(rig.mr.Real(), 695);              // H / 20 a pass
  std::vector<long double> swing;
  for (int i = 0; i < 12 && (swing.empty() || swing.back() != 0); ++i) {
    rig.Pass(0);
    swing.push_back(rig.state.HornDip.Real());
  }
  ASSERT_GE(swing.size(), 3u);
  EXPECT_EQ(swing[0], -10);
  EXPECT_EQ(swing[1], 6);
  EXPECT_EQ(swing.back(), 0);
  EXPECT_EQ(rig.mr.Real(), 695);
}

TEST(RunningSoundsTest, BuzzerInBothModes) {
  SoundRig rig;
  rig.tables.SoundHasten = {120, 121};
  rig.tables.SoundBuzzer = 122;
  rig.tables.Key4Mode = "H";
  THornInputs in;
  in.BuzzerKey = 1;
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(120));  // doors closed
  in.DoorState = 1;
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  EXPECT_TRUE(rig.Busy(120));
  in.BuzzerKey = 0;
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(120));
  EXPECT_EQ(rig.bank.ch[121].plays, 1);
  rig.tables.Key4Mode = "B";
  in.BuzzerKey = 1;
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  EXPECT_TRUE(rig.Busy(122));
  in.BuzzerKey = 0;
  BuzzerStep(rig.state, rig.bank, rig.tables, in);
  EXPECT_FALSE(rig.Busy(122));
  EXPECT_EQ(rig.bank.ch[122].stops, 2);  // the loop's own stop and the release, no more
}

}  // namespace
}  // namespace kavrin

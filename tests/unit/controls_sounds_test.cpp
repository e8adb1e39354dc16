#include <gtest/gtest.h>

#include <string>

#include "controls_fixture.h"
#include "support/vehicle_reader.h"

namespace kavrin {
namespace {

using test::ControlsRig;

// Rows "a+i,b+i" for i = 0 .. n - 1.
std::string Pairs(int n, int a, int b) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::to_string(a + i) + "," + std::to_string(b + i) + "\n";
  return s;
}
std::string Singles(int n, int a) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::to_string(a + i) + "\n";
  return s;
}

// A train whose click channels tell their table, row and column: "[Sound_BK]" row i is
// 100 + i / 110 + i, "[Sound_BR]" 120 + i / 130 + i, "[Sound_BA]" 140 + i / 150 + i,
// "[Sound_PA]" 160 + i, "[Sound_PR]" 170 + i, "[Sound_PK]" 180 + i.
ControlsRig ClickTrain(int brakeType, int brake, bool withPowerTables = true) {
  std::string text = "[BrakeType]\n" + std::to_string(brakeType) + "\n[Brake]\n" + std::to_string(brake) +
                     "\n[Power]\n5\n[Sound_BK]\n" + Pairs(brake, 100, 110) + "[Sound_BR]\n" + Pairs(brake, 120, 130) +
                     "[Sound_BA]\n" + Pairs(brake + 1, 140, 150);
  if (withPowerTables) {
    text += "[Sound_PA]\n" + Singles(5, 160) + "[Sound_PR]\n" + Singles(5, 170) + "[Sound_PK]\n" + Singles(5, 180);
  }
  TVehicleFile v = test::ReadVehicleText(text);
  ControlsRig r;
  r.veh = v.veh;
  r.tables = v.Tables;
  for (int c = 0; c < 200; ++c) r.Loaded(c);
  r.SetBrake(-r.veh.Brake);
  return r;
}

int TotalPlays(const ControlsRig& r) {
  int n = 0;
  for (int c = 0; c < SoundBank::ChannelCount; ++c) n += r.Plays(c);
  return n;
}

TEST(ControlsSounds, NumberedBrakeApplicationReleaseAndPower) {
  struct Case {
    const char* name;
    int brake, power;  // handle and position in force before the key
    long double speed;
    const char* key;
    std::vector<int> played;
  };
  const Case cases[] = {
      {"first application step: air and click", 0, 0, 0, "2", {150, 140}},
      {"a deeper step", -3, 0, 0, "2", {153, 143}},
      {"a release step", -3, 0, 0, "8", {122}},
      {"release to running", -1, 0, 0, "8", {120, 100}},
      {"emergency at speed sounds the step it came from", -3, 0, 20, "0", {153, 147}},
      {"emergency at low speed", -3, 0, 10, "0", {157, 147}},
      {"power up", 0, 0, 0, "8", {160}},
      {"power down", 0, 3, 0, "2", {172}},
      {"power cut", 0, 3, 0, "5", {182}},
  };
  for (const Case& c : cases) {
    ControlsRig r = ClickTrain(1, 8);
    r.SetBrake(c.brake);
    r.SetPower(c.power);
    r.speed = c.speed;
    r.Type(c.key);
    for (int ch : c.played) EXPECT_EQ(r.Plays(ch), 1) << c.name << ": channel " << ch;
    EXPECT_EQ(TotalPlays(r), static_cast<int>(c.played.size())) << c.name;
  }
}

TEST(ControlsSounds, ApplyingStopsTheExhaustsStillSounding) {
  ControlsRig r = ClickTrain(1, 8);
  r.SetBrake(-2);
  r.sound.Play(112);  // a release exhaust
  r.sound.Play(131);
  r.Type("2");
  EXPECT_EQ(r.sound.GetStatus(112), 0);
  EXPECT_EQ(r.sound.GetStatus(131), 0);
  for (int row = 0; row < 8; ++row) {
    EXPECT_GE(r.Stops(110 + row), 1) << row;
    EXPECT_GE(r.Stops(130 + row), 1) << row;
  }
  // A release touches none of them.
  ControlsRig rel = ClickTrain(1, 8);
  rel.SetBrake(-2);
  rel.Type("8");
  EXPECT_EQ(rel.Stops(110), 0);
}

TEST(ControlsSounds, ReleaseToRunningUnderATripHasNoRunningClick) {
  ControlsRig r = ClickTrain(1, 8);
  r.SetBrake(-1);
  r.emergencyTrip = 1;
  r.Type("8");
  EXPECT_EQ(r.Plays(120), 1);
  EXPECT_EQ(r.Plays(100), 0);
}

TEST(ControlsSounds, AutomaticBrakeValveSounds) {
  struct Case {
    const char* name;
    int inForce;
    const char* key;
    int played;
  };
  const Case cases[] = {
      {"released from a brake position", -2, "5", 111},
      {"a release step", -3, "8", 132},
      {"an application step", -1, "2", 151},
  };
  for (const Case& c : cases) {
    ControlsRig r = ClickTrain(0, 4);
    r.SetBrake(c.inForce);
    r.Type(c.key);
    EXPECT_EQ(r.Plays(c.played), 1) << c.name;
    EXPECT_EQ(TotalPlays(r), 1) << c.name;
  }
  // Until the brake in force has followed, every key finds the same difference; a sound still
  // playing is not started again.
  ControlsRig r = ClickTrain(0, 4);
  r.SetBrake(-2);
  r.Type("5");
  r.Type("3");
  EXPECT_EQ(r.Plays(111), 1);
}

TEST(ControlsSounds, ATableTheTrainDoesNotHavePlaysNothing) {
  ControlsRig r = ClickTrain(1, 8, false);
  ASSERT_EQ(r.tables.SoundPARows, 0);
  r.SetBrake(0);
  r.Type("8");  // power up: "[Sound_PA]" row 0 would be channel 0
  EXPECT_EQ(r.h.PowerNotch, 1);
  EXPECT_EQ(r.Plays(0), 0);

  // "[Sound_BK]" read before "[Brake]" has no rows: releasing to running plays only the step.
  TVehicleFile v = test::ReadVehicleText("[BrakeType]\n1\n[Sound_BK]\n[Brake]\n8\n[Sound_BR]\n" + Pairs(8, 120, 130));
  ControlsRig early;
  early.veh = v.veh;
  early.tables = v.Tables;
  for (int c = 0; c < 200; ++c) early.Loaded(c);
  early.SetBrake(-1);
  early.Type("8");
  EXPECT_EQ(early.Plays(120), 1);
  EXPECT_EQ(TotalPlays(early), 1);
}

}  // namespace
}  // namespace kavrin

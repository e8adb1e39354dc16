#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/handle_model.h"
#include "controls_fixture.h"

namespace kavrin {
namespace {

using test::ControlsRig;

// Presses one key after another and records the handle after each.
std::vector<std::string> Walk(ControlsRig& r, std::string_view keys) {
  std::vector<std::string> seen;
  for (char k : keys) {
    r.Type(std::string(1, k));
    seen.push_back(r.Pos());
  }
  return seen;
}

using Seq = std::vector<std::string>;

TEST(ControlsHandle, OneHandleLineWithAndWithoutTheHoldStep) {
  struct Case {
    const char* name;
    int hold;
    int brake;  // start position (negative) or power (positive)
    const char* keys;
    Seq expected;
  };
  const Case cases[] = {
      {"up through the hold step", 1, -2, "8888", {"B1", "H", "N", "P1"}},
      {"up without a hold step", 0, -2, "888", {"B1", "N", "P1"}},
      {"down through the hold step", 1, 2, "22222", {"P1", "N", "H", "B1", "B2"}},
      {"down without a hold step", 0, 2, "2222", {"P1", "N", "B1", "B2"}},
      {"one-handle z and a walk the same line", 1, -1, "zzzaaa", {"H", "N", "P1", "N", "H", "B1"}},
      {"from the hold step down goes to B1, then B2", 1, 0, "222", {"H", "B1", "B2"}},
      {"a step up from the hold step leaves power off", 1, -1, "88", {"H", "N"}},
  };
  for (const Case& c : cases) {
    ControlsRig r;
    r.veh.Hold = c.hold;
    if (c.brake < 0) r.SetBrake(c.brake);
    else r.SetBrake(0), r.SetPower(c.brake);
    EXPECT_EQ(Walk(r, c.keys), c.expected) << c.name;
    EXPECT_FALSE(r.h.HoldJustLeft) << c.name;
  }
}

TEST(ControlsHandle, BrakeStepsStopAtTheHighestServiceStepAndTheWheelThenAppliesEmergency) {
  ControlsRig r;  // Brake 8: B7 is the highest service step
  r.SetBrake(0);
  r.Type("222222222222a");
  EXPECT_EQ(r.h.BrakeNotch, -7);  // stepping never reaches emergency
  r.WheelUp();                    // posts "0" here
  EXPECT_EQ(r.Pos(), "EB");
  // Below the highest step the wheel posts "2", one step.
  r.SetBrake(-3);
  r.WheelUp();
  EXPECT_EQ(r.h.BrakeNotch, -4);
  // The wheel down posts "8".
  r.WheelDown();
  EXPECT_EQ(r.h.BrakeNotch, -3);
}

TEST(ControlsHandle, TwoHandlesMovePowerAndBrakeApart) {
  ControlsRig r;
  r.veh.Handle = 1;
  r.veh.Hold = 1;
  r.SetBrake(-3);
  r.Type("z");
  EXPECT_EQ(r.Both(), "P1/B3");  // power rises although the brake is applied
  r.Type("zz.");
  EXPECT_EQ(r.Both(), "P3/B4");
  r.Type(",,,");
  EXPECT_EQ(r.Both(), "P3/B1");
  r.Type(",");
  EXPECT_EQ(r.Both(), "P3/H");
  r.Type(",");
  EXPECT_EQ(r.Both(), "P3/B0");
  r.Type(".");
  EXPECT_EQ(r.Both(), "P3/H");
  r.Type(".");
  EXPECT_EQ(r.Both(), "P3/B1");
  r.Type("a");
  EXPECT_EQ(r.Both(), "P2/B1");
  r.Type("/");
  EXPECT_EQ(r.Both(), "P2/B8");  // the two-handle emergency leaves the power handle
  r.Type("q");                   // the one-handle key means nothing here
  EXPECT_EQ(r.Both(), "P2/B8");

  // With one handle "z" from a brake step only releases it, and "q" also cuts power.
  ControlsRig one;
  one.SetBrake(-3);
  one.Type("z");
  EXPECT_EQ(one.Both(), "P0/B2");
  one.SetBrake(0);
  one.Type("zzq");
  EXPECT_EQ(one.Both(), "P0/B8");
  one.Type(",./");  // the two-handle brake keys mean nothing with one handle
  EXPECT_EQ(one.Both(), "P0/B8");
}

TEST(ControlsHandle, NeutralAndEmergencyKeysClearTheHoldStep) {
  ControlsRig r;
  r.veh.Hold = 1;
  r.SetBrake(-1);
  r.Type("8");
  ASSERT_EQ(r.Pos(), "H");
  r.Type("0");
  EXPECT_EQ(r.Pos(), "EB");
  EXPECT_FALSE(r.h.HoldEngaged);
  r.SetBrake(-1);
  r.Type("8");
  r.Type("5");
  EXPECT_EQ(r.Pos(), "N");
  EXPECT_FALSE(r.h.HoldEngaged);
  r.SetPower(3);
  r.Type("5");
  EXPECT_EQ(r.Both(), "P0/B0");
}

TEST(ControlsHandle, ChangeFlagsFollowTheKindOfKey) {
  struct Case {
    int handle;
    char key;
    bool power, brake;
  };
  const Case cases[] = {
      {0, 'z', true, true}, {0, 'a', true, true}, {0, 'q', true, true}, {0, '8', true, true},
      {0, '2', true, true}, {0, '5', true, true}, {0, '0', true, true}, {1, 'z', true, false},
      {1, 'a', true, false}, {1, ',', false, true}, {1, '.', false, true}, {1, '/', false, true},
      {1, '8', true, true},  {0, '3', false, false}, {0, 'f', false, false},
  };
  for (const Case& c : cases) {
    ControlsRig r;
    r.veh.Handle = c.handle;
    r.SetBrake(-2);
    r.Type(std::string(1, c.key));
    EXPECT_EQ(r.d.PowerDelayRun, c.power) << c.handle << " " << c.key;
    EXPECT_EQ(r.d.BrakeDelayRun, c.brake) << c.handle << " " << c.key;
    EXPECT_EQ(r.d.SapDelayRun, c.brake) << c.handle << " " << c.key;
    EXPECT_EQ(r.d.EBrakeDelayRun, c.brake) << c.handle << " " << c.key;
  }
}

TEST(ControlsHandle, ReverserMovesOnlyAtAStandWithTheBrakeAtEmergency) {
  struct Case {
    long double speed;
    int brake;
    const char* keys;
    int expected;
  };
  const Case cases[] = {
      {0, -8, "b", -1},   {1, -8, "n", 0},     {-1, -8, "b", -1}, {1.01L, -8, "b", 1},
      {-3, -8, "n", 1},   {0, -7, "b", 1},     {0, 0, "n", 1},    {0, -8, "bf", 1},
  };
  for (const Case& c : cases) {
    ControlsRig r;
    r.speed = c.speed;
    r.SetBrake(c.brake);
    r.Type(c.keys);
    EXPECT_EQ(r.h.Reverser, c.expected) << static_cast<double>(c.speed) << " " << c.brake << " " << c.keys;
  }
  ControlsRig r;
  r.Type("b");
  EXPECT_EQ(r.h.ReverserText, "REV");
  r.Type("n");
  EXPECT_EQ(r.h.ReverserText, "NEU");
}

TEST(ControlsHandle, SwapKeysExchangesEightAndTwoForKeysAndWheel) {
  ControlsRig r;
  r.SetBrake(-3);
  r.KeyDown(vk::Scroll);
  EXPECT_TRUE(r.h.SwapKeys);
  r.Type("8");
  EXPECT_EQ(r.Pos(), "B4");
  r.WheelDown();  // the wheel posts "8", which now lowers the handle
  EXPECT_EQ(r.Pos(), "B5");
  r.Type("2");
  EXPECT_EQ(r.Pos(), "B4");
  r.KeyDown(vk::Scroll);
  r.Type("8");
  EXPECT_EQ(r.Pos(), "B3");
}

TEST(ControlsHandle, PowerModesNotchInsideTheirRows) {
  // Rows of modes 0, 0, 1, 1, 1: ModeStart[1] = 2.
  auto rig = [](int mode) {
    ControlsRig r;
    r.SetBrake(0);
    r.tables.Notch.resize(5);
    for (int i : {2, 3, 4}) r.tables.Notch[static_cast<size_t>(i)].Mode = 1;
    r.tables.ModeStart[1] = 2;
    r.tables.PowerMode[0].Name = "M";
    r.tables.PowerMode[1].Name = "S";
    r.tables.PowerMode[0].Label = "mode 0";
    r.tables.PowerMode[1].Label = "mode 1";
    r.tables.PowerModeCount = 2;
    r.h.PowerModeIdx = mode;
    return r;
  };
  struct Case {
    int mode;
    const char* keys;
    Seq positions;
    const char* text;
  };
  const Case cases[] = {
      {0, "888", {"P1", "P2", "P2"}, "M2"},
      {0, "8822", {"P1", "P2", "P1", "N"}, "P0"},
      {1, "8888", {"P3", "P4", "P5", "P5"}, "S3"},
      {1, "88222", {"P3", "P4", "P3", "N", "H"}, "P0"},
  };
  for (const Case& c : cases) {
    ControlsRig r = rig(c.mode);
    r.veh.Hold = 1;
    EXPECT_EQ(Walk(r, c.keys), c.positions) << c.mode << " " << c.keys;
    EXPECT_EQ(r.h.PowerText, c.text) << c.mode << " " << c.keys;
    EXPECT_EQ(r.h.GearText, c.mode == 0 ? "mode 0" : "mode 1");
  }
  // Without a notch table (current-step traction) every notch is in mode 0.
  ControlsRig r;
  r.SetBrake(0);
  r.Type("888888");
  EXPECT_EQ(r.Pos(), "P5");
}

TEST(ControlsHandle, SuppressNotchesOfAnElectricTrain) {
  ControlsRig r;
  r.tables.SuppressCount = 3;
  r.SetBrake(0);
  r.SetPower(2);
  r.Type("x");
  EXPECT_EQ(r.h.SuppressPos, 1);
  EXPECT_EQ(r.h.PowerNotch, 0);  // going up cuts the power
  EXPECT_TRUE(r.d.PowerDelayRun);
  EXPECT_EQ(r.h.GearText, "抑速1");
  r.Type("xxx");
  EXPECT_EQ(r.h.SuppressPos, 3);
  r.Type("s");
  EXPECT_EQ(r.h.SuppressPos, 2);
  EXPECT_EQ(r.h.GearText, "抑速2");
  r.Type("8");  // the first power notch leaves suppression
  EXPECT_EQ(r.h.SuppressPos, 0);
  EXPECT_EQ(r.Pos(), "P1");
  EXPECT_EQ(r.h.GearText, "");
  r.Type("ssss");
  EXPECT_EQ(r.h.SuppressPos, 0);

  // A diesel train's "s" and "x" are gear lever keys, and only with the manual gearbox.
  ControlsRig dmu;
  dmu.veh.Engine_Type = 0;
  dmu.tables.SuppressCount = 3;
  dmu.Type("x");
  EXPECT_EQ(dmu.h.GearLever, 0);
  EXPECT_EQ(dmu.h.SuppressPos, 0);
  dmu.tables.Gear_Type = 1;
  dmu.Type("x");
  EXPECT_EQ(dmu.h.GearLever, 1);
  dmu.Type("w");
  EXPECT_EQ(dmu.h.GearLever, 2);
  dmu.Type("s");
  EXPECT_EQ(dmu.h.GearLever, 0);
}

TEST(ControlsHandle, StartAndStationJumpPositions) {
  ControlsRig r;
  r.h.Reverser = -1;
  r.h.HoldEngaged = true;
  r.h.PowerNotch = 3;
  StartHandle(r.h, r.d, r.veh);
  EXPECT_EQ(r.Both(), "P0/B8");
  EXPECT_EQ(r.d.LastBrakeNotch, -8);
  EXPECT_EQ(r.d.SapNotch, -8);
  EXPECT_EQ(r.h.Reverser, 1);
  r.h.HoldEngaged = true;
  r.SetPower(2);
  HandleAfterStationJump(r.h, r.d, r.veh);
  EXPECT_EQ(r.Both(), "P0/B7");  // full service, not emergency
  EXPECT_EQ(r.d.AppliedNotch, 0);
  EXPECT_EQ(r.d.LastBrakeNotch, -7);
}

}  // namespace
}  // namespace kavrin

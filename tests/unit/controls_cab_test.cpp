#include <gtest/gtest.h>

#include <string>

#include "controls_fixture.h"

namespace kavrin {
namespace {

using test::ControlsRig;

TEST(ControlsCab, AutomaticBrakeShowsItsNamedPositions) {
  ControlsRig r;
  r.veh.BrakeType = 0;
  r.veh.Brake = 4;  // as the run sets it for this brake
  r.SetBrake(0);
  struct Step {
    const char* key;
    int position;
    const char* text;
  };
  const Step steps[] = {
      {"5", 0, "N"}, {"2", -1, "KEEP"}, {"2", -2, "LAP"}, {"2", -3, "APPLY"},
      {"2", -3, "APPLY"},  // the highest service position is the last step
      {"0", -4, "EB"}, {"8", -3, "APPLY"}, {"8", -2, "LAP"}, {"8", -1, "KEEP"}, {"8", 0, "N"},
  };
  for (const Step& s : steps) {
    r.Type(s.key);
    EXPECT_EQ(r.h.BrakeNotch, s.position) << s.key;
    EXPECT_EQ(r.h.BrakeText, s.text) << s.key << " to " << s.position;
  }
}

TEST(ControlsCab, NumberedBrakeAndPowerTexts) {
  ControlsRig r;
  r.veh.Hold = 1;
  r.tables.PowerMode[0].Name = "P";
  struct Step {
    const char* key;
    const char* brake;
    const char* power;
  };
  const Step steps[] = {
      {"0", "EB", "P0"}, {"8", "B7", "P0"}, {"5", "N", "P0"}, {"2", "HOLD", "P0"},
      {"2", "B1", "P0"}, {"8", "HOLD", "P0"}, {"8", "N", "P0"}, {"8", "N", "P1"}, {"8", "N", "P2"},
  };
  for (const Step& s : steps) {
    r.Type(s.key);
    EXPECT_EQ(r.h.BrakeText, s.brake) << s.key;
    EXPECT_EQ(r.h.PowerText, s.power) << s.key;
  }
}

TEST(ControlsCab, NotchImagesFollowTheHandle) {
  ControlsRig r;
  r.veh.Hold = 1;
  r.panel.LampP = r.PatternSprite(6);
  r.panel.LampB = r.PatternSprite(10);  // released, hold, B1 .. B7, EB
  r.panel.LampP2 = r.PatternSprite(6);
  r.panel.LampB2 = r.PatternSprite(12);  // and the two protection patterns
  r.panel.GearLeverImage = r.PatternSprite(6);
  struct Step {
    const char* key;
    int b, b2;
    bool pVisible, p2Visible;
  };
  const Step steps[] = {
      {"0", 9, 9, false, false}, {"5", 0, 0, true, true}, {"2", 1, 1, true, false},
      {"2", 2, 2, false, false}, {"2", 3, 3, false, false},
  };
  for (const Step& s : steps) {
    r.Type(s.key);
    EXPECT_EQ(r.Sprite(r.panel.LampB).AnimStart, s.b) << s.key;
    EXPECT_EQ(r.Sprite(r.panel.LampB2).AnimStart, s.b2) << s.key;
    EXPECT_EQ(r.Sprite(r.panel.LampP).Visible, s.pVisible) << s.key;
    EXPECT_EQ(r.Sprite(r.panel.LampP2).Visible, s.p2Visible) << s.key;
  }
  r.Type("5888");
  EXPECT_EQ(r.Sprite(r.panel.LampP).AnimStart, 3);
  EXPECT_EQ(r.Sprite(r.panel.LampP2).AnimStart, 3);

  // The protection brakes take over the second indicator.
  r.atsTrip = 1;
  r.Update();
  EXPECT_EQ(r.Sprite(r.panel.LampB2).AnimStart, 10);
  EXPECT_EQ(r.Sprite(r.panel.LampP2).AnimStart, 0);
  EXPECT_FALSE(r.Sprite(r.panel.LampP2).Visible);
  r.emergencyTrip = 1;
  r.Update();
  EXPECT_EQ(r.Sprite(r.panel.LampB2).AnimStart, 11);
  EXPECT_EQ(r.Sprite(r.panel.LampB).AnimStart, 0);  // the first indicator still shows the handle

  // An image with too few patterns for the position keeps the one it shows.
  ControlsRig few;
  few.panel.LampB = few.PatternSprite(4);
  few.SetBrake(-2);
  few.Update();
  EXPECT_EQ(few.Sprite(few.panel.LampB).AnimStart, 2);  // no hold step: frame = position
  few.Type("0");
  EXPECT_EQ(few.Sprite(few.panel.LampB).AnimStart, 2);

  // With two handles the power indicator always shows.
  ControlsRig two;
  two.veh.Handle = 1;
  two.panel.LampP = two.PatternSprite(6);
  two.Update();
  EXPECT_TRUE(two.Sprite(two.panel.LampP).Visible);
}

TEST(ControlsCab, ReverserLampsAndLeverImage) {
  ControlsRig r;
  r.panel.LampFwd = r.PatternSprite(1);
  r.panel.LampBck = r.PatternSprite(1);
  r.Update();
  EXPECT_TRUE(r.Sprite(r.panel.LampFwd).Visible);
  EXPECT_FALSE(r.Sprite(r.panel.LampBck).Visible);
  r.Type("b");
  EXPECT_FALSE(r.Sprite(r.panel.LampFwd).Visible);
  EXPECT_TRUE(r.Sprite(r.panel.LampBck).Visible);
  r.Type("n");
  EXPECT_FALSE(r.Sprite(r.panel.LampFwd).Visible);
  EXPECT_FALSE(r.Sprite(r.panel.LampBck).Visible);
}

TEST(ControlsCab, DieselGearTextFollowsTheLever) {
  struct Case {
    int engineRows;
    int lever;
    const char* text;
  };
  const Case cases[] = {
      {5, 0, "G-N"}, {5, 1, "G-C"}, {5, 2, "G-D1"}, {5, 5, "G-D4"}, {3, 2, "G-D"}, {3, 0, "G-N"},
  };
  for (const Case& c : cases) {
    ControlsRig r;
    r.veh.Engine_Type = 0;
    r.tables.EngineRows = c.engineRows;
    r.h.GearLever = c.lever;
    r.Update();
    EXPECT_EQ(r.h.GearText, c.text) << c.engineRows << " " << c.lever;
    r.h.GearText.clear();
    r.Type("3");
    EXPECT_EQ(r.h.GearText, c.text) << "after a key";
  }
}

TEST(ControlsCab, SuppressGearTextFollowsThePowerModeInTheUpdate) {
  ControlsRig r;
  r.tables.SuppressCount = 2;
  r.h.GearText = "x";
  r.h.PowerModeIdx = -1;
  r.Update();
  EXPECT_EQ(r.h.GearText, "抑速");
  r.h.PowerModeIdx = 0;
  r.Update();
  EXPECT_EQ(r.h.GearText, "");
}

TEST(ControlsCab, ConstantSpeedControl) {
  // "t" engages at the top notch at speed when ConstNotch is 1.
  ControlsRig r;
  r.veh.ConstNotch = 1;
  r.veh.ConstSpeed = 40;
  r.tables.PowerMode[0].Name = "P";
  r.SetBrake(0);
  r.SetPower(5);
  r.speed = 39;
  r.Type("t");
  EXPECT_EQ(r.h.ConstActive, 0);
  r.speed = 40;
  r.Type("t");
  EXPECT_EQ(r.h.ConstActive, 1);
  EXPECT_EQ(r.h.PowerText, "CONST");
  r.Type("3");  // a key that leaves the handle keeps it
  EXPECT_EQ(r.h.ConstActive, 1);
  r.Type("2");  // moving the handle lets go, and the notch in force follows the handle
  EXPECT_EQ(r.h.ConstActive, 0);
  EXPECT_EQ(r.d.AppliedNotch, 4);
  EXPECT_EQ(r.h.PowerText, "P4");

  // With ConstNotch 2 or more it engages when the handle comes down to that notch.
  ControlsRig n;
  n.veh.ConstNotch = 3;
  n.veh.ConstSpeed = 40;
  n.SetBrake(0);
  n.SetPower(4);
  n.speed = 50;
  n.Type("2");
  EXPECT_EQ(n.h.ConstActive, 1);
  EXPECT_EQ(n.h.PowerText, "CONST");
  n.d.AppliedNotch = 3;  // the tick lets the notch in force follow
  n.emergencyTrip = 1;
  n.Update();
  EXPECT_EQ(n.h.ConstActive, 0);

  // "t" means nothing when ConstNotch is not 1.
  ControlsRig t;
  t.veh.ConstNotch = 0;
  t.SetBrake(0);
  t.SetPower(5);
  t.speed = 100;
  t.Type("t");
  EXPECT_EQ(t.h.ConstActive, 0);
}

TEST(ControlsCab, DepartureCallWaitsForPowerWithTheDoorsClosed) {
  ControlsRig r;
  int calls = 0;
  r.actions.PlayPendingDepartureCall = [&] { ++calls; };
  r.SetBrake(0);
  r.doorState = 1;
  r.Type("8");
  EXPECT_EQ(calls, 0);
  r.doorState = 0;
  r.Type("5");
  EXPECT_EQ(calls, 0);
  r.Type("8");
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <string>

#include "controls_fixture.h"

namespace kavrin {
namespace {

using test::ControlsRig;

TEST(ControlsKeys, CharactersDoNothingUntilTheRunHasStartedButStillCountAsAction) {
  ControlsRig r;
  r.running = false;
  r.tables.SoundEBring = 7;
  r.Loaded(7);
  r.sound.Play(7);
  r.panel.LampEB = r.PatternSprite(1);
  r.h.VigilanceCount = 400;
  r.SetBrake(0);
  r.Type("8b3");
  EXPECT_EQ(r.Pos(), "N");
  EXPECT_EQ(r.h.Reverser, 1);
  EXPECT_FALSE(r.d.PowerDelayRun);
  EXPECT_EQ(r.h.VigilanceCount, 0);
  EXPECT_EQ(r.sound.GetStatus(7), 0);
  EXPECT_FALSE(r.Sprite(r.panel.LampEB).Visible);
  r.running = true;
  r.Type("8");
  EXPECT_EQ(r.Pos(), "P1");
}

TEST(ControlsKeys, HornBuzzerEngineAndCurrentKeysActWhileHeld) {
  // With a held horn the key holds it until released; the character (a controller posts it
  // with no release) only taps it.
  ControlsRig r;
  r.tables.Horn4 = {20, 21, 22, 23, 5};
  r.KeyDown('3');
  EXPECT_EQ(r.keys.HornKey, 1);
  r.KeyUp('3');
  EXPECT_EQ(r.keys.HornKey, 0);
  r.Type("3");
  EXPECT_EQ(r.keys.HornKey, 0);
  EXPECT_EQ(r.keys.HornTap, 1);

  // Without one the character blows the single horn from its start and nothing is held.
  ControlsRig single;
  single.tables.SoundHorn = 9;
  single.tables.SoundHorn2 = 10;
  single.Loaded(9);
  single.Loaded(10);
  single.KeyDown('3');
  EXPECT_EQ(single.keys.HornKey, 0);
  single.Type("3");
  single.Type("3");
  EXPECT_EQ(single.Plays(9), 2);
  EXPECT_EQ(single.Stops(9), 2);
  single.Type("6");
  EXPECT_EQ(single.Plays(10), 1);

  r.KeyDown('4');
  EXPECT_EQ(r.keys.BuzzerKey, 1);
  r.KeyUp('4');
  EXPECT_EQ(r.keys.BuzzerKey, 0);

  r.KeyDown(vk::F2);
  EXPECT_EQ(r.keys.EngineSwitch, 1);
  r.KeyUp(vk::F2);
  EXPECT_EQ(r.keys.EngineSwitch, 0);
  r.KeyDown(vk::F2, true);
  EXPECT_EQ(r.keys.EngineSwitch, 2);
  r.KeyUp(vk::F2, false);  // released after the shift key
  EXPECT_EQ(r.keys.EngineSwitch, 0);

  r.KeyDown(vk::F4);
  EXPECT_EQ(r.keys.CurrentLimitAdd, 50);
  r.KeyUp(vk::F4);
  EXPECT_EQ(r.keys.CurrentLimitAdd, 0);
}

TEST(ControlsKeys, KeysOfOtherSubsystemsCallThemUnderTheirConditions) {
  struct Case {
    const char* name;
    int oneMan;
    int atsType;
    long double speed;
    int brake;
    const char* keys;
    const char* calls;  // one letter per call made
  };
  const Case cases[] = {
      {"doors, one-man", 1, 0, 0, -8, "d7", "DD"},
      {"doors, with a conductor", 0, 0, 0, -8, "d7", ""},
      {"doors, second one-man variant", 2, 0, 0, -8, "d", "D"},
      {"reset at a stand at emergency", 0, 0, 0.05L, -8, "r", "R"},
      {"reset while moving", 0, 0, 0.1L, -8, "r", ""},
      {"reset below emergency", 0, 0, 0, -7, "r", ""},
      {"acknowledge", 0, 0, 30, 0, " ", "K"},
      {"acknowledge with another protection", 0, 1, 30, 0, " ", ""},
      {"announcements", 1, 0, 30, 0, "c1-", "NNP"},
      {"announcements of the other one-man variant", 2, 0, 30, 0, "c1-", ""},
  };
  for (const Case& c : cases) {
    ControlsRig r;
    std::string calls;
    r.actions.Door_operate = [&] { calls += 'D'; };
    r.actions.ProtectionReset = [&] { calls += 'R'; };
    r.actions.ProtectionAcknowledge = [&] { calls += 'K'; };
    r.actions.NextAnnouncement = [&] { calls += 'N'; };
    r.actions.PreviousAnnouncement = [&] { calls += 'P'; };
    r.oneMan = c.oneMan;
    r.veh.ATS_Type = c.atsType;
    r.speed = c.speed;
    r.SetBrake(c.brake);
    r.Type(c.keys);
    EXPECT_EQ(calls, c.calls) << c.name;
  }

  ControlsRig r;
  std::string calls;
  r.actions.CallingVoice = [&] { calls += 'C'; };
  r.actions.MovieJumpPastStop = [&] { calls += 'M'; };
  r.actions.JumpBeforeNextStop = [&] { calls += 'J'; };
  r.actions.ToggleValueDisplay = [&] { calls += 'V'; };
  r.KeyDown(vk::Return);
  r.KeyDown(vk::Back);
  r.speed = 0.2L;
  r.KeyDown(vk::Back);  // only at a stand
  r.KeyDown(vk::F3, true);
  r.KeyDown(vk::F3);
  EXPECT_EQ(calls, "CMJV");
  // Keys without their subsystem do nothing.
  ControlsRig bare;
  bare.oneMan = 1;
  bare.Type("d r c");
  bare.KeyDown(vk::Return);
}

TEST(ControlsKeys, DoorSideKeysWithTheDoorsClosed) {
  ControlsRig r;
  r.oneManDoors = 1;
  for (int i = 0; i < 3; ++i) r.PatternSprite(1);
  r.panel.OtherImages[2] = r.PatternSprite(1);
  r.view.DXSpriteEngine1.Get(r.panel.OtherImages[2])->Visible = false;
  r.KeyDown(vk::Next);
  EXPECT_EQ(r.keys.DoorSideSelect, 1);
  EXPECT_EQ(r.keys.DoorSideText, "RIGHT");
  EXPECT_TRUE(r.Sprite(r.panel.OtherImages[2]).Visible);
  r.doorState = 1;
  r.KeyDown(vk::Prior);
  EXPECT_EQ(r.keys.DoorSideSelect, 1);  // not while the doors are open
  r.doorState = 0;
  r.KeyDown(vk::Prior);
  EXPECT_EQ(r.keys.DoorSideSelect, 0);
  EXPECT_EQ(r.keys.DoorSideText, "LEFT");
  EXPECT_FALSE(r.Sprite(r.panel.OtherImages[2]).Visible);

  // Without the door text the side still changes.
  ControlsRig plain;
  plain.KeyDown(vk::Next);
  EXPECT_EQ(plain.keys.DoorSideSelect, 1);
  EXPECT_EQ(plain.keys.DoorSideText, "");
}

TEST(ControlsKeys, CabSurfaceMovesInFiftyPixelStepsBetweenMinus150AndZero) {
  ControlsRig r;
  const int32_t expected[] = {-50, -100, -150, -150};
  for (int32_t e : expected) {
    r.KeyDown(vk::Up, true);
    EXPECT_EQ(r.keys.CabSurfaceTop, e);
  }
  r.KeyDown(vk::Down);  // without shift the arrows do nothing
  EXPECT_EQ(r.keys.CabSurfaceTop, -150);
  for (int i = 0; i < 4; ++i) r.KeyDown(vk::Down, true);
  EXPECT_EQ(r.keys.CabSurfaceTop, 0);
}

TEST(ControlsKeys, DebugKeysMoveSpeedFilmAndClock) {
  ControlsRig r;
  r.curFrame = 150;
  r.clockTime = 1080000;
  r.frameCount = 2000;
  struct Step {
    int32_t key;
    int32_t frame, clock;
  };
  const Step steps[] = {
      {vk::F5, 50, 1079910},   {vk::F5, 0, 1079820},  // the film does not go before its start
      {vk::F6, 100, 1079910},  {vk::F8, 1100, 1080810}, {vk::F8, 2000, 1081710},  // nor past its end
      {vk::F7, 1000, 1080810}, {vk::F9, 1000, 1079910}, {vk::F10, 1000, 1080810},
  };
  for (const Step& s : steps) {
    r.KeyDown(s.key, true);
    EXPECT_EQ(r.curFrame, s.frame) << s.key;
    EXPECT_EQ(r.clockTime, s.clock) << s.key;
  }
  r.KeyDown(vk::F6);  // without shift nothing
  EXPECT_EQ(r.curFrame, 1000);

  r.speed = 10;
  r.KeyDown(vk::F11, true);
  EXPECT_EQ(r.speed, 10);  // only above 10
  r.KeyDown(vk::F12, true);
  r.KeyDown(vk::F12, true);
  EXPECT_EQ(r.speed, 30);
  r.KeyDown(vk::F11, true);
  EXPECT_EQ(r.speed, 20);
  r.speed = 1000;
  r.KeyDown(vk::F12, true);
  EXPECT_EQ(r.speed, 1000);
}

TEST(ControlsKeys, KeyNames) {
  EXPECT_EQ(VirtualKeyByName("F2"), vk::F2);
  EXPECT_EQ(VirtualKeyByName("F12"), vk::F12);
  EXPECT_EQ(VirtualKeyByName("PageDown"), vk::Next);
  EXPECT_EQ(VirtualKeyByName("ScrollLock"), vk::Scroll);
  EXPECT_EQ(VirtualKeyByName("3"), '3');
  EXPECT_EQ(VirtualKeyByName("q"), 'Q');
  EXPECT_EQ(VirtualKeyByName(","), std::nullopt);
  EXPECT_EQ(VirtualKeyByName("F1"), std::nullopt);
}

}  // namespace
}  // namespace kavrin

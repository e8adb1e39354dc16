// The driving desk's needles, bars, digital speed, smoothed gauges and lamps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "presentation/cab_gauges.h"

namespace kavrin {
namespace {

// A view with one sprite per panel part that the tests move.
struct Desk {
  TCabView view;
  TCabPanel panel;
  TPanelSprites ids;
  TPanelState state;

  Desk() {
    SpriteId* parts[] = {&ids.NeedleSpeed, &ids.NeedleBrake, &ids.NeedleBC, &ids.NeedleV,    &ids.NeedleI,
                         &ids.NeedleMR,    &ids.NeedleBC_L,  &ids.DigiSpeed, &ids.LampPower, &ids.LampGen,
                         &ids.LampEle,     &ids.LampFin,     &ids.LampAir,  &ids.LampConst, &ids.OtherImages[5],
                         &ids.OtherImages[6]};
    for (SpriteId* id : parts) *id = view.DXSpriteEngine1.Add(TSprite{});
  }
  TSprite& S(SpriteId id) { return *view.DXSpriteEngine1.Get(id); }
  void Pass(const TGaugeInputs& in) { GaugeStep(state, in, panel, ids, view.DXSpriteEngine1); }
};

TEST(CabNeedles, SpeedometerLawsFreezeAndLimit) {
  struct Case {
    int32_t zero;
    long double one, c;
    long double speed;
    double angle;  // sprite units; NAN: unchanged from 7
  } cases[] = {
      {-135, 2, 0, 60, -42.625},                  // (-135 + 120) x 1023 / 360
      {0, 2, 1, 5, 5 * 1023.0 / 360},             // the slope below 10 km/h
      {0, 2, 1, 60, 110 * 1023.0 / 360},          // 2 x 60 - 10
      {0, 2, 1, 10, 10 * 1023.0 / 360},           // both slopes meet at 10 km/h
      {0, 2, 0, -5, 10 * 1023.0 / 360},           // backing shows the magnitude
      {0, 2, 0, -0.5L, NAN},                      // creeping backwards: frozen
      {0, 2, 0, 160, NAN},                        // beyond the dial
      {0, 2, 0, 159.5L, 319 * 1023.0 / 360},
  };
  for (const Case& c : cases) {
    Desk d;
    d.panel.Needle_Speed.zero = c.zero;
    d.panel.Needle_Speed.one = c.one;
    d.panel.Needle_Speed.c = c.c;
    d.S(d.ids.NeedleSpeed).Angle = 7;
    TGaugeInputs in;
    in.Speed = c.speed;
    d.Pass(in);
    const double want = std::isnan(c.angle) ? 7 : c.angle;
    EXPECT_NEAR(d.S(d.ids.NeedleSpeed).Angle, want, 1e-9) << static_cast<double>(c.speed);
  }
}

TEST(CabNeedles, BrakeCylinderShowsTheMeanOfTenPasses) {
  Desk d;
  d.panel.Needle_BC.one = 0.5;  // 400 kPa: 200 degrees
  TGaugeInputs in;
  in.Mc = 1;
  in.BcPressM = 400;
  in.BcPressT = 100;  // the trailer's is not read with Mc 1
  const double full = std::round(200 * 1023.0 / 360);
  for (int pass = 1; pass <= 11; ++pass) {
    d.Pass(in);
    EXPECT_NEAR(d.S(d.ids.NeedleBC).Angle, full * std::min(pass, 10) / 10, 1e-9) << pass;
  }
  // Another Mc repeats the newest angle.
  in.Mc = 2;
  in.BcPressM = 0;
  d.Pass(in);
  EXPECT_NEAR(d.S(d.ids.NeedleBC).Angle, full, 1e-9);
}

TEST(CabNeedles, AmmeterSignBarsAndDigitalSpeed) {
  Desk d;
  d.panel.Needle_I.zero = -90;
  d.panel.Needle_I.one = 0.1L;
  d.panel.Needle_BC_L.zero = 300;
  d.panel.Needle_BC_L.one = 0.25L;
  TGaugeInputs in;
  in.AmMeterValue = -300;
  for (auto [sign, degrees] : {std::pair{0, -120.0}, std::pair{1, -60.0}, std::pair{2, -90.0}}) {
    d.panel.Needle_I.sign = sign;
    d.Pass(in);
    EXPECT_NEAR(d.S(d.ids.NeedleI).Angle, degrees * 1023 / 360, 1e-9) << sign;
  }
  in.BcPressT = 402;  // 100.5 px rounds away from zero
  d.Pass(in);
  EXPECT_EQ(d.S(d.ids.NeedleBC_L).Y, 300 - 101);

  struct Case {
    long double speed;
    int32_t cell;
  } cells[] = {{0, 0}, {-5, 5}, {59.5L, 60}, {199.4L, 199}, {200, 199}, {250, 199}};
  d.S(d.ids.DigiSpeed).Visible = false;
  for (const Case& c : cells) {
    in.Speed = c.speed;
    d.Pass(in);
    EXPECT_EQ(d.S(d.ids.DigiSpeed).AnimStart, c.cell) << static_cast<double>(c.speed);
    EXPECT_TRUE(d.S(d.ids.DigiSpeed).Visible);
  }
}

TEST(CabSmoothing, VoltmeterClimbsInSixTicksAndBrakeGaugeHalvesTheGap) {
  TPanelState p;
  StartPanel(p);
  for (int tick = 1; tick <= 6; ++tick) {
    SmoothGauges(p, Fixed4(1500), -8, 8);
    EXPECT_EQ(p.VoltmeterValue, Fixed4(250.0L * tick)) << tick;
  }
  SmoothGauges(p, Fixed4(1500), -8, 8);
  EXPECT_EQ(p.VoltmeterValue, Fixed4(1500));
  EXPECT_EQ(p.BrakeHandleTarget, 4.5L);  // emergency

  p.BrakeHandleAngle = 0;
  for (long double want : {1.0L, 1.5L, 1.75L, 1.875L}) {
    SmoothGauges(p, Fixed4(1500), -4, 8);  // brake step 4: target 2
    EXPECT_EQ(p.BrakeHandleAngle, want);
  }
  EXPECT_EQ(p.BrakeHandleTarget, 2);
  SmoothGauges(p, Fixed4(1500), 0, 8);
  EXPECT_EQ(p.BrakeHandleAngle, 1.875L / 2);
}

TEST(CabLamps, PowerLatchesWithTheDoorsOpenAndTheOthersFollowTheirRules) {
  Desk d;
  TVehicleTables tables;
  tables.Notch.resize(3);
  tables.Notch[2].A0 = -1;  // a braking notch on the power handle
  TLampInputs in;
  in.Brake = 8;
  in.DoorLock = 1;
  auto step = [&] { LampStep(in, tables, d.ids, d.view.DXSpriteEngine1); };
  auto shown = [&](SpriteId id) { return d.S(id).Visible; };

  in.AppliedNotch = 2;
  step();
  EXPECT_TRUE(shown(d.ids.LampPower));
  EXPECT_TRUE(shown(d.ids.LampEle));
  in.DoorState = 1;  // doors open: the lamps keep their state
  in.AppliedNotch = 3;
  step();
  EXPECT_TRUE(shown(d.ids.LampPower));
  in.AppliedNotch = 0;
  step();
  EXPECT_FALSE(shown(d.ids.LampPower));
  EXPECT_TRUE(shown(d.ids.LampEle));  // unchanged while the doors lock it
  in.AppliedNotch = 1;
  step();
  EXPECT_FALSE(shown(d.ids.LampPower));  // not lit again with the doors open

  // Gen: a braking notch, the service brake with dynamic-brake current; Air with any service step.
  in = TLampInputs{};
  in.Brake = 8;
  in.PowerNotch = 2;
  in.AppliedNotch = 2;
  in.TractiveForce = -10;
  step();
  EXPECT_TRUE(shown(d.ids.LampGen));
  in.AppliedNotch = 7;  // no such row: not a braking notch
  step();
  EXPECT_FALSE(shown(d.ids.LampGen));
  in.AppliedNotch = 0;
  in.LastBrakeNotch = -3;
  in.EBrakeCurrent = 5;
  step();
  EXPECT_TRUE(shown(d.ids.LampGen));
  EXPECT_TRUE(shown(d.ids.LampAir));
  EXPECT_TRUE(shown(d.ids.LampEle));
  in.LastBrakeNotch = -8;  // emergency is no service step
  step();
  EXPECT_FALSE(shown(d.ids.LampGen));
  EXPECT_FALSE(shown(d.ids.LampAir));

  in.ConstActive = 1;
  step();
  EXPECT_TRUE(shown(d.ids.LampConst));
  in.ConstActive = 0;
  step();
  EXPECT_FALSE(shown(d.ids.LampConst));
}

TEST(CabLamps, FinalStepLampAtAChangeOfMinNotchAndAtTheLastStep) {
  Desk d;
  TVehicleTables tables;
  for (int32_t min : {1, 1, 2, 2}) tables.CurrentP.Rows.push_back(TCurrentStep{min});
  tables.CurrentPCount = 4;
  struct Case {
    int32_t step;
    bool lit;
  } cases[] = {{0, false}, {1, true}, {2, false}, {3, true}, {4, false}};
  for (const Case& c : cases) {
    TLampInputs in;
    in.CurrentStepIdx = c.step;
    LampStep(in, tables, d.ids, d.view.DXSpriteEngine1);
    EXPECT_EQ(d.S(d.ids.LampFin).Visible, c.lit) << c.step;
  }
}

TEST(CabLamps, ExtraPicturesFollowTheProtectionType) {
  Desk d;
  for (auto [type, shown] : {std::pair{1, true}, std::pair{0, false}, std::pair{2, false}}) {
    OtherImagesStep(type, d.ids, d.view.DXSpriteEngine1);
    EXPECT_EQ(d.S(d.ids.OtherImages[5]).Visible, shown) << type;
    EXPECT_TRUE(d.S(d.ids.OtherImages[6]).Visible);
  }
}

}  // namespace
}  // namespace kavrin

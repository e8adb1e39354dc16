#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dynamics/motion.h"

namespace kavrin {
namespace {

// A 100 t train of 4 cars (50 t motor cars) that stops from 400 kPa, on a route with adhesion
// 0.3. The brake and traction steps are not part of this: each test sets the force they leave.
struct Train {
  TVehicleParams veh;
  std::unique_ptr<TRouteTables> route = std::make_unique<TRouteTables>();
  TDynamicsState d;
  TTractionState tr;
  TBrakeState b;
  TDelayedHandle dh;
  THandleState h;
  int32_t movieState = 0;

  Train() {
    veh.Engine_Type = 1;
    veh.Tons = 100;
    veh.Mt = 50;
    veh.Tt = 50;
    veh.Cars = 4;
    veh.Length = 20;
    veh.EBPress = 400;
    route->Friction = 0.3L;
    StartMotion(d, veh, 100000);
  }

  // Steps 4 to 6 and the travel of one 33 ms tick.
  void Tick() {
    ApplyResistance(d, tr, veh, *route, dh);
    ApplyHoldAndConstantSpeed(d, tr, h, movieState);
    UpdateSpeed(d, tr, b, veh);
    AdvancePosition(d, 0);
  }
};

long double Newtons(Fixed4 f) { return f; }

TEST(Motion, TrailerCylindersHoldTheTrainOnAnUphillUntilReleased) {
  // 10 per mille uphill pulls back with 100 t x 9800 x 10 / sqrt(10^2 + 1000^2) = 9799.51 N; the
  // cylinders hold 4 km/h/s x (p / 400) of the train's mass: 36 kPa is just enough, 35 is not.
  struct Case {
    int32_t bcPress;
    bool holds;
  };
  for (Case c : {Case{400, true}, Case{36, true}, Case{35, false}, Case{0, false}}) {
    SCOPED_TRACE(c.bcPress);
    Train t;
    t.d.Gradient = 10;
    t.dh.LastBrakeNotch = -3;
    t.b.ShoeFriction = 4.0L;  // at rest the shoe factor is the emergency deceleration
    t.b.BcPressT = c.bcPress;
    for (int i = 0; i < 30; ++i) t.Tick();
    if (c.holds) {
      EXPECT_EQ(t.d.Speed, 0.0L);
      EXPECT_EQ(t.d.Position, 100000.0L);
      EXPECT_EQ(t.d.Resistance.raw, 0);
    } else {
      EXPECT_LT(t.d.Speed, 0.0L);
      EXPECT_LT(t.d.Position, 100000.0L);
      EXPECT_LT(t.d.PositionStep, 0.0L);
    }
  }

  // The first tick after the release: -9799.5 N on 100 t for 1/30 s.
  Train t;
  t.d.Gradient = 10;
  t.Tick();
  EXPECT_EQ(t.d.Resistance.raw, -97995100);
  EXPECT_NEAR(static_cast<double>(t.d.Speed), -9799.51 / 100000 * 3.6 / 30, 1e-12);
}

TEST(Motion, BrakingEndsExactlyAtZeroInEitherDirection) {
  for (long double start : {10.0L, -10.0L, 0.05L}) {
    SCOPED_TRACE(static_cast<double>(start));
    Train t;
    t.d.Speed = start;
    t.dh.LastBrakeNotch = -5;
    t.b.ShoeFriction = 1.0L;
    t.b.BcPressT = 300;
    // The stop is predicted with a 33 ms step while the speed moves by a 1/30 s one, so the last
    // braking tick may carry the speed a hair past zero; the next one then stops it dead.
    int ticks = 0, reversed = 0;
    for (; ticks < 200 && t.d.Speed != 0; ++ticks) {
      // A 3 km/h/s brake against the motion, as the brake step leaves it.
      const long double brake = 3 / 3.6L * 100 * 1000;
      t.tr.TractiveForce = t.d.Speed > 0 ? -brake : brake;
      t.Tick();
      if (t.d.Speed != 0 && (t.d.Speed < 0) != (start < 0)) {
        ++reversed;
        EXPECT_LT(std::fabs(t.d.Speed), 0.01L);
      }
    }
    EXPECT_LE(reversed, 1);
    EXPECT_EQ(t.d.Speed, 0.0L);
    EXPECT_EQ(t.tr.TractiveForce.raw, 0);
    EXPECT_EQ(t.d.PositionStep, 0.0L);
    // Standing with the brake on, the train stays.
    for (int i = 0; i < 30; ++i) {
      t.tr.TractiveForce = Fixed4{};
      t.Tick();
    }
    EXPECT_EQ(t.d.Speed, 0.0L);
  }
}

TEST(Motion, StartingResistanceFadesOutBy3KmhAndNeverActsUphill) {
  struct Case {
    long double speed;
    int32_t gradient;
    int32_t notch;
    long double tractive;  // N
    int64_t resistance;    // 1/10000 N
  };
  const Case cases[] = {
      {0, 0, 1, 5000, -29400000},   // 3 kgf/t on 100 t against a stronger force
      {0, 0, 1, 1000, -10000000},   // at rest no more than the force it holds
      {0, 0, 1, 0, 0},              // nothing to hold: no force at all
      {0, 0, 0, 5000, 0},           // only under power
      {1.5L, 0, 1, 0, -27888414},   // half of it, plus running resistance
      {3, 0, 1, 0, -13463495},      // running resistance alone
      {-1.5L, 0, 1, 0, 27888414},   // running backwards it acts the other way
      {0, 5, 1, 0, -48999388},      // uphill: the gradient alone
      {0, -5, 1, 0, 19599388},      // downhill it holds back up to its size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.speed));
    SCOPED_TRACE(c.gradient);
    SCOPED_TRACE(static_cast<double>(c.tractive));
    Train t;
    t.d.Speed = c.speed;
    t.d.Gradient = c.gradient;
    t.dh.AppliedNotch = c.notch;
    t.tr.TractiveForce = c.tractive;
    ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
    EXPECT_EQ(t.d.Resistance.raw, c.resistance);
  }
}

TEST(Motion, ResistanceAloneNeverMovesTheTrain) {
  // Doors open under an interlock (or a trip): the notch is taken up but there is no force, and
  // the brakes are off. Once standing the train stays at exactly 0, and a slow roll that the
  // starting resistance brings through 0 ends there instead of swinging back.
  for (long double start : {0.0L, 0.001L, -0.001L}) {
    SCOPED_TRACE(static_cast<double>(start));
    Train t;
    t.d.Speed = start;
    t.dh.AppliedNotch = 1;
    const long double position = t.d.Position;
    for (int i = 0; i < 300; ++i) {
      t.tr.TractiveForce = Fixed4{};
      t.Tick();
    }
    EXPECT_EQ(t.d.Speed, 0.0L);
    EXPECT_NEAR(static_cast<double>(t.d.Position - position), 0.0, 0.01);
    if (start == 0) {
      EXPECT_EQ(t.d.Position, position);
    }
  }
}

TEST(Motion, ConstantSpeedAndHoldingBrake) {
  struct Case {
    int32_t gradient;
    bool constActive, hold;
    bool steady;
  };
  const Case cases[] = {
      {0, true, false, true},     // constant speed on the level
      {-10, true, false, false},  // downhill it coasts and gains speed
      {-10, false, true, true},   // the holding brake keeps the speed downhill
      {0, false, true, false},    // on the level the holding brake does nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gradient);
    Train t;
    t.d.Speed = 50;
    t.d.Gradient = c.gradient;
    t.h.ConstActive = c.constActive ? 1 : 0;
    t.h.HoldEngaged = c.hold;
    for (int i = 0; i < 60; ++i) {
      t.tr.TractiveForce = Fixed4{};
      t.Tick();
    }
    if (c.steady) {
      EXPECT_EQ(t.d.Speed, 50.0L);
    } else if (c.gradient < 0) {
      EXPECT_GT(t.d.Speed, 50.0L);
    } else {
      EXPECT_LT(t.d.Speed, 50.0L);
    }
  }
}

TEST(Motion, WheelsSlipUnderPowerAndSlideUnderBraking) {
  Train t;
  t.route->Friction = 0.2L;
  // Under power the motor cars' 50 t carry 0.2 x 50 t x 9800 = 98000 N at standstill.
  t.dh.AppliedNotch = 4;
  t.tr.TractiveForce = 98000;
  ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
  EXPECT_EQ(t.d.SlipText, "");
  EXPECT_EQ(Newtons(t.d.AdhesionLimit), 98000.0L);
  t.tr.TractiveForce = 98001;
  ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
  EXPECT_EQ(t.d.SlipText, "空転");
  EXPECT_EQ(Newtons(t.tr.TractiveForce), 49000.0L);

  // A diesel car's wheels all drive: the whole 100 t counts.
  t.veh.Engine_Type = 0;
  t.tr.TractiveForce = 150000;
  ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
  EXPECT_EQ(t.d.SlipText, "");

  // Braking at 50 km/h: adhesion 0.2 / 1.295 on the whole train.
  t.veh.Engine_Type = 1;
  t.dh.AppliedNotch = 0;
  t.dh.LastBrakeNotch = -7;
  t.d.Speed = 50;
  t.tr.TractiveForce = -200000;
  ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
  EXPECT_EQ(t.d.SlipText, "滑走");
  EXPECT_EQ(t.d.Adhesion.raw, 1544);
  EXPECT_NEAR(Newtons(t.tr.TractiveForce), -0.66 * 0.1544 * 100 * 9800, 0.0001);
  t.tr.TractiveForce = -100000;
  ApplyResistance(t.d, t.tr, t.veh, *t.route, t.dh);
  EXPECT_EQ(t.d.SlipText, "");
}

TEST(Motion, SideFilmFreesTheTrainOfResistance) {
  Train t;
  t.d.Speed = 40;
  t.d.Gradient = 20;
  t.movieState = 1;
  t.Tick();
  EXPECT_EQ(t.d.Resistance.raw, 0);
  EXPECT_EQ(t.d.Speed, 40.0L);
}

TEST(Motion, NoAccelFreezesTheSpeedButTheTrainStillMoves) {
  Train t;
  t.d.Speed = 40;
  t.d.NoAccel = true;
  t.tr.TractiveForce = 50000;
  t.Tick();
  EXPECT_EQ(t.d.Speed, 40.0L);
  EXPECT_EQ(t.d.PositionStep, 40.0L / 36000 * 33333);
  EXPECT_EQ(t.d.Position, 100000 + t.d.PositionStep);
}

TEST(Motion, AMasslessTrainNeitherMovesNorBreaksTheNumbers) {
  for (long double tons : {0.0L, -10.0L}) {
    Train t;
    t.veh.Tons = tons;
    t.veh.Mt = 0;
    t.d.Speed = 20;
    t.d.Gradient = 10;
    t.tr.TractiveForce = -5000;
    t.b.BcPressT = 200;
    t.Tick();
    EXPECT_EQ(t.d.Speed, 20.0L);
    EXPECT_EQ(static_cast<long double>(t.d.PredictedSpeed), 20.0L);
    EXPECT_TRUE(std::isfinite(static_cast<double>(t.d.Position)));
  }
  // Standing, with no emergency pressure to hold against.
  Train t;
  t.veh.EBPress = 0;
  t.b.BcPressT = 0;
  t.Tick();
  EXPECT_EQ(t.d.Speed, 0.0L);
}

TEST(Motion, PositionSnapsToTheFilmedSegmentBoundary) {
  Train t;
  auto add = [&](int32_t from, int32_t to, long double v0, long double v1, int32_t endPos) {
    TSpeedUnitRec& u = t.route->SpeedUnits.Add();
    u = TSpeedUnitRec{from, to, v0, v1, endPos};
  };
  add(0, 300, 36, 36, 10000);
  add(300, 556, 36, 37, 25000);
  add(556, 900, 37, 0, 40000);
  struct Step {
    int32_t frame;
    long double positionBefore, positionAfter;
    int32_t segment, filmSpeed;
  };
  const Step steps[] = {
      {100, 3000, 3000, 0, 36},       // the first segment found: no snap
      {300, 9990, 10000, 1, 36},      // forwards into row 1: its start
      {428, 17000, 17000, 1, 37},     // 36.5 km/h rounds away from zero
      {556, 24980, 25000, 2, 37},     // forwards into row 2
      {555, 25003, 25000, 1, 37},     // backwards into row 1: its end
      {299, 10004, 10000, 0, 36},     // backwards into row 0: its end, not the line's start
      {950, 10000, 10000, 0, 36},     // beyond every row: nothing changes
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.frame);
    t.d.Position = s.positionBefore;
    FollowFilmSegment(t.d, *t.route, s.frame);
    EXPECT_EQ(t.d.Position, s.positionAfter);
    EXPECT_EQ(t.d.FilmSegment, s.segment);
    EXPECT_EQ(t.d.FilmSpeed, s.filmSpeed);
  }
}

TEST(Motion, GradientFollowsTheTrainCarByCar) {
  Train t;
  t.veh.Cars = 3;
  StartMotion(t.d, t.veh, 0);
  ASSERT_EQ(t.d.CarGradient.size(), 3u);
  t.d.HeadGradient = 10;

  // One car length is 2000 cm: no sample until the train has moved further than that.
  t.d.Position = 2000;
  SampleCarGradient(t.d, t.veh);
  EXPECT_EQ(t.d.Gradient.raw, 0);
  t.d.Position = 2000.5L;
  SampleCarGradient(t.d, t.veh);
  EXPECT_EQ(t.d.CarGradient, (std::vector<int32_t>{10, 0, 0}));
  EXPECT_EQ(t.d.Gradient.raw, 33333);
  EXPECT_EQ(t.d.LastGradientPos, 2000.5L);

  // Backing up counts as well; the whole train is on the new section after Cars samples.
  t.d.Position = -1L;
  SampleCarGradient(t.d, t.veh);
  t.d.Position = 2001;
  SampleCarGradient(t.d, t.veh);
  EXPECT_EQ(t.d.Gradient.raw, 100000);

  // Samples are whole per mille, halves to even.
  t.d.HeadGradient = 2.5L;
  t.d.Position = 4002;
  SampleCarGradient(t.d, t.veh);
  t.d.HeadGradient = 3.5L;
  t.d.Position = 6003;
  SampleCarGradient(t.d, t.veh);
  EXPECT_EQ(t.d.CarGradient, (std::vector<int32_t>{4, 2, 10}));

  // A train of no cars samples like one car.
  t.veh.Cars = 0;
  StartMotion(t.d, t.veh, 0);
  t.d.HeadGradient = -7;
  t.d.Position = 3000;
  SampleCarGradient(t.d, t.veh);
  EXPECT_EQ(t.d.Gradient.raw, -70000);
}

TEST(Motion, HeadGradientFromTheSectionAtTheFrame) {
  Train t;
  t.route->Slopes.Add() = TSlopeRec{Fixed4{5.0L}, 100, 200};
  t.route->Slopes.Add() = TSlopeRec{Fixed4{-12.55L}, 300, 400};
  struct Step {
    int32_t frame;
    int64_t head;
    int32_t cell;
    const char* text;
    const char* absText;
  };
  const Step steps[] = {
      {150, 50000, 1, "5.0", "5.0"},
      {200, 50000, 1, "5.0", "5.0"},  // on a section's end frame nothing changes
      {250, 0, 0, "L", "L"},
      {350, -125500, 2, "-12.6", "12.6"},
      {450, 0, 0, "L", "L"},          // beyond the last section
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.frame);
    ScanHeadGradient(t.d, *t.route, s.frame);
    EXPECT_EQ(t.d.HeadGradient.raw, s.head);
    EXPECT_EQ(t.d.SlopeSignCell, s.cell);
    EXPECT_EQ(t.d.GradientText, s.text);
    EXPECT_EQ(t.d.GradientAbsText, s.absText);
  }
  // The post is only turned when the gradient changes.
  t.d.SlopeSignCell = 7;
  ScanHeadGradient(t.d, *t.route, 350);
  ScanHeadGradient(t.d, *t.route, 360);
  EXPECT_EQ(t.d.SlopeSignCell, 2);
  t.d.SlopeSignCell = 7;
  ScanHeadGradient(t.d, *t.route, 380);
  EXPECT_EQ(t.d.SlopeSignCell, 7);
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "core/load_error.h"
#include "data/route_derivation.h"

namespace kavrin {
namespace {

// The route tables are large: one per test on the heap.
std::unique_ptr<TRouteTables> NewRoute() { return std::make_unique<TRouteTables>(); }

void AddUnit(TRouteTables& r, int32_t from, int32_t to, long double sa, long double sb) {
  TSpeedUnitRec& u = r.SpeedUnits.Add();
  u.FromFrame = from;
  u.ToFrame = to;
  u.FromSpeed = sa;
  u.ToSpeed = sb;
}

StationData& AddStation(TRouteTables& r, const char* name, int32_t trntype, int32_t frame) {
  StationData& s = r.Stations.Add();
  s.Name = name;
  s.trntype = trntype;
  s.Start = frame;
  return s;
}

TSignalRec& AddSignal(TRouteTables& r, int32_t frame) {
  TSignalRec& s = r.Signals.Add();
  s.Frame = frame;
  return s;
}

TSpeedLimitRec& AddLimit(TRouteTables& r, int32_t frame, int32_t limit, int32_t kind) {
  TSpeedLimitRec& l = r.SpeedLimits.Add();
  l.Frame = frame;
  l.Limit = limit;
  l.CheckKind = kind;
  return l;
}

TEST(ConvertFrames, DistancesFollowTheFilmingSpeed) {
  struct Case {
    const char* name;
    long double sa, sb;
    int32_t frame;
    int32_t endPos, position;
  };
  const Case cases[] = {
      {"constant 36 km/h over 300 frames", 36, 36, 150, 10000, 5000},
      {"0 to 36 km/h: 18 km/h at frame 150", 0, 36, 150, 5000, 1250},
      {"at the segment's start", 0, 36, 0, 5000, 0},
      {"at its end", 0, 36, 300, 5000, 5000},
  };
  for (const Case& c : cases) {
    auto r = NewRoute();
    AddUnit(*r, 0, 300, c.sa, c.sb);
    AddStation(*r, "A", 0, c.frame);
    r->Dopplers.Add().Frame = c.frame;
    TTunnelRec& t = r->Tunnels.Add();
    t.FromFrame = c.frame;
    t.ToFrame = 300;
    std::vector<TCheckPointRec> points;
    ConvertFrames(*r, points);
    EXPECT_EQ(r->SpeedUnits[0].EndPos, c.endPos) << c.name;
    EXPECT_EQ(r->Stations[0].position, c.position) << c.name;
    EXPECT_EQ(r->Dopplers[0].Pos, c.position) << c.name;
    EXPECT_EQ(r->Tunnels[0].FromPos, c.position) << c.name;
    EXPECT_EQ(r->Tunnels[0].ToPos, c.endPos) << c.name;
  }
}

TEST(ConvertFrames, EveryConvertedFieldAndTheStopZone) {
  auto r = NewRoute();
  AddUnit(*r, 0, 300, 36, 36);       // 10000 cm
  AddUnit(*r, 300, 600, 72, 72);     // 20000 cm more
  StationData& s = AddStation(*r, "A", 1, 450);
  s.genkai = 300;
  AddLimit(*r, 30, 45, 4);
  for (auto* checks : {&r->SpeedChecks1, &r->SpeedChecks2, &r->SpeedChecks3}) checks->Add().Frame = 60;
  TTrafficSignalRec& light = r->TrafficSignals.Add();
  light.Frame = 600;
  light.ApproachFrame = 150;
  AddSignal(*r, 700);  // beyond every segment
  std::vector<TCheckPointRec> points;
  ConvertFrames(*r, points);
  EXPECT_EQ(r->SpeedUnits[1].EndPos, 30000);
  EXPECT_EQ(s.position, 20000);
  EXPECT_EQ(s.position_s, 19700);
  EXPECT_EQ(s.position_e, 20300);
  EXPECT_EQ(r->SpeedLimits[0].Pos, 1000);
  EXPECT_EQ(r->SpeedChecks1[0].Pos, 2000);
  EXPECT_EQ(r->SpeedChecks2[0].Pos, 2000);
  EXPECT_EQ(r->SpeedChecks3[0].Pos, 2000);
  EXPECT_EQ(light.Pos, 30000);
  EXPECT_EQ(light.ApproachPos, 5000);
  // A signal in no segment gives no check point; the limit gives one with its speed and kind.
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0], (TCheckPointRec{1000, 45, 0, 0, 4}));
}

TEST(ConvertFrames, APlaceOnASegmentBoundaryIsFoundInBoth) {
  auto r = NewRoute();
  AddUnit(*r, 0, 300, 36, 36);
  AddUnit(*r, 300, 600, 18, 36);
  AddSignal(*r, 300);
  AddSignal(*r, 300);
  AddSignal(*r, 150);
  AddLimit(*r, 300, 60, 5);
  StationData& st = AddStation(*r, "B", 0, 300);
  st.pattern = 1;
  std::vector<TCheckPointRec> points;
  ConvertFrames(*r, points);
  EXPECT_EQ(st.position, 10000);
  // Segment by segment, row by row: the two signals at 300 from the first segment, then again
  // from the second; then the limit twice and the station's stop check twice.
  const std::vector<TCheckPointRec> expected = {
      {10000, 10, 0, 0, 2}, {10000, 10, 1, 0, 2}, {5000, 10, 2, 0, 2}, {10000, 10, 0, 0, 2},
      {10000, 10, 1, 0, 2}, {10000, 60, 0, 0, 5}, {10000, 60, 0, 0, 5}, {12000, 10, 0, 0, 3},
      {12000, 10, 0, 0, 3},
  };
  EXPECT_EQ(points, expected);
  TCheckPoints sorted = BuildCheckPoints(points);
  ASSERT_EQ(sorted.Count(), 9);
  EXPECT_EQ(sorted[0].SignalIndex, 2);
  EXPECT_EQ(sorted[1], expected[0]);
  EXPECT_EQ(sorted[2], expected[1]);
  EXPECT_EQ(sorted[3], expected[3]);
}

TEST(ConvertFrames, OnlyStoppingStationsWithAPatternGetAStopCheck20mBeyond) {
  auto r = NewRoute();
  // 1200 m at 36 km/h is 3600 frames.
  AddUnit(*r, 0, 7200, 36, 36);
  AddStation(*r, "stop", 0, 3600).pattern = 1;
  AddStation(*r, "no pattern", 0, 3600);
  AddStation(*r, "pass", 1, 3600).pattern = 1;
  AddStation(*r, "second kind", 2, 3600).pattern = 1;
  std::vector<TCheckPointRec> points;
  ConvertFrames(*r, points);
  EXPECT_EQ(r->Stations[0].position, 120000);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0], (TCheckPointRec{122000, 10, 0, 0, 3}));
}

TEST(ConvertFrames, DegenerateSegmentsNeitherFailNorPoisonTheDistances) {
  auto r = NewRoute();
  AddUnit(*r, 0, 0, 36, 72);             // one frame: no slope
  AddUnit(*r, 10, 5, 36, 36);            // backwards: contains nothing, runs 5 frames back
  AddUnit(*r, 100, 130, 1e300L, 1e300L);  // far beyond the centimetre range
  AddStation(*r, "A", 0, 0);
  AddStation(*r, "B", 0, 7);
  AddStation(*r, "C", 0, 120);
  std::vector<TCheckPointRec> points;
  ConvertFrames(*r, points);
  EXPECT_EQ(r->Stations[0].position, 0);
  EXPECT_EQ(r->SpeedUnits[0].EndPos, 0);
  EXPECT_EQ(r->SpeedUnits[1].EndPos, -167);  // 72 km/h x -5 frames
  EXPECT_EQ(r->Stations[1].position, 0);     // in no segment
  EXPECT_EQ(r->Stations[2].position, INT32_MAX);
  EXPECT_EQ(r->SpeedUnits[2].EndPos, INT32_MAX);
}

TEST(ConvertFrames, MoreCheckPointsThanTheTableHoldsRefuseTheRoute) {
  auto r = NewRoute();
  AddUnit(*r, 0, 300, 36, 36);
  AddUnit(*r, 300, 600, 36, 36);
  for (int i = 0; i < 250; ++i) AddSignal(*r, 300);  // 500 points on the boundary
  AddLimit(*r, 10, 45, 4);
  std::vector<TCheckPointRec> points;
  ConvertFrames(*r, points);
  EXPECT_EQ(points.size(), 501u);
  AddLimit(*r, 20, 45, 4);
  points.clear();
  try {
    ConvertFrames(*r, points);
    FAIL();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "路線ファイルに誤りがあります。[SpeedLimit]:20");
  }
}

// The conversion as a plain double loop over segments and rows, for comparing with.
std::vector<TCheckPointRec> Reference(TRouteTables& r) {
  std::vector<TCheckPointRec> points;
  std::vector<int64_t> start;
  int64_t C = 0;
  for (TSpeedUnitRec& u : r.SpeedUnits) {
    start.push_back(C);
    C += std::llround(std::nearbyint((u.FromSpeed + u.ToSpeed) * (u.ToFrame - u.FromFrame) / 2.16L));
    u.EndPos = static_cast<int32_t>(C);
  }
  auto pos = [&](size_t i, int32_t F) {
    const TSpeedUnitRec& u = r.SpeedUnits[static_cast<int32_t>(i)];
    long double slope = u.ToFrame == u.FromFrame ? 0 : (u.ToSpeed - u.FromSpeed) / (u.ToFrame - u.FromFrame);
    long double SF = u.FromSpeed + slope * (F - u.FromFrame);
    long double d = (SF + u.FromSpeed) / 7.2L * ((F - u.FromFrame) / 30.0L) * 100;
    return static_cast<int32_t>(start[i] + static_cast<int64_t>(std::nearbyint(d)));
  };
  auto pass = [&](auto& table, auto frame, auto store) {
    for (size_t i = 0; i < start.size(); ++i) {
      const TSpeedUnitRec& u = r.SpeedUnits[static_cast<int32_t>(i)];
      for (int32_t j = 0; j < table.Count(); ++j) {
        int32_t F = table[j].*frame;
        if (u.FromFrame <= F && F <= u.ToFrame) store(j, pos(i, F));
      }
    }
  };
  pass(r.Signals, &TSignalRec::Frame, [&](int32_t j, int32_t p) { points.push_back({p, 10, j, 0, 2}); });
  pass(r.SpeedLimits, &TSpeedLimitRec::Frame, [&](int32_t j, int32_t p) {
    r.SpeedLimits[j].Pos = p;
    points.push_back({p, r.SpeedLimits[j].Limit, 0, 0, r.SpeedLimits[j].CheckKind});
  });
  pass(r.SpeedChecks2, &TSpeedCheckRec::Frame, [&](int32_t j, int32_t p) { r.SpeedChecks2[j].Pos = p; });
  pass(r.Stations, &StationData::Start, [&](int32_t j, int32_t p) {
    r.Stations[j].position = p;
    if (r.Stations[j].trntype == 0 && r.Stations[j].pattern == 1) points.push_back({p + 2000, 10, 0, j, 3});
  });
  pass(r.Tunnels, &TTunnelRec::ToFrame, [&](int32_t j, int32_t p) { r.Tunnels[j].ToPos = p; });
  return points;
}

TEST(ConvertFrames, GivesTheRowsOfTheSegmentByRowLoopInItsOrder) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    auto a = NewRoute();
    const bool ordered = round % 2 == 0;
    const int units = 1 + static_cast<int>(rng() % 60);
    int32_t frame = 0;
    for (int i = 0; i < units; ++i) {
      int32_t len = static_cast<int32_t>(rng() % 4) * 30;  // zero-length segments too
      int32_t from = ordered ? frame : static_cast<int32_t>(rng() % 1500);
      AddUnit(*a, from, from + len, static_cast<long double>(rng() % 900) / 10, static_cast<long double>(rng() % 900) / 10);
      frame = from + len;
      // Now and then a gap or an overlap between ordered segments.
      if (ordered && rng() % 5 == 0) frame += static_cast<int32_t>(rng() % 61) - 30;
    }
    // Places on boundaries and inside, several at the same frame.
    auto place = [&] { return static_cast<int32_t>(rng() % 50) * 15 + static_cast<int32_t>(rng() % 2) * 15 * 50; };
    for (int j = 0; j < 40; ++j) AddSignal(*a, place());
    for (int j = 0; j < 40; ++j) AddLimit(*a, place(), static_cast<int32_t>(rng() % 100), static_cast<int32_t>(rng() % 6));
    for (int j = 0; j < 30; ++j) a->SpeedChecks2.Add().Frame = place();
    for (int j = 0; j < 40; ++j) {
      StationData& s = AddStation(*a, "S", static_cast<int32_t>(rng() % 2), place());
      s.pattern = static_cast<int32_t>(rng() % 2);
    }
    for (int j = 0; j < 30; ++j) a->Tunnels.Add().ToFrame = place();
    auto b = std::make_unique<TRouteTables>(*a);

    std::vector<TCheckPointRec> got;
    try {
      ConvertFrames(*a, got);
    } catch (const LoadError&) {
      continue;  // more points than the table holds; the reference has no limit
    }
    const std::vector<TCheckPointRec> want = Reference(*b);
    ASSERT_EQ(got, want) << round;
    for (int32_t i = 0; i < a->SpeedUnits.Count(); ++i) ASSERT_EQ(a->SpeedUnits[i].EndPos, b->SpeedUnits[i].EndPos);
    for (int32_t j = 0; j < a->Stations.Count(); ++j) ASSERT_EQ(a->Stations[j].position, b->Stations[j].position);
    for (int32_t j = 0; j < a->SpeedLimits.Count(); ++j) ASSERT_EQ(a->SpeedLimits[j].Pos, b->SpeedLimits[j].Pos);
    for (int32_t j = 0; j < a->SpeedChecks2.Count(); ++j) ASSERT_EQ(a->SpeedChecks2[j].Pos, b->SpeedChecks2[j].Pos);
    for (int32_t j = 0; j < a->Tunnels.Count(); ++j) ASSERT_EQ(a->Tunnels[j].ToPos, b->Tunnels[j].ToPos);
  }
}

TEST(BuildCheckPoints, SortsByPlaceAndKeepsEqualPlacesInOrder) {
  const std::vector<TCheckPointRec> points = {
      {500, 10, 1, 0, 2}, {300, 10, 2, 0, 2}, {300, 45, 0, 0, 4}, {100, 10, 0, 3, 3}};
  TCheckPoints sorted = BuildCheckPoints(points);
  ASSERT_EQ(sorted.Count(), 4);
  EXPECT_EQ(sorted[0], points[3]);
  EXPECT_EQ(sorted[1], points[1]);
  EXPECT_EQ(sorted[2], points[2]);
  EXPECT_EQ(sorted[3], points[0]);
}

TEST(StartOfRun, ClockFrameAndMoveMenu) {
  auto r = NewRoute();
  r->StartPos = 42;
  const char* names[] = {"A", "B", "C", "D", "E", "F"};
  const int32_t types[] = {0, 1, 2, 3, 0, 0};
  for (int i = 0; i < 6; ++i) {
    StationData& s = AddStation(*r, names[i], types[i], 1000 * i);
    s.deptime = 36000 * 30;  // 10:00:00
    s.depsound = 2;
    s.arrsound = 1;
  }
  r->Stations[0].depsound = 7;  // beyond the route sounds' lengths: no time
  std::array<int32_t, 101> seconds{};
  seconds[1] = 10;  // arrival sound
  seconds[2] = 20;  // departure melody
  // 10:00:00 less the melody and the arrival sound: 9:59:30.
  EXPECT_EQ(StartClock(*r, 3, std::span<const int32_t>(seconds.data(), 3)), 9 * 108000 + 59 * 1800 + 30 * 30);
  // At the head of the line only the melody counts.
  r->Stations[0].depsound = 2;
  EXPECT_EQ(StartClock(*r, 0, seconds), 1080000 - 600);
  r->Stations[0].depsound = 7;
  EXPECT_EQ(StartClock(*r, 0, std::span<const int32_t>(seconds.data(), 3)), 1080000);

  EXPECT_EQ(StartFrame(*r, 0), 42);
  EXPECT_EQ(StartFrame(*r, 4), 4000);

  // Stops only, never the last station, the last offered first.
  using Items = std::vector<TMoveMenuItem>;
  EXPECT_EQ(BuildMoveMenu(*r, 0, 999), (Items{{"E", "Sta4"}, {"C", "Sta2"}, {"A", "Sta0"}}));
  EXPECT_EQ(BuildMoveMenu(*r, 1, 4), (Items{{"C", "Sta2"}}));
  EXPECT_TRUE(BuildMoveMenu(*NewRoute(), 0, 999).empty());
}

}  // namespace
}  // namespace kavrin

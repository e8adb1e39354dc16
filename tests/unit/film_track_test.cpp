// The film track: frames from the speed, the film's stops and ends, and the inserted films.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui_host.h"
#include "presentation/film_track.h"
#include "support/fake_film_source.h"

namespace kavrin {
namespace {

// Records what the film asks of the run, in order.
struct RecordingHost : FilmHost {
  std::vector<std::string> calls;
  std::vector<std::string> memo;
  void AddMemoLine(std::string_view line) override { memo.emplace_back(line); }
  void StopPhysics() override { calls.push_back("stop"); }
  void StartPhysics() override { calls.push_back("start"); }
  void OpenMainFilm() override { calls.push_back("main"); }
  void OpenInsert(const std::string& name) override { calls.push_back("open " + name); }
  void PlayRouteSound(int32_t k) override { calls.push_back("sound " + std::to_string(k)); }
  void PutTrainAt(long double position) override {
    calls.push_back("put " + std::to_string(static_cast<long long>(position)));
  }
};

TFilmState Film(int32_t frame, int32_t count = 100000) {
  TFilmState f;
  f.FrameCount = count;
  StartFilmTrack(f, frame);
  return f;
}

TEST(FilmAdvance, FramesPerSecondFromTheSpeedWhateverThePassRate) {
  struct Case {
    long double speed;
    int32_t filmSpeed;
    int dt;
    int passes;
    int32_t frames;  // CurFrame - 1000 after the passes
  } cases[] = {
      {60, 60, 16, 125, 60},   // 2 s at the filming speed: 30 frames a second
      {60, 60, 15, 200, 90},   // 3 s in 15 ms passes
      {60, 60, 20, 100, 60},   // 2 s in 20 ms passes
      {30, 60, 16, 125, 30},   // half the filming speed, half the rate
      {-60, 60, 20, 50, -30},  // backing plays the film backwards
      {0, 60, 16, 100, 0},
      // The filming train stood: crossed at 2 x DispRate x Speed frames a second, the
      // remainder carried, so the pass rate does not matter.
      {1, 0, 16, 125, 120},
      {1, 0, 20, 100, 120},
      {0.25L, 0, 16, 125, 30},
  };
  for (const Case& c : cases) {
    TFilmState f = Film(1000);
    for (int i = 0; i < c.passes; ++i) AdvanceFrame(f, c.speed, c.filmSpeed, 30, c.dt);
    // Within a frame: where the last pass ends inside a frame is a matter of rounding.
    EXPECT_NEAR(f.CurFrame - 1000, c.frames, 1) << "speed " << static_cast<double>(c.speed) << " film " << c.filmSpeed
                                           << " dt " << c.dt;
  }
}

TEST(FilmAdvance, EndsOfTheFilmStopTheTrainInsideIt) {
  test::FakeFilmSource film;
  RecordingHost host;
  TRouteTables route;
  struct Case {
    int32_t from;
    long double speed;
    int32_t count;
    int32_t at;
    TFilmStop stop;
  } cases[] = {
      {5000, 100, 5000, 5000, TFilmStop::FilmEnd},  // ran past the last frame
      {2, -100, 5000, 1, TFilmStop::FilmEnd},       // backed past frame 1
      {4000, 100, 5000, -1, TFilmStop::None},
      {10, 1, 0, 1, TFilmStop::FilmEnd},            // no film: stops at once
  };
  for (const Case& c : cases) {
    TFilmState f = Film(c.from, c.count);
    int32_t last = -1;
    TFilmInputs in;
    in.Speed = c.speed;
    in.FilmSpeed = 60;
    TFilmStop stop = TFilmStop::None;
    for (int i = 0; i < 10 && stop == TFilmStop::None; ++i) stop = FilmIdleStep(f, last, route, in, 16, film, host);
    EXPECT_EQ(stop, c.stop) << c.from;
    if (c.at >= 0) {
      EXPECT_EQ(f.CurFrame, c.at) << c.from;
      EXPECT_EQ(f.PrevFrame, c.at);
      EXPECT_EQ(f.FrameAccu, 0);
    }
  }
}

TEST(FilmStops, StopExactlyOnTheFrameTheyAreRunInto) {
  TRouteTables route;
  route.MovieStops.Add() = 500;
  route.MovieStops.Add() = 900;
  struct Case {
    int32_t prev, cur;
    long double speed;
    int32_t reverse;
    int32_t at;
    bool stops;
  } cases[] = {
      {495, 503, 60, 0, 500, true},   // crossed going forward
      {490, 500, 60, 0, 500, true},   // reached exactly
      {500, 505, 60, 0, 505, false},  // left it
      {505, 495, -60, 0, 495, false}, // backing ignores them normally
      {505, 495, -60, 1, 501, true},  // after Backspace, they act backwards
      {501, 499, -60, 1, 501, true},
      {500, 498, -60, 1, 498, false},
      {495, 503, 60, 1, 503, false},  // and no longer forwards
      {480, 950, 60, 0, 500, true},   // the first one reached holds the train
  };
  for (const Case& c : cases) {
    TFilmState f = Film(c.cur);
    f.PrevFrame = c.prev;
    f.MovieReverse = c.reverse;
    f.FrameAccu = 12;
    const TFilmStop stop = CheckStopFrames(f, route, c.speed);
    EXPECT_EQ(f.CurFrame, c.at) << c.prev << " -> " << c.cur;
    EXPECT_EQ(f.PrevFrame, c.at);
    EXPECT_EQ(stop == TFilmStop::StopFrame, c.stops) << c.prev << " -> " << c.cur;
    if (c.stops) {
      EXPECT_EQ(f.FrameAccu, 0);
    }
  }
}

TEST(FilmStops, InsertsAndARouteWithoutStopFramesNeverStop) {
  TRouteTables none;
  TFilmState f = Film(503);
  f.PrevFrame = 495;
  EXPECT_EQ(CheckStopFrames(f, none, 60), TFilmStop::None);
  TRouteTables route;
  route.MovieStops.Add() = 500;
  f = Film(503);
  f.PrevFrame = 495;
  f.MovieState = 2;
  EXPECT_EQ(CheckStopFrames(f, route, 60), TFilmStop::None);
  EXPECT_EQ(f.PrevFrame, 503);
}

TEST(FilmJumps, BackspacePastTheFirstStopFrameAndShiftF3BeforeTheNext) {
  TRouteTables route;
  route.MovieStops.Add() = 1000;
  route.MovieStops.Add() = 3000;
  struct Case {
    int32_t from;
    long double speed;
    int32_t at;
    int32_t reverse;
  } cases[] = {
      {800, 0, 800, 0},     // 200 frames before: too far
      {801, 0, 1002, 1},    // 199 frames before
      {1000, 0.05L, 1002, 1},
      {1001, 0, 1001, 0},   // already past it
      {900, 0.2L, 900, 0},  // moving
  };
  for (const Case& c : cases) {
    TFilmState f = Film(c.from);
    MovieJumpPastStop(f, route, c.speed);
    EXPECT_EQ(f.CurFrame, c.at) << c.from;
    EXPECT_EQ(f.PrevFrame, c.at);
    EXPECT_EQ(f.MovieReverse, c.reverse) << c.from;
  }
  TRouteTables empty;
  TFilmState f = Film(10);
  MovieJumpPastStop(f, empty, 0);
  JumpBeforeNextStop(f, empty);
  EXPECT_EQ(f.CurFrame, 10);

  for (auto [from, at] : {std::pair{10, 990}, std::pair{1000, 2990}, std::pair{2995, 2990}, std::pair{3000, 3000}}) {
    f = Film(from);
    JumpBeforeNextStop(f, route);
    EXPECT_EQ(f.CurFrame, at) << from;
  }
}

TEST(FilmJumps, AJumpOverAStopFrameDoesNotPullTheTrainBack) {
  TRouteTables route;
  route.MovieStops.Add() = 500;
  TFilmState f = Film(100);
  StepFilmFrames(f, 1000);  // Shift+F8 over the stop frame
  f.CurFrame += 2;          // the next pass runs on
  EXPECT_EQ(CheckStopFrames(f, route, 60), TFilmStop::None);
  EXPECT_EQ(f.CurFrame, 1102);
}

TEST(FilmDecode, OnlyAChangedFrameIsDecodedAndNoted) {
  test::FakeFilmSource film;
  film.films["main"] = 50;
  film.AviOpen("main");
  RecordingHost host;
  TFilmState f = Film(7, 50);
  int32_t last = -1;
  DecodePicture(f, last, film, host);
  DecodePicture(f, last, film, host);
  EXPECT_EQ(last, 7);
  EXPECT_EQ(f.PictureSerial, 1);
  EXPECT_EQ(f.PictureBitmap.Rgba[0], 7);
  EXPECT_EQ(host.memo, std::vector<std::string>{"7"});
  f.CurFrame = 50;  // beyond the film: nothing
  DecodePicture(f, last, film, host);
  EXPECT_EQ(last, 7);
  f.MovieState = 2;  // an insert shows its own frame
  f.SubFrame = 3;
  DecodePicture(f, last, film, host);
  EXPECT_EQ(last, 3);
  EXPECT_EQ(f.PictureBitmap.Rgba[0], 3);
  EXPECT_EQ(host.memo.size(), 1u);
}

TEST(FilmDecode, TheMemoKeepsItsLastThousandLines) {
  TMemoLines memo;
  for (int i = 0; i < 1500; ++i) memo.Add(std::to_string(i));
  ASSERT_EQ(memo.Count(), 1000u);
  EXPECT_EQ(memo.Get(0), "500");
  EXPECT_EQ(memo.Get(999), "1499");
}

TEST(InsertCounter, StationInsertAtItsFrameRateAndRunningInsertLocked) {
  struct Case {
    int32_t frameRate;
    int32_t frames;  // in 30 ticks from ClockTime 1
  } cases[] = {{30, 30}, {15, 15}, {10, 10}, {0, 30}, {45, 30}, {-5, 30}};
  for (const Case& c : cases) {
    TFilmState f = Film(0);
    f.MovieState = 1;
    TFilmInputs in;
    in.DispRate = 30;
    in.FrameRate = c.frameRate;
    for (int t = 1; t <= 30; ++t) {
      in.ClockTime = t;
      CountInsertFrames(f, in);
    }
    EXPECT_EQ(f.SubFrame, c.frames) << c.frameRate;
  }
  TFilmState f = Film(1234);
  f.MovieState = 2;
  f.SwitchStartFrame = 1200;
  CountInsertFrames(f, TFilmInputs{});
  EXPECT_EQ(f.SubFrame, 34);
}

struct SwitchFixture : testing::Test {
  TRouteTables route;
  test::FakeFilmSource film;
  RecordingHost host;
  TFilmState f = Film(0);
  int32_t last = 5;
  TFilmInputs in;

  void SetUp() override {
    film.films["insert"] = 300;
    in.Speed = 60;
    in.ClockTime = 1000;
  }
  MovieSwitchData& Row(int32_t swtype, int32_t start, int32_t stop, int32_t endf, int32_t next) {
    MovieSwitchData& r = route.MovieSwitches.Add();
    r.swtype = swtype;
    r.Start = start;
    r.Stop = stop;
    r.name = "ins" + std::to_string(route.MovieSwitches.Count());
    r.endf = endf;
    r.next = next;
    return r;
  }
  void At(int32_t frame) {
    f.CurFrame = frame;
    if (f.MovieState == 2) f.SubFrame = frame - f.SwitchStartFrame;
    SwitchFilms(f, last, route, in, film, host);
  }
};

TEST_F(SwitchFixture, RunningInsertBeginsInItsWindowAndEndsAtNext) {
  Row(0, 1000, 1010, 100, 2000);
  At(999);
  EXPECT_EQ(f.MovieState, 0);
  At(1004);
  EXPECT_EQ(f.MovieState, 2);
  EXPECT_EQ(f.SubFrame, 4);
  EXPECT_EQ(f.SwitchStartFrame, 1000);
  EXPECT_EQ(f.SubFrameCount, 100);
  EXPECT_EQ(last, -1);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"stop", "open ins1", "start"}));
  At(1099);
  EXPECT_EQ(f.MovieState, 2);
  At(1100);
  EXPECT_EQ(f.MovieState, 0);
  EXPECT_EQ(f.CurFrame, 2000);
  EXPECT_EQ(f.PrevFrame, 2000);
  EXPECT_EQ(f.done[0], 1);
  // Shown once: the window again does nothing.
  At(1005);
  EXPECT_EQ(f.MovieState, 0);
}

TEST_F(SwitchFixture, AnInsertWaitsForNextAndGivesUpAfterSixtyFrames) {
  MovieSwitchData& r = Row(1, 1000, 1010, 100, 1050);
  At(1000);
  At(1100);  // endf reached, but the train is already past next: it waits
  EXPECT_EQ(f.MovieState, 2);
  struct Case {
    int32_t frame;  // first 100 ms tick after the window
    int32_t state;
  } cases[] = {{1160, 0}, {1161, 2}, {1250, 2}};
  for (const Case& c : cases) {
    f = Film(0);
    r.next = 5000;
    At(1000);
    At(c.frame);
    EXPECT_EQ(f.MovieState, c.state) << c.frame;
  }
}

TEST_F(SwitchFixture, OnlyTheRowThatBeganAnInsertEndsIt) {
  Row(0, 1000, 1010, 100, 5000);
  Row(0, 9000, 9010, 50, 3);  // its next is far behind, and would end the first one
  At(1000);
  At(1060);
  EXPECT_EQ(f.MovieState, 2);
  EXPECT_EQ(f.done[1], 0);
  At(1100);
  EXPECT_EQ(f.MovieState, 0);
  EXPECT_EQ(f.CurFrame, 5000);
  EXPECT_EQ(f.done[0], 1);
  EXPECT_EQ(f.done[1], 0);
}

TEST_F(SwitchFixture, StationInsertWhileStandingAfterItsTime) {
  StationData& s = route.Stations.Add();
  s.Start = 3000;
  s.position = 150000;
  s.position_s = 149000;
  s.position_e = 151000;
  MovieSwitchData& r = Row(2, 0, 0, 40, 0);
  r.time = 900;
  r.soundf = 20;
  r.sound = 4;
  Row(2, 0, 0, 10, 7);  // a station that does not exist: nothing
  in.Position = 149500;
  in.Speed = 0.4L;  // rounds to 0
  in.ClockTime = 900;
  At(2990);
  EXPECT_EQ(f.MovieState, 0);  // not after its time yet
  in.ClockTime = 901;
  At(2990);
  EXPECT_EQ(f.MovieState, 1);
  EXPECT_EQ(f.CurFrame, 3000);
  EXPECT_EQ(f.PrevFrame, 3000);
  EXPECT_EQ(f.SwitchStartFrame, 3000);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"stop", "put 150000", "open ins1", "start"}));
  host.calls.clear();
  for (int32_t sub : {20, 21, 29, 30}) {
    f.SubFrame = sub;
    SwitchFilms(f, last, route, in, film, host);
  }
  EXPECT_EQ(host.calls, (std::vector<std::string>{"sound 4", "sound 4"}));
  f.SubFrame = 40;
  SwitchFilms(f, last, route, in, film, host);
  EXPECT_EQ(f.MovieState, 0);
  EXPECT_EQ(f.done[0], 1);
  EXPECT_EQ(f.CurFrame, 3000);
}

TEST(FilmReturn, TheMainFilmComesBackWithNothingShownOrCarried) {
  RecordingHost host;
  TFilmState f = Film(100);
  f.MovieState = 1;
  f.MovieReverse = 1;
  f.FrameAccu = 20;
  f.done[3] = 1;
  int32_t last = 7;
  ReturnToMainFilm(f, last, 4000, host);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"stop", "main", "start"}));
  EXPECT_EQ(f.MovieState, 0);
  EXPECT_EQ(f.MovieReverse, 0);
  EXPECT_EQ(f.FrameAccu, 0);
  EXPECT_EQ(f.done[3], 0);
  EXPECT_EQ(f.CurFrame, 4000);
  EXPECT_EQ(f.PrevFrame, 4000);
  EXPECT_EQ(last, 3999);
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "sound/calling.h"
#include "support/fake_sound_bank.h"

namespace kavrin {
namespace {

using test::FakeSoundBank;

// Every fixed voice and ten more, sign and limit voices 0..9, each 0.3 s long; the calling
// channel is 12 (10 vehicle sounds, no route sounds, engine lists of 1).
struct Calls {
  std::unique_ptr<TRouteTables> routePtr = std::make_unique<TRouteTables>();
  TRouteTables& route = *routePtr;
  TSoundState sounds;
  TCallingState s;
  TCallingInputs in;
  FakeSoundBank bank;

  Calls() {
    sounds.Layout.DriveSoundCount = 10;
    sounds.Layout.EngineSound1Count = 1;
    for (int i = 0; i < 32; ++i) sounds.KankoVoices[static_cast<size_t>(i)] = FakeSoundBank::WaveOf(0.3);
    for (int i = 0; i < 10; ++i) {
      sounds.OtherKankoWaves[static_cast<size_t>(i)] = FakeSoundBank::WaveOf(0.3);
      sounds.LimitKankoWaves[static_cast<size_t>(i)] = FakeSoundBank::WaveOf(0.3);
      route.KankoSound2.Add().name = i;
    }
    in.ClockTime = 1080000;
  }
  TCalling C() { return TCalling{s, sounds, route, in}; }
  std::vector<int32_t> Queue() const {
    std::vector<int32_t> q;
    for (int32_t v : s.KankoQueue) {
      if (v != kNoVoice) q.push_back(v);
    }
    return q;
  }
  // One player step per 100 ms; `starts` counts the voices begun.
  int starts = 0;
  void Play(int ticks, bool off = false) {
    for (int i = 0; i < ticks; ++i) {
      const auto before = s.KankoQueue;
      const bool started = s.HeadStarted;
      EXPECT_EQ(kanko_queue_play(s, sounds, bank, off, 3), KankoPlay::Done);
      if (s.HeadStarted && (!started || s.KankoQueue != before)) ++starts;
      bank.Advance(100);
    }
  }
};

TEST(Calling, TheQueueHoldsTwelveAndPlaysThemOneAfterAnother) {
  Calls c;
  for (int v = 0; v < 13; ++v) kanko_queue_add(c.s, c.sounds, v);
  EXPECT_EQ(c.Queue().size(), 12u) << "the thirteenth is dropped";
  EXPECT_EQ(c.Queue().back(), 11);
  kanko_queue_add(c.s, c.sounds, 400);  // no wave: nothing to queue
  c.Play(2);
  EXPECT_EQ(c.starts, 1);
  EXPECT_EQ(c.bank.GetStatus(12), SoundBank::StatusPlaying);
  // A 0.3 s voice has ended three ticks after it started; the next one starts in that tick.
  c.Play(31);
  EXPECT_EQ(c.starts, 11);
  c.Play(3);
  EXPECT_EQ(c.starts, 12);
  c.Play(3);
  EXPECT_TRUE(c.Queue().empty());
}

TEST(Calling, WithTheCallsOffTheQueueDrainsOneATickUnheard) {
  Calls c;
  for (int v : {1, 2, 3}) kanko_queue_add(c.s, c.sounds, v);
  c.Play(3, true);
  EXPECT_EQ(c.Queue(), (std::vector<int32_t>{3}));
  c.Play(1, true);
  EXPECT_TRUE(c.Queue().empty());
  EXPECT_EQ(c.starts, 3);
  EXPECT_EQ(c.bank.GetStatus(12), 0) << "nothing was heard";
}

TEST(Calling, TheTimeDifferenceIsCalledInStepsOf15Seconds) {
  struct Case {
    int32_t offset;  // ClockTime - yotei, 1/30 s
    int32_t typ;
    std::vector<int32_t> voices;
  };
  const Case cases[] = {
      {450, 0, {17}},       // 15 s late is on time
      {451, 0, {6, 13}},    // 15.03 s
      {-451, 1, {6, 16}},   // early, the other words
      {3000, 0, {11, 13}},  // 100 s late
      {3600, 1, {12, 14}},  // 2 min
      {3601, 0, {}},        // beyond 2 min nothing
      {0, 1, {18}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.offset);
    Calls c;
    TCalling call = c.C();
    Timekanko(call, c.in.ClockTime - k.offset, k.typ);
    EXPECT_EQ(c.Queue(), k.voices);
  }
}

TEST(Calling, StationEventsCallTheirRowsAndTheFirstNotchCallsTheDeparture) {
  Calls c;
  auto row = [&](int32_t station, int32_t event, int32_t value) {
    TStationKankoRec& r = c.route.StationKankos.Add();
    r.Station = station;
    r.Event = event;
    r.Value = value;
  };
  row(2, 4, 25);                                   // event 0, the stop
  row(2, 0, c.in.ClockTime - 3000);                // event 1, the arrival time: 100 s late
  row(2, 2, 999);                                  // event 3, the doors closed: the Enter key
  row(2, 3, 23);                                   // event 4, the first notch
  row(1, 0, 24);                                   // another station
  int enter = 0;
  std::function<void()> press = [&] { ++enter; };
  c.in.PressEnter = &press;
  TCalling call = c.C();
  StationCall(call, 0, 2);
  StationCall(call, 1, 2);
  StationCall(call, 3, 2);
  StationCall(call, 4, 2);
  EXPECT_EQ(c.Queue(), (std::vector<int32_t>{25, 11, 13, 20, 23}));
  EXPECT_EQ(enter, 1);
}

TEST(Calling, ASignIsCalledOnceUntilItChanges) {
  Calls c;
  c.in.SignShown = 4;
  c.in.CurSignalPicture = 4;  // a caution aspect is in view too
  TCalling call = c.C();
  CallingKey(call);
  CallingKey(call);
  EXPECT_EQ(c.Queue(), (std::vector<int32_t>{kOtherKanko + 4, 2})) << "the second press calls the signal";
  c.s.LastCalled = -1;  // the overlays saw the sign change
  CallingKey(call);
  EXPECT_EQ(c.Queue().back(), kOtherKanko + 4);
}

TEST(Calling, AtAStandstillNoLimitBoardOrCrossingIsCalled) {
  for (long double speed : {0.0L, 0.4L, 30.0L}) {
    SCOPED_TRACE(static_cast<double>(speed));
    Calls c;
    TCrossRec& cross = c.route.Crosses.Add();
    cross.Voice = 28;
    std::array<int32_t, kCrossQueueSize> queue;
    queue.fill(-1);
    queue[0] = 0;
    int32_t shown = 0;
    c.in.CrossQueue = queue.data();
    c.in.CrossShown = &shown;
    c.in.Speed = speed;
    c.in.LimitBlink = 1;
    c.in.LimitVoice = 3;
    c.in.CurSignalPicture = 2;
    TCalling call = c.C();
    CallingKey(call);
    CallingKey(call);
    if (speed < 0.5L) {
      EXPECT_EQ(c.Queue(), (std::vector<int32_t>{5, 5})) << "the signal in view, every time";
      EXPECT_EQ(shown, 0);
    } else {
      EXPECT_EQ(c.Queue(), (std::vector<int32_t>{kLimitKanko + 3, 28}));
      EXPECT_EQ(shown, -1) << "the last crossing called";
      EXPECT_EQ(queue[0], -1);
    }
  }
}

TEST(Calling, TheSignalCallNamesTheSignalThenItsAspect) {
  Calls c;
  c.in.CurSignalIndex = 3;
  c.in.CurSignalAspectField = 2;  // the KankoSound2 row named 2 is voice 24
  c.in.CurSignalPicture = 7;      // a stop indication
  auto row = [&](int32_t type, int32_t value, int32_t flag) {
    TSignalKankoRec& r = c.route.SignalKankos.Add();
    r.Signal = 3;
    r.Type = type;
    r.Value = value;
    r.Flag = flag;
  };
  row(0, 30, 0);
  row(2, 31, 1);  // withheld at a stop indication, and everything after it
  row(1, 29, 0);
  TCalling call = c.C();
  CallingKey(call);
  EXPECT_EQ(c.Queue(), (std::vector<int32_t>{30, 24, 0}));
  c.in.CurSignalPicture = 4;
  CallingKey(call);
  EXPECT_EQ(c.Queue(), (std::vector<int32_t>{30, 24, 0, 30, 24, 2, 31, 29}));
}

}  // namespace
}  // namespace kavrin

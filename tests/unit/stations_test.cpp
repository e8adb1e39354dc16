#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "signalling/stations.h"
#include "support/fake_sound_bank.h"

namespace kavrin {
namespace {

using test::FakeSoundBank;

// A line of four stations: 北浜 (stop, 0 m), 桜台 (stop, 1000 m), 川辺 (pass, 2000 m) and 南港
// (stop, 3000 m), each stop zone 2 m either side. Route sounds 0..9 sit on channels 40..49 and
// last k + 1 seconds; the vehicle's door-open, door-close, departure-signal and alarm sounds
// are channels 1 to 4. The clock runs three ticks of 1/30 s per 100 ms tick, as in a run.
struct Line {
  std::unique_ptr<TRouteTables> routePtr = std::make_unique<TRouteTables>();
  TRouteTables& route = *routePtr;
  TSoundState sounds;
  FakeSoundBank bank;
  TStationState s;
  TStationInputs in;
  std::string stop = "停車", pass = "通過", stop2 = "停車2", info0 = "案内", info1 = "ドアを閉めてください";
  std::vector<TStationCall> calls;
  bool tickEnded = false;

  explicit Line(int32_t oneMan = 0) {
    AddStation("北浜", 0, 0, 0, 3, 36000);
    AddStation("桜台", 0, 100000, 2, 3, 39000);
    AddStation("川辺", 1, 200000, 0, 0, 0);
    AddStation("南港", 0, 300000, 4, 0, 45000);
    route.StartAnnounce = 7;
    route.OverrunSound = 8;
    sounds.Layout.DriveSoundCount = 40;
    sounds.Layout.SoundDataCount = 10;
    for (int k = 0; k < 10; ++k) {
      sounds.SoundSeconds[static_cast<size_t>(k)] = k + 1;
      bank.SetWaveData(40 + k, FakeSoundBank::WaveOf(k + 1));
    }
    bank.SetWaveData(1, FakeSoundBank::WaveOf(2));
    bank.SetWaveData(2, FakeSoundBank::WaveOf(2));
    bank.SetWaveData(3, FakeSoundBank::WaveOf(1));
    bank.SetWaveData(4, FakeSoundBank::WaveOf(1));
    in.DoorOpenChannel = 1;
    in.DoorCloseChannel = 2;
    in.DepSignChannel = 3;
    in.StopAlarmChannel = 4;
    in.Sounds = &sounds;
    in.TxtStop = &stop;
    in.TxtPass = &pass;
    in.TxtStop2 = &stop2;
    in.InfoLabel0 = &info0;
    in.InfoLabel1 = &info1;
    in.OneMan = oneMan;
    in.ClockTime = 35000;
    StartStations(s, route, 0, oneMan, TStationStartTexts{4, "両"});
  }

  void AddStation(const char* name, int32_t trntype, int32_t position, int32_t arr, int32_t dep, int32_t deptime) {
    StationData& st = route.Stations.Add();
    st.Name = name;
    st.trntype = trntype;
    st.genkai = 200;
    st.position = position;
    st.position_s = position - 200;
    st.position_e = position + 200;
    st.arrsound = arr;
    st.depsound = dep;
    st.deptime = deptime;
    st.maxspeed = 80 + 10 * route.Stations.Count();
  }

  void At(long double position, long double speed = 0) {
    in.Position = position;
    in.Speed = speed;
    in.RemainDist = s.NextStopPos - position;
  }

  // The station parts of one 100 ms tick, in the tick's order; then 100 ms of sound.
  void Tick() {
    in.RemainDist = s.NextStopPos - in.Position;
    TChannelRequests ch(&bank);
    MaxSpeedSection(s, route, in.Position);
    DoorClosedDetection(s, in, ch);
    PassengerAnnouncements(s, in, route, ch);
    tickEnded = !StationStep(s, in, route, ch);
    if (!tickEnded) {
      StopApproachAlarm(s, in, ch);
      DoorLamps(s, route);
      StopRequestEvent(s, in, route);
      AutomaticClosing(s, in, ch);
    }
    ApplyChannelRequests(ch, bank);
    for (int i = 0; i < s.Calls.count; ++i) calls.push_back(s.Calls.calls[static_cast<size_t>(i)]);
    s.Calls.count = 0;
    bank.Advance(100);
    in.ClockTime += 3;
    ++in.TickCount;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }
  void Door() {
    TChannelRequests ch(&bank);
    Door_operate(s, in, ch);
    ApplyChannelRequests(ch, bank);
  }
  int Plays(int channel) const { return bank.ch[static_cast<size_t>(channel)].plays; }
  int Route(int k) const { return Plays(40 + k); }
  std::vector<int32_t> Events() const {
    std::vector<int32_t> e;
    for (const TStationCall& c : calls) e.push_back(c.kind == TStationCall::Event ? c.value : 100 + c.value);
    return e;
  }
};

TEST(Stations, StartStandingAtTheFirstStopWithTheDoorsOpen) {
  Line conductor(0), oneMan(1);
  EXPECT_EQ(conductor.s.DoorState, 1);
  EXPECT_EQ(conductor.s.DoorOpening, 1);
  EXPECT_EQ(conductor.s.LampDoor, 0);
  EXPECT_EQ(conductor.s.StationText, "ただいま 北浜");
  EXPECT_EQ(conductor.s.DoorInfoText, "4両");
  EXPECT_EQ(oneMan.s.DoorInfoText, "");
  EXPECT_EQ(conductor.s.NextAnnounce, 1);
  conductor.Tick();
  EXPECT_EQ(conductor.s.StopMarker, 1);
  EXPECT_EQ(conductor.s.Arrived[0], 1);
  EXPECT_EQ(conductor.Route(0), 1) << "the start chime";
  EXPECT_EQ(conductor.s.MaxSpeedText, "最高90");
}

TEST(Stations, APassedStationNeverGetsTheHereText) {
  Line l;
  l.s.NextStop = 1;
  std::vector<std::string> texts;
  for (long double p = 101000; p <= 300000; p += 1000) {
    l.At(p, 60);
    l.Tick();
    if (texts.empty() || texts.back() != l.s.StationText) texts.push_back(l.s.StationText);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"次は 川辺通過", "次は 南港停車", "ただいま 南港"}));
  EXPECT_EQ(l.s.InZone[2], 0);
  EXPECT_EQ(l.s.MaxSpeedNow, 110) << "the passed station's section";
}

TEST(Stations, DoorsOpenOnlyStandingInAStopZone) {
  struct Case {
    const char* what;
    long double position, speed;
    bool opens;
  };
  const Case cases[] = {
      {"standing at the mark", 100000, 0, true},
      {"creeping below 0.1 km/h", 100150, 0.09L, true},
      {"at 0.1 km/h", 100000, 0.1L, false},
      {"backing at 0.1 km/h", 100000, -0.1L, false},
      {"short of the zone", 99700, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Line l(1);
    l.s.DoorState = 0;
    l.s.DoorOpening = 0;
    l.s.LampDoor = 1;
    l.At(c.position, c.speed);
    l.Tick();
    l.Door();
    EXPECT_EQ(l.s.DoorState, c.opens ? 1 : 0);
    EXPECT_EQ(l.s.DoorOpening, c.opens ? 1 : 0);
  }
}

TEST(Stations, DoorsLeftOpenOutsideAZoneCloseSilentlyAboveFiveKmh) {
  Line l(1);
  l.At(600, 4);  // past the first zone, doors still open from the start
  l.Ticks(3);
  EXPECT_EQ(l.s.DoorState, 1) << "at 4 km/h nothing closes them";
  l.At(700, 6);
  l.Tick();
  EXPECT_EQ(l.s.DoorOpening, 0);
  l.Tick();
  EXPECT_EQ(l.s.DoorState, 0);
  EXPECT_EQ(l.s.LampDoor, 1);
  EXPECT_EQ(l.Plays(2), 0) << "no closing sound outside a zone";
  EXPECT_EQ(l.Plays(3), 1) << "the departure signal";
  EXPECT_EQ(l.s.DepartureCount, 1);
}

// With a conductor at 桜台 (arrival sound 3 s, departure melody 4 s, departure 39000): the doors
// open in the first standing tick, the melody starts 4 s before the departure time, the doors
// close once it has ended after the departure time, and the lamp lights when the closing sound
// has ended.
TEST(Stations, ConductorOpensAndClosesTheDoorsByTheTimetable) {
  Line l(0);
  l.s.DoorState = 0;
  l.s.DoorOpening = 0;
  l.s.LampDoor = 1;
  l.s.NextStop = 1;
  l.s.NextStopPos = 100000;
  l.in.ClockTime = 38000;
  l.At(100050, 0.5L);
  l.Tick();
  EXPECT_EQ(l.s.DoorState, 0) << "still moving";
  l.At(100060, 0.05L);
  const int32_t arrival = l.in.ClockTime;
  l.Tick();
  EXPECT_EQ(l.s.DoorState, 1);
  EXPECT_EQ(l.s.Arrived[1], 1);
  EXPECT_EQ(l.s.EventTime, arrival);
  EXPECT_EQ(l.s.ArrivalFlag, 1);
  EXPECT_EQ(l.Plays(1), 1) << "door-open sound";
  EXPECT_EQ(l.Route(2), 1) << "arrival sound";
  EXPECT_EQ(l.Events(), (std::vector<int32_t>{0, 1}));

  int32_t melodyAt = -1, closeAt = -1, litAt = -1;
  l.At(100060, 0);
  while (l.in.ClockTime < 40000 && litAt < 0) {
    const int32_t now = l.in.ClockTime;
    l.Tick();
    if (melodyAt < 0 && l.s.DepAnnounced[1]) melodyAt = now;
    if (closeAt < 0 && l.s.Departed[1]) closeAt = now;
    if (litAt < 0 && l.s.LampDoor) litAt = now;
  }
  // deptime - 30 x 4 s < ClockTime: the first tick after 38880.
  EXPECT_EQ(melodyAt, 38882);
  EXPECT_EQ(l.s.NextStop, 3) << "the passing station is skipped";
  EXPECT_EQ(l.s.NextStopName, "南港");
  EXPECT_EQ(l.s.FromStationName, "桜台");
  // After 39000 and more than 120 clock ticks after the melody began.
  EXPECT_EQ(closeAt, 39005);
  EXPECT_EQ(l.Plays(2), 1) << "closing sound";
  // The closing sound lasts 2 s: the doors count as open until it has ended.
  EXPECT_GE(litAt, closeAt + 60);
  EXPECT_LE(litAt, closeAt + 66);
  EXPECT_EQ(l.s.DoorState, 0);
  EXPECT_EQ(l.s.DepartureCount, 1);
  EXPECT_EQ(l.Events(), (std::vector<int32_t>{0, 1, 2, 5, 119, 3}));
}

TEST(Stations, AMelodyLongerThanTheTimeLeftStartsWhenTheArrivalSoundHasEnded) {
  Line l(0);
  l.s.DoorState = 0;
  l.s.DoorOpening = 0;
  l.s.LampDoor = 1;
  l.s.NextStop = 1;
  l.s.NextStopPos = 100000;
  l.in.ClockTime = 38990;  // 10 ticks before the departure time, the melody lasts 4 s
  l.At(100000, 0);
  l.Tick();
  const int32_t arrival = l.s.EventTime;
  while (!l.s.DepAnnounced[1] && l.in.ClockTime < 40000) l.Tick();
  // The 3 s arrival sound: more than 90 ticks of 1/30 s after the arrival.
  EXPECT_EQ(l.s.EventTime - arrival, 93);
}

TEST(Stations, OneManArrivalComesTheTickAfterTheDoorKeyAndTheLastStopEndsTheTickEarly) {
  Line l(1);
  l.s.DoorState = 0;
  l.s.DoorOpening = 0;
  l.s.LampDoor = 1;
  l.s.NextStop = 3;
  l.s.NextStopPos = 300000;
  l.in.ClockTime = 45000;
  l.At(300010, 0);
  l.Tick();
  EXPECT_EQ(l.s.Arrived[3], 0);
  EXPECT_EQ(l.Events(), (std::vector<int32_t>{0})) << "the one-man stop";
  l.Door();
  EXPECT_EQ(l.s.DoorState, 1);
  l.Tick();
  EXPECT_EQ(l.s.Arrived[3], 1);
  EXPECT_TRUE(l.tickEnded) << "no stop after the last station";
  EXPECT_EQ(l.s.RunEnded, 0);
  // The arrival sound of 5 s, then the run ends with the doors open.
  int ticks = 0;
  while (!l.s.RunEnded && ticks < 100) {
    l.Tick();
    ++ticks;
  }
  EXPECT_EQ(l.s.BackRequested, 1);
  EXPECT_GE(ticks, 49);
  EXPECT_LE(ticks, 51);
}

TEST(Stations, TheRunEndsAtTheLastStationOrTheChosenEnd) {
  struct Case {
    int32_t station;
    int32_t menuEnd;
    bool ends;
  };
  for (Case c : {Case{3, 999, true}, Case{1, 1, true}, Case{1, 999, false}}) {
    SCOPED_TRACE(c.station);
    Line l(0);
    l.s.DoorState = 0;
    l.s.DoorOpening = 0;
    l.s.LampDoor = 1;
    l.s.NextStop = c.station;
    l.s.NextStopPos = l.route.Stations[c.station].position;
    l.in.StationMenuEnd = c.menuEnd;
    l.in.ClockTime = 10000;  // long before any departure
    l.At(l.s.NextStopPos, 0);
    l.Ticks(80);
    EXPECT_EQ(l.s.RunEnded, c.ends ? 1 : 0);
  }
}

// After 桜台 the next stop is 南港 (stop number 3) while two doors have closed: the overrun is
// noted and put right under the stop it belongs to.
TEST(Stations, AnOverrunBehindAPassedStationIsAnnouncedAndPutRight) {
  Line l(1);
  l.s.DoorState = 0;
  l.s.DoorOpening = 0;
  l.s.LampDoor = 1;
  l.s.NextStop = 3;
  l.s.NextStopPos = 300000;
  l.s.DepartureCount = 2;
  l.At(300500, 0);  // 3 m past the mark, outside the zone
  l.Ticks(5);
  EXPECT_EQ(l.Route(7), 1) << "the overrun announcement, once";
  EXPECT_EQ(l.s.OverrunPending[3], 1);
  l.At(300100, 0);  // backed into the zone
  l.Tick();
  l.Door();
  l.Tick();
  EXPECT_EQ(l.Route(8), 1) << "the follow-up as the doors open";
  EXPECT_EQ(l.s.OverrunPending[3], 0);
}

TEST(Stations, TheStopApproachAlarmSoundsAt60KmhWithLessThan325mLeft) {
  for (auto [remain, sounds] : {std::pair{32600.0L, false}, std::pair{32400.0L, true}}) {
    SCOPED_TRACE(static_cast<double>(remain));
    Line l(0);
    l.s.NextStopPos = 100000;
    l.s.NextStop = 1;
    l.At(100000 - remain, 60);
    l.in.TickCount = 10;
    l.Tick();
    EXPECT_EQ(l.Plays(4), sounds ? 1 : 0);
    EXPECT_EQ(l.s.LampStopAlert, sounds ? 1 : -1);
    if (!sounds) continue;
    l.Ticks(5);  // tick 15: off
    EXPECT_EQ(l.s.LampStopAlert, 0);
    l.At(100000, 0.5L);
    l.Tick();
    EXPECT_EQ(l.bank.GetStatus(4), 0) << "stopped below 1 km/h";
  }
}

TEST(Stations, PlatformSoundFollowsTheDistanceAndIsSilentAtTheEdge) {
  Line l(0);
  l.route.Stations[1].bcksound = 5;
  l.s.NextStop = 1;
  l.s.NextStopPos = 100000;
  struct Case {
    long double position;
    int32_t volume;
  };
  for (Case c : {Case{98000, -10000}, Case{99000, -602}, Case{100000, 0}}) {
    l.At(c.position, 30);
    l.Tick();
    EXPECT_EQ(l.bank.Volume(45), c.volume) << static_cast<double>(c.position);
    EXPECT_NE(l.bank.GetStatus(45), 0);
  }
  l.At(103000, 30);
  l.Tick();
  EXPECT_EQ(l.bank.GetStatus(45), 0) << "stopped once no platform is near";
}

TEST(Stations, RouteIndicesOutsideTheTablesDoNothing) {
  Line l(1);
  l.route.Stations[1].arrsound = 99;  // no such route sound
  l.route.Stations[1].depsound = -3;
  l.route.Stations[1].prob = 0;
  TAnnounceRec& a = l.route.Announces.Add();
  a.SoundIndex = 250;
  a.Station = 400;
  l.s.DoorState = 0;
  l.s.DoorOpening = 0;
  l.s.LampDoor = 1;
  l.s.NextStop = 1;
  l.s.NextStopPos = 100000;
  l.At(100000, 0);
  l.Tick();
  l.Door();
  l.in.ClockTime = 39100;
  l.Ticks(3);
  EXPECT_EQ(l.s.Arrived[1], 1);
  EXPECT_EQ(l.s.DepAnnounced[1], 1) << "a sound without a channel lasts 0 s";
  TChannelRequests ch(&l.bank);
  NextAnnouncement(l.s, l.in, l.route, ch);
  EXPECT_EQ(l.s.StopRequestArmed, 0);
  EXPECT_EQ(ch.Count(), 0);
}

TEST(Stations, TheStopRequestShowsItsPictureAfterTheStationsTime) {
  Line l(1);
  l.route.Stations[1].prob = 1;   // a draw of 0..0 always arms
  l.route.Stations[1].time = 20;  // 2 s
  TAnnounceRec& a = l.route.Announces.Add();
  a.SoundIndex = 6;
  l.s.NextAnnounce = 1;
  TChannelRequests ch(&l.bank);
  NextAnnouncement(l.s, l.in, l.route, ch);
  ApplyChannelRequests(ch, l.bank);
  EXPECT_EQ(l.Route(6), 1);
  EXPECT_EQ(l.s.NextAnnounce, 2);
  EXPECT_EQ(l.s.StopRequestArmed, 1);
  l.At(50000, 40);
  l.Ticks(20);
  EXPECT_EQ(l.s.StopRequestShown, 0);
  l.Ticks(2);
  EXPECT_EQ(l.s.StopRequestShown, 1);
  EXPECT_EQ(l.s.StopRequestArmed, 0);
  // Beyond the last row the key does nothing.
  NextAnnouncement(l.s, l.in, l.route, ch);
  EXPECT_EQ(l.s.NextAnnounce, 2);
}

TEST(Stations, TheJumpAndTheRestoreClearEveryStation) {
  Line l(0);
  l.Ticks(2);
  l.s.Departed[3] = 1;
  l.s.OverrunPending[3] = 1;
  TAnnounceRec& a = l.route.Announces.Add();
  a.Station = 0;
  a.Kind = 1;
  TAnnounceRec& b = l.route.Announces.Add();
  b.Station = 3;
  b.Kind = 0;
  JumpStations(l.s, l.route, 1);
  EXPECT_EQ(l.s.Arrived[0], 0);
  EXPECT_EQ(l.s.Departed[3], 0);
  EXPECT_EQ(l.s.OverrunPending[3], 0);
  EXPECT_EQ(l.s.DoorState, 0);
  EXPECT_EQ(l.s.LampDoor, 1);
  EXPECT_EQ(l.s.NextAnnounce, 2);
  EXPECT_EQ(l.s.StationText, "ただいま 桜台");
  EXPECT_EQ(l.s.NextStopPos, 100000);

  RestoreStations(l.s, l.route, 1, 2);
  EXPECT_EQ(l.s.NextStop, 3);
  EXPECT_EQ(l.s.NextStopPos, 300000);
  EXPECT_EQ(l.s.NextAnnounce, 5);
}

}  // namespace
}  // namespace kavrin

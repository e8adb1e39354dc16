#include "signalling/stations.h"

#include <cmath>

#include "core/level_law.h"
#include "core/numbers.h"
#include "core/rounding.h"

namespace kavrin {

namespace {

constexpr const char* kNextText = "次は ";
constexpr const char* kHereText = "ただいま ";
constexpr const char* kMaxSpeedText = "最高";
constexpr int32_t kPlatformRange = 2000;  // cm either side of the stop position

// Stopped: the speed rounds to 0. Standing: below 0.1 km/h either way.
bool Stopped(const TStationInputs& in) { return Round(in.Speed) == 0; }
bool Standing(const TStationInputs& in) { return std::fabs(in.Speed) < 0.1L; }

int32_t RouteChannel(const TStationInputs& in, int32_t k) {
  return in.Sounds ? RouteSoundChannel(in.Sounds->Layout, k) : -1;
}
int32_t Seconds(const TStationInputs& in, int32_t k) { return in.Sounds ? RouteWaveSeconds(*in.Sounds, k) : 0; }
// A vehicle sound is the channel its key names; one the bank does not have plays nothing.
int32_t VehicleChannel(int32_t c) { return c; }

const std::string& Text(const std::string* t) {
  static const std::string kEmpty;
  return t ? *t : kEmpty;
}

void SetText(std::string& out, const char* head, const std::string& name, const std::string& tail) {
  out.assign(head);
  out.append(name);
  out.append(tail);
}

void ClearStationFlags(TStationState& s) {
  s.InZone.fill(0);
  s.Arrived.fill(0);
  s.DepAnnounced.fill(0);
  s.Departed.fill(0);
  s.OneManStopSeen.fill(0);
  s.OverrunPending.fill(0);
  s.AnnouncePlayed.fill(0);
}

void CloseDoorsAtOnce(TStationState& s) {
  s.DoorState = 0;
  s.DoorOpening = 0;
  s.LampDoor = 1;
}

bool IndexInStations(const TRouteTables& route, int64_t i) { return i >= 0 && i <= route.Stations.Count(); }

void Event(TStationState& s, int32_t code) { s.Calls.Add(TStationCall::Event, code, s.NextStop); }

// The platform sound of station i near its stop position; true when one plays in this tick.
bool PlatformSound(const StationData& st, const TStationInputs& in, TChannelRequests& ch) {
  const long double d = std::fabs(in.Position - st.position);
  if (d > kPlatformRange || st.bcksound == 0) return false;
  const int32_t c = RouteChannel(in, st.bcksound);
  if (!ch.Playing(c)) ch.Loop(c);
  ch.SetVolume(c, Level((kPlatformRange - d) / kPlatformRange));
  return true;
}

}  // namespace

void StartStations(TStationState& s, const TRouteTables& route, int32_t startStation, int32_t oneMan,
                   const TStationStartTexts& texts) {
  const StationData& start = route.Stations[startStation];
  s = TStationState{};
  if (start.trntype == 0) {
    s.DoorState = 1;
    s.DoorOpening = 1;
  }
  s.LampDoor = s.DoorState == 0 ? 1 : 0;
  s.DepartureCount = startStation;
  SetText(s.StationText, kHereText, start.Name, {});
  s.NextStopPos = start.position;
  s.NextStop = startStation;
  s.NextAnnounce = startStation + 1;
  if (oneMan < 1) s.DoorInfoText = std::to_string(texts.Cars) + texts.TxtCars;
}

void JumpStations(TStationState& s, const TRouteTables& route, int32_t target) {
  if (!IndexInStations(route, target)) return;
  ClearStationFlags(s);
  CloseDoorsAtOnce(s);
  s.StopMarker = 0;
  s.RunEnded = 0;
  s.BackRequested = 0;
  s.ArrivalFlag = 0;
  s.StopRequestArmed = 0;
  s.Calls.count = 0;
  s.NextAnnounce = route.AnnounceCount() + 1;
  for (int32_t r = 1; r <= route.AnnounceCount(); ++r) {
    if (route.Announces[r].Kind == 0 && route.Announces[r].Station >= target) {
      s.NextAnnounce = r;
      break;
    }
  }
  const StationData& st = route.Stations[target];
  SetText(s.StationText, kHereText, st.Name, {});
  s.NextStop = target;
  s.NextStopPos = st.position;
}

void RestoreStations(TStationState& s, const TRouteTables& route, int32_t curStation, int32_t stopsBefore) {
  ClearStationFlags(s);
  CloseDoorsAtOnce(s);
  s.StopMarker = 0;
  s.RunEnded = 0;
  s.BackRequested = 0;
  s.StopRequestArmed = 0;
  s.Calls.count = 0;
  s.DoorInfoText.clear();
  if (IndexInStations(route, curStation)) {
    s.CurStation = curStation;
    int32_t k = curStation + 1;
    while (k < route.Stations.Count() && route.Stations[k].trntype == 1) ++k;
    if (k <= route.Stations.Count()) {
      s.NextStop = k;
      s.NextStopPos = route.Stations[k].position;
    }
  }
  s.NextAnnounce = 2 * stopsBefore + 1;
}

void MaxSpeedSection(TStationState& s, const TRouteTables& route, long double position) {
  for (int32_t i = 0; i < route.Stations.Count(); ++i) {
    if (route.Stations[i].position <= position && !(route.Stations[i + 1].position <= position)) {
      s.MaxSpeedNow = route.Stations[i].maxspeed;
    }
  }
  // The text is written only when the value changes: the tick formats nothing otherwise.
  if (s.MaxSpeedTextOf != s.MaxSpeedNow) {
    s.MaxSpeedText = kMaxSpeedText + std::to_string(s.MaxSpeedNow);
    s.MaxSpeedTextOf = s.MaxSpeedNow;
  }
}

void DoorClosedDetection(TStationState& s, const TStationInputs& in, TChannelRequests& ch) {
  if (s.DoorOpening != 0) return;
  const int32_t open = VehicleChannel(in.DoorOpenChannel), close = VehicleChannel(in.DoorCloseChannel);
  if (ch.Status(open) == SoundBank::StatusPlaying || ch.Status(close) == SoundBank::StatusPlaying) return;
  if (s.LampDoor != 0) return;
  s.LampDoor = 1;
  s.DoorState = 0;
  ch.Start(VehicleChannel(in.DepSignChannel));
  ++s.DepartureCount;
  s.Calls.Add(TStationCall::Voice, 19, s.NextStop);
  Event(s, 3);
}

void PassengerAnnouncements(TStationState& s, const TStationInputs& in, const TRouteTables& route,
                            TChannelRequests& ch) {
  // The overrun is noted under the stop it belongs to; the follow-up at that stop reads the same
  // element.
  const bool pendingInRange = IndexInStations(route, s.NextStop);
  if (in.Speed < 1 && s.DoorState == 0 && in.RemainDist < 0 && pendingInRange &&
      s.OverrunPending[static_cast<size_t>(s.NextStop)] == 0) {
    bool inZone = false;
    for (int32_t i = 0; i < route.Stations.Count() && !inZone; ++i) inZone = s.InZone[static_cast<size_t>(i)] != 0;
    if (!inZone) {
      ch.Start(RouteChannel(in, route.StartAnnounce));
      s.OverrunPending[static_cast<size_t>(s.NextStop)] = 1;
    }
  }

  if (in.OneMan != 0 && in.OneMan != 2) return;
  for (int32_t r = 1; r <= route.AnnounceCount(); ++r) {
    const TAnnounceRec& a = route.Announces[r];
    if (s.AnnouncePlayed[static_cast<size_t>(r)] != 0 || !IndexInStations(route, a.Station)) continue;
    const long double pos = route.Stations[a.Station].position;
    const long double m = 100.0L * a.Distance;
    bool due = false;
    if (a.Kind == 0) {
      due = in.RemainDist > 10000 && pos + m <= in.Position && in.Position < pos + m + 500;
    } else if (a.Kind == 1) {
      due = pos - m <= in.Position && in.Position < pos - m + 500;
    }
    if (!due) continue;
    const int32_t c = RouteChannel(in, a.SoundIndex);
    if (ch.Playing(c)) continue;
    ch.Start(c);
    s.AnnouncePlayed[static_cast<size_t>(r)] = 1;
  }
}

void Door_operate(TStationState& s, const TStationInputs& in, TChannelRequests& ch) {
  s.DoorOpening = 0;
  if (in.OneMan >= 1) s.DoorInfoText.clear();
  if (s.StopMarker == 0) return;
  const bool open = Standing(in) && s.DoorState == 0;
  const bool close = s.DoorState == 1;
  if (!open && !close) return;
  // In one-man operation the door sounds are heard only at some stops.
  const bool heard = in.OneMan == 0 || s.DoorRandom <= s.DoorProbNow;
  if (open) {
    s.DoorOpening = 1;
    if (heard) ch.Start(VehicleChannel(in.DoorOpenChannel));
  } else if (heard) {
    ch.Start(VehicleChannel(in.DoorCloseChannel));
  }
  if (s.DoorOpening == 1) {
    s.DoorState = 1;
    s.LampDoor = 0;
  }
}

bool FindNextStop(TStationState& s, const TRouteTables& route, int32_t i, bool evenNone) {
  const int32_t count = route.Stations.Count();
  if (i < 0 || i >= count) return false;
  int32_t k = i + 1;
  while (k < count && route.Stations[k].trntype == 1) ++k;
  if (k == count && !evenNone) return false;
  s.NextStopPos = route.Stations[k].position;
  s.NextStop = k;
  s.FromStationName = route.Stations[i].Name;
  s.NextStopName = route.Stations[k].Name;
  return k != count;
}

bool StationStep(TStationState& s, const TStationInputs& in, const TRouteTables& route, TChannelRequests& ch) {
  const int32_t count = route.Stations.Count();
  const auto& sound2 = route.RouteSounds2;
  bool platformSound = false;
  for (int32_t i = 0; i < count; ++i) {
    const StationData& st = route.Stations[i];
    const StationData& next = route.Stations[i + 1];
    const auto k = static_cast<size_t>(i);

    // Between this stop zone and the next: the next station's text.
    if (in.Position > st.position_e && (in.Position < next.position_s || i == count - 1)) {
      if (next.trntype == 3) {
        s.StationText = Text(in.InfoLabel0);
      } else {
        const std::string& tail = next.trntype == 0   ? Text(in.TxtStop)
                                  : next.trntype == 1 ? Text(in.TxtPass)
                                  : next.trntype == 2 ? Text(in.TxtStop2)
                                                      : Text(nullptr);
        SetText(s.StationText, kNextText, next.Name, tail);
      }
      s.StopMarker = 0;
      s.InZone[k] = 0;
      s.InZone[k + 1] = 0;
      s.MonitorPattern = i + 1;
    }

    if (st.position_s <= in.Position && in.Position <= st.position_e && st.trntype != 1) {
      if (s.InZone[k] == 0) {
        s.StopMarker = i + 1;
        s.DoorProbNow = st.doorprob;
        s.Random.Seed(in.ClockTime);
        s.DoorRandom = s.Random.Below(100);
      }
      SetText(s.StationText, kHereText, st.Name, {});
      s.CurStation = i;
      s.InZone[k] = 1;
      s.MonitorPattern = i;
    }

    if (PlatformSound(st, in, ch)) platformSound = true;

    const int32_t arr = RouteChannel(in, st.arrsound);
    if (s.InZone[k] && in.OneMan >= 1 && s.Arrived[k] && s.DoorOpening && !ch.Playing(arr)) {
      s.DoorInfoText = Text(in.InfoLabel1);
    }

    if (s.InZone[k] != 1 || s.Departed[k] != 0) continue;
    const bool stopped = Stopped(in);

    // The start station counts as arrived once the train stands.
    if ((st.trntype == 0 || st.trntype == 2) && (s.CurStation == 0 || s.CurStation == in.StartStation) && stopped &&
        !s.Arrived[k]) {
      ch.Start(RouteChannel(in, 0));
      s.EventTime = in.ClockTime;
      s.Arrived[k] = 1;
      s.ArrivalFlag = 1;
    }

    // Back at the stop after an overrun, doors open.
    if (IndexInStations(route, s.NextStop) && s.OverrunPending[static_cast<size_t>(s.NextStop)] && st.trntype == 0 &&
        s.DoorState == 1 && stopped) {
      ch.Start(RouteChannel(in, route.OverrunSound));
      s.OverrunPending[static_cast<size_t>(s.NextStop)] = 0;
    }

    if (st.trntype == 0 && in.OneMan >= 1 && s.DoorState == 0 && stopped && !s.OneManStopSeen[k]) {
      s.OneManStopSeen[k] = 1;
      Event(s, 0);
    }

    // With a conductor the doors open as soon as the train stands.
    if (st.trntype == 0 && in.OneMan == 0 && s.DoorState == 0 && Standing(in)) {
      Event(s, 0);
      Door_operate(s, in, ch);
      s.Arrived[k] = 1;
      ch.Start(arr);
      s.EventTime = in.ClockTime;
      Event(s, 1);
      s.ArrivalFlag = 1;
      if (sound2.Count() == 1 && sound2[0].ToStation == i) {
        const int32_t c = RouteChannel(in, sound2[0].SoundIndex);
        if (ch.Playing(c)) ch.Stop(c);
      }
    }

    // In one-man operation the driver's door button makes the arrival.
    if (st.trntype == 0 && in.OneMan >= 1 && s.DoorState == 1 && !s.Arrived[k] && stopped) {
      ch.Start(arr);
      s.EventTime = in.ClockTime;
      s.Arrived[k] = 1;
      Event(s, 1);
      s.ArrivalFlag = 1;
      if (!FindNextStop(s, route, i, false)) return false;
    }

    if (st.trntype == 2 && !s.Arrived[k] && stopped) {
      ch.Start(arr);
      s.EventTime = in.ClockTime;
      s.Arrived[k] = 1;
      s.ArrivalFlag = 1;
    }

    const int32_t dep = RouteChannel(in, st.depsound);
    const int32_t depTicks = 30 * Seconds(in, st.depsound);
    if (in.MovieState != 1 && st.deptime - depTicks < in.ClockTime && !s.DepAnnounced[k] &&
        in.ClockTime - s.EventTime > 30 * Seconds(in, st.arrsound)) {
      if ((st.trntype >= 2 && in.Speed < 0.1L) || (st.trntype == 0 && s.DoorState == 1)) {
        FindNextStop(s, route, i, true);
        ch.Start(dep);
        s.DepAnnounced[k] = 1;
        s.HideCrossLamp2 = 1;
        s.EventTime = in.ClockTime;
        Event(s, 2);
      }
      // Until the train stands the departure signal starts again in every tick.
      if (st.trntype == 2) ch.Start(VehicleChannel(in.DepSignChannel));
    }

    if (in.MovieState != 1 && in.OneMan == 0 && st.deptime < in.ClockTime && s.DoorState == 1 && s.DepAnnounced[k] &&
        s.Arrived[k] && !s.Departed[k] && in.ClockTime - s.EventTime > depTicks) {
      Door_operate(s, in, ch);
      s.Departed[k] = 1;
      ch.Stop(arr);
      Event(s, 5);
      if (sound2.Count() == 1 && sound2[0].FromStation <= i && i < sound2[0].ToStation) {
        const int32_t c = RouteChannel(in, sound2[0].SoundIndex);
        if (!ch.Playing(c)) ch.Loop(c);
      }
    }

    if (stopped && (i == count - 1 || i == in.StationMenuEnd) && s.RunEnded == 0 &&
        ((st.trntype == 0 && s.DoorState == 1) || st.trntype >= 2) && !ch.Playing(arr)) {
      s.BackRequested = 1;
      s.RunEnded = 1;
    }
  }

  if (!platformSound) {
    for (int32_t i = 0; i < count; ++i) {
      if (route.Stations[i].bcksound == 0) continue;
      const int32_t c = RouteChannel(in, route.Stations[i].bcksound);
      if (ch.Playing(c)) ch.Stop(c);
    }
  }
  return true;
}

void StopApproachAlarm(TStationState& s, const TStationInputs& in, TChannelRequests& ch) {
  const long double v = in.Speed;
  const int32_t alarm = VehicleChannel(in.StopAlarmChannel);
  // Below 1 km/h the alarm would be stopped again in the same tick, so it is not started there.
  if (v >= 1 && v / 5 * (v / 3.6L) > in.RemainDist / 100 - 125 && !ch.Playing(alarm)) ch.Start(alarm);
  if (v < 1 && ch.Playing(alarm)) {
    ch.Stop(alarm);
    s.LampStopAlert = 0;
    ch.SetVolume(alarm, 0);
  }
  if (ch.Playing(alarm)) {
    if (in.TickCount % 10 == 0) s.LampStopAlert = 1;
    else if (in.TickCount % 5 == 0) s.LampStopAlert = 0;
  }
}

void DoorLamps(TStationState& s, const TRouteTables& route) {
  bool otherSide = false;
  for (int32_t i = 0; i < route.Stations.Count() && !otherSide; ++i) {
    otherSide = s.InZone[static_cast<size_t>(i)] == 1 && route.Stations[i].door == 1;
  }
  if (s.DoorState == 1) s.LampDoor = 0;
  s.DoorPicture = !otherSide && s.DoorOpening == 1;
  s.DoorPictureOther = otherSide && s.DoorOpening == 1;
}

void StopRequestEvent(TStationState& s, const TStationInputs& in, const TRouteTables& route) {
  const int32_t n = s.NextAnnounce;
  if (n < 1 || s.StopRequestArmed != 1 || !IndexInStations(route, n - 1)) return;
  if (3 * route.Stations[n - 1].time + s.StopRequestTime < in.ClockTime) {
    s.StopRequestShown = 1;
    s.StopRequestArmed = 0;
  }
}

void AutomaticClosing(TStationState& s, const TStationInputs& in, TChannelRequests& ch) {
  if (std::fabs(in.Speed) > 5 && s.DoorOpening == 1 && s.DoorState == 1) Door_operate(s, in, ch);
}

void NextAnnouncement(TStationState& s, const TStationInputs& in, const TRouteTables& route, TChannelRequests& ch) {
  const int32_t n = s.NextAnnounce;
  if (n < 1 || n > route.AnnounceCount()) return;
  const int32_t previous = n > 1 ? RouteChannel(in, route.Announces[n - 1].SoundIndex) : -1;
  if (ch.Playing(previous)) return;
  ch.Stop(previous);
  ch.Start(RouteChannel(in, route.Announces[n].SoundIndex));
  if (IndexInStations(route, n)) {
    const int32_t prob = route.Stations[n].prob;
    if (prob >= 1 && s.Random.Below(prob) <= 10) {
      s.StopRequestArmed = 1;
      s.StopRequestTime = in.ClockTime;
    }
  }
  s.NextAnnounce = n + 1;
}

void PreviousAnnouncement(TStationState& s, const TStationInputs& in, const TRouteTables& route,
                          TChannelRequests& ch) {
  const int32_t n = s.NextAnnounce;
  if (n <= 0 || n > route.AnnounceCount() + 1) return;
  if (n > 1) ch.Stop(RouteChannel(in, route.Announces[n - 1].SoundIndex));
  s.NextAnnounce = n - 1;
}

}  // namespace kavrin

// The run's side of the station logic and the calling voices: what the station steps read, the
// channel operations they ask for, the calls they hand to the calling-voice queue, the pictures
// that follow them, and the keys that reach them.
#include "app/simulator.h"
#include "controls/keys.h"
#include "presentation/station_pictures.h"
#include "signalling/stations.h"
#include "sound/calling.h"
#include "sound/channel_requests.h"

namespace kavrin {

TStationInputs SimulatorRun::StationInputs() const {
  const TVehicleTables& t = sim_.vehicle.Tables;
  const TStringFile& strings = sim_.files.Strings;
  TStationInputs in;
  in.Speed = sim_.dynamics.Speed;
  in.Position = sim_.dynamics.Position;
  in.RemainDist = sim_.dynamics.RemainDist;
  in.ClockTime = sim_.clock.ClockTime;
  in.TickCount = sim_.run.TickCount;
  in.MovieState = sim_.film.MovieState;
  in.OneMan = sim_.route.OneMan;
  in.StartStation = sim_.StartStation;
  in.StationMenuEnd = sim_.StationMenuEnd;
  in.DoorOpenChannel = t.SoundDoorOpen;
  in.DoorCloseChannel = t.SoundDoorClose;
  in.DepSignChannel = t.SoundDepSign;
  in.StopAlarmChannel = t.SoundStop;
  in.Sounds = &sim_.sounds;
  in.TxtStop = &strings.TxtStop;
  in.TxtPass = &strings.TxtPass;
  in.TxtStop2 = &strings.TxtStop2;
  in.InfoLabel0 = &strings.InfoLabels[0];
  in.InfoLabel1 = &strings.InfoLabels[1];
  return in;
}

TCallingInputs SimulatorRun::CallingInputs() const {
  TCallingInputs in;
  in.Speed = sim_.dynamics.Speed;
  in.ClockTime = sim_.clock.ClockTime;
  in.CurFrame = sim_.film.CurFrame;
  in.PressEnter = &pressEnter_;
  if (const TSprite* lamp = sim_.view.DXSpriteEngine1.Get(sim_.trackside.Sprites.CrossLamp2)) {
    in.CrossLamp2Visible = lamp->Visible;
  }
  return in;
}

void SimulatorRun::StationRequests(TChannelRequests& ch) {
  ApplyChannelRequests(ch, sv_.sound);
  TStationCalls& calls = sim_.station.Calls;
  if (calls.count == 0) return;
  const TCallingInputs in = CallingInputs();
  TCalling c{sim_.calling, sim_.sounds, sim_.route, in};
  // A call may press the Enter key, which may add calls of its own: take the list first.
  const TStationCalls taken = calls;
  calls.count = 0;
  for (int32_t i = 0; i < taken.count; ++i) {
    const TStationCall& call = taken.calls[static_cast<size_t>(i)];
    if (call.kind == TStationCall::Voice) kanko_queue_add(sim_.calling, sim_.sounds, call.value);
    else StationCall(c, call.value, call.station);
  }
}

void SimulatorRun::StationsEarlyStep() {
  MaxSpeedSection(sim_.station, sim_.route, sim_.dynamics.Position);
}

void SimulatorRun::DoorClosedStep() {
  ++sim_.run.TickCount;
  const TStationInputs in = StationInputs();
  TChannelRequests ch(&sv_.sound);
  DoorClosedDetection(sim_.station, in, ch);
  StationRequests(ch);
}

void SimulatorRun::AnnouncementStep() {
  const TStationInputs in = StationInputs();
  TChannelRequests ch(&sv_.sound);
  PassengerAnnouncements(sim_.station, in, sim_.route, ch);
  StationRequests(ch);
}

bool SimulatorRun::StationsStep() {
  TStationState& s = sim_.station;
  const TStationInputs in = StationInputs();
  TChannelRequests ch(&sv_.sound);
  const bool goOn = StationStep(s, in, sim_.route, ch);
  if (goOn) {
    StopApproachAlarm(s, in, ch);
    DoorLamps(s, sim_.route);
    StopRequestEvent(s, in, sim_.route);
    AutomaticClosing(s, in, ch);
  }
  StationRequests(ch);
  ShowStations();
  if (s.BackRequested) {
    s.BackRequested = 0;
    BackClick();
  }
  return goOn;
}

void SimulatorRun::ShowStations() {
  TStationState& s = sim_.station;
  const TPanelSprites& panel = sim_.panelSprites;
  TStationSprites ids;
  ids.LampDoor = panel.LampDoor;
  ids.LampStopAlert = panel.LampStopAlert;
  ids.DoorPicture = panel.OtherImages[0];
  ids.DoorPictureOther = panel.OtherImages[1];
  ids.StopRequest = panel.OtherImages[4];
  ids.StopMarker = sim_.trackside.Sprites.StopMarker;
  ids.Monitor = sim_.trackside.Sprites.MonitorSprite;
  ids.CrossLamp2 = sim_.trackside.Sprites.CrossLamp2;
  TStationPictures p;
  p.LampDoor = s.LampDoor != 0;
  p.LampStopAlert = s.LampStopAlert;
  p.DoorPicture = s.DoorPicture != 0;
  p.DoorPictureOther = s.DoorPictureOther != 0;
  p.StopRequest = s.StopRequestShown != 0;
  p.StopMarker = s.StopMarker;
  p.MonitorPattern = s.MonitorPattern;
  p.HideCrossLamp2 = s.HideCrossLamp2 != 0;
  s.HideCrossLamp2 = 0;
  ShowStationPictures(sim_.view.DXSpriteEngine1, ids, p);
}

void SimulatorRun::KankoQueueStep() {
  const bool off = sim_.files.Settings.KankoSetting == 1;
  if (kanko_queue_play(sim_.calling, sim_.sounds, sv_.sound, off, sim_.vehicle.Tables.SoundStop) ==
      KankoPlay::PlayError) {
    sv_.ui.ShowMessage(kKankoPlayError);
  }
}

void SimulatorRun::ConnectStationKeys() {
  // A key acts on the stations and then the cab follows at once, as it does after a tick.
  auto withStations = [this](auto step) {
    const TStationInputs in = StationInputs();
    TChannelRequests ch(&sv_.sound);
    step(in, ch);
    StationRequests(ch);
    ShowStations();
  };
  keyActions.Door_operate = [this, withStations] {
    withStations([this](const TStationInputs& in, TChannelRequests& ch) { Door_operate(sim_.station, in, ch); });
  };
  keyActions.NextAnnouncement = [this, withStations] {
    withStations([this](const TStationInputs& in, TChannelRequests& ch) {
      NextAnnouncement(sim_.station, in, sim_.route, ch);
    });
  };
  keyActions.PreviousAnnouncement = [this, withStations] {
    withStations([this](const TStationInputs& in, TChannelRequests& ch) {
      PreviousAnnouncement(sim_.station, in, sim_.route, ch);
    });
  };
  keyActions.CallingVoice = [this] {
    const TCallingInputs in = CallingInputs();
    TCalling c{sim_.calling, sim_.sounds, sim_.route, in};
    CallingKey(c);
  };
  keyActions.PlayPendingDepartureCall = [this] {
    if (!sim_.station.ArrivalFlag) return;
    const TCallingInputs in = CallingInputs();
    TCalling c{sim_.calling, sim_.sounds, sim_.route, in};
    StationCall(c, 4, sim_.station.NextStop);
    sim_.station.ArrivalFlag = 0;
  };
  pressEnter_ = [this] {
    TControls c = Controls();
    keydowns(c, vk::Return, false);
  };
}

}  // namespace kavrin

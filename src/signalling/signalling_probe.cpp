#include "signalling/signalling_probe.h"

namespace kavrin {

TProbeNames<TProtectionState> ProtectionProbeNames() {
  static const TProbeName<TProtectionState> kNames[] = {
      {"EmergencyTrip", [](const TProtectionState& s) { return ProbeInt(s.EmergencyTrip); }},
      {"ATSTrip", [](const TProtectionState& s) { return ProbeInt(s.ATSTrip); }},
  };
  return kNames;
}

namespace {
using S = TStationState;
template <TStationFlags S::*Flags>
TProbeName<S> StationRows(const char* name) {
  return {name, nullptr, [](const S& s) { return static_cast<int>((s.*Flags).size()); },
          [](const S& s, int i) { return ProbeInt((s.*Flags)[static_cast<size_t>(i)]); }};
}
}  // namespace

TProbeNames<TStationState> StationProbeNames() {
  static const TProbeName<S> kNames[] = {
      {"DoorState", [](const S& s) { return ProbeInt(s.DoorState); }},
      {"DoorOpening", [](const S& s) { return ProbeInt(s.DoorOpening); }},
      {"DoorRandom", [](const S& s) { return ProbeInt(s.DoorRandom); }},
      {"DoorProbNow", [](const S& s) { return ProbeInt(s.DoorProbNow); }},
      StationRows<&S::InZone>("InZone"),
      StationRows<&S::Arrived>("Arrived"),
      StationRows<&S::DepAnnounced>("DepAnnounced"),
      StationRows<&S::Departed>("Departed"),
      StationRows<&S::OneManStopSeen>("OneManStopSeen"),
      StationRows<&S::OverrunPending>("OverrunPending"),
      {"AnnouncePlayed", nullptr, [](const S& s) { return static_cast<int>(s.AnnouncePlayed.size()); },
       [](const S& s, int i) { return ProbeInt(s.AnnouncePlayed[static_cast<size_t>(i)]); }},
      {"CurStation", [](const S& s) { return ProbeInt(s.CurStation); }},
      {"NextStop", [](const S& s) { return ProbeInt(s.NextStop); }},
      {"NextStopPos", [](const S& s) { return ProbeValue(s.NextStopPos); }},
      {"EventTime", [](const S& s) { return ProbeInt(s.EventTime); }},
      {"DepartureCount", [](const S& s) { return ProbeInt(s.DepartureCount); }},
      {"MaxSpeedNow", [](const S& s) { return ProbeInt(s.MaxSpeedNow); }},
      {"MaxSpeedText", [](const S& s) { return ProbeValue(s.MaxSpeedText); }},
      {"RunEnded", [](const S& s) { return ProbeInt(s.RunEnded); }},
      {"ArrivalFlag", [](const S& s) { return ProbeInt(s.ArrivalFlag); }},
      {"StopRequestArmed", [](const S& s) { return ProbeInt(s.StopRequestArmed); }},
      {"StopRequestTime", [](const S& s) { return ProbeInt(s.StopRequestTime); }},
      {"StationText", [](const S& s) { return ProbeValue(s.StationText); }},
      {"DoorInfoText", [](const S& s) { return ProbeValue(s.DoorInfoText); }},
      {"FromStationName", [](const S& s) { return ProbeValue(s.FromStationName); }},
      {"NextStopName", [](const S& s) { return ProbeValue(s.NextStopName); }},
      {"NextAnnounce", [](const S& s) { return ProbeInt(s.NextAnnounce); }},
      {"LampDoor", [](const S& s) { return ProbeInt(s.LampDoor); }},
      {"StopMarker", [](const S& s) { return ProbeInt(s.StopMarker); }},
  };
  return kNames;
}

}  // namespace kavrin

#include "signalling/signalling_probe.h"

namespace kavrin {

TProbeNames<TProtectionState> ProtectionProbeNames() {
  static const TProbeName<TProtectionState> kNames[] = {
      {"EmergencyTrip", [](const TProtectionState& s) { return ProbeInt(s.EmergencyTrip); }},
      {"ATSTrip", [](const TProtectionState& s) { return ProbeInt(s.ATSTrip); }},
  };
  return kNames;
}

TProbeNames<TStationState> StationProbeNames() {
  static const TProbeName<TStationState> kNames[] = {
      {"NextStopPos", [](const TStationState& s) { return ProbeValue(s.NextStopPos); }},
      {"DoorState", [](const TStationState& s) { return ProbeInt(s.DoorState); }},
      {"DoorOpening", [](const TStationState& s) { return ProbeInt(s.DoorOpening); }},
      {"DepartureCount", [](const TStationState& s) { return ProbeInt(s.DepartureCount); }},
      {"StationText", [](const TStationState& s) { return ProbeValue(s.StationText); }},
  };
  return kNames;
}

}  // namespace kavrin

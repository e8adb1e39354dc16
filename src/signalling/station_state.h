#pragma once
// The station logic: doors, the next stop, departures and the passenger announcements.
#include <cstdint>
#include <string>

#include "data/route_tables.h"

namespace kavrin {

struct TStationState {
  int32_t DoorState = 0;    // 1 doors open
  int32_t DoorOpening = 0;  // 1 from the opening of the doors until a close is requested
  long double NextStopPos = 0;  // cm
  int32_t DepartureCount = 0;   // completed door closings
  std::string StationText;
  // Per "[Announce]" element: the announcement has been played.
  TRowState<decltype(TRouteTables::Announces)> AnnouncePlayed{};
};

// The run starts standing at the start station's stop, with the doors open at a stop.
void StartStations(TStationState& s, const TRouteTables& route, int32_t startStation);

}  // namespace kavrin

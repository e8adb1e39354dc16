#pragma once
// The station logic of the 100 ms tick: the maximum-speed section, the door-closed detection,
// the passenger announcements, the station step with arrival, departure and the end of the run,
// the door button, the stop-approach alarm, the door lamps, the stop request and the automatic
// closing. The steps write their state and ask for channel operations; the run carries those out
// and hands the calls on to the calling-voice queue.
#include <array>
#include <cstdint>
#include <string>

#include "data/route_tables.h"
#include "signalling/station_state.h"
#include "sound/channel_requests.h"
#include "sound/load_sounds.h"

namespace kavrin {

// What the station steps read of the rest of the run, gathered by the tick.
struct TStationInputs {
  long double Speed = 0;       // km/h, signed
  long double Position = 0;    // cm
  long double RemainDist = 0;  // cm
  int32_t ClockTime = 0;
  int32_t TickCount = 0;
  int32_t MovieState = 0;
  int32_t OneMan = 0;
  int32_t StartStation = 0;
  int32_t StationMenuEnd = 999;
  // The vehicle's channels (its sound keys); a channel without data plays nothing.
  int32_t DoorOpenChannel = -1;
  int32_t DoorCloseChannel = -1;
  int32_t DepSignChannel = -1;
  int32_t StopAlarmChannel = -1;
  const TSoundState* Sounds = nullptr;  // the route sounds' channels and lengths
  // Texts of the string file.
  const std::string* TxtStop = nullptr;
  const std::string* TxtPass = nullptr;
  const std::string* TxtStop2 = nullptr;
  const std::string* InfoLabel0 = nullptr;
  const std::string* InfoLabel1 = nullptr;
};

// Texts set as a run starts.
struct TStationStartTexts {
  int32_t Cars = 0;
  std::string TxtCars;
};

// Standing at the start station's stop: the doors open at a stop with doors, the announcement key
// at the row after the start station.
void StartStations(TStationState& s, const TRouteTables& route, int32_t startStation, int32_t oneMan,
                   const TStationStartTexts& texts);

// The station jump: every station's and announcement's flags cleared, the doors closed, standing
// at `target`'s stop; the announcement key at the first "after the stop" row from `target` on.
void JumpStations(TStationState& s, const TRouteTables& route, int32_t target);

// The restore of a saved state: every station's flags cleared, the doors closed, the next stop
// the first stopping station after `curStation`, the announcement key after `stopsBefore` stops.
void RestoreStations(TStationState& s, const TRouteTables& route, int32_t curStation, int32_t stopsBefore);

// Near the start of the tick, before the guard.
void MaxSpeedSection(TStationState& s, const TRouteTables& route, long double position);

// Closes the doors once no door is moving and no door sound plays: the lamp lights, the departure
// signal sounds.
void DoorClosedDetection(TStationState& s, const TStationInputs& in, TChannelRequests& ch);

// The overrun announcement and the announcements due at their places.
void PassengerAnnouncements(TStationState& s, const TStationInputs& in, const TRouteTables& route,
                            TChannelRequests& ch);

// The door button: opens standing in a stop zone, or asks for the doors to close.
void Door_operate(TStationState& s, const TStationInputs& in, TChannelRequests& ch);

// The station step, every station in order. False when the tick ends here (the one-man arrival
// at the last stopping station).
bool StationStep(TStationState& s, const TStationInputs& in, const TRouteTables& route, TChannelRequests& ch);

// After the station step: the alarm, the door pictures, the stop request, the automatic closing.
void StopApproachAlarm(TStationState& s, const TStationInputs& in, TChannelRequests& ch);
void DoorLamps(TStationState& s, const TRouteTables& route);
void StopRequestEvent(TStationState& s, const TStationInputs& in, const TRouteTables& route);
void AutomaticClosing(TStationState& s, const TStationInputs& in, TChannelRequests& ch);

// The one-man announcement keys.
void NextAnnouncement(TStationState& s, const TStationInputs& in, const TRouteTables& route, TChannelRequests& ch);
void PreviousAnnouncement(TStationState& s, const TStationInputs& in, const TRouteTables& route, TChannelRequests& ch);

// The next station after `i` where the train must stop; false when there is none. With
// `evenNone` the values of the empty element after the last station are taken when there is none.
bool FindNextStop(TStationState& s, const TRouteTables& route, int32_t i, bool evenNone);

}  // namespace kavrin

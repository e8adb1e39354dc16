#pragma once
// The station logic: doors, the next stop, departures and the passenger announcements. The door
// lamp, the stop marker and the cab pictures are kept here as what they should show; the cab
// view copies them onto its sprites.
#include <array>
#include <cstdint>
#include <string>

#include "core/random.h"
#include "data/route_tables.h"

namespace kavrin {

using TStationFlags = TRowState<decltype(TRouteTables::Stations)>;

// What the station step asks of the calling voices, in the order it happened: the run hands
// each to the calling-voice queue after the step.
struct TStationCall {
  enum Kind : uint8_t { Voice, Event };
  Kind kind = Voice;
  int32_t value = 0;    // a voice index, or the station event (0 stopped .. 5 doors closed by the conductor)
  int32_t station = 0;  // the next stopping station when it happened
};

struct TStationCalls {
  static constexpr int kCapacity = 16;
  std::array<TStationCall, kCapacity> calls{};
  int32_t count = 0;
  void Add(TStationCall::Kind kind, int32_t value, int32_t station) {
    if (count < kCapacity) calls[static_cast<size_t>(count++)] = TStationCall{kind, value, station};
  }
};

struct TStationState {
  uint8_t DoorState = 0;    // 1 doors open (also while the closing sound plays)
  uint8_t DoorOpening = 0;  // 1 from the opening of the doors until a close is requested
  int32_t DoorRandom = 0;   // 0..99, drawn as a stop zone is entered
  int32_t DoorProbNow = 0;  // doorprob of that zone's station

  // Per station, the spare element after the last included.
  TStationFlags InZone{};
  TStationFlags Arrived{};
  TStationFlags DepAnnounced{};
  TStationFlags Departed{};
  TStationFlags OneManStopSeen{};
  TStationFlags OverrunPending{};  // by the index of the stop that was overrun
  // Per "[Announce]" element: the announcement has been played.
  TRowState<decltype(TRouteTables::Announces)> AnnouncePlayed{};

  int32_t CurStation = 0;  // the station whose stop zone the train was last in
  int32_t NextStop = 0;
  long double NextStopPos = 0;  // cm
  int32_t EventTime = 0;        // ClockTime of the last arrival or departure-sound start
  int32_t DepartureCount = 0;   // completed door closings
  int32_t MaxSpeedNow = 0;      // km/h of the section the train is in
  std::string MaxSpeedText;
  int32_t MaxSpeedTextOf = -1;  // the value MaxSpeedText was written for; -1 none yet
  uint8_t RunEnded = 0;
  uint8_t ArrivalFlag = 0;  // set at every arrival until the first notch calls the departure
  uint8_t StopRequestArmed = 0;
  int32_t StopRequestTime = 0;
  int32_t NextAnnounce = 1;  // the "[Announce]" row the driver's key plays next

  std::string StationText;
  std::string DoorInfoText;
  std::string FromStationName;
  std::string NextStopName;

  // What the cab shows of the stations: the door lamp (1 lit: doors closed), the stop marker's
  // cell (station number + 1 inside a zone, 0 outside), the stop-approach lamp, the door-open
  // pictures, the stop-request picture and the monitor's cell.
  uint8_t LampDoor = 1;
  int32_t StopMarker = 0;
  int8_t LampStopAlert = -1;  // -1 until the alarm first lights or hides it
  uint8_t DoorPicture = 0;       // "[Others]" picture 0
  uint8_t DoorPictureOther = 0;  // "[Others]" picture 1, doors on the other side
  uint8_t StopRequestShown = 0;  // "[Others]" picture 4
  int32_t MonitorPattern = 0;
  uint8_t HideCrossLamp2 = 0;  // the departure sound hides the second crossing lamp once
  uint8_t BackRequested = 0;   // the end of the run asks for the back button

  TRandom Random;
  TStationCalls Calls;
};

}  // namespace kavrin

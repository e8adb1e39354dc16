#pragma once
// All state of one run, one plain struct per owner. Vehicle parameters and route tables are
// written by the loaders and only read afterwards; a new run builds a new Sim.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/clock.h"
#include "controls/controller_state.h"
#include "controls/handle_state.h"
#include "data/program_files.h"
#include "data/route_derivation.h"
#include "data/route_tables.h"
#include "data/vehicle_file.h"
#include "dynamics/dynamics_state.h"
#include "presentation/picture.h"
#include "presentation/sprites.h"
#include "presentation/trackside_images.h"
#include "sound/load_sounds.h"
#include "sound/sound_bank.h"

namespace kavrin {

// The flags that gate the loops of a run.
struct TRunState {
  bool running = false;  // the 100 ms timer is enabled: a run is in progress, not paused
  std::array<int32_t, SoundBank::ChannelCount> ChannelResumeState{};  // 0 silent, 1 once, 2 loop
  int32_t FadeOut = 0;     // 1..255 while the window fades out
  int32_t LastFrame = -1;  // film frame last decoded into the cab view
  bool RunEnded = false;   // FormCloseQuery has run
  int32_t FrameRateShown = 0;  // idle passes per second, for the value display
};

// What the film track needs so far; the film issue extends it.
struct TFilmState {
  int32_t FrameCount = 0;  // last usable frame: film length x FrameCountFactor
  int32_t CurFrame = 0;
  int32_t MovieState = 0;  // 0 the main film, 1 a side film showing, 2 returning from it
};

// The brake demands of the train protection and the vigilance device; the protection logic
// extends it.
struct TProtectionState {
  int32_t EmergencyTrip = 0;  // emergency brake
  int32_t ATSTrip = 0;        // maximum service brake
};

// The station logic's state as a run starts; the station logic extends it.
struct TStationState {
  int32_t DoorState = 0;    // 1 doors open
  int32_t DoorOpening = 0;  // 1 from the opening of the doors until a close is requested
  long double NextStopPos = 0;  // cm
  int32_t DepartureCount = 0;   // completed door closings
  std::string StationText;
};

// Worked out from the route once everything is read.
struct TLoadDerived {
  TCheckPoints CheckPoints;  // increasing Pos
  std::vector<TMoveMenuItem> MoveMenu;  // in menu order
  // The timetable card at the top of the window (at StafLeft, top 0, unkeyed) and the side
  // picture; an empty picture shows nothing.
  Picture StafPicture;
  int32_t StafLeft = 0;
  Picture SubPicture;
};

// Large (the route tables are fixed-capacity arrays): make one with std::make_unique.
struct Sim {
  std::string ProgramFolder;  // with a trailing "/"
  std::string RouteFileName;  // relative to ProgramFolder
  std::string VehicleFileName;
  std::string VehicleFolder;  // relative to ProgramFolder, or absolute; empty for the program folder
  int32_t StartStation = 0;
  int32_t EndStation = 999;  // StationMenuEnd: the first station the "Move" menu no longer offers

  TProgramFiles files;  // settings (menus change them during the run), mascon.dat, ostrel.dat
  TVehicleFile vehicle;  // parameters, tables and panel; read-only after the load
  TRouteTables route;    // read-only after the load except the per-row done flags
  TCabView view;         // the cab view's picture list and sprites
  TTracksideImages trackside;  // the route's sprites in `view` and its two animation lists
  TSoundState sounds;          // channel layout, route sound lengths, calling voices
  TLoadDerived derived;
  TTractionState traction;
  TBrakeState brakes;
  TDynamicsState dynamics;
  TDieselState diesel;
  TProtectionState protection;
  TStationState station;
  TRunState run;
  TClockState clock;
  TFilmState film;
  THandleState handle;     // the driver's handle and its texts
  TDelayedHandle delayed;  // pending handle changes and the positions in force
  TKeyState keys;          // held keys, door side, cab offset
  TControllerState controllers;  // controller type, serial line, last game-controller reading
};

}  // namespace kavrin

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
#include "presentation/cab_gauges.h"
#include "presentation/cab_panel_images.h"
#include "presentation/film_track.h"
#include "core/picture.h"
#include "presentation/sprites.h"
#include "presentation/trackside_images.h"
#include "signalling/protection_state.h"
#include "signalling/signal_state.h"
#include "signalling/station_state.h"
#include "sound/calling.h"
#include "sound/load_sounds.h"
#include "sound/running_sounds.h"
#include "sound/sound_bank.h"

namespace kavrin {

// The flags that gate the loops of a run.
struct TRunState {
  bool running = false;  // the 100 ms timer is enabled: a run is in progress, not paused
  std::array<int32_t, SoundBank::ChannelCount> ChannelResumeState{};  // 0 silent, 1 once, 2 loop
  int32_t FadeOut = 0;     // 1..255 while the window fades out
  int32_t LastFrame = -1;  // film frame last decoded into the cab view
  bool Closed = false;     // FormCloseQuery has run
  int32_t TickCount = 0;   // 100 ms ticks since the run began
  int32_t Fps = 0;         // idle passes per second, for the value display
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
  // What a paused run shows over the panel ("[Staf]" line 2); empty when it cannot be loaded.
  Picture StillPicture;
};

// Make one with std::make_unique: the per-row state of the route tables is held in arrays.
struct Sim {
  std::string ProgramFolder;  // with a trailing "/"
  std::string RouteFileName;  // relative to ProgramFolder
  std::string VehicleFileName;
  std::string VehicleFolder;  // relative to ProgramFolder, or absolute; empty for the program folder
  int32_t StartStation = 0;
  int32_t StationMenuEnd = 999;  // the first station the "Move" menu no longer offers

  TProgramFiles files;  // settings (menus change them during the run), mascon.dat, ostrel.dat
  TVehicleFile vehicle;  // parameters, tables and panel; read-only after the load
  TRouteTables route;    // read-only after the load
  TCabView view;         // the cab view's picture list and sprites
  TPanelSprites panelSprites;  // the vehicle's desk in `view`
  TTracksideImages trackside;  // the route's sprites in `view` and its two animation lists
  TSoundState sounds;          // channel layout, route sound lengths, calling voices
  TLoadDerived derived;
  TTractionState traction;
  TBrakeState brakes;
  TDynamicsState dynamics;
  TDieselState diesel;
  TSignalState signalling;  // signals and road lights ("signals" is a Qt keyword)
  TProtectionState protection;
  TStationState station;
  TRunningSoundState runningSounds;
  TCallingState calling;
  TRunState run;
  TClockState clock;
  TFilmState film;
  TPanelState panel;  // the gauges the 100 ms tick smooths, the brake-cylinder needle's history
  THandleState handle;     // the driver's handle and its texts
  TDelayedHandle delayed;  // pending handle changes and the positions in force
  TKeyState keys;          // held keys, door side, cab offset
  TControllerState controllers;  // controller type, serial line, last game-controller reading
};

}  // namespace kavrin

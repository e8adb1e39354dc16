#pragma once
// All state of one run, one plain struct per owner. Vehicle parameters and route tables are
// written by the loaders and only read afterwards; a new run builds a new Sim.
#include <array>
#include <cstdint>
#include <string>

#include "app/clock.h"
#include "controls/handle_state.h"
#include "data/program_files.h"
#include "data/route_tables.h"
#include "data/vehicle_file.h"
#include "presentation/sprites.h"
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
};

// Large (the route tables are fixed-capacity arrays): make one with std::make_unique.
struct Sim {
  std::string ProgramFolder;  // with a trailing "/"
  std::string RouteFileName;  // relative to ProgramFolder
  std::string VehicleFileName;
  std::string VehicleFolder;  // relative to ProgramFolder, or absolute; empty for the program folder
  int32_t StartStation = 0;
  int32_t EndStation = 999;

  TProgramFiles files;  // settings (menus change them during the run), mascon.dat, ostrel.dat
  TVehicleFile vehicle;  // parameters, tables and panel; read-only after the load
  TRouteTables route;    // read-only after the load except the per-row done flags
  TCabView view;         // the cab view's picture list and sprites
  TRunState run;
  TClockState clock;
  TFilmState film;
  THandleState handle;     // the driver's handle and its texts
  TDelayedHandle delayed;  // pending handle changes and the positions in force
  TKeyState keys;          // held keys, door side, cab offset
};

}  // namespace kavrin

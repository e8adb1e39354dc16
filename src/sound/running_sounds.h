#pragma once
// The running and equipment sounds: what the run remembers between ticks.
#include <cstdint>

#include "data/route_tables.h"

namespace kavrin {

struct TRunningSoundState {
  // Per "[Sound]" row: the sound has been started.
  TRowState<decltype(TRouteTables::RouteSounds)> RouteSoundStarted{};
  // Per "[Switch]" row: the points have been heard.
  TRowState<decltype(TRouteTables::Switches)> SwitchPlayed{};
};

inline void StartRunningSounds(TRunningSoundState& s) { s = TRunningSoundState{}; }

}  // namespace kavrin

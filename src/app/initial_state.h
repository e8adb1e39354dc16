#pragma once
// The state a run starts in, set once the route's distances are known. Each owner of run state
// puts its starting values here.
#include "app/sim.h"

namespace kavrin {

// Needs sim.StartStation to be a station of the route (or 0 on a route without stations).
void SetInitialState(Sim& sim);

// Throws LoadError when the start station handed over is not one of the route's stations.
void CheckStartStation(const Sim& sim);

}  // namespace kavrin

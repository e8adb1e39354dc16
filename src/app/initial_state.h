#pragma once
// The state a run starts in, once the route's distances are known: one start call per owner of
// run state, in one ordered list.
#include "app/sim.h"

namespace kavrin {

// Needs sim.StartStation to be a station of the route (or 0 on a route without stations).
void SetInitialState(Sim& sim);

// Throws LoadError when the start station handed over is not one of the route's stations.
void CheckStartStation(const Sim& sim);

}  // namespace kavrin

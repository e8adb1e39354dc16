#pragma once
// The cab panel inside a run: what its steps read of the train, the handle and the doors.
#include "app/sim.h"

namespace kavrin {

// Every drawn pass: needles, bars and the digital speed.
void PanelGaugePass(Sim& sim);
// The 100 ms tick: the lamps, the smoothed gauges and the extra pictures, each at its place.
void PanelLampTick(Sim& sim);
void PanelSmoothTick(Sim& sim);
void PanelOtherImagesTick(Sim& sim);

// Every drawn pass after the gauges: the trackside overlays' place in the pass.
inline void TracksideStep(Sim&) {}

}  // namespace kavrin

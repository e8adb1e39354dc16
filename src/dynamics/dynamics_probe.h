#pragma once
// Traction, brakes and air, motion and the diesel engine by name.
#include "core/probe.h"
#include "dynamics/dynamics_state.h"

namespace kavrin {

TProbeNames<TTractionState> TractionProbeNames();
TProbeNames<TBrakeState> BrakeProbeNames();
TProbeNames<TDynamicsState> MotionProbeNames();
TProbeNames<TDieselState> DieselProbeNames();

}  // namespace kavrin

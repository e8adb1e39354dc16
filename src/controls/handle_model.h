#pragma once
// The handle model: how the power and brake positions move for one command. The handle never
// leaves its range (power 0 .. Power, brake 0 .. -Brake); a command whose condition is not met
// leaves it where it is. The change flags and the cab update are the callers'.
#include "controls/handle_state.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"

namespace kavrin {

// The power mode of notch-table row `row`. A row the table does not have counts as mode 0, so a
// train without a notch table (current-step traction, diesel) notches through mode 0.
int32_t NotchRowMode(const TVehicleTables& t, int32_t row);

// One notch up inside the power mode; from off in a mode above 0, the mode's first notch.
void PowerUp(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t);
// One notch down inside the power mode; from the mode's first notch, off.
void PowerDown(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t);

// One step along ... B2, B1, (hold), released, P1, P2 ... towards power. The power part moves
// only from the released position with the hold step off.
void CombinedUp(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t);
// One step along the same line towards the brake, stopping at the highest service step.
void CombinedDown(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t);

// One brake step on (released to hold, hold to B1, then down to the highest service step).
void BrakeApply(THandleState& h, const TVehicleParams& veh);
// One brake step off (with Hold 1, B1 goes to the hold step and the hold step to released).
void BrakeRelease(THandleState& h, const TVehicleParams& veh);
// The emergency position. The one-handle key also cuts the power; the two-handle key does not.
void EmergencyBrake(THandleState& h, const TVehicleParams& veh, bool cutPower);

// The handle when a run starts: power off, brake (and its copies) at emergency, forward.
void StartHandle(THandleState& h, TDelayedHandle& d, const TVehicleParams& veh);
// The handle after a station jump: power off, brake at full service (not emergency).
void HandleAfterStationJump(THandleState& h, TDelayedHandle& d, const TVehicleParams& veh);

}  // namespace kavrin

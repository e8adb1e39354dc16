#pragma once
// Power and the dynamic brake of an electric train: the handle force from the notch table or
// from the motor current of the resistance-control steps, the delayed power notch, the motor and
// dynamic-brake currents and the ammeter. Three calls in each 33 ms tick, in this order.
#include "controls/handle_state.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "dynamics/dynamics_state.h"
#include "dynamics/train_inputs.h"

namespace kavrin {

// First in the tick: TractiveForce of the applied notch, the reverser applied. No force at or
// above MaxSpeed, with the doors open on an interlocked train, with the engine stopped or under
// a protection demand.
void TractionForce(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double speed,
                   const TVehicleParams& veh, const TVehicleTables& t, const TTrainInputs& in);

// Second: the hold time of the resistance-control step, the power-notch delay (a notch-down
// stops at NotchBack unless it goes to off), and MotorForce.
void PowerNotchDelay(TTractionState& tr, TDelayedHandle& d, const THandleState& h, const TVehicleParams& veh,
                     const TVehicleTables& t, const TTrainInputs& in);

// Last in the tick: the ammeter moves half-way to its target, then the motor current, the
// ammeter's new target and the dynamic-brake current.
void TractionCurrent(TTractionState& tr, const TDelayedHandle& d, const THandleState& h, long double speed,
                     const TVehicleParams& veh, const TVehicleTables& t, const TTrainInputs& in);

}  // namespace kavrin

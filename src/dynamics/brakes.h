#pragma once
// The brake command: the force the brake cylinders and the dynamic brake give, and the delayed
// brake positions the air system and the dynamic brake follow.
#include "controls/handle_state.h"
#include "data/vehicle_params.h"
#include "dynamics/dynamics_state.h"
#include "dynamics/train_inputs.h"

namespace kavrin {

// After the traction step: ShoeFriction and BrakeForce, taken off TractiveForce against the
// direction of motion (nothing at rest).
void BrakeForceStep(TBrakeState& b, TTractionState& tr, long double speed, const TVehicleParams& veh);

// After the air system: LastBrakeNotch, SapNotch and EBrakeNotch follow the handle (or the
// protection demand) once their delays have run. A change made while the trailer cylinders hold
// pressure needs 70 % of BrakeDelay; the dynamic brake follows at once while it already brakes
// and not at all from release below LoseElec[0].
void BrakeNotchDelays(TDelayedHandle& d, const THandleState& h, const TBrakeState& b, long double speed,
                      const TVehicleParams& veh, const TTrainInputs& in);

}  // namespace kavrin

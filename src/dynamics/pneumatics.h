#pragma once
// The air system: brake cylinders, brake pipe, equalising reservoir, straight-air pipe and the
// main reservoir with its compressor, for the three brake types (automatic, straight air,
// electric command).
#include "controls/handle_state.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "dynamics/dynamics_state.h"
#include "dynamics/train_inputs.h"

namespace kavrin {

// f(b, P) = 1 + 10 b^(-P/10): a release step at pressure P is the rate divided by it, so air
// leaves a nearly empty cylinder eleven times slower than a full one.
long double ReleaseDivisor(long double base, long double pressure);

// 33 ms tick, after the speed update: the pressures of the vehicle's brake type for the brake
// positions in force and the protection demands.
void Pneumatics(TBrakeState& b, const TDelayedHandle& d, const THandleState& h, const TTractionState& tr,
                const TVehicleParams& veh, const TTrainInputs& in);

// Right after: the main reservoir's slow leak.
void MainReservoirLeak(TBrakeState& b, long double dispRate);

// 100 ms tick: the compressor starts below LowAirPress and stops at HighAirPress, asking for its
// start, running and stop sounds in CompressorSounds; a diesel car's compressor runs with the
// engine's speed.
void Compressor(TBrakeState& b, const TVehicleParams& veh, const TVehicleTables& t, long double engineRpm);

}  // namespace kavrin

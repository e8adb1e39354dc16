#pragma once
// The force balance, the speed and the position of the train, and the gradient it feels.
// The 33 ms tick calls the first five in order after the brake force; the 100 ms tick samples
// the per-car gradient and scans the route's gradient sections.
#include <cstdint>

#include "controls/handle_state.h"
#include "data/route_tables.h"
#include "data/vehicle_params.h"
#include "dynamics/dynamics_state.h"

namespace kavrin {

// Adhesion, gradient and tunnel resistance, the adhesion limit with wheel slip and slide,
// starting and running resistance. Resistance starts afresh; TractiveForce is cut back when the
// wheels slip or slide.
void ApplyResistance(TDynamicsState& d, TTractionState& tr, const TVehicleParams& veh, const TRouteTables& route,
                     const TDelayedHandle& dh);

// The holding brake and constant-speed control act on TractiveForce; a side film showing frees
// the train of every resistance.
void ApplyHoldAndConstantSpeed(TDynamicsState& d, TTractionState& tr, const THandleState& h, int32_t movieState);

// PredictedSpeed, standing still or stopping exactly at 0, then one tick of acceleration. A
// train without mass does not move.
void UpdateSpeed(TDynamicsState& d, TTractionState& tr, const TBrakeState& b, const TVehicleParams& veh);

// Keeps Position in step with the film: entering another filmed-speed row moves Position to
// the distance of the boundary crossed. FilmSpeed follows the current frame.
void FollowFilmSegment(TDynamicsState& d, const TRouteTables& route, int32_t curFrame);

// One tick of travel: PositionStep, Position and RemainDist.
void AdvancePosition(TDynamicsState& d, long double nextStopPos);

// One gradient sample per car length travelled; Gradient is their mean over the train.
void SampleCarGradient(TDynamicsState& d, const TVehicleParams& veh);

// HeadGradient from the gradient section at the current frame, with the gradient post's cell and
// the two gradient texts.
void ScanHeadGradient(TDynamicsState& d, const TRouteTables& route, int32_t curFrame);

// The motion state of a train standing at `position`, its gradient samples ready for `Cars`
// cars.
void StartMotion(TDynamicsState& d, const TVehicleParams& veh, long double position);

}  // namespace kavrin

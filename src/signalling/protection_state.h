#pragma once
// The train protection and the vigilance device: what they demand of the brake, and the check
// points they have passed.
#include <cstdint>

#include "data/route_tables.h"

namespace kavrin {

struct TProtectionState {
  int32_t EmergencyTrip = 0;  // emergency brake
  int32_t ATSTrip = 0;        // maximum service brake
  // Per row of "[SpeedCheck1]" to "[SpeedCheck3]": the train has passed the point.
  TRowState<decltype(TRouteTables::SpeedChecks1)> SpeedChecks1Passed{};
  TRowState<decltype(TRouteTables::SpeedChecks2)> SpeedChecks2Passed{};
  TRowState<decltype(TRouteTables::SpeedChecks3)> SpeedChecks3Passed{};
};

// No brake demanded; check points behind `position` count as passed, so a run that starts
// beyond one is not checked there.
void StartProtection(TProtectionState& p, const TRouteTables& route, long double position);

}  // namespace kavrin

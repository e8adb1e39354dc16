// Where signals and protection stand as a run starts.
#include "signalling/protection_state.h"
#include "signalling/signal_state.h"

namespace kavrin {

void StartProtection(TProtectionState& p, const TRouteTables& route, long double position) {
  p = TProtectionState{};
  for (int32_t i = 0; i < route.SpeedChecks1.Count(); ++i) {
    if (route.SpeedChecks1[i].Pos < position) p.SpeedChecks1Passed[static_cast<size_t>(i)] = 1;
  }
}

void StartSignals(TSignalState& s, const TRouteTables& route) {
  s = TSignalState{};
  for (int32_t i = 0; i < route.TrafficSignals.Count(); ++i) {
    const auto k = static_cast<size_t>(i);
    s.Phase[k] = 1;
    s.PhaseTimer[k][0] = route.TrafficSignals[i].PhaseDuration[0];
  }
}

}  // namespace kavrin

#pragma once
// Signals and road traffic lights as the run shows them.
#include <array>
#include <cstdint>

#include "data/route_tables.h"

namespace kavrin {

struct TSignalState {
  // Per "[Signal]" row.
  TRowState<decltype(TRouteTables::Signals), int32_t> SignalAspect{};
  TRowState<decltype(TRouteTables::Signals), int32_t> SignalPicture{};
  // Per "[TrafficSignal]" row: the phase showing (1 to 6) and each phase's ticks left.
  TRowState<decltype(TRouteTables::TrafficSignals), int32_t> Phase{};
  TRowState<decltype(TRouteTables::TrafficSignals), std::array<int32_t, 6>> PhaseTimer{};
};

// Every traffic light starts its cycle at the first phase.
void StartSignals(TSignalState& s, const TRouteTables& route);

}  // namespace kavrin

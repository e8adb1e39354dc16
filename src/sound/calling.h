#pragma once
// The calling voices: what the run remembers of the calls it made.
#include <cstdint>

#include "data/route_tables.h"

namespace kavrin {

struct TCallingState {
  // Per "[Time]" row: the time has been called.
  TRowState<decltype(TRouteTables::TimeChecks)> TimeCheckDone{};
};

inline void StartCalling(TCallingState& s) { s = TCallingState{}; }

}  // namespace kavrin

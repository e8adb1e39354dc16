#pragma once
// The protection demands and the stations by name.
#include "core/probe.h"
#include "signalling/protection_state.h"
#include "signalling/station_state.h"

namespace kavrin {

TProbeNames<TProtectionState> ProtectionProbeNames();
TProbeNames<TStationState> StationProbeNames();

}  // namespace kavrin

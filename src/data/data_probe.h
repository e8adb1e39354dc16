#pragma once
// The vehicle parameters, the route and the persisted settings by name.
#include "core/probe.h"
#include "data/route_tables.h"
#include "data/settings.h"
#include "data/vehicle_params.h"

namespace kavrin {

TProbeNames<TVehicleParams> VehicleParamProbeNames();
TProbeNames<TRouteTables> RouteProbeNames();
TProbeNames<TSettings> SettingsProbeNames();

}  // namespace kavrin

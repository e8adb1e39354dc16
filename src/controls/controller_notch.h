#pragma once
// The handle position a controller asks for, as a notch or brake position of this train.
#include <cstdint>

#include "data/vehicle_tables.h"

namespace kavrin {

// `position` >= 1 is a power position counted inside power mode `mode` (the notch-table rows
// of that mode); a position beyond the mode's notches gives its top notch. 0 is off or
// released. `position` < 0 is a brake position, never beyond the emergency position -`brake`.
// `power` is the number of notch rows the handle has.
int32_t ControllerToNotch(const TVehicleTables& t, int32_t position, int32_t power, int32_t brake, int32_t mode);

}  // namespace kavrin

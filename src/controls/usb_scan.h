#pragma once
// The game controllers made for train games: one reading per 100 ms tick, decoded by the
// controller type into handle positions and posted keys.
#include <optional>
#include <string>

#include "controls/controller_devices.h"
#include "controls/controller_state.h"
#include "controls/controls.h"
#include "data/settings.h"

namespace kavrin {

// Buttons 0 to 3 and 8 to 15 as 1, 2, 4, 8, then 16, 32 ... 2048.
int32_t PadButtons1(const TPadReading& r);
// Buttons 4 to 7 as 1, 2, 4, 8.
int32_t PadButtons2(const TPadReading& r);

// Decodes one reading for controller type 1, 2 or 3. A reading whose sum (axes and both button
// groups) equals the last one does nothing. Returns the window caption to show when the debug
// option is on and the reading was decoded.
std::optional<std::string> USBScan(TControls& c, TControllerState& s, const TControllerMap& map,
                                   const TPadReading& r);

}  // namespace kavrin

#pragma once
// masconupdate: the cab's view of the handle (texts, reverser lamps, notch and lever images),
// constant-speed control following the handle, and the departure call at the first notch.
// Called after every handle change and once when a run has been set up.
#include <string>

#include "controls/controls.h"

namespace kavrin {

void masconupdate(TControls& c);

// The gear text after a key. masconupdate computes it too, with one difference for a train with
// a suppress list: there it follows the power mode, after a key the suppress notch.
void UpdateGearTextAfterKey(TControls& c);

}  // namespace kavrin

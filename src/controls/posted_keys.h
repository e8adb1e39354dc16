#pragma once
// Keys that the controllers post to the simulator window. They are handled after the handler
// that posted them, in the order posted, exactly as typed keys are.
#include "controls/controller_state.h"
#include "controls/controls.h"

namespace kavrin {

void PostChar(TControllerState& s, char ch);
void PostKey(TControllerState& s, int32_t virtualKey);

// Characters go through AsciiDown, keys through keydowns and keyups. Keys posted meanwhile
// (none are today) wait for the next delivery.
void DeliverPosted(TControls& c, TControllerState& s);

}  // namespace kavrin

#pragma once
// The handle, its delayed copies, the keys and the controllers by name.
#include "core/probe.h"
#include "controls/controller_state.h"
#include "controls/handle_state.h"

namespace kavrin {

TProbeNames<THandleState> HandleProbeNames();
TProbeNames<TDelayedHandle> DelayedHandleProbeNames();
TProbeNames<TKeyState> KeyProbeNames();
TProbeNames<TControllerState> ControllerProbeNames();

}  // namespace kavrin

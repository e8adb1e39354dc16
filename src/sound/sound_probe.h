#pragma once
// The channel layout and the route sounds by name.
#include "core/probe.h"
#include "sound/load_sounds.h"
#include "sound/running_sounds.h"

namespace kavrin {

TProbeNames<TSoundState> SoundProbeNames();
TProbeNames<TRunningSoundState> RunningSoundProbeNames();

}  // namespace kavrin

#pragma once
// The channel layout, the route sounds and the calling-voice queue by name.
#include "core/probe.h"
#include "sound/calling.h"
#include "sound/load_sounds.h"
#include "sound/running_sounds.h"

namespace kavrin {

TProbeNames<TSoundState> SoundProbeNames();
TProbeNames<TRunningSoundState> RunningSoundProbeNames();
TProbeNames<TCallingState> CallingProbeNames();

}  // namespace kavrin

#pragma once
// The channel layout and the route sounds by name.
#include "core/probe.h"
#include "sound/load_sounds.h"

namespace kavrin {

TProbeNames<TSoundState> SoundProbeNames();

}  // namespace kavrin

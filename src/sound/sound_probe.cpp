#include "sound/sound_probe.h"

namespace kavrin {

TProbeNames<TSoundState> SoundProbeNames() {
  static const TProbeName<TSoundState> kNames[] = {
      {"DriveSoundCount", [](const TSoundState& s) { return ProbeInt(s.Layout.DriveSoundCount); }},
      {"EngineSound1Count", [](const TSoundState& s) { return ProbeInt(s.Layout.EngineSound1Count); }},
      {"EngineSound3Count", [](const TSoundState& s) { return ProbeInt(s.Layout.EngineSound3Count); }},
      {"KankoChannel", [](const TSoundState& s) { return ProbeInt(s.Layout.KankoChannel()); }},
      {"SoundSeconds", nullptr, [](const TSoundState& s) { return static_cast<int>(s.SoundSeconds.size()); },
       [](const TSoundState& s, int i) { return ProbeInt(s.SoundSeconds[static_cast<size_t>(i)]); }},
  };
  return kNames;
}

}  // namespace kavrin

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

TProbeNames<TCallingState> CallingProbeNames() {
  using C = TCallingState;
  static const TProbeName<C> kNames[] = {
      {"KankoQueue", nullptr, [](const C&) { return kKankoQueueSize; },
       [](const C& s, int i) { return ProbeInt(s.KankoQueue[static_cast<size_t>(i)]); }},
      {"QueueBusy", [](const C& s) { return ProbeInt(s.QueueBusy); }},
      {"HeadStarted", [](const C& s) { return ProbeInt(s.HeadStarted); }},
      {"ResumeStopLoop", [](const C& s) { return ProbeInt(s.ResumeStopLoop); }},
      {"LastCalled", [](const C& s) { return ProbeInt(s.LastCalled); }},
  };
  return kNames;
}

}  // namespace kavrin

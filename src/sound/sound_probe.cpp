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
      {"MotorLevel", [](const TSoundState& s) { return ProbeValue(s.MotorLevel); }},
      {"HensokuLevel", [](const TSoundState& s) { return ProbeValue(s.HensokuLevel); }},
      {"MotorRowLevel", nullptr, [](const TSoundState& s) { return static_cast<int>(s.MotorRowLevel.size()); },
       [](const TSoundState& s, int i) { return ProbeValue(s.MotorRowLevel[static_cast<size_t>(i)]); }},
      {"HensokuRowLevel", nullptr, [](const TSoundState& s) { return static_cast<int>(s.HensokuRowLevel.size()); },
       [](const TSoundState& s, int i) { return ProbeValue(s.HensokuRowLevel[static_cast<size_t>(i)]); }},
  };
  return kNames;
}

TProbeNames<TRunningSoundState> RunningSoundProbeNames() {
  using S = TRunningSoundState;
  static const TProbeName<S> kNames[] = {
      {"AttenFactor", [](const S& s) { return ProbeValue(s.AttenFactor); }},
      {"BrakeSoundDone", [](const S& s) { return ProbeInt(s.BrakeSoundDone); }},
      {"EBSoundDone", [](const S& s) { return ProbeInt(s.EBSoundDone); }},
      {"MotorCurveVol", nullptr, [](const S& s) { return static_cast<int>(s.MotorCurveVol.size()); },
       [](const S& s, int i) { return ProbeValue(s.MotorCurveVol[static_cast<size_t>(i)]); }},
      {"HensokuCurveVol", nullptr, [](const S& s) { return static_cast<int>(s.HensokuCurveVol.size()); },
       [](const S& s, int i) { return ProbeValue(s.HensokuCurveVol[static_cast<size_t>(i)]); }},
      {"RouteSoundStarted", nullptr, [](const S& s) { return static_cast<int>(s.RouteSoundStarted.size()); },
       [](const S& s, int i) { return ProbeInt(s.RouteSoundStarted[static_cast<size_t>(i)]); }},
      {"SwitchPlayed", nullptr, [](const S& s) { return static_cast<int>(s.SwitchPlayed.size()); },
       [](const S& s, int i) { return ProbeInt(s.SwitchPlayed[static_cast<size_t>(i)]); }},
      {"DoorOpenTicks", [](const S& s) { return ProbeInt(s.DoorOpenTicks); }},
      {"LastHornTime", [](const S& s) { return ProbeInt(s.LastHornTime); }},
      {"HornDip", [](const S& s) { return ProbeValue(s.HornDip); }},
      {"HornDipRate", [](const S& s) { return ProbeValue(s.HornDipRate); }},
      {"BuzzerPad", [](const S& s) { return ProbeInt(s.BuzzerPad); }},
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

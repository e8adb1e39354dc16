#include "controls/controls_probe.h"

namespace kavrin {

TProbeNames<THandleState> HandleProbeNames() {
  static const TProbeName<THandleState> kNames[] = {
      {"Reverser", [](const THandleState& s) { return ProbeInt(s.Reverser); }},
      {"PowerNotch", [](const THandleState& s) { return ProbeInt(s.PowerNotch); }},
      {"BrakeNotch", [](const THandleState& s) { return ProbeInt(s.BrakeNotch); }},
      {"HoldEngaged", [](const THandleState& s) { return ProbeInt(s.HoldEngaged); }},
      {"HoldJustLeft", [](const THandleState& s) { return ProbeInt(s.HoldJustLeft); }},
      {"PowerModeIdx", [](const THandleState& s) { return ProbeInt(s.PowerModeIdx); }},
      {"SuppressPos", [](const THandleState& s) { return ProbeInt(s.SuppressPos); }},
      {"GearLever", [](const THandleState& s) { return ProbeInt(s.GearLever); }},
      {"ConstActive", [](const THandleState& s) { return ProbeInt(s.ConstActive); }},
      {"SwapKeys", [](const THandleState& s) { return ProbeInt(s.SwapKeys); }},
      {"VigilanceCount", [](const THandleState& s) { return ProbeInt(s.VigilanceCount); }},
      {"ReverserText", [](const THandleState& s) { return ProbeValue(s.ReverserText); }},
      {"PowerText", [](const THandleState& s) { return ProbeValue(s.PowerText); }},
      {"BrakeText", [](const THandleState& s) { return ProbeValue(s.BrakeText); }},
      {"GearText", [](const THandleState& s) { return ProbeValue(s.GearText); }},
  };
  return kNames;
}

TProbeNames<TDelayedHandle> DelayedHandleProbeNames() {
  static const TProbeName<TDelayedHandle> kNames[] = {
      {"PowerDelayRun", [](const TDelayedHandle& s) { return ProbeInt(s.PowerDelayRun); }},
      {"BrakeDelayRun", [](const TDelayedHandle& s) { return ProbeInt(s.BrakeDelayRun); }},
      {"SapDelayRun", [](const TDelayedHandle& s) { return ProbeInt(s.SapDelayRun); }},
      {"EBrakeDelayRun", [](const TDelayedHandle& s) { return ProbeInt(s.EBrakeDelayRun); }},
      {"PowerDelayCnt", [](const TDelayedHandle& s) { return ProbeInt(s.PowerDelayCnt); }},
      {"BrakeDelayCnt", [](const TDelayedHandle& s) { return ProbeInt(s.BrakeDelayCnt); }},
      {"SapDelayCnt", [](const TDelayedHandle& s) { return ProbeInt(s.SapDelayCnt); }},
      {"EBrakeDelayCnt", [](const TDelayedHandle& s) { return ProbeInt(s.EBrakeDelayCnt); }},
      {"AppliedNotch", [](const TDelayedHandle& s) { return ProbeInt(s.AppliedNotch); }},
      {"LastBrakeNotch", [](const TDelayedHandle& s) { return ProbeInt(s.LastBrakeNotch); }},
      {"SapNotch", [](const TDelayedHandle& s) { return ProbeInt(s.SapNotch); }},
      {"EBrakeNotch", [](const TDelayedHandle& s) { return ProbeInt(s.EBrakeNotch); }},
  };
  return kNames;
}

TProbeNames<TKeyState> KeyProbeNames() {
  static const TProbeName<TKeyState> kNames[] = {
      {"HornKey", [](const TKeyState& s) { return ProbeInt(s.HornKey); }},
      {"BuzzerKey", [](const TKeyState& s) { return ProbeInt(s.BuzzerKey); }},
      {"EngineSwitch", [](const TKeyState& s) { return ProbeInt(s.EngineSwitch); }},
      {"CurrentLimitAdd", [](const TKeyState& s) { return ProbeInt(s.CurrentLimitAdd); }},
      {"DoorSideSelect", [](const TKeyState& s) { return ProbeInt(s.DoorSideSelect); }},
      {"DoorSideText", [](const TKeyState& s) { return ProbeValue(s.DoorSideText); }},
      {"CabSurfaceTop", [](const TKeyState& s) { return ProbeInt(s.CabSurfaceTop); }},
      {"HornPad", [](const TKeyState& s) { return ProbeInt(s.HornPad); }},
  };
  return kNames;
}

TProbeNames<TControllerState> ControllerProbeNames() {
  static const TProbeName<TControllerState> kNames[] = {
      {"ControllerType", [](const TControllerState& s) { return ProbeInt(s.ControllerType); }},
      {"DebugOption", [](const TControllerState& s) { return ProbeInt(s.DebugOption); }},
      {"RxResult", [](const TControllerState& s) { return ProbeValue(s.RxResult); }},
      {"ValueDisplayCaption", [](const TControllerState& s) { return ProbeValue(s.ValueDisplayCaption); }},
      {"LastReading", [](const TControllerState& s) { return ProbeInt(s.LastReading); }},
      {"LastScanPower", [](const TControllerState& s) { return ProbeInt(s.LastScanPower); }},
      {"LastScanBrake", [](const TControllerState& s) { return ProbeInt(s.LastScanBrake); }},
  };
  return kNames;
}

}  // namespace kavrin

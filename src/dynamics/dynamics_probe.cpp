#include "dynamics/dynamics_probe.h"

namespace kavrin {

TProbeNames<TTractionState> TractionProbeNames() {
  static const TProbeName<TTractionState> kNames[] = {
      {"TractiveForce", [](const TTractionState& s) { return ProbeValue(s.TractiveForce); }},
      {"MotorForce", [](const TTractionState& s) { return ProbeValue(s.MotorForce); }},
      {"CurrentStepIdx", [](const TTractionState& s) { return ProbeInt(s.CurrentStepIdx); }},
      {"StepDelayRun", [](const TTractionState& s) { return ProbeInt(s.StepDelayRun); }},
      {"StepDelayCnt", [](const TTractionState& s) { return ProbeInt(s.StepDelayCnt); }},
      {"StepAdvanced", [](const TTractionState& s) { return ProbeInt(s.StepAdvanced); }},
      {"NotchCurrent", [](const TTractionState& s) { return ProbeInt(s.NotchCurrent); }},
      {"CurrentBIdx", [](const TTractionState& s) { return ProbeInt(s.CurrentBIdx); }},
      {"EBrakeCurrent", [](const TTractionState& s) { return ProbeValue(s.EBrakeCurrent); }},
      {"AmMeterTarget", [](const TTractionState& s) { return ProbeInt(s.AmMeterTarget); }},
      {"AmMeterValue", [](const TTractionState& s) { return ProbeInt(s.AmMeterValue); }},
      {"LineVoltage", [](const TTractionState& s) { return ProbeValue(s.LineVoltage); }},
  };
  return kNames;
}

TProbeNames<TBrakeState> BrakeProbeNames() {
  static const TProbeName<TBrakeState> kNames[] = {
      {"BcPressM", [](const TBrakeState& s) { return ProbeValue(s.BcPressM); }},
      {"BcPressT", [](const TBrakeState& s) { return ProbeValue(s.BcPressT); }},
      {"ErPress", [](const TBrakeState& s) { return ProbeValue(s.ErPress); }},
      {"MrPress", [](const TBrakeState& s) { return ProbeValue(s.MrPress); }},
      {"SapPress", [](const TBrakeState& s) { return ProbeValue(s.SapPress); }},
      {"BpPress", [](const TBrakeState& s) { return ProbeValue(s.BpPress); }},
      {"FeedPress", [](const TBrakeState& s) { return ProbeValue(s.FeedPress); }},
      {"CompressorOn", [](const TBrakeState& s) { return ProbeInt(s.CompressorOn); }},
      {"ShoeFriction", [](const TBrakeState& s) { return ProbeValue(s.ShoeFriction); }},
      {"BrakeForce", [](const TBrakeState& s) { return ProbeValue(s.BrakeForce); }},
  };
  return kNames;
}

TProbeNames<TDynamicsState> MotionProbeNames() {
  static const TProbeName<TDynamicsState> kNames[] = {
      {"Speed", [](const TDynamicsState& s) { return ProbeValue(s.Speed); }},
      {"PositionStep", [](const TDynamicsState& s) { return ProbeValue(s.PositionStep); }},
      {"RemainDist", [](const TDynamicsState& s) { return ProbeValue(s.RemainDist); }},
      {"PredictedSpeed", [](const TDynamicsState& s) { return ProbeValue(s.PredictedSpeed); }},
      {"Resistance", [](const TDynamicsState& s) { return ProbeValue(s.Resistance); }},
      {"Adhesion", [](const TDynamicsState& s) { return ProbeValue(s.Adhesion); }},
      {"AdhesionLimit", [](const TDynamicsState& s) { return ProbeValue(s.AdhesionLimit); }},
      {"SlipText", [](const TDynamicsState& s) { return ProbeValue(s.SlipText); }},
      {"HeadGradient", [](const TDynamicsState& s) { return ProbeValue(s.HeadGradient); }},
      {"GradientText", [](const TDynamicsState& s) { return ProbeValue(s.GradientText); }},
      {"GradientAbsText", [](const TDynamicsState& s) { return ProbeValue(s.GradientAbsText); }},
      {"CarGradient", nullptr, [](const TDynamicsState& s) { return static_cast<int>(s.CarGradient.size()); },
       [](const TDynamicsState& s, int i) { return ProbeInt(s.CarGradient[static_cast<size_t>(i)]); }},
      {"LastGradientPos", [](const TDynamicsState& s) { return ProbeValue(s.LastGradientPos); }},
      {"Gradient", [](const TDynamicsState& s) { return ProbeValue(s.Gradient); }},
      {"FilmSpeed", [](const TDynamicsState& s) { return ProbeInt(s.FilmSpeed); }},
      {"FilmSegment", [](const TDynamicsState& s) { return ProbeInt(s.FilmSegment); }},
      {"InTunnel", [](const TDynamicsState& s) { return ProbeInt(s.InTunnel); }},
      {"NoAccel", [](const TDynamicsState& s) { return ProbeInt(s.NoAccel); }},
      {"Position", [](const TDynamicsState& s) { return ProbeValue(s.Position); }},
  };
  return kNames;
}

TProbeNames<TDieselState> DieselProbeNames() {
  static const TProbeName<TDieselState> kNames[] = {
      {"Gear", [](const TDieselState& s) { return ProbeInt(s.Gear); }},
      {"EngineRpm", [](const TDieselState& s) { return ProbeValue(s.EngineRpm); }},
      {"EngineRpmTarget", [](const TDieselState& s) { return ProbeValue(s.EngineRpmTarget); }},
      {"EngineRunning", [](const TDieselState& s) { return ProbeInt(s.EngineRunning); }},
      {"EngineSwitchTicks", [](const TDieselState& s) { return ProbeInt(s.EngineSwitchTicks); }},
      {"GearShiftState", [](const TDieselState& s) { return ProbeInt(s.GearShiftState); }},
      {"ShiftTimer", [](const TDieselState& s) { return ProbeInt(s.ShiftTimer); }},
  };
  return kNames;
}

}  // namespace kavrin

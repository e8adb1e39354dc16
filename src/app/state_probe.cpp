#include "app/state_probe.h"

#include "core/numbers.h"

namespace kavrin {

namespace {
ProbeValue I(int64_t v) { return v; }
}  // namespace

void StateProbe::Add(std::string name, std::function<ProbeValue(const Sim&)> get) {
  entries_.push_back({std::move(name), std::move(get), nullptr, nullptr});
}

void StateProbe::AddRows(std::string name, std::function<int(const Sim&)> count,
                         std::function<ProbeValue(const Sim&, int)> row) {
  entries_.push_back({std::move(name), nullptr, std::move(count), std::move(row)});
}

StateProbe::StateProbe() {
  // Run control and clock.
  Add("running", [](const Sim& s) { return I(s.run.running); });
  Add("RunEnded", [](const Sim& s) { return I(s.run.RunEnded); });
  Add("FadeOut", [](const Sim& s) { return I(s.run.FadeOut); });
  Add("LastFrame", [](const Sim& s) { return I(s.run.LastFrame); });
  Add("FrameRate", [](const Sim& s) { return I(s.run.FrameRateShown); });
  Add("ClockTime", [](const Sim& s) { return I(s.clock.ClockTime); });
  Add("ClockText", [](const Sim& s) { return ProbeValue(s.clock.ClockText); });
  AddRows(
      "ChannelResumeState", [](const Sim&) { return SoundBank::ChannelCount; },
      [](const Sim& s, int i) { return I(s.run.ChannelResumeState[i]); });
  // Film.
  Add("CurFrame", [](const Sim& s) { return I(s.film.CurFrame); });
  Add("FrameCount", [](const Sim& s) { return I(s.film.FrameCount); });
  // Vehicle parameters.
  Add("Handle", [](const Sim& s) { return I(s.vehicle.veh.Handle); });
  Add("BrakeType", [](const Sim& s) { return I(s.vehicle.veh.BrakeType); });
  Add("BrakeType2", [](const Sim& s) { return I(s.vehicle.veh.BrakeType2); });
  Add("Brake", [](const Sim& s) { return I(s.vehicle.veh.Brake); });
  Add("Power", [](const Sim& s) { return I(s.vehicle.veh.Power); });
  Add("NotchBack", [](const Sim& s) { return I(s.vehicle.veh.NotchBack); });
  Add("Hold", [](const Sim& s) { return I(s.vehicle.veh.Hold); });
  Add("Pull", [](const Sim& s) { return I(s.vehicle.veh.Pull); });
  Add("ConstNotch", [](const Sim& s) { return I(s.vehicle.veh.ConstNotch); });
  Add("ConstSpeed", [](const Sim& s) { return I(s.vehicle.veh.ConstSpeed); });
  Add("Back", [](const Sim& s) { return I(s.vehicle.veh.Back); });
  Add("PowerDelay", [](const Sim& s) { return I(s.vehicle.veh.PowerDelay); });
  Add("BrakeDelay", [](const Sim& s) { return I(s.vehicle.veh.BrakeDelay); });
  Add("EBrakeDelay", [](const Sim& s) { return I(s.vehicle.veh.EBrakeDelay); });
  Add("PowerJerk", [](const Sim& s) { return I(s.vehicle.veh.PowerJerk); });
  Add("SAPDelay", [](const Sim& s) { return I(s.vehicle.veh.SAPDelay); });
  Add("BrakeUp", [](const Sim& s) { return I(s.vehicle.veh.BrakeUp); });
  Add("BrakeDown", [](const Sim& s) { return I(s.vehicle.veh.BrakeDown); });
  Add("SAPUp", [](const Sim& s) { return I(s.vehicle.veh.SAPUp); });
  Add("SAPDown", [](const Sim& s) { return I(s.vehicle.veh.SAPDown); });
  Add("AmMeterMode", [](const Sim& s) { return I(s.vehicle.veh.AmMeterMode); });
  Add("AmMeterScale", [](const Sim& s) { return I(s.vehicle.veh.AmMeterScale); });
  Add("EBrakeUp", [](const Sim& s) { return I(s.vehicle.veh.EBrakeUp); });
  Add("EBrakeDown", [](const Sim& s) { return I(s.vehicle.veh.EBrakeDown); });
  Add("BPReturn", [](const Sim& s) { return I(s.vehicle.veh.BPReturn); });
  Add("MAXPress", [](const Sim& s) { return I(s.vehicle.veh.MAXPress); });
  Add("EBPress", [](const Sim& s) { return I(s.vehicle.veh.EBPress); });
  Add("SAPPress", [](const Sim& s) { return I(s.vehicle.veh.SAPPress); });
  Add("HighAirPress", [](const Sim& s) { return I(s.vehicle.veh.HighAirPress); });
  Add("LowAirPress", [](const Sim& s) { return I(s.vehicle.veh.LowAirPress); });
  Add("Engine_Type", [](const Sim& s) { return I(s.vehicle.veh.Engine_Type); });
  Add("DoorLock", [](const Sim& s) { return I(s.vehicle.veh.DoorLock); });
  Add("Power_Type", [](const Sim& s) { return I(s.vehicle.veh.Power_Type); });
  Add("Brake_Type", [](const Sim& s) { return I(s.vehicle.veh.Brake_Type); });
  Add("Cars", [](const Sim& s) { return I(s.vehicle.veh.Cars); });
  Add("Length", [](const Sim& s) { return I(s.vehicle.veh.Length); });
  Add("EB", [](const Sim& s) { return I(s.vehicle.veh.EB); });
  Add("MaxSpeed", [](const Sim& s) { return I(s.vehicle.veh.MaxSpeed); });
  Add("ELBR", [](const Sim& s) { return I(s.vehicle.veh.ELBR); });
  Add("Mc", [](const Sim& s) { return I(s.vehicle.veh.Mc); });
  Add("ATS_Type", [](const Sim& s) { return I(s.vehicle.veh.ATS_Type); });
  Add("ATS_Alert", [](const Sim& s) { return I(s.vehicle.veh.ATS_Alert); });
  Add("ATS_Time", [](const Sim& s) { return I(s.vehicle.veh.ATS_Time); });
  Add("ATS_Cnt", [](const Sim& s) { return I(s.vehicle.veh.ATS_Cnt); });
  Add("Tons", [](const Sim& s) { return ProbeValue(s.vehicle.veh.Tons); });
  Add("Mt", [](const Sim& s) { return ProbeValue(s.vehicle.veh.Mt); });
  Add("Tt", [](const Sim& s) { return ProbeValue(s.vehicle.veh.Tt); });
  // Route.
  Add("LineName", [](const Sim& s) { return ProbeValue(s.route.LineName); });
  Add("LineName2", [](const Sim& s) { return ProbeValue(s.route.LineName2); });
  Add("StartPos", [](const Sim& s) { return I(s.route.StartPos); });
  Add("DataName", [](const Sim& s) { return ProbeValue(s.route.DataName); });
  Add("Friction", [](const Sim& s) { return ProbeValue(s.route.Friction); });
  Add("Perspective", [](const Sim& s) { return ProbeValue(s.route.Perspective); });
  Add("PerspectiveScale", [](const Sim& s) { return I(s.route.PerspectiveScale); });
  Add("PreTrainStart", [](const Sim& s) { return I(s.route.PreTrainStart); });
  Add("PreTrainEnd", [](const Sim& s) { return I(s.route.PreTrainEnd); });
  Add("OneMan", [](const Sim& s) { return I(s.route.OneMan); });
  Add("OneManDoors", [](const Sim& s) { return I(s.route.OneManDoors); });
  Add("TunnelR", [](const Sim& s) { return I(s.route.TunnelR); });
  Add("MaxSpeedCheck", [](const Sim& s) { return I(s.route.MaxSpeedCheck); });
  Add("StartAnnounce", [](const Sim& s) { return I(s.route.StartAnnounce); });
  Add("OverrunSound", [](const Sim& s) { return I(s.route.OverrunSound); });
  Add("StationCount", [](const Sim& s) { return I(s.route.Stations.Count()); });
  Add("SignalCount", [](const Sim& s) { return I(s.route.Signals.Count()); });
  Add("TrafficSignalCount", [](const Sim& s) { return I(s.route.TrafficSignals.Count()); });
  Add("SpeedLimitCount", [](const Sim& s) { return I(s.route.SpeedLimits.Count()); });
  Add("SpeedCheck1Count", [](const Sim& s) { return I(s.route.SpeedChecks1.Count()); });
  Add("SpeedCheck2Count", [](const Sim& s) { return I(s.route.SpeedChecks2.Count()); });
  Add("SpeedCheck3Count", [](const Sim& s) { return I(s.route.SpeedChecks3.Count()); });
  Add("SpeedUnitCount", [](const Sim& s) { return I(s.route.SpeedUnits.Count()); });
  Add("SoundDataCount", [](const Sim& s) { return I(s.route.SoundData.Count()); });
  Add("RouteSoundCount", [](const Sim& s) { return I(s.route.RouteSounds.Count()); });
  Add("DopplerCount", [](const Sim& s) { return I(s.route.Dopplers.Count()); });
  Add("TunnelCount", [](const Sim& s) { return I(s.route.Tunnels.Count()); });
  Add("SlopeCount", [](const Sim& s) { return I(s.route.Slopes.Count()); });
  Add("CrossCount", [](const Sim& s) { return I(s.route.Crosses.Count()); });
  Add("MovieSwitchCount", [](const Sim& s) { return I(s.route.MovieSwitches.Count()); });
  Add("KankoCount", [](const Sim& s) { return I(s.route.KankoCount()); });
  Add("AnnounceCount", [](const Sim& s) { return I(s.route.AnnounceCount()); });
  Add("AnimImageCount", [](const Sim& s) { return I(s.route.AnimImageCount); });
  Add("SignalOffsetX", [](const Sim& s) { return I(s.trackside.SignalOffsetX); });
  Add("SignalOffsetY", [](const Sim& s) { return I(s.trackside.SignalOffsetY); });
  // Derived at load.
  Add("StartStation", [](const Sim& s) { return I(s.StartStation); });
  Add("StationMenuEnd", [](const Sim& s) { return I(s.EndStation); });
  Add("CheckPointCount", [](const Sim& s) { return I(s.derived.CheckPoints.Count()); });
  Add("DriveSoundCount", [](const Sim& s) { return I(s.sounds.Layout.DriveSoundCount); });
  Add("EngineSound1Count", [](const Sim& s) { return I(s.sounds.Layout.EngineSound1Count); });
  Add("EngineSound3Count", [](const Sim& s) { return I(s.sounds.Layout.EngineSound3Count); });
  Add("KankoChannel", [](const Sim& s) { return I(s.sounds.Layout.KankoChannel()); });
  AddRows(
      "SoundSeconds", [](const Sim& s) { return static_cast<int>(s.sounds.SoundSeconds.size()); },
      [](const Sim& s, int i) { return I(s.sounds.SoundSeconds[static_cast<size_t>(i)]); });
  // Traction and dynamic-brake current.
  Add("TractiveForce", [](const Sim& s) { return ProbeValue(s.traction.TractiveForce); });
  Add("MotorForce", [](const Sim& s) { return ProbeValue(s.traction.MotorForce); });
  Add("CurrentStepIdx", [](const Sim& s) { return I(s.traction.CurrentStepIdx); });
  Add("StepDelayRun", [](const Sim& s) { return I(s.traction.StepDelayRun); });
  Add("StepDelayCnt", [](const Sim& s) { return I(s.traction.StepDelayCnt); });
  Add("StepAdvanced", [](const Sim& s) { return I(s.traction.StepAdvanced); });
  Add("NotchCurrent", [](const Sim& s) { return I(s.traction.NotchCurrent); });
  Add("CurrentBIdx", [](const Sim& s) { return I(s.traction.CurrentBIdx); });
  Add("EBrakeCurrent", [](const Sim& s) { return ProbeValue(s.traction.EBrakeCurrent); });
  Add("AmMeterTarget", [](const Sim& s) { return I(s.traction.AmMeterTarget); });
  Add("AmMeterValue", [](const Sim& s) { return I(s.traction.AmMeterValue); });
  Add("LineVoltage", [](const Sim& s) { return ProbeValue(s.traction.LineVoltage); });
  // Brakes and air.
  Add("BcPressM", [](const Sim& s) { return ProbeValue(s.brakes.BcPressM); });
  Add("BcPressT", [](const Sim& s) { return ProbeValue(s.brakes.BcPressT); });
  Add("ErPress", [](const Sim& s) { return ProbeValue(s.brakes.ErPress); });
  Add("MrPress", [](const Sim& s) { return ProbeValue(s.brakes.MrPress); });
  Add("SapPress", [](const Sim& s) { return ProbeValue(s.brakes.SapPress); });
  Add("BpPress", [](const Sim& s) { return ProbeValue(s.brakes.BpPress); });
  Add("FeedPress", [](const Sim& s) { return ProbeValue(s.brakes.FeedPress); });
  Add("CompressorOn", [](const Sim& s) { return I(s.brakes.CompressorOn); });
  Add("ShoeFriction", [](const Sim& s) { return ProbeValue(s.brakes.ShoeFriction); });
  Add("BrakeForce", [](const Sim& s) { return ProbeValue(s.brakes.BrakeForce); });
  // Motion.
  Add("Speed", [](const Sim& s) { return ProbeValue(s.dynamics.Speed); });
  Add("PositionStep", [](const Sim& s) { return ProbeValue(s.dynamics.PositionStep); });
  Add("RemainDist", [](const Sim& s) { return ProbeValue(s.dynamics.RemainDist); });
  Add("PredictedSpeed", [](const Sim& s) { return ProbeValue(s.dynamics.PredictedSpeed); });
  Add("Resistance", [](const Sim& s) { return ProbeValue(s.dynamics.Resistance); });
  Add("Adhesion", [](const Sim& s) { return ProbeValue(s.dynamics.Adhesion); });
  Add("AdhesionLimit", [](const Sim& s) { return ProbeValue(s.dynamics.AdhesionLimit); });
  Add("SlipText", [](const Sim& s) { return ProbeValue(s.dynamics.SlipText); });
  Add("HeadGradient", [](const Sim& s) { return ProbeValue(s.dynamics.HeadGradient); });
  Add("GradientText", [](const Sim& s) { return ProbeValue(s.dynamics.GradientText); });
  Add("GradientAbsText", [](const Sim& s) { return ProbeValue(s.dynamics.GradientAbsText); });
  AddRows(
      "CarGradient", [](const Sim& s) { return static_cast<int>(s.dynamics.CarGradient.size()); },
      [](const Sim& s, int i) { return I(s.dynamics.CarGradient[static_cast<size_t>(i)]); });
  Add("LastGradientPos", [](const Sim& s) { return ProbeValue(s.dynamics.LastGradientPos); });
  Add("Gradient", [](const Sim& s) { return ProbeValue(s.dynamics.Gradient); });
  Add("FilmSpeed", [](const Sim& s) { return I(s.dynamics.FilmSpeed); });
  Add("FilmSegment", [](const Sim& s) { return I(s.dynamics.FilmSegment); });
  Add("InTunnel", [](const Sim& s) { return I(s.dynamics.InTunnel); });
  Add("NoAccel", [](const Sim& s) { return I(s.dynamics.NoAccel); });
  // Diesel engine.
  Add("Gear", [](const Sim& s) { return I(s.diesel.Gear); });
  Add("EngineRpm", [](const Sim& s) { return ProbeValue(s.diesel.EngineRpm); });
  Add("EngineRpmTarget", [](const Sim& s) { return ProbeValue(s.diesel.EngineRpmTarget); });
  Add("EngineRunning", [](const Sim& s) { return I(s.diesel.EngineRunning); });
  Add("EngineSwitchTicks", [](const Sim& s) { return I(s.diesel.EngineSwitchTicks); });
  Add("GearShiftState", [](const Sim& s) { return I(s.diesel.GearShiftState); });
  Add("ShiftTimer", [](const Sim& s) { return I(s.diesel.ShiftTimer); });
  // Protection demands and the film state the dynamics read.
  Add("EmergencyTrip", [](const Sim& s) { return I(s.protection.EmergencyTrip); });
  Add("ATSTrip", [](const Sim& s) { return I(s.protection.ATSTrip); });
  Add("MovieState", [](const Sim& s) { return I(s.film.MovieState); });
  // The train and the stations as the run starts.
  Add("Position", [](const Sim& s) { return ProbeValue(s.dynamics.Position); });
  Add("NextStopPos", [](const Sim& s) { return ProbeValue(s.station.NextStopPos); });
  Add("DoorState", [](const Sim& s) { return I(s.station.DoorState); });
  Add("DoorOpening", [](const Sim& s) { return I(s.station.DoorOpening); });
  Add("DepartureCount", [](const Sim& s) { return I(s.station.DepartureCount); });
  Add("StationText", [](const Sim& s) { return ProbeValue(s.station.StationText); });
  // Handle and keys.
  Add("Reverser", [](const Sim& s) { return I(s.handle.Reverser); });
  Add("PowerNotch", [](const Sim& s) { return I(s.handle.PowerNotch); });
  Add("BrakeNotch", [](const Sim& s) { return I(s.handle.BrakeNotch); });
  Add("HoldEngaged", [](const Sim& s) { return I(s.handle.HoldEngaged); });
  Add("HoldJustLeft", [](const Sim& s) { return I(s.handle.HoldJustLeft); });
  Add("PowerModeIdx", [](const Sim& s) { return I(s.handle.PowerModeIdx); });
  Add("SuppressPos", [](const Sim& s) { return I(s.handle.SuppressPos); });
  Add("GearLever", [](const Sim& s) { return I(s.handle.GearLever); });
  Add("ConstActive", [](const Sim& s) { return I(s.handle.ConstActive); });
  Add("SwapKeys", [](const Sim& s) { return I(s.handle.SwapKeys); });
  Add("VigilanceCount", [](const Sim& s) { return I(s.handle.VigilanceCount); });
  Add("ReverserText", [](const Sim& s) { return ProbeValue(s.handle.ReverserText); });
  Add("PowerText", [](const Sim& s) { return ProbeValue(s.handle.PowerText); });
  Add("BrakeText", [](const Sim& s) { return ProbeValue(s.handle.BrakeText); });
  Add("GearText", [](const Sim& s) { return ProbeValue(s.handle.GearText); });
  Add("PowerDelayRun", [](const Sim& s) { return I(s.delayed.PowerDelayRun); });
  Add("BrakeDelayRun", [](const Sim& s) { return I(s.delayed.BrakeDelayRun); });
  Add("SapDelayRun", [](const Sim& s) { return I(s.delayed.SapDelayRun); });
  Add("EBrakeDelayRun", [](const Sim& s) { return I(s.delayed.EBrakeDelayRun); });
  Add("PowerDelayCnt", [](const Sim& s) { return I(s.delayed.PowerDelayCnt); });
  Add("BrakeDelayCnt", [](const Sim& s) { return I(s.delayed.BrakeDelayCnt); });
  Add("SapDelayCnt", [](const Sim& s) { return I(s.delayed.SapDelayCnt); });
  Add("EBrakeDelayCnt", [](const Sim& s) { return I(s.delayed.EBrakeDelayCnt); });
  Add("AppliedNotch", [](const Sim& s) { return I(s.delayed.AppliedNotch); });
  Add("LastBrakeNotch", [](const Sim& s) { return I(s.delayed.LastBrakeNotch); });
  Add("SapNotch", [](const Sim& s) { return I(s.delayed.SapNotch); });
  Add("EBrakeNotch", [](const Sim& s) { return I(s.delayed.EBrakeNotch); });
  Add("HornKey", [](const Sim& s) { return I(s.keys.HornKey); });
  Add("BuzzerKey", [](const Sim& s) { return I(s.keys.BuzzerKey); });
  Add("EngineSwitch", [](const Sim& s) { return I(s.keys.EngineSwitch); });
  Add("CurrentLimitAdd", [](const Sim& s) { return I(s.keys.CurrentLimitAdd); });
  Add("DoorSideSelect", [](const Sim& s) { return I(s.keys.DoorSideSelect); });
  Add("DoorSideText", [](const Sim& s) { return ProbeValue(s.keys.DoorSideText); });
  Add("CabSurfaceTop", [](const Sim& s) { return I(s.keys.CabSurfaceTop); });
  // External controllers.
  Add("HornPad", [](const Sim& s) { return I(s.keys.HornPad); });
  Add("ControllerType", [](const Sim& s) { return I(s.controllers.ControllerType); });
  Add("DebugOption", [](const Sim& s) { return I(s.controllers.DebugOption); });
  Add("RxResult", [](const Sim& s) { return ProbeValue(s.controllers.RxResult); });
  Add("ValueDisplayCaption", [](const Sim& s) { return ProbeValue(s.controllers.ValueDisplayCaption); });
  Add("LastReading", [](const Sim& s) { return I(s.controllers.LastReading); });
  Add("LastScanPower", [](const Sim& s) { return I(s.controllers.LastScanPower); });
  Add("LastScanBrake", [](const Sim& s) { return I(s.controllers.LastScanBrake); });
  // Settings.
  Add("KankoSetting", [](const Sim& s) { return I(s.files.Settings.KankoSetting); });
  Add("InformationSetting", [](const Sim& s) { return I(s.files.Settings.InformationSetting); });
  Add("ATSSetting", [](const Sim& s) { return I(s.files.Settings.ATSSetting); });
  Add("TunnelSetting", [](const Sim& s) { return I(s.files.Settings.TunnelSetting); });
  Add("MojiSetting", [](const Sim& s) { return I(s.files.Settings.MojiSetting); });
}

const StateProbe::Entry* StateProbe::Find(std::string_view name, int& index) const {
  index = -1;
  std::string_view base = name;
  size_t open = name.find('[');
  if (open != std::string_view::npos) {
    if (name.back() != ']') return nullptr;
    auto n = ParseInt(name.substr(open + 1, name.size() - open - 2));
    if (!n || *n < 0) return nullptr;
    index = *n;
    base = name.substr(0, open);
  }
  for (const auto& e : entries_) {
    if (e.name != base) continue;
    if ((index >= 0) != static_cast<bool>(e.row)) return nullptr;
    return &e;
  }
  return nullptr;
}

bool StateProbe::Known(std::string_view name) const {
  int index;
  return Find(name, index) != nullptr;
}

std::optional<ProbeValue> StateProbe::Read(const Sim& sim, std::string_view name) const {
  int index;
  const Entry* e = Find(name, index);
  if (!e) return std::nullopt;
  if (!e->row) return e->get(sim);
  if (index >= e->count(sim)) return std::nullopt;
  return e->row(sim, index);
}

std::vector<std::string> StateProbe::Names() const {
  std::vector<std::string> names;
  for (const auto& e : entries_) names.push_back(e.row ? e.name + "[i]" : e.name);
  return names;
}

std::string StateProbe::Format(const ProbeValue& value) {
  struct Visitor {
    std::string operator()(int64_t v) const { return std::to_string(v); }
    std::string operator()(Fixed4 v) const { return FormatFixed(v); }
    std::string operator()(long double v) const { return FormatReal(static_cast<double>(v)); }
    std::string operator()(const std::string& v) const {
      std::string out = "\"";
      for (char c : v) {
        if (c == '"') out += '"';
        out += c;
      }
      return out + "\"";
    }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace kavrin

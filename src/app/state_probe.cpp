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
  Add("StationCount", [](const Sim& s) { return I(s.route.Stations.Count()); });
  Add("SignalCount", [](const Sim& s) { return I(s.route.Signals.Count()); });
  Add("SpeedUnitCount", [](const Sim& s) { return I(s.route.SpeedUnits.Count()); });
  Add("SoundDataCount", [](const Sim& s) { return I(s.route.SoundData.Count()); });
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

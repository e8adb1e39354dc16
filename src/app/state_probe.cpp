// Gathers every owner's names into the one table the trace and the value display read.
#include "app/state_probe.h"

#include "controls/controls_probe.h"
#include "core/numbers.h"
#include "data/data_probe.h"
#include "dynamics/dynamics_probe.h"
#include "presentation/presentation_probe.h"
#include "signalling/signalling_probe.h"
#include "sound/sound_probe.h"

namespace kavrin {

namespace {
// What the run itself holds: its loops' flags, the clock and what the load worked out.
TProbeNames<Sim> RunProbeNames() {
  static const TProbeName<Sim> kNames[] = {
      {"running", [](const Sim& s) { return ProbeInt(s.run.running); }},
      {"Closed", [](const Sim& s) { return ProbeInt(s.run.Closed); }},
      {"TickCount", [](const Sim& s) { return ProbeInt(s.run.TickCount); }},
      {"FadeOut", [](const Sim& s) { return ProbeInt(s.run.FadeOut); }},
      {"LastFrame", [](const Sim& s) { return ProbeInt(s.run.LastFrame); }},
      {"FrameRate", [](const Sim& s) { return ProbeInt(s.run.Fps); }},
      {"Fps", [](const Sim& s) { return ProbeInt(s.run.Fps); }},
      {"ClockTime", [](const Sim& s) { return ProbeInt(s.clock.ClockTime); }},
      {"ClockText", [](const Sim& s) { return ProbeValue(s.clock.ClockText); }},
      {"ChannelResumeState", nullptr, [](const Sim&) { return SoundBank::ChannelCount; },
       [](const Sim& s, int i) { return ProbeInt(s.run.ChannelResumeState[i]); }},
      {"StartStation", [](const Sim& s) { return ProbeInt(s.StartStation); }},
      {"StationMenuEnd", [](const Sim& s) { return ProbeInt(s.StationMenuEnd); }},
      {"EndStation", [](const Sim& s) { return ProbeInt(s.StationMenuEnd); }},
      {"CheckPointCount", [](const Sim& s) { return ProbeInt(s.derived.CheckPoints.Count()); }},
  };
  return kNames;
}

const Sim& OfRun(const Sim& s) { return s; }
const TFilmState& OfFilm(const Sim& s) { return s.film; }
const TPanelState& OfPanel(const Sim& s) { return s.panel; }
const TCabView& OfView(const Sim& s) { return s.view; }
const TVehicleParams& OfVehicleParam(const Sim& s) { return s.vehicle.veh; }
const TRouteTables& OfRoute(const Sim& s) { return s.route; }
const TTracksideImages& OfTrackside(const Sim& s) { return s.trackside; }
const TSoundState& OfSound(const Sim& s) { return s.sounds; }
const TRunningSoundState& OfRunningSound(const Sim& s) { return s.runningSounds; }
const TCallingState& OfCalling(const Sim& s) { return s.calling; }
const TTractionState& OfTraction(const Sim& s) { return s.traction; }
const TBrakeState& OfBrake(const Sim& s) { return s.brakes; }
const TDynamicsState& OfMotion(const Sim& s) { return s.dynamics; }
const TDieselState& OfDiesel(const Sim& s) { return s.diesel; }
const TProtectionState& OfProtection(const Sim& s) { return s.protection; }
const TStationState& OfStation(const Sim& s) { return s.station; }
const THandleState& OfHandle(const Sim& s) { return s.handle; }
const TDelayedHandle& OfDelayedHandle(const Sim& s) { return s.delayed; }
const TKeyState& OfKey(const Sim& s) { return s.keys; }
const TControllerState& OfController(const Sim& s) { return s.controllers; }
const TSettings& OfSettings(const Sim& s) { return s.files.Settings; }
}  // namespace

StateProbe::StateProbe() {
  AddOwner<Sim, OfRun>(RunProbeNames());
  AddOwner<TFilmState, OfFilm>(FilmProbeNames());
  AddOwner<TPanelState, OfPanel>(PanelProbeNames());
  AddOwner<TCabView, OfView>(SpriteProbeNames());
  AddOwner<TVehicleParams, OfVehicleParam>(VehicleParamProbeNames());
  AddOwner<TRouteTables, OfRoute>(RouteProbeNames());
  AddOwner<TTracksideImages, OfTrackside>(TracksideProbeNames());
  AddOwner<TSoundState, OfSound>(SoundProbeNames());
  AddOwner<TRunningSoundState, OfRunningSound>(RunningSoundProbeNames());
  AddOwner<TCallingState, OfCalling>(CallingProbeNames());
  AddOwner<TTractionState, OfTraction>(TractionProbeNames());
  AddOwner<TBrakeState, OfBrake>(BrakeProbeNames());
  AddOwner<TDynamicsState, OfMotion>(MotionProbeNames());
  AddOwner<TDieselState, OfDiesel>(DieselProbeNames());
  AddOwner<TProtectionState, OfProtection>(ProtectionProbeNames());
  AddOwner<TStationState, OfStation>(StationProbeNames());
  AddOwner<THandleState, OfHandle>(HandleProbeNames());
  AddOwner<TDelayedHandle, OfDelayedHandle>(DelayedHandleProbeNames());
  AddOwner<TKeyState, OfKey>(KeyProbeNames());
  AddOwner<TControllerState, OfController>(ControllerProbeNames());
  AddOwner<TSettings, OfSettings>(SettingsProbeNames());
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
    if ((index >= 0) != e.rows) return nullptr;
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
  if (e->rows && index >= e->count(e->probe, sim)) return std::nullopt;
  return e->read(e->probe, sim, index);
}

std::vector<std::string> StateProbe::Names() const {
  std::vector<std::string> names;
  for (const auto& e : entries_) names.push_back(std::string(e.name) + (e.rows ? "[i]" : ""));
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

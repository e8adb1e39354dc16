#include "app/check_dump.h"

#include <nlohmann/json.hpp>

#include "data/settings.h"

namespace kavrin {

std::string CheckDump(const Sim& sim) {
  nlohmann::ordered_json j;
  const TRouteTables& r = sim.route;

  nlohmann::ordered_json stations = nlohmann::ordered_json::array();
  for (const StationData& s : r.Stations) {
    stations.push_back({{"Name", s.Name},
                        {"trntype", s.trntype},
                        {"position", s.position},
                        {"position_s", s.position_s},
                        {"position_e", s.position_e},
                        {"deptime", s.deptime}});
  }
  j["stations"] = std::move(stations);

  nlohmann::ordered_json points = nlohmann::ordered_json::array();
  for (const TCheckPointRec& p : sim.derived.CheckPoints) {
    points.push_back({{"Pos", p.Pos},
                      {"Value", p.Value},
                      {"SignalIndex", p.SignalIndex},
                      {"StationIndex", p.StationIndex},
                      {"Kind", p.Kind}});
  }
  j["CheckPoints"] = std::move(points);

  nlohmann::ordered_json units = nlohmann::ordered_json::array();
  for (const TSpeedUnitRec& u : r.SpeedUnits) {
    units.push_back({{"FromFrame", u.FromFrame}, {"ToFrame", u.ToFrame}, {"EndPos", u.EndPos}});
  }
  j["SpeedUnits"] = std::move(units);

  j["ClockTime"] = sim.clock.ClockTime;
  j["CurFrame"] = sim.film.CurFrame;
  j["Position"] = static_cast<double>(sim.dynamics.Position);

  const TChannelLayout& l = sim.sounds.Layout;
  j["channels"] = {{"DriveSoundCount", l.DriveSoundCount},
                   {"SoundDataCount", l.SoundDataCount},
                   {"EngineSound1Count", l.EngineSound1Count},
                   {"EngineSound3Count", l.EngineSound3Count},
                   {"KankoChannel", l.KankoChannel()}};

  nlohmann::ordered_json sprites = nlohmann::ordered_json::array();
  for (const TSprite& sp : sim.view.DXSpriteEngine1.Sprites()) {
    const TPictureEntry* entry = sim.view.ImageList1.Get(sp.Image);
    sprites.push_back({{"picture", entry ? entry->Name : std::string()},
                       {"X", sp.X},
                       {"Y", sp.Y},
                       {"Z", sp.Z},
                       {"Width", sp.Width},
                       {"Height", sp.Height},
                       {"AnimStart", sp.AnimStart},
                       {"Visible", sp.Visible},
                       {"Alpha", sp.Alpha}});
  }
  j["sprites"] = std::move(sprites);

  nlohmann::ordered_json menu = nlohmann::ordered_json::array();
  for (const TMoveMenuItem& item : sim.derived.MoveMenu) menu.push_back({{"Caption", item.Caption}, {"Name", item.Name}});
  j["moveMenu"] = std::move(menu);

  // The route sounds' lengths, one per "[SoundData]" row.
  nlohmann::ordered_json seconds = nlohmann::ordered_json::array();
  for (int32_t i = 0; i < l.SoundDataCount; ++i) seconds.push_back(sim.sounds.SoundSeconds[static_cast<size_t>(i)]);
  j["SoundSeconds"] = std::move(seconds);

  j["FrameCount"] = sim.film.FrameCount;
  const TSettings& s = sim.files.Settings;
  nlohmann::ordered_json settings = nlohmann::ordered_json::object();
  for (const TSettingField& f : kSettingFields) settings[f.Name] = s.*f.Field;
  j["settings"] = std::move(settings);
  // A name that did not decode stays readable rather than failing the whole dump.
  return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string LoadFailureDump(const LoadError& error) {
  const TLoadPlace& p = error.Place();
  nlohmann::ordered_json j = {{"message", error.what()}, {"file", p.File}, {"line", p.Line},
                              {"label", p.Label},        {"text", p.Text}, {"missing", p.Missing}};
  return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace kavrin

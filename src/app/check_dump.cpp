#include "app/check_dump.h"

#include <nlohmann/json.hpp>

namespace kavrin {

std::string CheckDump(const Sim& sim) {
  nlohmann::ordered_json j;
  j["ClockTime"] = sim.clock.ClockTime;
  j["CurFrame"] = sim.film.CurFrame;
  j["FrameCount"] = sim.film.FrameCount;
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
  const TSettings& s = sim.files.Settings;
  j["settings"] = {{"Kanko", s.KankoSetting},
                   {"Information", s.InformationSetting},
                   {"ATS", s.ATSSetting},
                   {"Tunnel", s.TunnelSetting},
                   {"Moji", s.MojiSetting}};
  return j.dump(2);
}

}  // namespace kavrin

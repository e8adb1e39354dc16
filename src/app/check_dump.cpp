#include "app/check_dump.h"

#include <nlohmann/json.hpp>

namespace kavrin {

std::string CheckDump(const Sim& sim) {
  nlohmann::ordered_json j;
  j["ClockTime"] = sim.clock.ClockTime;
  j["CurFrame"] = sim.film.CurFrame;
  j["FrameCount"] = sim.film.FrameCount;
  const TSettings& s = sim.files.Settings;
  j["settings"] = {{"Kanko", s.KankoSetting},
                   {"Information", s.InformationSetting},
                   {"ATS", s.ATSSetting},
                   {"Tunnel", s.TunnelSetting},
                   {"Moji", s.MojiSetting}};
  return j.dump(2);
}

}  // namespace kavrin

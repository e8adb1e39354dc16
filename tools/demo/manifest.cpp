#include "demo/manifest.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "core/rounding.h"
#include "demo/assets.h"

namespace kavrin::demo {

namespace {

using nlohmann::ordered_json;

// Distances go out as whole cm plus the exact value, so a reader can compare with the rounded
// positions the program derives and still see the unrounded one.
ordered_json Object(const std::string& kind, const std::string& name, const Placed& p) {
  ordered_json o;
  o["kind"] = kind;
  o["name"] = name;
  o["frame"] = p.Frame;
  o["cm"] = static_cast<long long>(Round(p.Cm));
  o["cm_exact"] = static_cast<double>(p.Cm);
  return o;
}

}  // namespace

std::string ManifestJson(const std::vector<FilmRecord>& films) {
  ordered_json root;
  root["line"] = kLineName;
  root["frames_per_second"] = kFilmFps;
  root["film_width"] = kFilmWidth;
  root["film_height"] = kFilmHeight;
  ordered_json list = ordered_json::array();
  for (const FilmRecord& f : films) {
    const Route& r = f.route;
    ordered_json j;
    j["film"] = f.film;
    j["route_files"] = f.routeFiles;
    j["frame_count"] = r.Film.FrameCount();
    j["length_cm"] = static_cast<long long>(Round(r.Film.Cm(r.Film.FrameCount() - 1)));
    ordered_json objects = ordered_json::array();
    for (const RouteStation& s : r.Stations) {
      objects.push_back(Object(s.TrnType == 0 ? "stop" : "pass", s.Name, s.Stop));
    }
    for (const RouteSignal& s : r.Signals) {
      ordered_json o = Object("signal", s.Plate, s.At);
      o["type"] = s.Type;
      objects.push_back(o);
    }
    for (const RouteLimit& l : r.Limits) {
      objects.push_back(Object("limit_board", std::to_string(l.Speed), l.From));
      objects.push_back(Object("limit_release", std::to_string(l.Speed), l.To));
    }
    for (const RouteSlope& s : r.Slopes) {
      objects.push_back(Object("gradient_post", "", s.From));
      objects.push_back(Object("gradient_end", "", s.To));
      objects.back()["permille"] = s.Permille;
      objects[objects.size() - 2]["permille"] = s.Permille;
    }
    for (const RouteTunnel& t : r.Tunnels) {
      objects.push_back(Object("tunnel_entrance", "", t.From));
      objects.push_back(Object("tunnel_exit", "", t.To));
    }
    for (const RouteCrossing& c : r.Crossings) objects.push_back(Object("level_crossing", c.Road, c.At));
    for (const RouteSign& s : r.Signs) objects.push_back(Object("sign", s.Text, s.At));
    j["objects"] = objects;
    ordered_json inserts = ordered_json::array();
    for (const RouteInsert& in : r.Inserts) {
      ordered_json o;
      o["film"] = "move/" + InsertBaseName(r, in) + ".avi";
      o["station"] = in.Station;
      o["frame_count"] = in.Frames;
      inserts.push_back(o);
    }
    j["inserts"] = inserts;
    ordered_json poles = ordered_json::array();
    for (double m : r.Poles) poles.push_back(m);
    j["poles_m"] = poles;
    list.push_back(j);
  }
  root["films"] = list;
  return root.dump(1) + "\n";
}

}  // namespace kavrin::demo

#pragma once
// A record of what each film shows and where: every object that a route row names, with the
// frame the route file gives it and the distance at which the renderer drew it. Tests read it
// back beside the route files to prove that the pictures and the tables agree.
#include <string>
#include <vector>

#include "demo/line.h"

namespace kavrin::demo {

struct FilmRecord {
  Route route;
  std::vector<std::string> routeFiles;  // the ".dat" and ".dat0" that run this film
  std::string film;                     // relative path of the film
};

std::string ManifestJson(const std::vector<FilmRecord>& films);

}  // namespace kavrin::demo

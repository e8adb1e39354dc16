#pragma once
#include <string>
#include <vector>

#include "demo/films.h"
#include "demo/line.h"

namespace kavrin::demo {

// The title screen's pictures: four title pictures, the menu picture, the six line pictures and
// the two train pictures. `folder` ends with a slash.
void WriteTitlePictures(const std::vector<Route>& routes, const std::string& folder);

// The opening film, a few seconds from the front of the train with the title over it.
FilmStats WriteOpeningFilm(const Route& route, const std::string& path);

}  // namespace kavrin::demo

#pragma once
#include <string>

#include "demo/line.h"

namespace kavrin::demo {

// The pictures a route file names: the trackside signs and signals drawn over the film, the
// timetable card, the still shown before the start and the small line map. Shared pictures are
// written again by each route with the same bytes. `folder` ends with a slash.
void WriteRoutePictures(const Route& route, const std::string& folder);

}  // namespace kavrin::demo

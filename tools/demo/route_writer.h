#pragma once
#include <string>

#include "demo/data_text.h"
#include "demo/line.h"

namespace kavrin::demo {

// The route file of one direction; `diesel` writes the ".dat0" sibling that goes with the
// diesel train.
DataText RouteFileText(const Route& route, bool diesel);

}  // namespace kavrin::demo

#pragma once
// The derived state of a loaded run as one JSON object, for route authors and tests.
#include <string>

#include "app/sim.h"

namespace kavrin {

std::string CheckDump(const Sim& sim);

}  // namespace kavrin

#pragma once
// The derived state of a loaded run as one JSON object, for route authors and tests.
#include <string>

#include "app/sim.h"
#include "core/load_error.h"

namespace kavrin {

std::string CheckDump(const Sim& sim);

// A load that failed: the message the window shows and where it arose (`message`, `file`,
// `line`, `label`, `text`, `missing`).
std::string LoadFailureDump(const LoadError& error);

}  // namespace kavrin

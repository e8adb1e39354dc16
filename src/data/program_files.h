#pragma once
// What every run reads before its train and route: the persisted settings, the controller map,
// "mascon.dat" and "ostrel.dat", in that order.
#include <string>

#include "core/key_value_store.h"
#include "data/mascon_file.h"
#include "data/settings.h"
#include "data/string_file.h"

namespace kavrin {

struct TProgramFiles {
  TSettings Settings;
  TControllerMap ControllerMap{};
  TMasconFile Mascon;
  TStringFile Strings;
};

// Throws LoadError with the message of the file that failed.
TProgramFiles LoadProgramFiles(const std::string& programFolder, KeyValueStore& store);

}  // namespace kavrin

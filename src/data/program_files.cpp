#include "data/program_files.h"

#include "core/paths.h"

namespace kavrin {

TProgramFiles LoadProgramFiles(const std::string& programFolder, KeyValueStore& store) {
  TProgramFiles p;
  p.Settings = ReadSettings(store);
  p.ControllerMap = ReadControllerMap(store);
  p.Mascon = LoadMasconFile(ResolveDataPath(programFolder, kMasconFileName));
  p.Strings = LoadStringFile(ResolveDataPath(programFolder, kStringFileName));
  return p;
}

}  // namespace kavrin

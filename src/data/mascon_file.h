#pragma once
// "mascon.dat": the command strings of the serial master controller, one per line, up to the
// first line that starts with "#".
#include <array>
#include <string>

#include "data/data_file.h"

namespace kavrin {

inline constexpr const char* kMasconFileName = "mascon.dat";

struct TMasconFile {
  std::array<std::string, 26> MasconLines;
  int Count = 0;
};

TMasconFile ReadMasconFile(DataFile& file);
// Throws LoadError "mascon.datが見つかりません" when the file cannot be read.
TMasconFile LoadMasconFile(const std::string& path);

}  // namespace kavrin

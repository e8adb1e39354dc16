#pragma once
#include <string>

namespace kavrin::demo {

struct GenerateOptions {
  bool films = true;   // the films take most of the time; tests of the tables go without them
  bool sounds = true;
  int threads = 2;     // films are rendered side by side
};

// Fills `folder` with the whole demo data. An existing folder is emptied first, but only when it
// is one that this generator made (or empty), so a wrong path cannot cost anyone their files.
// Throws std::runtime_error with the reason on failure.
void Generate(const std::string& folder, const GenerateOptions& options);

}  // namespace kavrin::demo

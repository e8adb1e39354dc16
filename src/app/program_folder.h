#pragma once
#include <string>

namespace kavrin {

// The data folder: the one given on the command line, else the working folder when it holds
// "ostrel.dat", else the folder of the executable. Always ends with "/".
std::string FindProgramFolder(const std::string& given, const std::string& executablePath);

}  // namespace kavrin

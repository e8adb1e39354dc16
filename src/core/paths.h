#pragma once
#include <string>
#include <string_view>

namespace kavrin {

// A file name written in a data file (Windows style: backslashes, any letter case) resolved
// against a folder on this machine. When the exact path does not exist, each component is
// matched without regard to ASCII letter case. A drive-letter path is not followed: it is
// returned as written, so opening it fails with the usual message.
std::string ResolveDataPath(std::string_view folder, std::string_view name);

// Joins a folder and a relative name with one slash, backslashes turned into slashes.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace kavrin

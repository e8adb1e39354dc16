#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// The n-th comma-separated field (n from 1), untrimmed; "Error" past the last field, empty for
// n <= 0. A trailing comma makes one more, empty, field.
std::string CsvField(std::string_view line, int n);

// Split a path at its last backslash (or slash): part 0 is the folder with the separator, part 1
// the file name (at most 256 characters).
std::string SplitPath(std::string_view path, int part);

// Lines of a text, ended by CR LF, LF or a lone CR; a final line without an end still counts.
std::vector<std::string> SplitLines(std::string_view text);

// Blanks (spaces, tabs) removed from both ends.
std::string_view TrimBlanks(std::string_view s);

}  // namespace kavrin

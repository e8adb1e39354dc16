#include "core/text.h"

#include <cstddef>

namespace kavrin {

std::string CsvField(std::string_view line, int n) {
  if (n <= 0) return {};
  std::string_view rest = line;
  for (int i = 1; i < n; ++i) {
    size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return "Error";
    rest.remove_prefix(comma + 1);
  }
  return std::string(rest.substr(0, rest.find(',')));
}

std::string SplitPath(std::string_view path, int part) {
  size_t cut = path.find_last_of("\\/");
  std::string_view folder = cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut + 1);
  if (part == 0) return std::string(folder);
  std::string_view name = path.substr(folder.size());
  // The limit counts characters, not bytes: stop before the 257th UTF-8 lead byte.
  size_t chars = 0, end = 0;
  for (; end < name.size(); ++end) {
    if ((static_cast<unsigned char>(name[end]) & 0xC0) != 0x80 && ++chars > 256) break;
  }
  return std::string(name.substr(0, end));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace kavrin

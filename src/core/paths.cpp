#include "core/paths.h"

#include <filesystem>
#include <system_error>

namespace kavrin {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string_view s) {
  std::string out(s);
  for (char& c : out) if (c == '\\') c = '/';
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsDrivePath(std::string_view s) {
  return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string a = Slashes(folder), b = Slashes(name);
  while (!b.empty() && b.front() == '/') b.erase(0, 1);
  if (a.empty()) return b;
  if (a.back() != '/') a += '/';
  return a + b;
}

std::string ResolveDataPath(std::string_view folder, std::string_view name) {
  if (IsDrivePath(name)) return std::string(name);
  std::string joined = JoinPath(folder, name);
  std::error_code ec;
  if (fs::exists(joined, ec)) return joined;

  // Walk the relative part component by component, taking a case-insensitive match where the
  // exact one is missing. The folder itself is taken as given.
  std::string current = Slashes(folder);
  if (!current.empty() && current.back() == '/') current.pop_back();
  std::string rel = Slashes(name);
  size_t pos = 0;
  while (pos <= rel.size()) {
    size_t next = rel.find('/', pos);
    std::string part = rel.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
    pos = next == std::string::npos ? rel.size() + 1 : next + 1;
    if (part.empty() || part == ".") continue;
    std::string candidate = current.empty() ? part : current + "/" + part;
    if (part != ".." && !fs::exists(candidate, ec)) {
      bool found = false;
      fs::path dir = current.empty() ? fs::path(".") : fs::path(current);
      for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (EqualsNoCase(entry, part)) {
          candidate = current.empty() ? entry : current + "/" + entry;
          found = true;
          break;
        }
      }
      if (!found) return joined;
    }
    current = candidate;
  }
  return current;
}

}  // namespace kavrin

#include "app/program_folder.h"

#include <filesystem>
#include <system_error>

#include "data/string_file.h"

namespace kavrin {

namespace fs = std::filesystem;

namespace {
std::string WithSlash(std::string s) {
  if (s.empty()) return "./";
  if (s.back() != '/') s.push_back('/');
  return s;
}
}  // namespace

std::string FindProgramFolder(const std::string& given, const std::string& executablePath) {
  if (!given.empty()) return WithSlash(given);
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  if (!ec && fs::exists(cwd / kStringFileName, ec)) return WithSlash(cwd.string());
  fs::path exe = fs::weakly_canonical(fs::path(executablePath), ec);
  return WithSlash(exe.parent_path().string());
}

}  // namespace kavrin

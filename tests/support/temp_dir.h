#pragma once
// A folder of its own for one test, removed afterwards, with helpers to write fixture files.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace kavrin::test {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("kavrin-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string str() const { return path_.string() + "/"; }
  const std::filesystem::path& path() const { return path_; }

  // Writes bytes as they are (CP932 fixtures stay CP932).
  std::string Write(std::string_view relative, std::string_view bytes) const {
    std::filesystem::path p = path_ / std::filesystem::path(std::string(relative));
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kavrin::test

#pragma once
// A film of a given length whose frames are one grey level each, for tests of the run.
#include <map>
#include <string>

#include "presentation/film_source.h"

namespace kavrin::test {

class FakeFilmSource : public FilmSource {
 public:
  // path -> length in frames; any other path fails to open with `missingCode`.
  std::map<std::string, int32_t> films;
  int32_t missingCode = OpenError;
  std::string opened;

  int32_t AviOpen(const std::string& path) override {
    auto it = films.find(path);
    opened = it == films.end() ? std::string() : path;
    length_ = it == films.end() ? 0 : it->second;
    return it == films.end() ? missingCode : Opened;
  }
  bool IsOpen() const override { return !opened.empty(); }
  int32_t FilmLength() const override { return length_; }
  bool AviFrame(int32_t n, FilmFrame& picture) override {
    if (!IsOpen() || n < 0 || n >= length_) return false;
    picture.Width = 4;
    picture.Height = 3;
    picture.Rgba.assign(4 * 3 * 4, static_cast<uint8_t>(n % 256));
    return true;
  }

 private:
  int32_t length_ = 0;
};

}  // namespace kavrin::test

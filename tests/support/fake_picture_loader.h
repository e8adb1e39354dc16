#pragma once
// Pictures for tests without an image library: files are paths in a map, and every request is
// recorded.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"

namespace kavrin::test {

// A picture of one colour with a different bottom-left pixel, so that the colour key shows
// where it came from.
inline Picture SolidPicture(int32_t w, int32_t h, Rgb fill, Rgb bottomLeft) {
  Picture p;
  p.Width = w;
  p.Height = h;
  p.Rgba.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      Rgb c = (x == 0 && y == h - 1) ? bottomLeft : fill;
      size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
      p.Rgba[i] = c.R;
      p.Rgba[i + 1] = c.G;
      p.Rgba[i + 2] = c.B;
      p.Rgba[i + 3] = 255;
    }
  return p;
}

class FakePictureLoader : public PictureLoader {
 public:
  std::map<std::string, Picture> files;
  std::vector<std::string> requests;

  void Put(const std::string& path, int32_t w, int32_t h, Rgb bottomLeft = {1, 2, 3}) {
    files[path] = SolidPicture(w, h, {200, 200, 200}, bottomLeft);
  }

  std::optional<Picture> Load(const std::string& path) override {
    requests.push_back(path);
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
};

}  // namespace kavrin::test

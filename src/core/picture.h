#pragma once
// A decoded picture as the core sees it, and the service that decodes picture files. The core
// never touches an image library: the platform decodes BMP, JPEG and PNG into this form.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct Rgb {
  uint8_t R = 0, G = 0, B = 0;
  friend constexpr bool operator==(Rgb a, Rgb b) { return a.R == b.R && a.G == b.G && a.B == b.B; }
};

struct Picture {
  int32_t Width = 0;
  int32_t Height = 0;
  // Four bytes per pixel (R, G, B, A), rows from the top down, no padding.
  std::vector<uint8_t> Rgba;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  // Black outside the picture.
  Rgb ColorAt(int32_t x, int32_t y) const {
    if (!Contains(x, y)) return {};
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 4;
    if (i + 2 >= Rgba.size()) return {};
    return {Rgba[i], Rgba[i + 1], Rgba[i + 2]};
  }
};

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // Nothing when the file is missing, unreadable or not a picture.
  virtual std::optional<Picture> Load(const std::string& path) = 0;
};

}  // namespace kavrin

#pragma once
// A picture list of the cab view: named entries, each a loaded picture with its colour key and
// its cell size. Sprites refer to entries by index; entries are only ever appended (or replaced
// in place), so an index stays valid for the whole run.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture.h"

namespace kavrin {

struct CellRect {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  friend constexpr bool operator==(const CellRect&, const CellRect&) = default;
};

struct TPictureEntry {
  std::string Name;
  Picture Bitmap;
  // A new entry is keyed with black until told otherwise.
  bool Transparent = true;
  Rgb TransparentColor{};
  // 0 takes the whole picture in that direction.
  int32_t PatternWidth = 0;
  int32_t PatternHeight = 0;

  int32_t CellWidth() const { return PatternWidth > 0 ? PatternWidth : Bitmap.Width; }
  int32_t CellHeight() const { return PatternHeight > 0 ? PatternHeight : Bitmap.Height; }
  // Cells run left to right, then top to bottom. A picture smaller than its cell still shows as
  // one cell, cut to the picture.
  int32_t CellCount() const;
  std::optional<CellRect> Cell(int32_t index) const;
  // True where the pixel takes the colour key (only on keyed entries).
  bool IsKeyedOut(int32_t x, int32_t y) const;
  // The colour of the bottom-left pixel becomes the colour key.
  void KeyFromBottomLeft();
};

class PictureList {
 public:
  int32_t Add(TPictureEntry entry);
  // Index of the first entry of that name, ASCII letter case ignored; -1 when there is none.
  int32_t Find(std::string_view name) const;
  const TPictureEntry* Get(int32_t index) const;
  TPictureEntry* Get(int32_t index);
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  const std::vector<TPictureEntry>& Entries() const { return entries_; }

 private:
  std::vector<TPictureEntry> entries_;
};

// Loads a file into a new entry named `name`, keyed with its bottom-left pixel when
// `colorKey` is set (unkeyed otherwise), with the given cell size. Nothing when the file cannot
// be loaded; the list is then unchanged.
std::optional<TPictureEntry> LoadPictureEntry(PictureLoader& loader, const std::string& path,
                                              std::string name, bool colorKey,
                                              int32_t patternWidth = 0, int32_t patternHeight = 0);

}  // namespace kavrin

#include "presentation/picture_list.h"

#include <algorithm>
#include <utility>

namespace kavrin {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace

int32_t TPictureEntry::CellCount() const {
  if (Bitmap.Empty()) return 0;
  const int32_t w = CellWidth(), h = CellHeight();
  if (w <= 0 || h <= 0) return 0;
  return std::max(1, Bitmap.Width / w) * std::max(1, Bitmap.Height / h);
}

std::optional<CellRect> TPictureEntry::Cell(int32_t index) const {
  if (index < 0 || index >= CellCount()) return std::nullopt;
  const int32_t w = CellWidth(), h = CellHeight();
  const int32_t columns = std::max(1, Bitmap.Width / w);
  CellRect r;
  r.X = (index % columns) * w;
  r.Y = (index / columns) * h;
  r.Width = std::min(w, Bitmap.Width - r.X);
  r.Height = std::min(h, Bitmap.Height - r.Y);
  return r;
}

bool TPictureEntry::IsKeyedOut(int32_t x, int32_t y) const {
  return Transparent && Bitmap.Contains(x, y) && Bitmap.ColorAt(x, y) == TransparentColor;
}

void TPictureEntry::KeyFromBottomLeft() {
  Transparent = true;
  if (!Bitmap.Empty()) TransparentColor = Bitmap.ColorAt(0, Bitmap.Height - 1);
}

int32_t PictureList::Add(TPictureEntry entry) {
  entries_.push_back(std::move(entry));
  return static_cast<int32_t>(entries_.size()) - 1;
}

int32_t PictureList::Find(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (EqualsNoCase(entries_[i].Name, name)) return static_cast<int32_t>(i);
  return -1;
}

const TPictureEntry* PictureList::Get(int32_t index) const {
  return index >= 0 && index < Count() ? &entries_[static_cast<size_t>(index)] : nullptr;
}

TPictureEntry* PictureList::Get(int32_t index) {
  return index >= 0 && index < Count() ? &entries_[static_cast<size_t>(index)] : nullptr;
}

std::optional<TPictureEntry> LoadPictureEntry(PictureLoader& loader, const std::string& path,
                                              std::string name, bool colorKey,
                                              int32_t patternWidth, int32_t patternHeight) {
  std::optional<Picture> picture = loader.Load(path);
  if (!picture || picture->Empty()) return std::nullopt;
  // A short pixel buffer would have every reader of the entry run past its end.
  if (picture->Rgba.size() != static_cast<size_t>(picture->Width) * static_cast<size_t>(picture->Height) * 4)
    return std::nullopt;
  TPictureEntry e;
  e.Name = std::move(name);
  e.Bitmap = std::move(*picture);
  e.PatternWidth = patternWidth;
  e.PatternHeight = patternHeight;
  if (colorKey)
    e.KeyFromBottomLeft();
  else
    e.Transparent = false;
  return e;
}

}  // namespace kavrin

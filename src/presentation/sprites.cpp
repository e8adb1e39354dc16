#include "presentation/sprites.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace kavrin {

SpriteId SpriteEngine::Add(const TSprite& sprite) {
  sprites_.push_back(sprite);
  return static_cast<SpriteId>(sprites_.size()) - 1;
}

TSprite* SpriteEngine::Get(SpriteId id) {
  return id >= 0 && id < Count() ? &sprites_[static_cast<size_t>(id)] : nullptr;
}

const TSprite* SpriteEngine::Get(SpriteId id) const {
  return id >= 0 && id < Count() ? &sprites_[static_cast<size_t>(id)] : nullptr;
}

std::vector<SpriteId> SpriteEngine::DrawOrder() const {
  std::vector<SpriteId> order(sprites_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [this](SpriteId a, SpriteId b) {
    return sprites_[static_cast<size_t>(a)].Z < sprites_[static_cast<size_t>(b)].Z;
  });
  return order;
}

SpriteId CreateSprite(TCabView& view, int32_t image, double x, double y, int32_t z) {
  TSprite s;
  s.Image = image;
  s.X = x;
  s.Y = y;
  s.Z = z;
  if (const TPictureEntry* e = view.ImageList1.Get(image)) {
    s.Width = e->CellWidth();
    s.Height = e->CellHeight();
  }
  return view.DXSpriteEngine1.Add(s);
}

void ShowSprite(TCabView& view, SpriteId id, bool visible) {
  if (TSprite* s = view.DXSpriteEngine1.Get(id)) s->Visible = visible;
}

void SetSpriteCell(TCabView& view, SpriteId id, int32_t cell) {
  if (TSprite* s = view.DXSpriteEngine1.Get(id)) s->AnimStart = cell;
}

int32_t PutPictureEntry(TCabView& view, int32_t& entry, TPictureEntry picture) {
  if (TPictureEntry* old = view.ImageList1.Get(entry)) {
    *old = std::move(picture);
    return entry;
  }
  entry = view.ImageList1.Add(std::move(picture));
  return entry;
}

void PutSprite(TCabView& view, SpriteId& sprite, const TSprite& s) {
  if (TSprite* old = view.DXSpriteEngine1.Get(sprite)) {
    *old = s;
    return;
  }
  sprite = view.DXSpriteEngine1.Add(s);
}

void PutPictureSprite(TCabView& view, SpriteId& sprite, TPictureEntry picture, double x, double y, int32_t z) {
  int32_t entry = -1;
  if (const TSprite* old = view.DXSpriteEngine1.Get(sprite)) entry = old->Image;
  TSprite s;
  s.Image = PutPictureEntry(view, entry, std::move(picture));
  s.X = x;
  s.Y = y;
  s.Z = z;
  const TPictureEntry* e = view.ImageList1.Get(s.Image);
  s.Width = e->CellWidth();
  s.Height = e->CellHeight();
  PutSprite(view, sprite, s);
}

}  // namespace kavrin

#include "presentation/sprites.h"

#include <algorithm>
#include <numeric>

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

}  // namespace kavrin

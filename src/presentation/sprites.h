#pragma once
// The sprite layer of the cab view: the panel pictures of the train and the trackside pictures
// of the route, drawn over the film in increasing Z. Everything here is plain data; the
// compositor draws it and the tick logic only moves, shows, hides, turns and picks cells.
#include <cstdint>
#include <vector>

#include "presentation/picture_list.h"

namespace kavrin {

using SpriteId = int32_t;
inline constexpr SpriteId kNoSprite = -1;

struct TSprite {
  int32_t Image = -1;  // entry of the view's picture list
  double X = 0, Y = 0;  // pixels from the top-left corner of the cab view
  int32_t Z = 0;
  int32_t Width = 0, Height = 0;
  bool Visible = true;
  int32_t AnimStart = 0;  // cell shown
  int32_t Alpha = 255;    // 255 opaque
  // 1/1024 of a full turn, clockwise about the centre of the sprite's rectangle; 0 stretches the
  // cell into the rectangle instead.
  double Angle = 0;
};

class SpriteEngine {
 public:
  // Ids count from 0 in creation order.
  SpriteId Add(const TSprite& sprite);
  TSprite* Get(SpriteId id);
  const TSprite* Get(SpriteId id) const;
  int32_t Count() const { return static_cast<int32_t>(sprites_.size()); }
  const std::vector<TSprite>& Sprites() const { return sprites_; }
  // Ids in drawing order: increasing Z, equal Z in creation order.
  std::vector<SpriteId> DrawOrder() const;

 private:
  std::vector<TSprite> sprites_;
};

// The cab view's picture list and the sprites that draw from it.
struct TCabView {
  PictureList ImageList1;
  SpriteEngine DXSpriteEngine1;
};

// A new sprite on entry `image` at (x, y), sized to one cell of the entry, visible, cell 0,
// opaque.
SpriteId CreateSprite(TCabView& view, int32_t image, double x, double y, int32_t z);

// Both do nothing for kNoSprite: a picture the data do not name is simply not there.
void ShowSprite(TCabView& view, SpriteId id, bool visible);
void SetSpriteCell(TCabView& view, SpriteId id, int32_t cell);

// Data keys may come twice; the later one wins. These make a picture entry or a sprite, or
// replace it in place when `entry` / `sprite` already names one, so that no stale copy stays on
// screen and the drawing order of equal depths (creation order) is kept.
int32_t PutPictureEntry(TCabView& view, int32_t& entry, TPictureEntry picture);
void PutSprite(TCabView& view, SpriteId& sprite, const TSprite& s);
// A picture with a sprite of its own, one cell large, at (x, y) in depth z: both made or both
// replaced.
void PutPictureSprite(TCabView& view, SpriteId& sprite, TPictureEntry picture, double x, double y, int32_t z);

}  // namespace kavrin

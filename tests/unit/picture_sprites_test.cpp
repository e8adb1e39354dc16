#include <gtest/gtest.h>

#include <vector>

#include "presentation/picture_list.h"
#include "presentation/sprites.h"
#include "support/fake_picture_loader.h"

namespace kavrin {
namespace {

using test::FakePictureLoader;
using test::SolidPicture;

TPictureEntry Entry(int32_t w, int32_t h, int32_t pw, int32_t ph) {
  TPictureEntry e;
  e.Bitmap = SolidPicture(w, h, {1, 1, 1}, {0, 0, 0});
  e.PatternWidth = pw;
  e.PatternHeight = ph;
  return e;
}

TEST(PictureEntry, CellsRunLeftToRightThenTopToBottom) {
  TPictureEntry e = Entry(100, 50, 25, 25);  // 4 x 2 cells
  EXPECT_EQ(e.CellCount(), 8);
  EXPECT_EQ(e.Cell(0), (CellRect{0, 0, 25, 25}));
  EXPECT_EQ(e.Cell(3), (CellRect{75, 0, 25, 25}));
  EXPECT_EQ(e.Cell(5), (CellRect{25, 25, 25, 25}));
  EXPECT_FALSE(e.Cell(8).has_value());  // a cell index from the data that is out of range
  EXPECT_FALSE(e.Cell(-1).has_value());

  // A strip with a remainder: the partial column is no cell.
  EXPECT_EQ(Entry(110, 25, 25, 25).CellCount(), 4);
  // No cell size: the whole picture.
  EXPECT_EQ(Entry(100, 50, 0, 0).Cell(0), (CellRect{0, 0, 100, 50}));
  EXPECT_EQ(Entry(100, 50, 0, 0).CellCount(), 1);
  // One direction only: cells side by side, full height.
  EXPECT_EQ(Entry(100, 50, 20, 0).CellCount(), 5);
  // A picture smaller than its cell is one cell, cut to the picture.
  EXPECT_EQ(Entry(10, 10, 50, 50).Cell(0), (CellRect{0, 0, 10, 10}));
  EXPECT_EQ(Entry(10, 10, 50, 50).CellCount(), 1);
}

TEST(PictureEntry, ColourKeyComesFromTheBottomLeftPixel) {
  // White at the bottom left makes every white pixel transparent.
  Picture p = SolidPicture(3, 2, {255, 255, 255}, {255, 255, 255});
  p.Rgba[4 * 1 + 0] = 10;  // (1, 0) is not white
  TPictureEntry e;
  e.Bitmap = p;
  EXPECT_TRUE(e.Transparent);  // a new entry is keyed with black
  EXPECT_EQ(e.TransparentColor, (Rgb{0, 0, 0}));
  e.KeyFromBottomLeft();
  EXPECT_EQ(e.TransparentColor, (Rgb{255, 255, 255}));
  EXPECT_TRUE(e.IsKeyedOut(0, 0));
  EXPECT_TRUE(e.IsKeyedOut(2, 1));
  EXPECT_FALSE(e.IsKeyedOut(1, 0));
  e.Transparent = false;
  EXPECT_FALSE(e.IsKeyedOut(0, 0));
}

TEST(PictureList, LoadingKeysNamesAndFindsWithoutRegardToCase) {
  FakePictureLoader loader;
  loader.Put("a.bmp", 4, 3, {7, 8, 9});
  std::optional<TPictureEntry> keyed = LoadPictureEntry(loader, "a.bmp", "img_Lamp_Gen", true, 2, 3);
  ASSERT_TRUE(keyed);
  EXPECT_EQ(keyed->TransparentColor, (Rgb{7, 8, 9}));
  EXPECT_EQ(keyed->CellCount(), 2);
  std::optional<TPictureEntry> plain = LoadPictureEntry(loader, "a.bmp", "img_unten_teimokuS", false);
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->Transparent);
  EXPECT_FALSE(LoadPictureEntry(loader, "missing.bmp", "x", true));

  // A decoder that hands over fewer bytes than its size says is refused, not trusted.
  loader.files["short.bmp"] = SolidPicture(4, 4, {}, {});
  loader.files["short.bmp"].Rgba.resize(10);
  EXPECT_FALSE(LoadPictureEntry(loader, "short.bmp", "x", true));

  PictureList list;
  EXPECT_EQ(list.Find("img_lamp_gen"), -1);
  int32_t first = list.Add(*keyed);
  list.Add(*plain);
  TPictureEntry again = *keyed;
  list.Add(again);
  EXPECT_EQ(list.Find("img_lamp_gen"), first);  // the first of equal names
  EXPECT_EQ(list.Find("IMG_UNTEN_TEIMOKUS"), 1);
  EXPECT_EQ(list.Find("img_unten_teimoku"), -1);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
}

TEST(SpriteEngine, DrawsByDepthAndEqualDepthsInCreationOrder) {
  TCabView view;
  view.ImageList1.Add(Entry(60, 20, 20, 20));
  const int32_t depths[] = {100, 32, 0, 32, 101, 32, 50};
  for (int32_t z : depths) CreateSprite(view, 0, 1, 2, z);
  EXPECT_EQ(view.DXSpriteEngine1.DrawOrder(), (std::vector<SpriteId>{2, 1, 3, 5, 6, 0, 4}));

  const TSprite* s = view.DXSpriteEngine1.Get(0);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Width, 20);  // one cell
  EXPECT_EQ(s->Height, 20);
  EXPECT_TRUE(s->Visible);
  EXPECT_EQ(s->Alpha, 255);
  EXPECT_EQ(s->Angle, 0);
  EXPECT_EQ(view.DXSpriteEngine1.Get(7), nullptr);
  EXPECT_EQ(view.DXSpriteEngine1.Get(kNoSprite), nullptr);
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/load_error.h"
#include "data/data_file.h"
#include "data/route_file.h"
#include "presentation/trackside_images.h"
#include "support/fake_picture_loader.h"

namespace kavrin {
namespace {

const char* kSignImages =
    "[SignImageList]\r\n"
    "img\\teimoku.bmp,50\r\n"
    "img\\lineS.bmp,50\r\n"
    "img\\lineM.bmp,50\r\n"
    "img\\lineE.bmp,50\r\n"
    "img\\slope.bmp,50\r\n"
    "img\\limit.bmp,50\r\n"
    "img\\remain.bmp,50\r\n"
    "img\\cross.bmp,50\r\n"
    "img\\other.bmp,50\r\n";

const char* kSignalImages =
    "[SignalImageList]\r\n"
    "-3,7,40,90,img\\signal.bmp\r\n"
    "20,30,img\\subS.bmp\r\n"
    "21,31,img\\subL.bmp\r\n"
    "22,32,img\\subR.bmp\r\n";

struct Fixture {
  test::FakePictureLoader loader;
  TCabView view;
  TTracksideImages images;

  Fixture() {
    for (const char* f : {"teimoku", "slope", "limit", "cross", "other"}) loader.Put(std::string("data/img/") + f + ".bmp", 200, 50);
    for (const char* f : {"lineS", "lineM", "lineE"}) loader.Put(std::string("data/img/") + f + ".bmp", 640, 8);
    loader.Put("data/img/remain.bmp", 50, 720, {255, 255, 255});
    loader.Put("data/img/signal.bmp", 160, 90);
    for (const char* f : {"subS", "subL", "subR"}) loader.Put(std::string("data/img/") + f + ".bmp", 66, 32);
    loader.Put("data/img/mon.bmp", 120, 40);
    loader.Put("data/img/anim.bmp", 300, 75);
  }

  TRouteTables Read(const std::string& text, int32_t width = 640, int32_t height = 360) {
    TracksideImageReader reader("data/", width, height, loader, view, images);
    TRouteFileContext context;
    context.VehicleFileName = "train_1000.dat";
    context.Images = &reader;
    DataFile f(text);
    return ReadRouteFile(f, context);
  }
  std::string Failure(const std::string& text) {
    try {
      Read(text);
    } catch (const LoadError& e) {
      return e.what();
    }
    return "(loaded)";
  }
  const TSprite& Sprite(SpriteId id) { return *view.DXSpriteEngine1.Get(id); }
  const TPictureEntry& Entry(SpriteId id) { return *view.ImageList1.Get(Sprite(id).Image); }
};

TEST(TracksideImages, SpritesTakeTheirPlacesDepthsSizesAndKeys) {
  Fixture f;
  f.Read(std::string(kSignImages) + kSignalImages);
  const TTracksideSprites& s = f.images.Sprites;
  struct Expect {
    SpriteId id;
    const char* picture;
    double x, y;
    int32_t z, w, h, alpha, cell;
    bool keyed;  // from the bottom-left pixel
  };
  const Expect expected[] = {
      {s.StopMarker, "img_unten_teimoku", 590, 0, 100, 50, 50, 255, 50, true},
      {s.StopLineS, "img_unten_teimokuS", 0, 0, 100, 640, 50, 64, 0, false},
      {s.StopLineM, "img_unten_teimokuM", 0, 0, 100, 640, 50, 64, 0, false},
      {s.StopLineE, "img_unten_teimokuE", 0, 0, 100, 640, 50, 64, 0, false},
      {s.SlopeSign, "img_unten_slope", 528, 198, 100, 50, 50, 255, 50, true},
      {s.LimitSign, "img_unten_limit", 528, 126, 100, 50, 50, 255, 50, true},
      {s.CrossLamp1, "img_unten_cross", 0, 144, 100, 50, 50, 255, 50, true},
      {s.CrossLamp2, "img_unten_cross", 0, 144, 100, 50, 50, 255, 50, true},
      {s.OtherSign, "img_unten_other", 0, 144, 100, 50, 50, 255, 50, true},
      {s.SignalSprite, "img_unten_signal", 0, 0, 100, 40, 90, 255, 40, true},
      {s.SubSignalS, "img_unten_signal_S", 0, 0, 101, 20, 30, 255, 20, true},
      {s.SubSignalL, "img_unten_signal_L", 0, 0, 100, 21, 31, 255, 21, true},
      {s.SubSignalR, "img_unten_signal_R", 0, 0, 100, 22, 32, 255, 22, true},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.picture);
    ASSERT_NE(e.id, kNoSprite);
    const TSprite& sp = f.Sprite(e.id);
    EXPECT_EQ(f.Entry(e.id).Name, e.picture);
    EXPECT_EQ(sp.X, e.x);
    EXPECT_EQ(sp.Y, e.y);
    EXPECT_EQ(sp.Z, e.z);
    EXPECT_EQ(sp.Width, e.w);
    EXPECT_EQ(sp.Height, e.h);
    EXPECT_EQ(sp.Alpha, e.alpha);
    EXPECT_EQ(sp.AnimStart, 0);
    EXPECT_TRUE(sp.Visible);
    EXPECT_EQ(f.Entry(e.id).PatternWidth, e.cell);
    EXPECT_EQ(f.Entry(e.id).Transparent, e.keyed);
    if (e.keyed) {
      EXPECT_EQ(f.Entry(e.id).TransparentColor, (Rgb{1, 2, 3}));
    }
  }
  // One picture, two lamps.
  EXPECT_EQ(f.Sprite(s.CrossLamp1).Image, f.Sprite(s.CrossLamp2).Image);
  // The scale is keyed with black whatever its corner holds, in cells twice the picture high.
  const TSprite& remain = f.Sprite(s.RemainScale);
  EXPECT_EQ(remain.X, 590);
  EXPECT_EQ(remain.Width, 50);
  EXPECT_EQ(remain.Height, 720);
  EXPECT_TRUE(f.Entry(s.RemainScale).Transparent);
  EXPECT_EQ(f.Entry(s.RemainScale).TransparentColor, Rgb{});
  EXPECT_EQ(f.Entry(s.RemainScale).PatternHeight, 720);
  EXPECT_EQ(f.images.SignalOffsetX, -3);
  EXPECT_EQ(f.images.SignalOffsetY, 7);
  // Pictures are made in file order, their sprites too.
  EXPECT_EQ(f.loader.requests.front(), "data/img/teimoku.bmp");
  EXPECT_EQ(f.loader.requests.back(), "data/img/subR.bmp");
  EXPECT_EQ(f.view.DXSpriteEngine1.Count(), 14);
  EXPECT_EQ(s.StopMarker, 0);
  EXPECT_EQ(s.SubSignalR, 13);
}

TEST(TracksideImages, FractionsOfThePictureRoundHalvesToEven) {
  struct Case {
    int32_t width, height;
    double slopeX, slopeY, limitY, lampY;
  };
  const Case cases[] = {
      {100, 30, 82, 16, 10, 12},   // 82.5, 16.5, 10.5, 12
      {140, 50, 116, 28, 18, 20},  // 115.5, 27.5, 17.5, 20
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Read(kSignImages, c.width, c.height);
    const TTracksideSprites& s = f.images.Sprites;
    EXPECT_EQ(f.Sprite(s.SlopeSign).X, c.slopeX) << c.width;
    EXPECT_EQ(f.Sprite(s.SlopeSign).Y, c.slopeY) << c.height;
    EXPECT_EQ(f.Sprite(s.LimitSign).Y, c.limitY) << c.height;
    EXPECT_EQ(f.Sprite(s.OtherSign).Y, c.lampY) << c.height;
  }
}

TEST(TracksideImages, EachLineFailsWithItsOwnMessage) {
  const char* messages[] = {"停目の生成エラー",         "停止線Sの生成エラー", "停止線Mの生成エラー",
                            "停止線Eの生成エラー",      "勾配標の生成エラー",  "制限標の生成エラー",
                            "残り距離表示の生成エラー", "踏切表示灯の生成エラー", "その他標識の生成エラー"};
  for (int line = 1; line <= 9; ++line) {
    std::string text = kSignImages;
    // A missing picture, a size that is no number and a negative size all fail the line.
    for (const char* bad : {"img\\none.bmp,50", "img\\teimoku.bmp,5x", "img\\teimoku.bmp,-5", "img\\teimoku.bmp"}) {
      std::string t = "[SignImageList]\r\n";
      size_t pos = text.find("\r\n") + 2;
      for (int l = 1; l <= 9; ++l) {
        size_t end = text.find("\r\n", pos);
        t += (l == line ? std::string(bad) : text.substr(pos, end - pos)) + "\r\n";
        pos = end + 2;
      }
      Fixture f;
      EXPECT_EQ(f.Failure(t), messages[line - 1]) << line << " " << bad;
    }
  }
  const char* signal[] = {"信号機の生成エラー", "サブ信号機0の生成エラー", "サブ信号機1の生成エラー", "サブ信号機2の生成エラー"};
  const char* good[] = {"-3,7,40,90,img\\signal.bmp", "20,30,img\\subS.bmp", "21,31,img\\subL.bmp", "22,32,img\\subR.bmp"};
  const char* bad[] = {"x,7,40,90,img\\signal.bmp", "20,30,img\\none.bmp", "21,,img\\subL.bmp", "22,32"};
  for (int line = 0; line < 4; ++line) {
    std::string t = "[SignalImageList]\r\n";
    for (int l = 0; l < 4; ++l) t += std::string(l == line ? bad[l] : good[l]) + "\r\n";
    Fixture f;
    EXPECT_EQ(f.Failure(t), signal[line]) << line;
  }
}

TEST(TracksideImages, MonitorAndAnimationPicturesFailWithTheRouteMessage) {
  Fixture f;
  f.Read("[Monitor]\r\ntrain_1000.dat\r\n10\r\n20\r\n60\r\n40\r\nimg\\mon.bmp\r\n"
         "[AnimImageList]\r\nimg\\anim.bmp\r\n#\r\n[TrafficSignalImageList]\r\nimg\\anim.bmp\r\n#\r\n");
  const TSprite& mon = f.Sprite(f.images.Sprites.MonitorSprite);
  EXPECT_EQ(f.Entry(f.images.Sprites.MonitorSprite).Name, "img_mon");
  EXPECT_EQ(mon.X, 10);
  EXPECT_EQ(mon.Y, 20);
  EXPECT_EQ(mon.Z, 51);
  EXPECT_EQ(mon.Width, 60);  // one cell
  EXPECT_EQ(mon.Height, 40);
  ASSERT_EQ(f.images.AnimImageList.Count(), 1);
  EXPECT_EQ(f.images.AnimImageList.Get(0)->CellCount(), 3);  // cut into 100 x 75 cells
  EXPECT_EQ(f.images.TrafficsignalImageList.Count(), 1);
  EXPECT_EQ(f.view.DXSpriteEngine1.Count(), 1);  // the lists make no sprite

  Fixture other;
  other.Read("[Monitor]\r\ntrain_0.dat\r\n10\r\n20\r\n60\r\n40\r\nimg\\none.bmp\r\n");
  EXPECT_EQ(other.images.Sprites.MonitorSprite, kNoSprite);  // another train's monitor
  Fixture empty;
  empty.Read("[Monitor]\r\ntrain_1000.dat\r\n10\r\n20\r\n60\r\n40\r\n\r\n");
  EXPECT_EQ(empty.images.Sprites.MonitorSprite, kNoSprite);

  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      // "[Monitor]" is no list key: the label is the last list key tested before it.
      {"[Monitor]\r\ntrain_1000.dat\r\n1\r\n2\r\n3\r\n4\r\nimg\\none.bmp\r\n",
       "路線ファイルに誤りがあります。[SoundData]:img\\none.bmp"},
      {"[AnimImageList]\r\nimg\\anim.bmp\r\nimg\\none.bmp\r\n#\r\n",
       "路線ファイルに誤りがあります。[AnimImageList]:img\\none.bmp"},
      {"[TrafficSignalImageList]\r\nimg\\none.bmp\r\n#\r\n",
       "路線ファイルに誤りがあります。[TrafficSignalImageList]:img\\none.bmp"},
  };
  for (const Case& c : cases) {
    Fixture g;
    EXPECT_EQ(g.Failure(c.text), c.message);
  }
}

TEST(TracksideImages, ARouteWithoutImageListsMakesNoneAndAKeyReadTwiceReplacesItsPictures) {
  Fixture none;
  none.Read("[LineName]\r\nA\r\n");
  EXPECT_EQ(none.images.Sprites.StopMarker, kNoSprite);
  EXPECT_EQ(none.images.Sprites.SignalSprite, kNoSprite);
  EXPECT_EQ(none.view.DXSpriteEngine1.Count(), 0);

  Fixture twice;
  std::string second = kSignImages;
  second.replace(second.find("img\\slope.bmp,50"), 16, "img\\slope.bmp,25");
  twice.Read(std::string(kSignImages) + second);
  EXPECT_EQ(twice.view.DXSpriteEngine1.Count(), 10);
  EXPECT_EQ(twice.view.ImageList1.Count(), 9);
  EXPECT_EQ(twice.Sprite(twice.images.Sprites.SlopeSign).Width, 25);
}

}  // namespace
}  // namespace kavrin

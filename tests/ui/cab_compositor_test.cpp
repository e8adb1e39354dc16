// The cab view as the compositor paints it offscreen, checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>

#include <memory>

#include "app/clock.h"
#include "app/sim.h"
#include "support/window_rig.h"
#include "ui/cab_compositor.h"

namespace kavrin {
namespace {

Picture Solid(int w, int h, Rgb c) {
  Picture p;
  p.Width = w;
  p.Height = h;
  p.Rgba.resize(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < p.Rgba.size(); i += 4) {
    p.Rgba[i] = c.R;
    p.Rgba[i + 1] = c.G;
    p.Rgba[i + 2] = c.B;
    p.Rgba[i + 3] = 255;
  }
  return p;
}

void Paint(Picture& p, int x, int y, Rgb c) {
  const size_t i = (static_cast<size_t>(y) * p.Width + x) * 4;
  p.Rgba[i] = c.R;
  p.Rgba[i + 1] = c.G;
  p.Rgba[i + 2] = c.B;
}

struct Cab {
  std::unique_ptr<Sim> sim = std::make_unique<Sim>();
  CabCompositor compositor;
  QImage surface{CabCompositor::kWidth, CabCompositor::kHeight, QImage::Format_RGB32};

  Cab() { test::App(); }

  int32_t Entry(Picture picture, bool keyed = false, int32_t cellW = 0, int32_t cellH = 0) {
    TPictureEntry e;
    e.Name = "p" + std::to_string(sim->view.ImageList1.Count());
    e.Bitmap = std::move(picture);
    e.PatternWidth = cellW;
    e.PatternHeight = cellH;
    if (keyed) {
      e.KeyFromBottomLeft();
    } else {
      e.Transparent = false;
    }
    return sim->view.ImageList1.Add(std::move(e));
  }
  TSprite& Sprite(int32_t image, double x, double y, int32_t z) {
    return *sim->view.DXSpriteEngine1.Get(CreateSprite(sim->view, image, x, y, z));
  }
  void Film(Rgb c) {
    Picture p = Solid(640, 360, c);
    sim->film.PictureBitmap = FilmFrame{p.Width, p.Height, p.Rgba};
    ++sim->film.PictureSerial;
  }
  QRgb At(int x, int y) {
    compositor.Compose(surface, *sim);
    return surface.pixel(x, y) & 0xFFFFFF;
  }
};

constexpr QRgb kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

TEST(CabCompositor, FilmOpaqueAtTheCornerAndBlackBeyondIt) {
  Cab cab;
  EXPECT_EQ(cab.At(10, 10), 0u);
  cab.Film({10, 20, 30});
  EXPECT_EQ(cab.At(0, 0), 0x0A141Eu);
  EXPECT_EQ(cab.At(639, 359), 0x0A141Eu);
  EXPECT_EQ(cab.At(640, 100), 0u);  // the film keeps its own size
  EXPECT_EQ(cab.At(100, 360), 0u);
}

TEST(CabCompositor, DepthOrderKeyAndAlpha) {
  Cab cab;
  cab.Film({0, 0, 255});
  Picture keyed = Solid(10, 10, {0, 255, 0});
  Paint(keyed, 0, 9, {255, 0, 255});  // the bottom-left pixel is the key
  Paint(keyed, 5, 5, {255, 0, 255});
  const int32_t red = cab.Entry(Solid(10, 10, {255, 0, 0}));
  const int32_t green = cab.Entry(keyed, true);
  cab.Sprite(green, 100, 100, 5);
  cab.Sprite(red, 100, 100, 5);  // equal depth: the later one on top
  cab.Sprite(red, 200, 100, 9);
  cab.Sprite(green, 200, 100, 3);  // lower depth, made later: below
  EXPECT_EQ(cab.At(103, 103), kRed);
  EXPECT_EQ(cab.At(203, 103), kRed);

  Cab k;
  k.Film({0, 0, 255});
  k.Sprite(k.Entry(keyed, true), 10, 10, 0);
  EXPECT_EQ(k.At(15, 15), kBlue);  // keyed out: the film shows through
  EXPECT_EQ(k.At(14, 15), kGreen);

  Cab a;
  a.Film({0, 0, 0});
  const int32_t white = a.Entry(Solid(10, 10, {255, 255, 255}));
  a.Sprite(white, 0, 0, 0).Alpha = 0;
  a.Sprite(white, 20, 0, 0).Alpha = 128;
  TSprite& hidden = a.Sprite(white, 40, 0, 0);
  hidden.Visible = false;
  EXPECT_EQ(a.At(5, 5), 0u);
  const QRgb half = a.At(25, 5);
  EXPECT_NEAR(qRed(half), 128, 1);
  EXPECT_EQ(qRed(half), qBlue(half));
  EXPECT_EQ(a.At(45, 5), 0u);
}

TEST(CabCompositor, TurnsAboutTheCentreAndPicksCells) {
  Cab cab;
  // A 20 x 4 bar, red on its left half: turned a quarter clockwise it stands upright with its
  // red half at the top.
  Picture bar = Solid(20, 4, {0, 255, 0});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 10; ++x) Paint(bar, x, y, {255, 0, 0});
  cab.Sprite(cab.Entry(bar), 100, 100, 0).Angle = 256;
  EXPECT_EQ(cab.At(110, 95), kRed);     // above the centre (110, 102)
  EXPECT_EQ(cab.At(110, 109), kGreen);  // below it
  EXPECT_EQ(cab.At(102, 102), 0u);      // the bar's own place is empty now

  // Cells of 10 x 10 on a 20 x 10 strip: cell 1 is the right half; cell 2 does not exist.
  Cab cells;
  Picture strip = Solid(20, 10, {255, 0, 0});
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) Paint(strip, x, y, {0, 255, 0});
  const int32_t e = cells.Entry(strip, false, 10, 10);
  cells.Sprite(e, 0, 0, 0).AnimStart = 1;
  cells.Sprite(e, 50, 0, 0).AnimStart = 2;
  EXPECT_EQ(cells.At(5, 5), kGreen);
  EXPECT_EQ(cells.At(55, 5), 0u);
}

TEST(CabCompositor, ClockHandsOnlyAtTheClocksPlace) {
  Cab cab;
  cab.Film({0, 0, 255});
  TCabPanel& panel = cab.sim->vehicle.Panel;
  panel.ClockX = 300;
  panel.ClockY = 200;
  panel.ClockHand = 20;
  timecalc(cab.sim->clock, (10 * 3600 + 8 * 60 + 30) * 30, panel.ClockHand);
  // The second hand at 30 s points straight down, the minute hand just past 8 minutes, the hour
  // hand a little past ten o'clock.
  EXPECT_EQ(cab.At(325, 240), 0u);
  EXPECT_EQ(cab.At(325, 244), 0u);
  EXPECT_EQ(cab.At(325, 246), kBlue);  // beyond its length
  EXPECT_EQ(cab.At(301, 201), kBlue);  // the face is keyed out
  EXPECT_EQ(cab.At(335, 215), kBlue);
  // The minute hand at 51 degrees passes 8 px right of the centre about 6.5 px up; the hour
  // hand at 304 degrees 5 px left about 3.4 px up.
  auto blackIn = [&](int x, int top, int bottom) {
    cab.At(0, 0);
    for (int y = top; y <= bottom; ++y)
      if ((cab.surface.pixel(x, y) & 0xFFFFFF) == 0) return true;
    return false;
  };
  EXPECT_TRUE(blackIn(325 + 8, 225 - 8, 225 - 5));
  EXPECT_TRUE(blackIn(325 - 5, 225 - 5, 225 - 2));
  EXPECT_FALSE(blackIn(325 - 5, 225 + 2, 225 + 10));

  panel.ClockX = 0;  // not placed inside the view: no clock
  Cab none;
  none.Film({0, 0, 255});
  none.sim->vehicle.Panel = panel;
  none.sim->clock = cab.sim->clock;
  EXPECT_EQ(none.At(25, 240), kBlue);
}

TEST(CabCompositor, StillPictureOverTheSprites) {
  Cab cab;
  cab.Sprite(cab.Entry(Solid(10, 10, {255, 0, 0})), 0, 0, 0);
  cab.Sprite(cab.Entry(Solid(10, 10, {255, 0, 0})), 700, 700, 0);
  cab.sim->derived.StillPicture = Solid(100, 50, {0, 255, 0});
  cab.compositor.ComposeStill(cab.surface, *cab.sim);
  EXPECT_EQ(cab.surface.pixel(5, 5) & 0xFFFFFF, kGreen);
  EXPECT_EQ(cab.surface.pixel(705, 705) & 0xFFFFFF, kRed);
  EXPECT_EQ(cab.surface.pixel(200, 200) & 0xFFFFFF, 0u);
}

TEST(CabCompositor, CanvasHoldsTheCabTheCardAndTheSidePicture) {
  Cab cab;
  cab.sim->derived.StafLeft = 800;
  cab.sim->derived.StafPicture = Solid(200, 300, {255, 0, 0});
  cab.sim->derived.SubPicture = Solid(150, 700, {0, 255, 0});
  cab.sim->keys.CabSurfaceTop = -50;
  cab.Film({0, 0, 255});
  EXPECT_EQ(CabCompositor::CanvasSize(*cab.sim), QSize(1000, 1000));
  cab.compositor.Compose(cab.surface, *cab.sim);
  QImage canvas;
  cab.compositor.ComposeCanvas(canvas, cab.surface, *cab.sim);
  EXPECT_EQ(canvas.pixel(10, 0) & 0xFFFFFF, kBlue);  // film row 50 at the top
  EXPECT_EQ(canvas.pixel(10, 315) & 0xFFFFFF, 0u);   // film ends at 360 - 50
  EXPECT_EQ(canvas.pixel(900, 10) & 0xFFFFFF, kRed);
  EXPECT_EQ(canvas.pixel(900, 310) & 0xFFFFFF, kGreen);
  EXPECT_EQ(canvas.pixel(990, 310) & 0xFFFFFF, 0u);
}

}  // namespace
}  // namespace kavrin

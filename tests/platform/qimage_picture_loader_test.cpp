#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/load_error.h"
#include "presentation/cab_panel_images.h"
#include "platform/qimage_picture_loader.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

// A 24-bit BMP written byte by byte, rows stored bottom-up as the format has them, so that the
// loader's top-down order is tested against a file no Qt code wrote. Pixels are given top-down.
std::string Bmp24(int w, int h, const std::vector<Rgb>& topDown) {
  const int stride = (w * 3 + 3) / 4 * 4;
  const uint32_t dataSize = static_cast<uint32_t>(stride * h);
  std::string b;
  auto u16 = [&](uint32_t v) { b += static_cast<char>(v & 0xff); b += static_cast<char>((v >> 8) & 0xff); };
  auto u32 = [&](uint32_t v) { u16(v & 0xffff); u16(v >> 16); };
  b += "BM";
  u32(54 + dataSize);
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<uint32_t>(w));
  u32(static_cast<uint32_t>(h));
  u16(1);
  u16(24);
  u32(0);
  u32(dataSize);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = h - 1; y >= 0; --y) {
    int n = 0;
    for (int x = 0; x < w; ++x, n += 3) {
      const Rgb& c = topDown[static_cast<size_t>(y * w + x)];
      b += static_cast<char>(c.B);
      b += static_cast<char>(c.G);
      b += static_cast<char>(c.R);
    }
    for (; n < stride; ++n) b += '\0';
  }
  return b;
}

// A picture of one colour with another at the bottom left, saved by Qt in `format`.
void SaveQt(const std::string& path, int w, int h, QColor fill, QColor bottomLeft, const char* format) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  img.setPixelColor(0, h - 1, bottomLeft);
  ASSERT_TRUE(img.save(QString::fromStdString(path), format)) << path;
}

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

TEST(QImagePictureLoader, BmpRowsComeTopDown) {
  test::TempDir dir;
  // 3 x 2 so that each row carries padding.
  std::string path = dir.Write("p.bmp", Bmp24(3, 2, {kRed, kGreen, kWhite, kBlue, kWhite, kGreen}));
  QImagePictureLoader loader;
  std::optional<Picture> p = loader.Load(path);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Width, 3);
  EXPECT_EQ(p->Height, 2);
  ASSERT_EQ(p->Rgba.size(), 3u * 2u * 4u);
  EXPECT_EQ(p->ColorAt(0, 0), kRed);
  EXPECT_EQ(p->ColorAt(1, 0), kGreen);
  EXPECT_EQ(p->ColorAt(0, 1), kBlue);  // the bottom-left pixel, the colour key
  EXPECT_EQ(p->ColorAt(2, 1), kGreen);
  EXPECT_EQ(p->Rgba[3], 255);  // opaque
}

TEST(QImagePictureLoader, PngAndJpegByContentWhateverTheExtension) {
  test::TempDir dir;
  SaveQt(dir.str() + "sign.png", 4, 4, Qt::white, Qt::black, "PNG");
  SaveQt(dir.str() + "named_wrongly.bmp", 5, 3, Qt::white, Qt::red, "PNG");
  SaveQt(dir.str() + "photo.jpg", 16, 16, QColor(0, 0, 255), QColor(0, 0, 255), "JPG");
  QImagePictureLoader loader;

  std::optional<Picture> png = loader.Load(dir.str() + "sign.png");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->ColorAt(0, 3), (Rgb{0, 0, 0}));
  EXPECT_EQ(png->ColorAt(3, 0), kWhite);

  std::optional<Picture> wrong = loader.Load(dir.str() + "named_wrongly.bmp");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->Width, 5);
  EXPECT_EQ(wrong->ColorAt(0, 2), kRed);

  std::optional<Picture> jpeg = loader.Load(dir.str() + "photo.jpg");
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Width, 16);
  Rgb c = jpeg->ColorAt(8, 8);  // lossy: near blue
  EXPECT_LT(c.R, 20);
  EXPECT_GT(c.B, 230);
}

TEST(QImagePictureLoader, MissingOrBrokenFilesGiveNothing) {
  test::TempDir dir;
  dir.Write("broken.bmp", "BM this is not a bitmap");
  dir.Write("empty.png", "");
  QImagePictureLoader loader;
  EXPECT_FALSE(loader.Load(dir.str() + "none.bmp"));
  EXPECT_FALSE(loader.Load(dir.str() + "broken.bmp"));
  EXPECT_FALSE(loader.Load(dir.str() + "empty.png"));
  EXPECT_FALSE(loader.Load(dir.str()));
}

// A train as written on Windows: Shift-JIS text, CR LF lines, backslash paths whose letter case
// differs from the disk, Japanese file names.
TEST(QImagePictureLoader, WindowsMadeTrainLoadsWithItsPictures) {
  test::TempDir dir;
  dir.Write("train/Image/Panel.bmp", Bmp24(4, 2, {kWhite, kWhite, kWhite, kWhite, kGreen, kWhite, kWhite, kWhite}));
  SaveQt(dir.str() + "train/Image/ランプ.png", 6, 4, Qt::yellow, Qt::magenta, "PNG");
  SaveQt(dir.str() + "train/image2/notch.PNG", 40, 10, Qt::gray, Qt::black, "PNG");
  SaveQt(dir.str() + "train/Image/Needle.BMP", 8, 30, Qt::black, Qt::white, "BMP");

  const std::string text =
      "# 車両ファイル テスト用\n"
      "- 列車の基本設定\n"
      "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Engine_Type]\n1\n[Power_Type]\n1\n"
      "[Tons]\n120.5\n"
      "[Sound_BK]\n1,2\n3,4\n5,6\n7,8\n9,10\n11,12\n13,14\n15,16\n"
      "[Notch]\n3.0\n2.8\n35\n70\n0.98\n0\n3.0\n2.8\n35\n70\n0.98\n0\n#\n"
      "[PowerMode]\n直列,直列\n#\n"
      "[DriveSound]\nsound\\走行音.wav\n#\n"
      "[Panel]\nIMAGE\\panel.bmp\n0\n360\n"
      "[Lamp_Gen]\nimage\\ランプ.png\n100\n400\n"
      "[Needle_Speed]\nimage\\needle.bmp\n200\n420\n9\n31\n-135\n2\n0\n"  // sized by its picture
      "[NotchImageP]\n300\n500\n20\n10\nIMAGE2\\Notch.png\n"
      "[Lamp_signal]\n0\n0\n0\n0\n\n45\n65\n#\n";
  std::string bytes = EncodeCp932(text);
  std::string crlf;
  for (char ch : bytes) {
    if (ch == '\n') crlf += '\r';
    crlf += ch;
  }
  ASSERT_FALSE(IsValidUtf8(bytes));  // really Shift-JIS
  const std::string path = dir.Write("train/train_1000.dat", crlf);

  QImagePictureLoader loader;
  TLoadedVehicle loaded = LoadVehicle(path, loader);
  const TVehicleFile& v = loaded.Vehicle;
  EXPECT_EQ(v.veh.Brake, 8);
  EXPECT_EQ(v.veh.Tons.raw, 1205000);
  EXPECT_EQ(v.Tables.SoundBK[7], (std::array<int32_t, 2>{15, 16}));
  EXPECT_EQ(v.Tables.Notch.size(), 2u);
  EXPECT_EQ(v.Tables.PowerMode[0].Name, "直列");
  EXPECT_EQ(v.Tables.DriveSound[0], "sound\\走行音.wav");
  EXPECT_EQ(v.Panel.CabSignalCount, 2);
  EXPECT_EQ(v.Panel.CabSignalPattern[1], 65);

  const TCabView& view = loaded.View;
  struct Expected {
    const char* picture;
    double x, y;
    int32_t z, w, h;
    Rgb key;
  };
  const Expected expected[] = {
      {"img_lamp_p", 300, 500, 31, 20, 10, {0, 0, 0}},
      {"img_Panel", 0, 360, 0, 4, 2, kGreen},
      {"img_Lamp_Gen", 100, 400, 54, 6, 4, {255, 0, 255}},
      {"img_Needle_speed", 200, 420, 64, 8, 30, kWhite},
  };
  const auto& sprites = view.DXSpriteEngine1.Sprites();
  ASSERT_EQ(sprites.size(), std::size(expected));
  for (size_t i = 0; i < sprites.size(); ++i) {
    const TPictureEntry* e = view.ImageList1.Get(sprites[i].Image);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Name, expected[i].picture);
    EXPECT_EQ(sprites[i].X, expected[i].x) << expected[i].picture;
    EXPECT_EQ(sprites[i].Y, expected[i].y) << expected[i].picture;
    EXPECT_EQ(sprites[i].Z, expected[i].z) << expected[i].picture;
    EXPECT_EQ(sprites[i].Width, expected[i].w) << expected[i].picture;
    EXPECT_EQ(sprites[i].Height, expected[i].h) << expected[i].picture;
    EXPECT_EQ(e->TransparentColor, expected[i].key) << expected[i].picture;
  }
  EXPECT_EQ(view.ImageList1.Get(view.ImageList1.Find("IMG_LAMP_P"))->CellCount(), 2);
}

TEST(QImagePictureLoader, MissingLampPictureStopsTheLoadWithItsName) {
  test::TempDir dir;
  const std::string path =
      dir.Write("train/train_0.dat", EncodeCp932("[Lamp_Door]\r\nimage\\ドア.bmp\r\n1\r\n2\r\n"));
  QImagePictureLoader loader;
  try {
    LoadVehicle(path, loader);
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "image\\ドア.bmpの生成エラー");
  }
}

}  // namespace
}  // namespace kavrin

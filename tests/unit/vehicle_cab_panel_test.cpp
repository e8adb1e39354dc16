#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/cab_panel.h"
#include "support/vehicle_reader.h"

namespace kavrin {
namespace {

using test::FakePictureLoader;
using test::ReadVehicleText;
using test::TTestVehicle;
using test::VehicleFailure;

std::string PictureName(const TCabView& view, const TSprite& s) {
  const TPictureEntry* e = view.ImageList1.Get(s.Image);
  return e ? e->Name : "(none)";
}

TEST(CabPanel, RecordsOfEveryShape) {
  TCabPanel p = ReadVehicleText(
                    "[Clock]\n700\n20\n22\n"
                    "[Panel]\npanel.bmp\n0\n400\n"
                    "[Lamp_Stop]\nstop.bmp\n10\n20\n"
                    "[Needle_Brake]\nnb.bmp\n1\n2\n3\n4\n-135\n30.5\n"
                    "[Needle_Speed]\nns.bmp\n5\n6\n7\n8\n-140\n2.25\n1.5\n"
                    "[Needle_BC_L]\nbar.bmp\n300\n450\n0.25\n"
                    "[Needle_I]\nni.bmp\n9\n10\n11\n12\n-90\n0.18\n1\n"
                    "[Needle_MR]\nnm.bmp\n13\n14\n15\n16\n-120\n0.3\n")
                    .Panel;
  EXPECT_EQ(p.ClockX, 700);
  EXPECT_EQ(p.ClockY, 20);
  EXPECT_EQ(p.ClockHand, 22);
  EXPECT_TRUE(p.DrawsClock());
  EXPECT_EQ(p.Panel.name, "panel.bmp");
  EXPECT_EQ(p.Panel.Top, 400);
  EXPECT_EQ(p.Lamp_Stop.Left, 10);
  EXPECT_EQ(p.Needle_Brake.zero, -135);
  EXPECT_EQ(p.Needle_Brake.one, 30.5L);
  EXPECT_EQ(p.Needle_Brake.c, 0.0L);
  EXPECT_EQ(p.Needle_Speed.Height, 8);
  EXPECT_EQ(p.Needle_Speed.one, 2.25L);
  EXPECT_EQ(p.Needle_Speed.c, 1.5L);
  EXPECT_EQ(p.Needle_BC_L.Left, 300);
  EXPECT_EQ(p.Needle_BC_L.Top, 0);
  EXPECT_EQ(p.Needle_BC_L.zero, 450);
  EXPECT_EQ(p.Needle_BC_L.one, 0.25L);
  EXPECT_EQ(p.Needle_I.sign, 1);
  EXPECT_EQ(p.Needle_I.one, 0.18L);
  EXPECT_EQ(p.Needle_MR.Width, 15);
  EXPECT_FALSE(ReadVehicleText("[Clock]\n0\n20\n22\n").Panel.DrawsClock());
}

TEST(CabPanel, FailuresNameTheGroupBeingRead) {
  struct Case {
    const char* text;
    const char* title;
  };
  const Case cases[] = {
      {"[Clock]\n1\n2\n", "- アナログ時計"},
      {"[Panel2]\np.bmp\nleft\n0\n", "- 運転台パネル"},
      {"[Lamp_ATSP2]\np.bmp\n0\n", "- 運転台パネル2"},
      {"[Lamp_Stop]\np.bmp\n0\n0.5\n", "- 運転台パネル3"},
      {"[Needle_Brake]\nn.bmp\n1\n2\n3\n4\n5\n", "- ブレーキ指令計"},
      {"[Needle_Speed]\nn.bmp\n1\n2\n3\n4\n5\n6\n", "- 速度計"},
      {"[Needle_BC]\nn.bmp\n1\n2\n3\n4\n5\nsix\n", "- BC圧力計"},
      {"[Needle_BC_L]\nn.bmp\n1\n", "- BC圧力計（リニア）"},
      {"[Needle_SAP]\nn.bmp\n", "- SAP圧力計"},
      {"[Needle_ER]\nn.bmp\nx\n", "- ER圧力計"},
      {"[Needle_BP]\nn.bmp\n1\n2\n3\n", "- BP圧力計"},
      {"[Needle_MR]\nn.bmp\n1\n2\n3\n4\n", "- MR圧力計"},
      {"[Needle_MR_L]\nn.bmp\n1\n2\n", "- MR圧力計（リニア）"},
      {"[Needle_V]\nn.bmp\n1\n2\n3\n4\n5\n", "- 電圧計"},
      {"[Needle_I]\nn.bmp\n1\n2\n3\n4\n5\n6\n", "- 電流計"},
      {"[Lamp_signal]\n1\n2\n3\n", "[Lamp_signal]"},
      {"[Lamp_signal]\n1\n2\n3\n4\n\n45\nfast\n#\n", "[Lamp_signal]"},
      {"[NotchImageP]\n1\n2\nwide\n4\n\n", "[NotchImageP]"},
      {"[NotchImageB]\n1\n", "[NotchImageB]"},
      {"[NotchImageP2]\n1\n", "[NotchImageP2]"},
      {"[NotchImageB2]\n1\n", "[NotchImageB2]"},
      {"[GearImageList]\n1\n", "[GearImageList]"},
      {"[GearImageList2]\n1\n", "[GearImageList2]"},
      {"[Digi_Speed]\n1\n", "[Digi_Speed]"},
      {"[Others]\no.bmp\n1\n#\n", "[Others]"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VehicleFailure(c.text), std::string("車両ファイルに誤りがあります") + c.title) << c.text;
}

TEST(CabPanel, CabSignalListKeepsTwelveAndEmptyLinesHoldTheirPlace) {
  std::string text = "[Lamp_signal]\n10\n20\n30\n40\n\n";  // no picture
  for (int i = 1; i <= 13; ++i) text += std::to_string(i * 10) + "\n";
  text += "#\n[Lamp_signal]\n10\n20\n30\n40\n\n0\n\n45\n#\n[Digi_Speed]\n1\n2\n3\n4\n\n";
  // The second list replaces the first; keep the first in a file of its own.
  TCabPanel first = ReadVehicleText(text.substr(0, text.find("#\n") + 2)).Panel;
  EXPECT_EQ(first.CabSignalCount, 12);
  EXPECT_EQ(first.CabSignalPattern[0], 10);
  EXPECT_EQ(first.CabSignalPattern[11], 120);
  EXPECT_EQ(first.Lamp_signal.X, 10);
  EXPECT_EQ(first.Lamp_signal.PatternHeight, 40);
  EXPECT_EQ(first.Lamp_signal.FileName, "");

  TCabPanel second = ReadVehicleText(text).Panel;
  EXPECT_EQ(second.CabSignalCount, 3);
  EXPECT_EQ(second.CabSignalPattern[0], 0);
  EXPECT_EQ(second.CabSignalPattern[1], 0);  // the empty line
  EXPECT_EQ(second.CabSignalPattern[2], 45);
  EXPECT_EQ(second.CabSignalPattern[3], 0);  // nothing left over from the first list
  EXPECT_EQ(second.Digi_Speed.PatternWidth, 3);  // the "#" line was consumed, the next key read
}

TEST(CabPanel, PatternImagesAreMadeWhileTheFileIsRead) {
  FakePictureLoader loader;
  loader.Put("train/img/notch_p.bmp", 120, 40, {0, 255, 0});
  loader.Put("train/img/notch_b.png", 90, 60, {255, 0, 255});
  loader.Put("train/lever.bmp", 30, 30, {9, 9, 9});
  TCabView view;
  TTestVehicle v = ReadVehicleText(
      "[NotchImageP]\n500\n600\n40\n20\nimg\\notch_p.bmp\n"
      "[NotchImageB]\n510\n610\n30\n60\nimg\\notch_b.png\n"
      "[GearImageList]\n1\n2\n3\n4\n\n"  // no file: no picture, and the file goes on
      "[GearImageList2]\n50\n60\n0\n0\nlever.bmp\n"
      "[Lamp_Door]\ndoor.bmp\n1\n2\n",  // lamps wait for MakePanelImages
      loader, view);

  const TSprite* p = view.DXSpriteEngine1.Get(v.Sprites.LampP);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PictureName(view, *p), "img_lamp_p");
  EXPECT_EQ(p->X, 500);
  EXPECT_EQ(p->Y, 600);
  EXPECT_EQ(p->Z, 31);
  EXPECT_EQ(p->Width, 40);  // one cell
  EXPECT_EQ(p->Height, 20);
  EXPECT_TRUE(p->Visible);
  EXPECT_EQ(p->AnimStart, 0);
  EXPECT_EQ(p->Alpha, 255);
  const TPictureEntry* pe = view.ImageList1.Get(p->Image);
  EXPECT_EQ(pe->CellCount(), 6);
  EXPECT_TRUE(pe->Transparent);
  EXPECT_EQ(pe->TransparentColor, (Rgb{0, 255, 0}));

  const TSprite* b = view.DXSpriteEngine1.Get(v.Sprites.LampB);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Z, 32);
  EXPECT_EQ(view.ImageList1.Get(b->Image)->TransparentColor, (Rgb{255, 0, 255}));

  EXPECT_EQ(v.Sprites.LampGear, kNoSprite);
  const TSprite* lever = view.DXSpriteEngine1.Get(v.Sprites.GearLeverImage);
  ASSERT_NE(lever, nullptr);
  EXPECT_EQ(lever->Z, 32);
  EXPECT_EQ(lever->Width, 30);  // a cell size of 0 is the whole picture

  EXPECT_EQ(view.DXSpriteEngine1.Count(), 3);
  EXPECT_EQ(loader.requests, (std::vector<std::string>{"train/img/notch_p.bmp", "train/img/notch_b.png",
                                                        "train/lever.bmp"}));
  // Equal depth draws in creation order.
  EXPECT_EQ(view.DXSpriteEngine1.DrawOrder(), (std::vector<SpriteId>{v.Sprites.LampP, v.Sprites.LampB, v.Sprites.GearLeverImage}));
}

TEST(CabPanel, RepeatedPatternKeyReplacesItsPicture) {
  FakePictureLoader loader;
  loader.Put("train/a.bmp", 10, 10);
  loader.Put("train/b.bmp", 20, 10);
  TCabView view;
  TTestVehicle v = ReadVehicleText("[Digi_Speed]\n1\n2\n10\n10\na.bmp\n[Digi_Speed]\n3\n4\n10\n10\nb.bmp\n", loader, view);
  ASSERT_EQ(view.DXSpriteEngine1.Count(), 1);
  ASSERT_EQ(view.ImageList1.Count(), 1);
  const TSprite* s = view.DXSpriteEngine1.Get(v.Sprites.DigiSpeed);
  EXPECT_EQ(s->X, 3);
  EXPECT_EQ(s->Z, 37);
  EXPECT_EQ(view.ImageList1.Get(s->Image)->CellCount(), 2);
}

TEST(CabPanel, PatternPictureThatCannotBeLoadedFailsWithItsKey) {
  const char* keys[] = {"[Lamp_signal]", "[NotchImageP]", "[NotchImageB]", "[NotchImageP2]", "[NotchImageB2]",
                        "[GearImageList]", "[GearImageList2]", "[Digi_Speed]"};
  for (const char* key : keys) {
    std::string text = std::string(key) + "\n1\n2\n3\n4\nmissing.bmp\n";
    if (std::string(key) == "[Lamp_signal]") text += "#\n";
    EXPECT_EQ(VehicleFailure(text), std::string("車両ファイルに誤りがあります") + key);
  }
}

// A panel with a picture for every record, in file order different from the making order.
const char* kFullPanel =
    "[Needle_MR_L]\nmrl.bmp\n700\n500\n0.5\n"
    "[Lamp_Const]\nconst.bmp\n1\n1\n"
    "[Panel]\npanel.bmp\n0\n300\n[Panel2]\npanel2.bmp\n0\n300\n"
    "[Lamp_Door]\nl.bmp\n1\n1\n[Lamp_Power]\nl.bmp\n1\n1\n[Lamp_EB]\nl.bmp\n1\n1\n[Lamp_Gen]\nl.bmp\n1\n1\n"
    "[Lamp_Air]\nl.bmp\n1\n1\n[Lamp_Fin]\nl.bmp\n1\n1\n[Lamp_Ele]\nl.bmp\n1\n1\n"
    "[Lamp_Ats1]\nl.bmp\n1\n1\n[Lamp_Ats2]\nl.bmp\n1\n1\n[Lamp_Ats3]\nl.bmp\n1\n1\n"
    "[Lamp_TASC1]\nl.bmp\n1\n1\n[Lamp_TASC2]\nl.bmp\n1\n1\n[Lamp_TASC3]\nl.bmp\n1\n1\n"
    "[Lamp_ATSP1]\nl.bmp\n1\n1\n[Lamp_ATSP2]\nl.bmp\n1\n1\n"
    "[Lamp_G]\nl.bmp\n1\n1\n[Lamp_YG]\nl.bmp\n1\n1\n[Lamp_Y]\nl.bmp\n1\n1\n[Lamp_YY]\nl.bmp\n1\n1\n[Lamp_R]\nl.bmp\n1\n1\n"
    "[Lamp_Fwd]\nl.bmp\n1\n1\n[Lamp_Back]\nl.bmp\n1\n1\n[Lamp_Stop]\nl.bmp\n1\n1\n"
    "[Needle_Brake]\nn.bmp\n1\n1\n1\n1\n0\n1\n[Needle_Speed]\nspeed.bmp\n210\n320\n5\n60\n-135\n2\n0\n"
    "[Needle_BC]\nn.bmp\n1\n1\n1\n1\n0\n1\n[Needle_BC_L]\nn.bmp\n1\n0\n1\n[Needle_SAP]\nn.bmp\n1\n1\n1\n1\n0\n1\n"
    "[Needle_ER]\nn.bmp\n1\n1\n1\n1\n0\n1\n[Needle_BP]\nn.bmp\n1\n1\n1\n1\n0\n1\n[Needle_MR]\nn.bmp\n1\n1\n1\n1\n0\n1\n"
    "[Needle_V]\nn.bmp\n1\n1\n1\n1\n0\n1\n[Needle_I]\nn.bmp\n1\n1\n1\n1\n0\n1\n0\n"
    "[Others]\nopen.bmp\n100\n200\nl.bmp\n1\n1\n#\n";

TEST(CabPanel, PanelPicturesInMakingOrderWithTheirDepths) {
  FakePictureLoader loader;
  for (const char* f : {"train/panel.bmp", "train/panel2.bmp", "train/l.bmp", "train/n.bmp", "train/mrl.bmp",
                        "train/const.bmp", "train/open.bmp"})
    loader.Put(f, 8, 6);
  loader.Put("train/speed.bmp", 12, 100, {255, 255, 255});
  TCabView view;
  TTestVehicle v = ReadVehicleText(kFullPanel, loader, view);
  EXPECT_EQ(view.DXSpriteEngine1.Count(), 0);
  MakePanelImages(v, loader, view);

  struct Expected {
    const char* picture;
    int32_t z;
  };
  const Expected expected[] = {
      {"img_Panel", 0},          {"img_Panel2", 50},       {"img_Lamp_Door", 30},    {"img_Lamp_Power", 52},
      {"img_Lamp_EB", 53},       {"img_Lamp_Gen", 54},     {"img_Lamp_Air", 54},     {"img_Lamp_fin", 55},
      {"img_Lamp_Ele", 26},      {"img_Lamp_Ats1", 57},    {"img_Lamp_Ats2", 58},    {"img_Lamp_Ats3", 58},
      {"img_Lamp_tasc1", 58},    {"img_Lamp_tasc2", 58},   {"img_Lamp_tasc3", 58},   {"img_Lamp_Atsp1", 59},
      {"img_Lamp_Atsp2", 60},    {"img_Lamp_Fwd", 11},     {"img_Lamp_Bck", 12},     {"img_Lamp_stopalert", 63},
      {"img_Needle_speed", 64},  {"img_Needle_brake", 64}, {"img_Needle_ER", 66},    {"img_Needle_BP", 68},
      {"img_Needle_MR", 65},     {"img_Needle_SAP", 69},   {"img_Needle_BC", 67},    {"img_Needle_V", 70},
      {"img_Needle_I", 71},      {"img_Lamp_const", 72},   {"img_Needle_BC_L", 23},  {"img_Needle_MR_L", 24},
      {"img_other0", 70},        {"img_other1", 71},
  };
  const auto& sprites = view.DXSpriteEngine1.Sprites();
  ASSERT_EQ(sprites.size(), std::size(expected));
  for (size_t i = 0; i < sprites.size(); ++i) {
    EXPECT_EQ(PictureName(view, sprites[i]), expected[i].picture) << i;
    EXPECT_EQ(sprites[i].Z, expected[i].z) << expected[i].picture;
    const bool other = std::string(expected[i].picture).rfind("img_other", 0) == 0;
    EXPECT_EQ(sprites[i].Visible, !other) << expected[i].picture;
    EXPECT_EQ(sprites[i].Alpha, std::string(expected[i].picture) == "img_Panel2" ? 0 : 255) << expected[i].picture;
  }
  // "[Lamp_G]" to "[Lamp_R]" name existing files and still make nothing: the count above holds.

  const TSprite* speed = view.DXSpriteEngine1.Get(v.Sprites.NeedleSpeed);
  EXPECT_EQ(speed->X, 210);
  EXPECT_EQ(speed->Y, 320);
  EXPECT_EQ(speed->Width, 12);  // the picture's size, not the record's
  EXPECT_EQ(speed->Height, 100);
  EXPECT_EQ(view.ImageList1.Get(speed->Image)->TransparentColor, (Rgb{255, 255, 255}));
  const TSprite* bar = view.DXSpriteEngine1.Get(v.Sprites.NeedleMR_L);
  EXPECT_EQ(bar->X, 700);
  EXPECT_EQ(bar->Y, 0);
  const TSprite* open = view.DXSpriteEngine1.Get(v.Sprites.OtherImages[0]);
  EXPECT_EQ(open->X, 100);
  EXPECT_EQ(open->Y, 200);
  EXPECT_EQ(v.Sprites.OtherImages[2], kNoSprite);

  // Looked up without regard to case, as the lamp logic names them.
  EXPECT_EQ(view.ImageList1.Find("img_lamp_gen"), view.DXSpriteEngine1.Get(v.Sprites.LampGen)->Image);
  EXPECT_EQ(view.ImageList1.Find("IMG_NEEDLE_SPEED"), speed->Image);
}

TEST(CabPanel, PanelPictureThatCannotBeLoadedNamesItsFile) {
  FakePictureLoader loader;
  loader.Put("train/panel.bmp", 8, 6);
  TCabView view;
  TTestVehicle v = ReadVehicleText(
      "[Panel]\npanel.bmp\n0\n0\n[Lamp_Gen]\nlamp\\Gen Lamp.bmp\n1\n2\n[Lamp_Air]\nair.bmp\n1\n2\n", loader, view);
  try {
    MakePanelImages(v, loader, view);
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "lamp\\Gen Lamp.bmpの生成エラー");
  }
  TCabView view2;
  TTestVehicle others = ReadVehicleText("[Others]\ngone.png\n1\n2\n#\n", loader, view2);
  EXPECT_THROW(MakePanelImages(others, loader, view2), LoadError);
}

TEST(CabPanel, EmptyPanelMakesNothing) {
  FakePictureLoader loader;
  TCabView view;
  TTestVehicle v = ReadVehicleText("[Handle]\n0\n", loader, view);
  MakePanelImages(v, loader, view);
  EXPECT_EQ(view.DXSpriteEngine1.Count(), 0);
  EXPECT_TRUE(loader.requests.empty());
}

}  // namespace
}  // namespace kavrin

#include "data/cab_panel.h"

#include <utility>

#include "core/load_error.h"
#include "core/paths.h"
#include "presentation/picture_list.h"

namespace kavrin {

namespace {

void ReadLamp(DataFile& f, Lamp& l) {
  l.name = f.NextText();
  l.Left = f.NextInt();
  l.Top = f.NextInt();
}

enum class MeterLines { Dial, DialTwoSlopes, Linear, Ammeter };

void ReadMeter(DataFile& f, Meter& m, MeterLines kind) {
  m.name = f.NextText();
  if (kind == MeterLines::Linear) {
    m.Left = f.NextInt();
    m.zero = f.NextInt();
    m.one = f.NextReal();
    return;
  }
  m.Left = f.NextInt();
  m.Top = f.NextInt();
  m.Width = f.NextInt();
  m.Height = f.NextInt();
  m.zero = f.NextInt();
  m.one = f.NextReal();
  if (kind == MeterLines::DialTwoSlopes) m.c = f.NextReal();
  if (kind == MeterLines::Ammeter) m.sign = f.NextInt();
}

void ReadPattern(DataFile& f, TPatternImage& p) {
  p.X = f.NextInt();
  p.Y = f.NextInt();
  p.PatternWidth = f.NextInt();
  p.PatternHeight = f.NextInt();
  p.FileName = f.NextText();
}

// The picture is cut into cells of the pattern size and keyed with its bottom-left pixel; its
// sprite is one cell large.
void MakePatternImage(const TPatternImage& p, const char* picture, int32_t z, SpriteId& sprite,
                      TPanelPictures& out) {
  if (p.FileName.empty()) return;
  std::optional<TPictureEntry> entry = LoadPictureEntry(
      out.Loader, ResolveDataPath(out.VehicleFolder, p.FileName), picture, true, p.PatternWidth, p.PatternHeight);
  if (!entry) throw ValueError{};
  if (TSprite* old = out.View.DXSpriteEngine1.Get(sprite)) {
    // The key came again: its picture and sprite are replaced rather than doubled, so that the
    // earlier one does not stay on the desk beside it.
    *out.View.ImageList1.Get(old->Image) = std::move(*entry);
    TSprite fresh;
    fresh.Image = old->Image;
    fresh.X = p.X;
    fresh.Y = p.Y;
    fresh.Z = z;
    fresh.Width = out.View.ImageList1.Get(old->Image)->CellWidth();
    fresh.Height = out.View.ImageList1.Get(old->Image)->CellHeight();
    *old = fresh;
    return;
  }
  int32_t image = out.View.ImageList1.Add(std::move(*entry));
  sprite = CreateSprite(out.View, image, p.X, p.Y, z);
}

}  // namespace

void ReadPanelKeys(DataFile& f, TCabPanel& p, std::string& title, TPanelPictures& out) {
  // A reference on purpose: once a key has read its values, the later keys are tested against
  // the last value line.
  const std::string& line = f.CurLine;
  auto lamps = [&](std::initializer_list<std::pair<const char*, Lamp*>> keys) {
    for (const auto& [key, lamp] : keys)
      if (KeyMatches(line, key)) ReadLamp(f, *lamp);
  };
  auto meter = [&](const char* group, const char* key, Meter& m, MeterLines kind) {
    title = group;
    if (KeyMatches(line, key)) ReadMeter(f, m, kind);
  };
  auto pattern = [&](const char* key, TPatternImage& image, const char* picture, int32_t z, SpriteId& sprite) {
    title = key;
    if (!KeyMatches(line, key)) return;
    ReadPattern(f, image);
    MakePatternImage(image, picture, z, sprite, out);
  };

  title = "- アナログ時計";
  if (KeyMatches(line, "[Clock]")) {
    p.ClockX = f.NextInt();
    p.ClockY = f.NextInt();
    p.ClockHand = f.NextInt();
  }
  title = "- 運転台パネル";
  lamps({{"[Panel]", &p.Panel}, {"[Panel2]", &p.Panel2}});
  title = "- 運転台パネル2";
  lamps({{"[Lamp_Door]", &p.Lamp_Door},
         {"[Lamp_Power]", &p.Lamp_Power},
         {"[Lamp_EB]", &p.Lamp_EB},
         {"[Lamp_Gen]", &p.Lamp_Gen},
         {"[Lamp_Air]", &p.Lamp_Air},
         {"[Lamp_Fin]", &p.Lamp_Fin},
         {"[Lamp_Ele]", &p.Lamp_Ele},
         {"[Lamp_Ats1]", &p.Lamp_Ats1},
         {"[Lamp_Ats2]", &p.Lamp_Ats2},
         {"[Lamp_Ats3]", &p.Lamp_Ats3},
         {"[Lamp_TASC1]", &p.Lamp_TASC1},
         {"[Lamp_TASC2]", &p.Lamp_TASC2},
         {"[Lamp_TASC3]", &p.Lamp_TASC3},
         {"[Lamp_ATSP1]", &p.Lamp_ATSP1},
         {"[Lamp_ATSP2]", &p.Lamp_ATSP2}});
  title = "- 運転台パネル3";
  lamps({{"[Lamp_G]", &p.Lamp_G},
         {"[Lamp_YG]", &p.Lamp_YG},
         {"[Lamp_Y]", &p.Lamp_Y},
         {"[Lamp_YY]", &p.Lamp_YY},
         {"[Lamp_R]", &p.Lamp_R},
         {"[Lamp_Fwd]", &p.Lamp_Fwd},
         {"[Lamp_Back]", &p.Lamp_Back},
         {"[Lamp_Const]", &p.Lamp_Const},
         {"[Lamp_Stop]", &p.Lamp_Stop}});
  meter("- ブレーキ指令計", "[Needle_Brake]", p.Needle_Brake, MeterLines::Dial);
  meter("- 速度計", "[Needle_Speed]", p.Needle_Speed, MeterLines::DialTwoSlopes);
  meter("- BC圧力計", "[Needle_BC]", p.Needle_BC, MeterLines::Dial);
  meter("- BC圧力計（リニア）", "[Needle_BC_L]", p.Needle_BC_L, MeterLines::Linear);
  meter("- SAP圧力計", "[Needle_SAP]", p.Needle_SAP, MeterLines::Dial);
  meter("- ER圧力計", "[Needle_ER]", p.Needle_ER, MeterLines::Dial);
  meter("- BP圧力計", "[Needle_BP]", p.Needle_BP, MeterLines::Dial);
  meter("- MR圧力計", "[Needle_MR]", p.Needle_MR, MeterLines::Dial);
  meter("- MR圧力計（リニア）", "[Needle_MR_L]", p.Needle_MR_L, MeterLines::Linear);
  meter("- 電圧計", "[Needle_V]", p.Needle_V, MeterLines::Dial);
  meter("- 電流計", "[Needle_I]", p.Needle_I, MeterLines::Ammeter);

  title = "[Lamp_signal]";
  if (KeyMatches(line, "[Lamp_signal]")) {
    ReadPattern(f, p.Lamp_signal);
    p.CabSignalPattern = {};
    int32_t n = 0;
    ReadList(f, [&] {
      // An empty line keeps its place in the list but sets nothing.
      if (!line.empty()) {
        int32_t speed = ToInt(line);
        if (n < kCabSignalPatterns) p.CabSignalPattern[static_cast<size_t>(n)] = speed;
      }
      ++n;
    });
    p.CabSignalCount = n < kCabSignalPatterns ? n : kCabSignalPatterns;
    MakePatternImage(p.Lamp_signal, "img_cabsignal", 30, out.Sprites.CabSignal, out);
  }
  pattern("[NotchImageP]", p.NotchImageP, "img_lamp_p", 31, out.Sprites.LampP);
  pattern("[NotchImageB]", p.NotchImageB, "img_lamp_b", 32, out.Sprites.LampB);
  pattern("[NotchImageP2]", p.NotchImageP2, "img_lamp_p2", 36, out.Sprites.LampP2);
  pattern("[NotchImageB2]", p.NotchImageB2, "img_lamp_b2", 34, out.Sprites.LampB2);
  pattern("[GearImageList]", p.GearImageList, "img_lamp_gear", 35, out.Sprites.LampGear);
  pattern("[GearImageList2]", p.GearImageList2, "img_gearlever", 32, out.Sprites.GearLeverImage);
  pattern("[Digi_Speed]", p.Digi_Speed, "img_digi_speed", 37, out.Sprites.DigiSpeed);

  title = "[Others]";
  if (KeyMatches(line, "[Others]")) {
    p.Others = {};
    p.OthersCount = 0;
    ReadList(f, [&] {
      Lamp l;
      l.name = line;
      l.Left = f.NextInt();
      l.Top = f.NextInt();
      if (p.OthersCount < kOtherImages) p.Others[static_cast<size_t>(p.OthersCount++)] = std::move(l);
    });
  }
}

namespace {

struct PanelPicture {
  const char* picture;
  int32_t z;
  const std::string& file;
  int32_t left, top;
  SpriteId& sprite;
  bool visible = true;
  int32_t alpha = 255;
};

PanelPicture Of(const char* picture, int32_t z, const Lamp& l, SpriteId& sprite) {
  return {picture, z, l.name, l.Left, l.Top, sprite};
}

PanelPicture Of(const char* picture, int32_t z, const Meter& m, SpriteId& sprite) {
  return {picture, z, m.name, m.Left, m.Top, sprite};
}

void Make(const PanelPicture& p, TPanelPictures& out) {
  if (p.file.empty()) return;
  std::optional<TPictureEntry> entry =
      LoadPictureEntry(out.Loader, ResolveDataPath(out.VehicleFolder, p.file), p.picture, true);
  if (!entry) throw LoadError(p.file + kPictureMakeError);
  int32_t image = out.View.ImageList1.Add(std::move(*entry));
  p.sprite = CreateSprite(out.View, image, p.left, p.top, p.z);
  TSprite* s = out.View.DXSpriteEngine1.Get(p.sprite);
  s->Visible = p.visible;
  s->Alpha = p.alpha;
}

}  // namespace

void MakePanelImages(const TCabPanel& p, TPanelPictures& out) {
  TPanelSprites& s = out.Sprites;
  PanelPicture panel2 = Of("img_Panel2", 50, p.Panel2, s.Panel2);
  panel2.alpha = 0;  // the tunnel shade fades it in
  const PanelPicture pictures[] = {
      Of("img_Panel", 0, p.Panel, s.Panel),
      panel2,
      Of("img_Lamp_Door", 30, p.Lamp_Door, s.LampDoor),
      Of("img_Lamp_Power", 52, p.Lamp_Power, s.LampPower),
      Of("img_Lamp_EB", 53, p.Lamp_EB, s.LampEB),
      Of("img_Lamp_Gen", 54, p.Lamp_Gen, s.LampGen),
      Of("img_Lamp_Air", 54, p.Lamp_Air, s.LampAir),
      Of("img_Lamp_fin", 55, p.Lamp_Fin, s.LampFin),
      Of("img_Lamp_Ele", 26, p.Lamp_Ele, s.LampEle),
      Of("img_Lamp_Ats1", 57, p.Lamp_Ats1, s.LampAts1),
      Of("img_Lamp_Ats2", 58, p.Lamp_Ats2, s.LampAts2),
      Of("img_Lamp_Ats3", 58, p.Lamp_Ats3, s.LampAts3),
      Of("img_Lamp_tasc1", 58, p.Lamp_TASC1, s.LampTasc1),
      Of("img_Lamp_tasc2", 58, p.Lamp_TASC2, s.LampTasc2),
      Of("img_Lamp_tasc3", 58, p.Lamp_TASC3, s.LampTasc3),
      Of("img_Lamp_Atsp1", 59, p.Lamp_ATSP1, s.LampAtsp1),
      Of("img_Lamp_Atsp2", 60, p.Lamp_ATSP2, s.LampAtsp2),
      Of("img_Lamp_Fwd", 11, p.Lamp_Fwd, s.LampFwd),
      Of("img_Lamp_Bck", 12, p.Lamp_Back, s.LampBck),
      Of("img_Lamp_stopalert", 63, p.Lamp_Stop, s.LampStopAlert),
      Of("img_Needle_speed", 64, p.Needle_Speed, s.NeedleSpeed),
      Of("img_Needle_brake", 64, p.Needle_Brake, s.NeedleBrake),
      Of("img_Needle_ER", 66, p.Needle_ER, s.NeedleER),
      Of("img_Needle_BP", 68, p.Needle_BP, s.NeedleBP),
      Of("img_Needle_MR", 65, p.Needle_MR, s.NeedleMR),
      Of("img_Needle_SAP", 69, p.Needle_SAP, s.NeedleSAP),
      Of("img_Needle_BC", 67, p.Needle_BC, s.NeedleBC),
      Of("img_Needle_V", 70, p.Needle_V, s.NeedleV),
      Of("img_Needle_I", 71, p.Needle_I, s.NeedleI),
      Of("img_Lamp_const", 72, p.Lamp_Const, s.LampConst),
      Of("img_Needle_BC_L", 23, p.Needle_BC_L, s.NeedleBC_L),
      Of("img_Needle_MR_L", 24, p.Needle_MR_L, s.NeedleMR_L),
  };
  for (const PanelPicture& picture : pictures) Make(picture, out);

  // The extra pictures start hidden; the door, engine, protection and stop-request logic shows
  // them.
  for (int32_t k = 0; k < p.OthersCount && k < kOtherImages; ++k) {
    const std::string name = "img_other" + std::to_string(k);
    PanelPicture other = Of(name.c_str(), 70 + k, p.Others[static_cast<size_t>(k)], s.OtherImages[static_cast<size_t>(k)]);
    other.visible = false;
    Make(other, out);
  }
}

}  // namespace kavrin

#include "data/cab_panel.h"

#include <utility>

#include "core/load_error.h"

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

}  // namespace

void ReadPanelKeys(DataFile& f, TCabPanel& p, std::string& title, PanelImageReader* images) {
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
  auto handOver = [&](PanelPattern which, const TPatternImage& image) {
    if (image.FileName.empty() || images == nullptr) return;
    if (!images->PatternImage(which, image)) throw ValueError{};
  };
  auto pattern = [&](const char* key, TPatternImage& image, PanelPattern which) {
    title = key;
    if (!KeyMatches(line, key)) return;
    ReadPattern(f, image);
    handOver(which, image);
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
    handOver(PanelPattern::CabSignal, p.Lamp_signal);
  }
  pattern("[NotchImageP]", p.NotchImageP, PanelPattern::NotchP);
  pattern("[NotchImageB]", p.NotchImageB, PanelPattern::NotchB);
  pattern("[NotchImageP2]", p.NotchImageP2, PanelPattern::NotchP2);
  pattern("[NotchImageB2]", p.NotchImageB2, PanelPattern::NotchB2);
  pattern("[GearImageList]", p.GearImageList, PanelPattern::Gear);
  pattern("[GearImageList2]", p.GearImageList2, PanelPattern::GearLever);
  pattern("[Digi_Speed]", p.Digi_Speed, PanelPattern::DigiSpeed);

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

}  // namespace kavrin

#pragma once
// The driving desk of a train as the last keys of the vehicle file describe it: clock, panel
// pictures, lamps, gauge needles, pattern images (notch, gear and cab-signal indicators, digital
// speed) and free extra pictures. Only the records: the pictures made from them belong to the
// cab view.
#include <array>
#include <cstdint>
#include <string>

#include "data/data_file.h"

namespace kavrin {

inline constexpr int kCabSignalPatterns = 12;
inline constexpr int kOtherImages = 11;

struct Lamp {
  std::string name;  // picture file, relative to the vehicle folder
  int32_t Left = 0;
  int32_t Top = 0;
};

struct Meter {
  std::string name;  // picture file of the needle
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  int32_t zero = 0;       // degrees at the value 0
  long double one = 0;    // degrees per unit
  int32_t sign = 0;
  long double c = 0;      // degrees per unit below 10 for a two-slope scale; 0 for one slope
};

struct TPatternImage {
  int32_t X = 0, Y = 0;
  int32_t PatternWidth = 0, PatternHeight = 0;
  std::string FileName;  // empty: no picture
};

struct TCabPanel {
  int32_t ClockX = 0, ClockY = 0, ClockHand = 0;

  Lamp Panel, Panel2;
  Lamp Lamp_Door, Lamp_Power, Lamp_EB, Lamp_Gen, Lamp_Air, Lamp_Fin, Lamp_Ele;
  Lamp Lamp_Ats1, Lamp_Ats2, Lamp_Ats3, Lamp_TASC1, Lamp_TASC2, Lamp_TASC3, Lamp_ATSP1, Lamp_ATSP2;
  Lamp Lamp_G, Lamp_YG, Lamp_Y, Lamp_YY, Lamp_R;  // read, never drawn
  Lamp Lamp_Fwd, Lamp_Back, Lamp_Const, Lamp_Stop;

  Meter Needle_Brake, Needle_Speed, Needle_BC, Needle_BC_L, Needle_SAP, Needle_ER, Needle_BP;
  Meter Needle_MR, Needle_MR_L, Needle_V, Needle_I;

  TPatternImage Lamp_signal, NotchImageP, NotchImageB, NotchImageP2, NotchImageB2;
  TPatternImage GearImageList, GearImageList2, Digi_Speed;

  // The cab-signal speeds: CabSignalPattern[k] is the speed that lamp pattern k stands for.
  std::array<int32_t, kCabSignalPatterns> CabSignalPattern{};
  int32_t CabSignalCount = 0;

  std::array<Lamp, kOtherImages> Others{};
  int32_t OthersCount = 0;

  // The clock is drawn only when placed inside the view.
  bool DrawsClock() const { return ClockX > 0 && ClockY > 0; }
};

// The pattern images of the panel, in the order the reader meets their keys.
enum class PanelPattern { CabSignal, NotchP, NotchB, NotchP2, NotchB2, Gear, GearLever, DigiSpeed };

// Receives each pattern image as soon as its key has been read: a key read again hands its
// image over again, and the earlier one is to be replaced, not doubled. The order matters to the
// cab view, where images of equal depth draw in the order they were made.
class PanelImageReader {
 public:
  virtual ~PanelImageReader() = default;
  // False when the picture cannot be loaded; the reader then fails with the pattern's key as
  // the group title.
  virtual bool PatternImage(PanelPattern which, const TPatternImage& image) = 0;
};

// Tests the panel keys, in their order, against file.CurLine; `title` follows the key group
// being read. Each pattern image with a file name goes to `images` (when there is one) as soon
// as its key has been read. Throws ValueError on a value that does not convert or a pattern
// picture that cannot be loaded (the group title is then the pattern's key).
void ReadPanelKeys(DataFile& file, TCabPanel& panel, std::string& title, PanelImageReader* images);

}  // namespace kavrin

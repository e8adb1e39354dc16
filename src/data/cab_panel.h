#pragma once
// The driving desk of a train: clock, panel pictures, lamps, gauge needles, pattern images
// (notch, gear and cab-signal indicators, digital speed) and free extra pictures, as the last
// keys of the vehicle file describe them, and the pictures and sprites made from them.
//
// Pattern images are made while the file is read; the panel pictures, lamps, needles and extra
// pictures once every data file has been read (MakePanelImages), after the route's trackside
// pictures. Sprites of equal depth draw in creation order, so that order is kept.
#include <array>
#include <cstdint>
#include <string>

#include "data/data_file.h"
#include "presentation/picture.h"
#include "presentation/sprites.h"

namespace kavrin {

inline constexpr const char* kPictureMakeError = "の生成エラー";  // after the file name
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

// The sprites made for the panel, kNoSprite where the vehicle file names no picture.
struct TPanelSprites {
  // Pattern images.
  SpriteId CabSignal = kNoSprite;       // "img_cabsignal"
  SpriteId LampP = kNoSprite;           // "img_lamp_p"
  SpriteId LampB = kNoSprite;           // "img_lamp_b"
  SpriteId LampP2 = kNoSprite;          // "img_lamp_p2"
  SpriteId LampB2 = kNoSprite;          // "img_lamp_b2"
  SpriteId LampGear = kNoSprite;        // "img_lamp_gear"
  SpriteId GearLeverImage = kNoSprite;  // "img_gearlever"
  SpriteId DigiSpeed = kNoSprite;       // "img_digi_speed"

  // Panel pictures, lamps and needles.
  SpriteId Panel = kNoSprite, Panel2 = kNoSprite;
  SpriteId LampDoor = kNoSprite, LampPower = kNoSprite, LampEB = kNoSprite, LampGen = kNoSprite;
  SpriteId LampAir = kNoSprite, LampFin = kNoSprite, LampEle = kNoSprite;
  SpriteId LampAts1 = kNoSprite, LampAts2 = kNoSprite, LampAts3 = kNoSprite;
  SpriteId LampTasc1 = kNoSprite, LampTasc2 = kNoSprite, LampTasc3 = kNoSprite;
  SpriteId LampAtsp1 = kNoSprite, LampAtsp2 = kNoSprite;
  SpriteId LampFwd = kNoSprite, LampBck = kNoSprite, LampStopAlert = kNoSprite, LampConst = kNoSprite;
  SpriteId NeedleSpeed = kNoSprite, NeedleBrake = kNoSprite, NeedleER = kNoSprite, NeedleBP = kNoSprite;
  SpriteId NeedleMR = kNoSprite, NeedleSAP = kNoSprite, NeedleBC = kNoSprite, NeedleV = kNoSprite;
  SpriteId NeedleI = kNoSprite, NeedleBC_L = kNoSprite, NeedleMR_L = kNoSprite;

  // "img_other" + k, from row k of "[Others]".
  std::array<SpriteId, kOtherImages> OtherImages{kNoSprite, kNoSprite, kNoSprite, kNoSprite, kNoSprite, kNoSprite,
                                                  kNoSprite, kNoSprite, kNoSprite, kNoSprite, kNoSprite};
};

// Where the panel's pictures are loaded from and where they go.
struct TPanelPictures {
  std::string VehicleFolder;
  PictureLoader& Loader;
  TCabView& View;
  TPanelSprites& Sprites;
};

// Tests the panel keys, in their order, against file.CurLine; `title` follows the key group
// being read. A pattern image is made as soon as its key has been read. Throws ValueError on a
// value that does not convert or a pattern picture that cannot be loaded (the group title is
// then the pattern's key).
void ReadPanelKeys(DataFile& file, TCabPanel& panel, std::string& title, TPanelPictures& out);

// Makes the panel pictures, lamps, needles and extra pictures, each only when its record names
// a file. Throws LoadError with the file name as written followed by kPictureMakeError when one
// cannot be loaded.
void MakePanelImages(const TCabPanel& panel, TPanelPictures& out);

}  // namespace kavrin

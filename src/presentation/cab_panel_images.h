#pragma once
// The pictures and sprites of a train's driving desk, made from the cab panel records of the
// vehicle file. Pattern images are made while the file is read (the reader hands them over as
// it meets their keys); the panel pictures, lamps, needles and extra pictures once every data
// file has been read (MakePanelImages), after the route's trackside pictures. Sprites of equal
// depth draw in creation order, so that order is kept.
#include <array>
#include <string>
#include <utility>

#include "core/picture.h"
#include "data/cab_panel.h"
#include "data/vehicle_file.h"
#include "presentation/sprites.h"

namespace kavrin {

inline constexpr const char* kPictureMakeError = "の生成エラー";  // after the file name

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

// Makes each pattern image as the vehicle reader meets its key: cut into cells of the pattern
// size, keyed with its bottom-left pixel, with a sprite one cell large.
class PanelImageMaker : public PanelImageReader {
 public:
  explicit PanelImageMaker(TPanelPictures out) : out_(std::move(out)) {}
  bool PatternImage(PanelPattern which, const TPatternImage& image) override;

 private:
  TPanelPictures out_;
};

// Makes the panel pictures, lamps, needles and extra pictures, each only when its record names
// a file. Throws LoadError with the file name as written followed by kPictureMakeError when one
// cannot be loaded.
void MakePanelImages(const TCabPanel& panel, TPanelPictures& out);

// A vehicle with everything it makes: what a train alone needs, and what `check` shows of it.
struct TLoadedVehicle {
  TVehicleFile Vehicle;
  TCabView View;
  TPanelSprites Sprites;
};

// Reads the vehicle file with its pattern images, then makes the panel pictures at once (no
// route pictures in between). Throws LoadError as LoadVehicleFile and MakePanelImages do.
TLoadedVehicle LoadVehicle(const std::string& path, PictureLoader& loader);

}  // namespace kavrin

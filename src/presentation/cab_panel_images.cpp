#include "presentation/cab_panel_images.h"

#include <optional>
#include <utility>

#include "core/load_error.h"
#include "core/paths.h"
#include "presentation/picture_list.h"

namespace kavrin {

namespace {

struct PatternPlace {
  const char* picture;
  int32_t z;
  SpriteId TPanelSprites::*sprite;
};

// Indexed by PanelPattern.
constexpr PatternPlace kPatternPlaces[] = {
    {"img_cabsignal", 30, &TPanelSprites::CabSignal},  {"img_lamp_p", 31, &TPanelSprites::LampP},
    {"img_lamp_b", 32, &TPanelSprites::LampB},         {"img_lamp_p2", 36, &TPanelSprites::LampP2},
    {"img_lamp_b2", 34, &TPanelSprites::LampB2},       {"img_lamp_gear", 35, &TPanelSprites::LampGear},
    {"img_gearlever", 32, &TPanelSprites::GearLeverImage}, {"img_digi_speed", 37, &TPanelSprites::DigiSpeed},
};

}  // namespace

bool PanelImageMaker::PatternImage(PanelPattern which, const TPatternImage& p) {
  const PatternPlace& place = kPatternPlaces[static_cast<size_t>(which)];
  std::optional<TPictureEntry> entry = LoadPictureEntry(
      out_.Loader, ResolveDataPath(out_.VehicleFolder, p.FileName), place.picture, true, p.PatternWidth, p.PatternHeight);
  if (!entry) return false;
  PutPictureSprite(out_.View, out_.Sprites.*place.sprite, std::move(*entry), p.X, p.Y, place.z);
  return true;
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

TLoadedVehicle LoadVehicle(const std::string& path, PictureLoader& loader) {
  TLoadedVehicle out;
  TPanelPictures pictures{std::string(), loader, out.View, out.Sprites};
  PanelImageMaker patterns(TPanelPictures{VehicleFolderOf(path), loader, out.View, out.Sprites});
  out.Vehicle = LoadVehicleFile(path, &patterns);
  pictures.VehicleFolder = out.Vehicle.VehicleFolder;
  MakePanelImages(out.Vehicle.Panel, pictures);
  return out;
}

}  // namespace kavrin

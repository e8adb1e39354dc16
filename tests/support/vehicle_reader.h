#pragma once
// Reads a vehicle file written inline in a test, with pictures from a fake loader.
#include <string>

#include "core/load_error.h"
#include "data/data_file.h"
#include "data/vehicle_file.h"
#include "presentation/cab_panel_images.h"
#include "support/fake_picture_loader.h"

namespace kavrin::test {

// A vehicle with the sprites of its desk, as a run makes them.
struct TTestVehicle : TVehicleFile {
  TPanelSprites Sprites;
};

inline TTestVehicle ReadVehicleText(const std::string& text, PictureLoader& loader, TCabView& view) {
  TTestVehicle v;
  PanelImageMaker patterns({"train/", loader, view, v.Sprites});
  DataFile f(text);
  static_cast<TVehicleFile&>(v) = ReadVehicleFile(f, "train/", &patterns);
  return v;
}

inline void MakePanelImages(TTestVehicle& v, PictureLoader& loader, TCabView& view) {
  TPanelPictures pictures{v.VehicleFolder, loader, view, v.Sprites};
  MakePanelImages(v.Panel, pictures);
}

inline TTestVehicle ReadVehicleText(const std::string& text) {
  FakePictureLoader loader;
  TCabView view;
  return ReadVehicleText(text, loader, view);
}

// The message the file fails with, or "(loaded)".
inline std::string VehicleFailure(const std::string& text) {
  try {
    ReadVehicleText(text);
  } catch (const LoadError& e) {
    return e.what();
  }
  return "(loaded)";
}

}  // namespace kavrin::test

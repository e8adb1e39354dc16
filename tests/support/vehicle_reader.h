#pragma once
// Reads a vehicle file written inline in a test, with pictures from a fake loader.
#include <string>

#include "core/load_error.h"
#include "data/data_file.h"
#include "data/vehicle_file.h"
#include "support/fake_picture_loader.h"

namespace kavrin::test {

inline TVehicleFile ReadVehicleText(const std::string& text, PictureLoader& loader, TCabView& view) {
  DataFile f(text);
  return ReadVehicleFile(f, "train/", loader, view);
}

inline TVehicleFile ReadVehicleText(const std::string& text) {
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

#include "data/vehicle_file.h"

#include <filesystem>

#include "core/load_error.h"

namespace kavrin {

namespace {

std::string FolderOf(const std::string& path) {
  std::string slashed = path;
  for (char& c : slashed) if (c == '\\') c = '/';
  const size_t cut = slashed.rfind('/');
  return cut == std::string::npos ? std::string() : slashed.substr(0, cut + 1);
}

}  // namespace

TVehicleFile ReadVehicleFile(DataFile& f, const std::string& vehicleFolder, PictureLoader& loader, TCabView& view) {
  TVehicleFile v;
  v.VehicleFolder = vehicleFolder;
  TPanelPictures pictures{vehicleFolder, loader, view, v.Sprites};
  std::string title;
  try {
    // Not `while (ReadLine())`: the last line must stay in CurLine, as the route reader shows it
    // when the route file cannot be opened.
    while (!f.Eof()) {
      f.ReadLine();
      title = kBasicGroupTitle;
      ReadParamKeys(f, v.veh);
      ReadTableKeys(f, v.veh, v.Tables, title);
      ReadPanelKeys(f, v.Panel, title, pictures);
    }
  } catch (const ValueError&) {
    throw LoadError(std::string(kVehicleFileError) + title, f.Place(title));
  } catch (const LoadError& e) {
    if (e.HasPlace()) throw;
    throw LoadError(e.what(), f.Place(title));
  }
  v.LeftLabel = title;
  v.LeftLine = f.CurLine;
  return v;
}

TVehicleFile LoadVehicleFile(const std::string& path, PictureLoader& loader, TCabView& view) {
  std::error_code ec;
  // A folder opens as an empty stream on some systems; it is no vehicle file either.
  if (std::filesystem::is_directory(path, ec)) throw LoadError(kVehicleFileError, DataFile::MissingPlace(path));
  std::optional<DataFile> f = DataFile::Open(path);
  if (!f) throw LoadError(kVehicleFileError, DataFile::MissingPlace(path));
  return ReadVehicleFile(*f, FolderOf(path), loader, view);
}

void MakePanelImages(TVehicleFile& vehicle, PictureLoader& loader, TCabView& view) {
  TPanelPictures pictures{vehicle.VehicleFolder, loader, view, vehicle.Sprites};
  MakePanelImages(vehicle.Panel, pictures);
}

TLoadedVehicle LoadVehicle(const std::string& path, PictureLoader& loader) {
  TLoadedVehicle out;
  out.Vehicle = LoadVehicleFile(path, loader, out.View);
  MakePanelImages(out.Vehicle, loader, out.View);
  return out;
}

}  // namespace kavrin

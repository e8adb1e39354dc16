#include "data/vehicle_file.h"

#include <filesystem>

#include "core/load_error.h"

namespace kavrin {

std::string VehicleFolderOf(const std::string& path) {
  std::string slashed = path;
  for (char& c : slashed) if (c == '\\') c = '/';
  const size_t cut = slashed.rfind('/');
  return cut == std::string::npos ? std::string() : slashed.substr(0, cut + 1);
}

TVehicleFile ReadVehicleFile(DataFile& f, const std::string& vehicleFolder, PanelImageReader* images) {
  TVehicleFile v;
  v.VehicleFolder = vehicleFolder;
  std::string title;
  try {
    // Not `while (ReadLine())`: the last line must stay in CurLine, as the route reader shows it
    // when the route file cannot be opened.
    while (!f.Eof()) {
      f.ReadLine();
      title = kBasicGroupTitle;
      ReadParamKeys(f, v.veh);
      ReadTableKeys(f, v.veh, v.Tables, title);
      ReadPanelKeys(f, v.Panel, title, images);
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

TVehicleFile LoadVehicleFile(const std::string& path, PanelImageReader* images) {
  std::error_code ec;
  // A folder opens as an empty stream on some systems; it is no vehicle file either.
  if (std::filesystem::is_directory(path, ec)) throw LoadError(kVehicleFileError, DataFile::MissingPlace(path));
  std::optional<DataFile> f = DataFile::Open(path);
  if (!f) throw LoadError(kVehicleFileError, DataFile::MissingPlace(path));
  return ReadVehicleFile(*f, VehicleFolderOf(path), images);
}

}  // namespace kavrin

#pragma once
// The vehicle file as a whole: parameters, sound and traction tables and the cab panel, read in
// one run of passes that tests the keys of all three in one fixed order.
#include <string>

#include "data/cab_panel.h"
#include "data/data_file.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"

namespace kavrin {

struct TVehicleFile {
  // Folder of the vehicle file: its picture and sound names are relative to it.
  std::string VehicleFolder;
  TVehicleParams veh;
  TVehicleTables Tables;
  TCabPanel Panel;
  // The group title and the line in force when the reader stopped: a route file that cannot be
  // opened is reported with them.
  std::string LeftLabel;
  std::string LeftLine;
};

// The folder a vehicle file's names are relative to: the file's own, with a trailing "/".
std::string VehicleFolderOf(const std::string& path);

// Reads a vehicle file, handing its pattern images to `images` (when there is one) as their keys
// are read. Throws LoadError: kVehicleFileError followed by the group title being read, or the
// message of a table that does not fit Engine_Type.
TVehicleFile LoadVehicleFile(const std::string& path, PanelImageReader* images);
TVehicleFile ReadVehicleFile(DataFile& file, const std::string& vehicleFolder, PanelImageReader* images);

}  // namespace kavrin

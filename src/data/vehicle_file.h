#pragma once
// The vehicle file as a whole: parameters, sound and traction tables and the cab panel, read in
// one run of passes that tests the keys of all three in one fixed order.
#include <string>

#include "data/cab_panel.h"
#include "data/data_file.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "presentation/picture.h"
#include "presentation/sprites.h"

namespace kavrin {

struct TVehicleFile {
  // Folder of the vehicle file: its picture and sound names are relative to it.
  std::string VehicleFolder;
  TVehicleParams veh;
  TVehicleTables Tables;
  TCabPanel Panel;
  TPanelSprites Sprites;
  // The group title and the line in force when the reader stopped: a route file that cannot be
  // opened is reported with them.
  std::string LeftLabel;
  std::string LeftLine;
};

// Reads a vehicle file and makes its pattern images in `view` as their keys are read. The
// panel pictures, lamps and needles are left for MakePanelImages. Throws LoadError:
// kVehicleFileError followed by the group title being read, or the message of a table that does
// not fit Engine_Type.
TVehicleFile LoadVehicleFile(const std::string& path, PictureLoader& loader, TCabView& view);
TVehicleFile ReadVehicleFile(DataFile& file, const std::string& vehicleFolder, PictureLoader& loader,
                             TCabView& view);

// The panel pictures, lamps, needles and extra pictures of a vehicle already read, made after
// every data file of the run has been read. Throws LoadError (file name + kPictureMakeError).
void MakePanelImages(TVehicleFile& vehicle, PictureLoader& loader, TCabView& view);

// A vehicle with everything it makes: what a train alone needs, and what `check` shows of it.
struct TLoadedVehicle {
  TVehicleFile Vehicle;
  TCabView View;
};

// LoadVehicleFile, then MakePanelImages at once (no route pictures in between).
TLoadedVehicle LoadVehicle(const std::string& path, PictureLoader& loader);

}  // namespace kavrin

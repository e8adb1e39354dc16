#pragma once
#include <string>

#include "demo/data_text.h"

namespace kavrin::demo {

// The two built-in trains, kept to what a run needs to load and drive: parameters, traction
// and a door lamp. Their sounds and desks come with the demo trains.
DataText ElectricTrainText();  // "train_1000.dat"
DataText DieselTrainText();    // "train_0.dat"
// Their pictures, under `folder` (ending with a slash).
void WriteTrainPictures(const std::string& folder);

}  // namespace kavrin::demo

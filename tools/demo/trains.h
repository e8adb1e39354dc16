#pragma once
#include <string>

#include "demo/data_text.h"

namespace kavrin::demo {

// The two built-in trains: an electric four-car set with a one-handle controller, an
// electric-command brake blended with the regenerative brake and the speed-pattern protection,
// and a two-car diesel with an automatic gearbox, the automatic air brake and the signal-point
// protection. Their desks come from cab_panels, their sounds from train_sounds.
DataText ElectricTrainText();  // "train_1000.dat"
DataText DieselTrainText();    // "train_0.dat"
// Their desk pictures, under `folder` (ending with a slash).
void WriteTrainPictures(const std::string& folder);

}  // namespace kavrin::demo

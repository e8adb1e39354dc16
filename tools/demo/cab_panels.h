#pragma once
// The driving desks of the two demo trains: the panel keys of their vehicle files and the
// pictures those keys name, made from one description so that every lamp, needle and indicator
// lands on the place the panel picture draws for it.
#include <string>

#include "demo/data_text.h"

namespace kavrin::demo {

enum class Train { Electric, Diesel };

// The folder of a train's own files, relative to the program folder: "train/1000".
std::string TrainFolder(Train train);

// "[Clock]" to "[Others]", in the order the vehicle file lists them.
void PanelKeys(DataText& text, Train train);
// The panel picture, lamps, needles, indicator strips and extra pictures, under `folder` (the
// program folder, ending with a slash). Every picture is keyed by its bottom-left pixel.
void WritePanelPictures(Train train, const std::string& folder);

}  // namespace kavrin::demo

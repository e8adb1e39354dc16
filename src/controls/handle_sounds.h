#pragma once
// The handle clicks after a character key: the brake and power handle sounds of the vehicle's
// "[Sound_BK]", "[Sound_BR]", "[Sound_BA]", "[Sound_PA]", "[Sound_PR]" and "[Sound_PK]" tables,
// chosen by comparing the handle with the position in force (the delayed copies). A row the
// table does not have plays nothing.
#include "controls/controls.h"

namespace kavrin {

void HandleClickSounds(TControls& c);

}  // namespace kavrin

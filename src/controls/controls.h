#pragma once
// What the keys, the wheel and masconupdate work on: the handle state (the controls' own), the
// train's data, the cab's sprites and sounds, and the few values of other subsystems that a key
// reads or moves.
#include <cstdint>

#include "controls/handle_state.h"
#include "controls/key_actions.h"
#include "data/cab_panel.h"
#include "presentation/cab_panel_images.h"
#include "data/string_file.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "presentation/sprites.h"
#include "sound/sound_bank.h"

namespace kavrin {

// What the keys read of other subsystems, copied from their owners as the key is handled; the
// keys change another owner's state only through its hooks in TKeyActions.
struct TTrainLink {
  long double Speed = 0;  // km/h, signed
  int32_t EmergencyTrip = 0;
  int32_t ATSTrip = 0;
  uint8_t DoorState = 0;  // 0 closed
  int32_t OneMan = 0;     // route "[OneMan]" lines 1 and 2
  int32_t OneManDoors = 0;
};

struct TControls {
  THandleState& Handle;
  TDelayedHandle& Delayed;
  TKeyState& Keys;
  const TVehicleParams& veh;
  const TVehicleTables& Tables;
  const TPanelSprites& Panel;
  const TStringFile& Strings;
  TCabView& View;  // the notch images need their pictures' pattern counts
  SoundBank& Sound;
  const TKeyActions& Actions;
  TTrainLink Train;
  // The run has started and is not paused: until then the character keys do nothing.
  bool Running = false;
};

}  // namespace kavrin

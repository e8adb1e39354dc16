#pragma once
// What the keys, the wheel and masconupdate work on: the handle state (the controls' own), the
// train's data, the cab's sprites and sounds, and the few values of other subsystems that a key
// reads or moves.
#include <cstdint>

#include "controls/handle_state.h"
#include "controls/key_actions.h"
#include "data/cab_panel.h"
#include "data/string_file.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "presentation/sprites.h"
#include "sound/sound_bank.h"

namespace kavrin {

// State of other subsystems, by pointer to its owner's field. An owner that is not in the
// program leaves its pointer null: it reads as its start value (standing, no trip, doors
// closed) and is not written.
struct TTrainLink {
  long double* Speed = nullptr;          // km/h, signed; the debug keys move it
  const int32_t* EmergencyTrip = nullptr;
  const int32_t* ATSTrip = nullptr;
  const int32_t* DoorState = nullptr;    // 0 closed
  int32_t* CurFrame = nullptr;           // the debug keys move the film and the clock
  int32_t FrameCount = 0;                // last usable frame, 0 when there is no film
  int32_t* ClockTime = nullptr;
  int32_t OneMan = 0;                    // route "[OneMan]" lines 1 and 2
  int32_t OneManDoors = 0;

  long double speed() const { return Speed ? *Speed : 0.0L; }
  bool emergencyTrip() const { return EmergencyTrip && *EmergencyTrip != 0; }
  bool atsTrip() const { return ATSTrip && *ATSTrip != 0; }
  bool doorsClosed() const { return !DoorState || *DoorState == 0; }
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

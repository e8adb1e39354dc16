#pragma once
// What the traction and brake steps read of the rest of the run, gathered by the tick: the
// doors, the protection demands, the film, the engine and the held keys.
#include <cstdint>

#include "dynamics/dynamics_state.h"

namespace kavrin {

struct TTrainInputs {
  long double DispRate = 0;   // 33 ms ticks per second
  uint8_t DoorState = 0;      // 1 doors open
  int32_t EmergencyTrip = 0;  // emergency brake demanded
  int32_t ATSTrip = 0;        // maximum service brake demanded
  int32_t MovieState = 0;     // 1 while a side film shows: power changes are not taken up
  int32_t EngineRunning = 1;
  int32_t CurrentLimitAdd = 0;  // A, while the current-limit key is held
  const TDieselState* Diesel = nullptr;  // the engine and gearbox; none: a diesel car has no force
};

}  // namespace kavrin

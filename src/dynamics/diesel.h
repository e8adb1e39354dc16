#pragma once
// The engine and gearbox of a diesel railcar: the effort of the engaged gear, the engine speed,
// the automatic selection and the one-second gear change, the stall, and the engine start and
// stop keys. The effort and the engine speed run in the 33 ms tick, the rest in the 100 ms tick.
#include <cstdint>

#include "controls/handle_state.h"
#include "data/vehicle_params.h"
#include "data/vehicle_tables.h"
#include "dynamics/dynamics_state.h"

namespace kavrin {

// The force (N) the engaged gear gives at `speed` with `appliedNotch`, before the reverser: none
// while a gear change is in progress, without power, or at and above the gear's top speed S2.
// Below PowerJerk only the first two notches count.
long double DieselTractiveForce(const TVehicleParams& veh, const TVehicleTables& t, const TDieselState& d,
                                int32_t appliedNotch, long double speed);

// One 33 ms step of the engine speed.
void UpdateEngineSpeed(TDieselState& d, const TVehicleTables& t, int32_t appliedNotch, long double speed);

// The automatic gearbox moves the lever with the speed while no change is in progress.
void SelectGear(TDieselState& d, THandleState& h, const TVehicleTables& t, long double speed);

// What the gear change reads of the rest of the train.
struct TGearShiftInputs {
  int32_t AppliedNotch = 0;
  int32_t DoorLock = 0;
  bool DoorsClosed = true;
  bool EmergencyTrip = false;
};

// Starts a change towards the lever when power is applied, drops to neutral when it is taken
// off, and completes a change after one second, when the gear picture (GearShown) follows.
// Returns true when the cab must be brought up to date (masconupdate).
bool ShiftGears(TDieselState& d, const THandleState& h, const TGearShiftInputs& in);

// Power in the top gear at a standstill stalls the engine. Its sounds go to EngineSounds.
void CheckEngineStall(TDieselState& d, const THandleState& h, TDelayedHandle& dh, const TVehicleTables& t,
                      long double speed);

// The start and stop keys, held for their time; `engineSwitch` is what the keys hold (1 start,
// 2 stop, 0 none). Their sounds go to EngineSounds.
void OperateEngineKeys(TDieselState& d, int32_t engineSwitch, const THandleState& h, const TVehicleTables& t);

// The panel's engine picture is shown while the engine runs, cranks or winds down.
bool EnginePictureShown(const TDieselState& d);

}  // namespace kavrin

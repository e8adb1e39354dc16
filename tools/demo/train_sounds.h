#pragma once
// The sounds of the two demo trains: their "[DriveSound]" lists, the motor and engine recordings
// of the curve tables, and the recipes that make them. The running bands, doors, bells and
// handle clicks are shared; motors, engines, compressors and horns are each train's own.
#include <string>
#include <vector>

#include "demo/assets.h"
#include "demo/cab_panels.h"

namespace kavrin::demo {

// Channels of "[DriveSound]": the same layout for both trains up to kDriveCommon, the diesel's
// engine sounds after it. Running band b (the sound at 10 b km/h) is channel b.
enum DriveChannel : int {
  kRunBands = 13,
  kSqueal = kRunBands,
  kReleaseLong,
  kReleaseStep,
  kApplyAir,
  kEmergency,
  kDoorOpen,
  kDoorClose,
  kHasten,
  kHastenEnd,
  kBuzzer,
  kAtsBell,
  kAtsChime,
  kAtsAck,
  kAtsPattern,
  kAtsOff,
  kVigilance,
  kDepSignal,
  kStopAlarm,
  kClickBrake,
  kClickPower,
  kClickEmergency,
  kCompStart,
  kCompLoop,
  kCompEnd,
  kHornA,
  kHornB,
  kHornC,
  kHornTail,
  kHorn2,
  kDriveCommon,
  kIdle = kDriveCommon,  // diesel only from here
  kIdleDoors,
  kEngineStart,
  kEngineStop,
  kAutoApply,
  kAutoCharge,
  kDriveDiesel,
};

std::vector<SoundFile> DriveSounds(Train train);
// The recordings of the curve tables, one per row, in row order.
std::vector<SoundFile> MotorCurveSounds(Train train);  // "[EngineSound1]"
std::vector<SoundFile> GearCurveSounds(Train train);   // "[EngineSound3]"

// Makes every sound of both trains under `folder` (the program folder, ending with a slash);
// returns how many files it wrote.
int WriteTrainSounds(const std::string& folder);

}  // namespace kavrin::demo

#pragma once
// The running and equipment sounds: the brakes, the wheels, the motors and engines, the line's
// own sounds, the horn and the buzzer. Each step reads a small inputs struct, filled by the run
// from its owners' state, and works on the channels directly; nothing here changes the train
// except the horn's draw on the main reservoir.
//
// Volumes are in 1/100 dB. A "loop" starts a channel looping only when it is not already busy;
// a repeated "stop" stops a busy channel only, so an idle channel is left alone.
#include <array>
#include <cstdint>
#include <span>

#include "core/fixed4.h"
#include "core/level_law.h"
#include "data/route_tables.h"
#include "data/vehicle_tables.h"
#include "sound/load_sounds.h"
#include "sound/sound_bank.h"

namespace kavrin {

struct TRunningSoundState {
  // Per "[Sound]" row: the sound has been started.
  TRowState<decltype(TRouteTables::RouteSounds)> RouteSoundStarted{};
  // Per "[Switch]" row: the points have been heard.
  TRowState<decltype(TRouteTables::Switches)> SwitchPlayed{};
  // 0.1..1, the share of the line's sounds let through; 1 again at the start of every tick.
  long double AttenFactor = 1;
  int32_t BrakeSoundDone = 0;  // a release sound has been played for this handle movement
  int32_t EBSoundDone = 0;     // the emergency sound has been played for this emergency
  // Volume percentage each curve row gives at the present speed (or engine speed).
  std::array<long double, kMotorSoundRows> MotorCurveVol{};
  std::array<long double, kHensokuSoundRows> HensokuCurveVol{};
  int32_t DoorOpenTicks = 0;  // 100 ms ticks since the doors stood open
  int32_t LastHornTime = 0;   // ClockTime of the last horn segment
  Fixed4 HornDip{};           // kPa the main-reservoir gauge shows below the pressure
  long double HornDipRate = 0;
  int32_t BuzzerPad = 0;  // no controller holds the buzzer yet
};

inline void StartRunningSounds(TRunningSoundState& s) { s = TRunningSoundState{}; }

// Every flag and level back to the start of a run (the station jump), the row levels of the
// engine sounds included.
void ResetRunningSounds(TRunningSoundState& s, TSoundState& levels);


// What the brake sounds read of the train.
struct TBrakeSoundInputs {
  long double Speed = 0;    // km/h, signed
  long double BcPressT = 0;  // kPa
  long double BpPress = 0;   // kPa
  long double MrPress = 0;   // kPa
  long double EBrakeCurrent = 0;
  int32_t BrakeType = 0;
  int32_t Brake = 0;
  int32_t EBPress = 0;
  int32_t LoseElec1 = 0;
  int32_t BrakeNotch = 0;
  int32_t LastBrakeNotch = 0;
  bool EmergencyTrip = false;
  bool ATSTrip = false;
};

// The squeal of the shoes in the last metres: louder as the speed falls and the cylinders fill.
void BrakeSqueal(SoundBank& bank, const TVehicleTables& t, const TBrakeSoundInputs& in);
// The exhaust of a brake being let off, once per handle movement.
void BrakeReleaseSound(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t, const TBrakeSoundInputs& in);
// Once per emergency application.
void EmergencyBrakeSound(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t,
                         const TBrakeSoundInputs& in);
// The automatic brake's pipe venting on application and filling on release.
void AutomaticBrakeSounds(SoundBank& bank, const TVehicleTables& t, const TBrakeSoundInputs& in);

// What the line's sounds read of the train.
struct TLineSoundInputs {
  long double Speed = 0;     // km/h
  long double Position = 0;  // cm
  int32_t CurFrame = 0;
  // Per station: its departure has been announced. Shorter than the stations (or empty): the
  // stations beyond have not been.
  std::span<const uint8_t> DepAnnounced;
};

// The last "[Atten]" row around the frame sets AttenFactor.
void AttenuationZones(TRunningSoundState& s, const TRouteTables& route, int32_t curFrame);
// The "[Sound]" rows: sounds started, looped and faded at their frames.
void EnvironmentSounds(TRunningSoundState& s, SoundBank& bank, const TRouteTables& route,
                       const TChannelLayout& layout, const TLineSoundInputs& in);
// Points heard once as the train runs over them, by the vehicle's "[SwitchSound]" rows.
void PointsSounds(TRunningSoundState& s, SoundBank& bank, const TRouteTables& route, const TVehicleTables& t,
                  const TLineSoundInputs& in);
// Sources beside the line, pitched by the train's approach and fading with the distance.
void DopplerSounds(SoundBank& bank, const TRouteTables& route, const TChannelLayout& layout,
                   const TLineSoundInputs& in);

// The wheels: the two recordings around the speed cross-faded, one band per 10 km/h.
void RunningBands(SoundBank& bank, int32_t driveSoundCount, long double speed);

// What the motor and engine curves read of the train.
struct TMotorSoundInputs {
  long double Speed = 0;  // km/h
  long double EngineRpm = 0;
  int32_t AppliedNotch = 0;
  int32_t LastBrakeNotch = 0;
  int32_t SuppressPos = 0;
  int32_t Brake = 0;
  int32_t Gear = 0;
  int32_t EngineRunning = 0;
  int32_t GearShiftState = 0;
  int32_t LoseElec0 = 0;
  int32_t DoorState = 0;
  bool EmergencyTrip = false;
  bool ATSTrip = false;
};

// Electric motors: each row's pitch and volume by speed, faded in while it is wanted.
void ElectricMotorCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                         const TMotorSoundInputs& in);
// Counts the ticks the doors have stood open; the engine's idle sound follows it.
void DoorOpenCounter(TRunningSoundState& s, int32_t doorState, int32_t doorOpening);
// The diesel engine by its speed, its two idle sounds and the gearbox's curves by road speed.
void DieselEngineCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                        const TMotorSoundInputs& in);
void GearChangeCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                      const TMotorSoundInputs& in);

// What the horn and buzzer read of the keys.
struct THornInputs {
  int32_t HornKey = 0;
  int32_t HornPad = 0;
  int32_t HornTap = 0;  // held for this pass only
  int32_t BuzzerKey = 0;
  int32_t ClockTime = 0;
  int32_t DoorState = 0;
};

// One idle pass of the horn: its segments chained while held, the tail on release, and the
// main reservoir's dip (`mrPress` loses the air it blows).
void HornStep(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t, const THornInputs& in,
              Fixed4& mrPress);
void BuzzerStep(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t, const THornInputs& in);

}  // namespace kavrin

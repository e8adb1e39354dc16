#pragma once
// The train's run state as the 33 ms tick computes it: traction, brakes and air, motion and the
// diesel engine, one struct per owner. The handle's delayed copies live with the handle
// (TDelayedHandle); what the controls hold down (EngineSwitch, CurrentLimitAdd) lives with the
// keys. Forces, masses, most pressures and the gradient are four-decimal fixed-point values.
#include <cstdint>
#include <string>
#include <vector>

#include "core/fixed4.h"
#include "core/sound_requests.h"
#include "data/vehicle_params.h"

namespace kavrin {

// Power and dynamic-brake current.
struct TTractionState {
  Fixed4 TractiveForce{};  // N: the handle force of this tick, later less the brakes and adhesion
  Fixed4 MotorForce{};     // N: the handle force before the brakes; the ammeter's input
  // Resistance-control steps of the current-step model.
  int32_t CurrentStepIdx = 0;  // row of the step table in force
  bool StepDelayRun = false;   // an advance to the next step is pending
  int32_t StepDelayCnt = 0;
  bool StepAdvanced = false;  // a step was reached; the notching sound clears it
  int32_t NotchCurrent = 0;   // A
  // Dynamic brake.
  int32_t CurrentBIdx = 0;
  long double EBrakeCurrent = 0;  // A
  int32_t AmMeterTarget = 0;      // A, negative while braking
  int32_t AmMeterValue = 0;       // A, what the needle shows
  Fixed4 LineVoltage{};           // V
};

// The brake command and the air system.
struct TBrakeState {
  Fixed4 BcPressM{};  // kPa: motor cars' brake cylinders
  Fixed4 BcPressT{};  // kPa: trailer cars' brake cylinders
  Fixed4 ErPress{};   // kPa: equalising reservoir
  Fixed4 MrPress{};   // kPa: main reservoir
  Fixed4 SapPress{};  // kPa: straight-air pipe
  long double BpPress = 0;    // kPa: brake pipe
  long double FeedPress = 0;  // kPa: what the brake pipe is charged towards
  bool CompressorOn = false;
  TSoundRequests CompressorSounds;  // the compressor's start and stop sounds of this tick
  Fixed4 ShoeFriction{};  // ratio of the shoe friction to its value at speed
  Fixed4 BrakeForce{};    // N
};

// Speed and position along the line.
struct TDynamicsState {
  long double Speed = 0;         // km/h, negative when running backwards against the film
  long double Position = 0;      // cm from the start of the line
  long double PositionStep = 0;  // cm moved in the last tick
  long double RemainDist = 0;    // cm to the next stop
  Fixed4 PredictedSpeed{};       // km/h after this tick, only to detect stopping
  Fixed4 Resistance{};           // N, negative where it opposes forward motion
  long double MotionFriction = 0;  // N: the share of Resistance that only opposes motion
  Fixed4 Adhesion{};
  Fixed4 AdhesionLimit{};  // N
  std::string SlipText;    // "空転", "滑走" or empty
  Fixed4 HeadGradient{};   // per mille at the film's current frame
  std::string GradientText, GradientAbsText;  // HeadGradient with one decimal, signed and not; "L" level
  std::vector<int32_t> CarGradient;  // one sample per car length travelled, newest first
  long double LastGradientPos = 0;   // cm
  Fixed4 Gradient{};                 // per mille, mean over the train, positive uphill
  int32_t FilmSpeed = 0;             // km/h of the filming train at the current frame
  int32_t FilmSegment = -1;          // filmed-speed row the current frame lies in; -1 not found
  int32_t SlopeSignCell = 0;  // the gradient post's picture: 0 level, else 1 + the gradient row
  bool InTunnel = false;
  bool NoAccel = false;  // debug: the speed stays as it is
};

// Engine and gearbox of a diesel car.
struct TDieselState {
  int32_t Gear = 0;  // engaged gear, 0 neutral
  long double EngineRpm = 0;
  long double EngineRpmTarget = 0;
  int32_t EngineRunning = 1;  // 1 running, 0 stopped, -1 cranking, -2 shutting down
  int32_t EngineSwitchTicks = 0;  // 100 ms ticks the engine key has been held
  int32_t GearShiftState = 0;     // 0 none, 1 shifting to the lever's gear, 2 dropping to neutral
  int32_t ShiftTimer = 0;         // 100 ms ticks of the shift in progress
  int32_t GearShown = 0;          // the gear the panel's gear picture shows: set when a change ends
  TSoundRequests EngineSounds;    // the engine's start and stop sounds of this tick
};

// The train as a run starts: no power applied, the line at 1500 V for the whole run; braked on a
// full main reservoir with the compressor stopped; the diesel engine as the vehicle gives it.
void StartTraction(TTractionState& t);
void StartBrakes(TBrakeState& b, const TVehicleParams& veh);
void StartDiesel(TDieselState& d);

}  // namespace kavrin

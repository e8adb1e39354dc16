#pragma once
// The driving desk's moving parts: needles turned from the train state in every drawn pass, the
// two linear bars, the digital speed, and the lamps, smoothed gauges and extra pictures that
// the 100 ms tick switches. Only sprites are touched; no picture is redrawn.
#include <array>
#include <cstdint>

#include "core/fixed4.h"
#include "data/cab_panel.h"
#include "presentation/cab_panel_images.h"
#include "data/vehicle_tables.h"
#include "presentation/sprites.h"

namespace kavrin {

struct TPanelState {
  long double BrakeHandleAngle = 0;   // what the brake-command gauge shows
  long double BrakeHandleTarget = 0;  // half a unit per brake step, 4.5 at emergency
  Fixed4 VoltmeterValue{};            // V
  // The brake-cylinder needle's last ten angles, newest first, in sprite angle units.
  std::array<long double, 10> BcNeedleHistory{};
};

// The panel as a run starts: every gauge at 0, so the voltmeter climbs to the line voltage and
// the brake gauge to the emergency position as the ticks run.
void StartPanel(TPanelState& p);

// The 1023/360 law of every needle: `one` degrees per unit from `zero` degrees, in sprite
// angle units.
long double NeedleAngle(const Meter& m, long double value);
// The speedometer, with its steeper first 10 km/h when `c` is set.
long double SpeedNeedleAngle(const Meter& m, long double v);

struct TGaugeInputs {
  long double Speed = 0;  // km/h, signed
  int32_t AmMeterValue = 0;
  Fixed4 BcPressT{}, BcPressM{}, SapPress{}, ErPress{}, MrPress{};
  long double BpPress = 0;
  long double HornDip = 0;  // kPa the horn takes from the main-reservoir needle
  int32_t Mc = 0;  // 1 the motor car's brake cylinder, 0 the trailer's
};

// Every drawn pass: needles, bars and the digital speed.
void GaugeStep(TPanelState& p, const TGaugeInputs& in, const TCabPanel& panel, const TPanelSprites& ids,
               SpriteEngine& sprites);

// The 100 ms tick's smoothing: the voltmeter towards the line voltage, the brake gauge half way
// to its target.
void SmoothGauges(TPanelState& p, Fixed4 lineVoltage, int32_t lastBrakeNotch, int32_t brake);

struct TLampInputs {
  int32_t AppliedNotch = 0;
  int32_t PowerNotch = 0;
  int32_t LastBrakeNotch = 0;
  int32_t Brake = 0;
  bool HoldEngaged = false;
  int32_t SuppressPos = 0;
  int32_t ConstActive = 0;
  int32_t DoorLock = 0;
  int32_t DoorState = 0;  // 0 closed
  Fixed4 Resistance{};
  Fixed4 TractiveForce{};
  long double EBrakeCurrent = 0;
  int32_t CurrentStepIdx = 0;
};

// The 100 ms tick's lamps; a lamp whose rule leaves it as it is keeps its last state.
void LampStep(const TLampInputs& in, const TVehicleTables& tables, const TPanelSprites& ids, SpriteEngine& sprites);

// The extra pictures switched in every 100 ms tick: the protection type's picture and the one
// always shown.
void OtherImagesStep(int32_t atsType, const TPanelSprites& ids, SpriteEngine& sprites);

}  // namespace kavrin

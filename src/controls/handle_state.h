#pragma once
// The driver's handle state and the key state around it. The keys, the wheel and the external
// controllers write it between ticks; the physics reads the handle only through the delayed
// copies of TDelayedHandle.
#include <cstdint>
#include <string>

namespace kavrin {

struct THandleState {
  int32_t Reverser = 1;    // 1 forward, 0 neutral, -1 reverse
  int32_t PowerNotch = 0;  // 0 (off) to Power; notch n uses row n - 1 of the notch table
  // 0 (released) down to -Brake; -Brake is the emergency brake, 1 - Brake the highest service
  // step.
  int32_t BrakeNotch = 0;
  // The hold step between the released position and brake step 1 (only with Hold 1). The brake
  // position stays 0 while it is engaged.
  bool HoldEngaged = false;
  // Set while one brake-apply command leaves the hold step, so that the command stops at B1.
  bool HoldJustLeft = false;
  int32_t PowerModeIdx = 0;  // the group of notch rows the power handle moves in
  int32_t SuppressPos = 0;   // suppress notch, 0 off to SuppressCount
  int32_t GearLever = 0;     // diesel lever: 0 neutral, 1 converter, 2 to 5 direct stages 1 to 4
  int32_t ConstActive = 0;   // constant-speed control engaged
  bool SwapKeys = false;     // "8" and "2" exchanged
  int32_t VigilanceCount = 0;  // steps since the driver's last action

  // What the cab shows of the handle (the text displays draw them).
  std::string ReverserText, PowerText, BrakeText, GearText;
};

// The handle as the physics sees it. The keys write only the four pending-change flags (set on
// every handle input, whether or not the position changed; a flag set again does not restart
// its count). The 33 ms tick counts each pending change up to the vehicle's delay, clears the
// flag and makes its copy follow the handle: AppliedNotch after PowerDelay, LastBrakeNotch after
// BrakeDelay, SapNotch after SAPDelay, EBrakeNotch after EBrakeDelay. The copies are read here as
// the previous positions for the handle clicks and constant-speed control; masconupdate writes
// AppliedNotch itself when constant-speed control lets go, and the station jump and the start of
// a run set them together with the handle.
struct TDelayedHandle {
  bool PowerDelayRun = false;
  bool BrakeDelayRun = false;
  bool SapDelayRun = false;
  bool EBrakeDelayRun = false;
  // Ticks counted since each pending change began.
  int32_t PowerDelayCnt = 0;
  int32_t BrakeDelayCnt = 0;
  int32_t SapDelayCnt = 0;
  int32_t EBrakeDelayCnt = 0;

  int32_t AppliedNotch = 0;    // the power notch in force
  int32_t LastBrakeNotch = 0;  // the brake position in force (0 .. -Brake)
  int32_t SapNotch = 0;        // the straight-air pipe's brake position
  int32_t EBrakeNotch = 0;     // the dynamic brake's brake position

  void SetPowerChanged() { PowerDelayRun = true; }
  void SetBrakeChanged() { BrakeDelayRun = SapDelayRun = EBrakeDelayRun = true; }
  void SetAllChanged() {
    SetPowerChanged();
    SetBrakeChanged();
  }
};

// Keys that act while held, and the other small state the keys keep.
struct TKeyState {
  // Held keys: "3" the horn request and "4" the buzzer (read by the horn and buzzer step of the
  // idle pass), F2 / Shift+F2 the diesel engine switch (1 start, 2 stop, 0 released), F4 the
  // current-limit raise of the current-step traction (50 A while held).
  int32_t HornKey = 0;
  int32_t HornPad = 0;  // the one-handle controller's horn button, held
  int32_t HornTap = 0;  // the character "3": the horn for the next idle pass only
  int32_t BuzzerKey = 0;
  int32_t EngineSwitch = 0;
  int32_t CurrentLimitAdd = 0;

  // The door side chosen for one-man operation (Page Up 0, Page Down 1) and its text.
  int32_t DoorSideSelect = 0;
  std::string DoorSideText;

  // Vertical offset of the cab drawing surface in pixels, -150 .. 0 in steps of 50.
  int32_t CabSurfaceTop = 0;
};

}  // namespace kavrin

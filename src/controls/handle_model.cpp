#include "controls/handle_model.h"

namespace kavrin {

namespace {

int32_t RowMode(const TVehicleTables& t, int32_t row) { return NotchRowMode(t, row); }

// The first row of power mode `mode`, or -1 for a mode the table cannot have.
int32_t ModeStartOf(const TVehicleTables& t, int32_t mode) {
  if (mode < 0 || mode >= kModeStarts) return -1;
  return t.ModeStart[static_cast<size_t>(mode)];
}

}  // namespace

int32_t NotchRowMode(const TVehicleTables& t, int32_t row) {
  if (row < 0 || static_cast<size_t>(row) >= t.Notch.size()) return 0;
  return t.Notch[static_cast<size_t>(row)].Mode;
}

void PowerUp(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t) {
  if (h.PowerNotch < veh.Power && RowMode(t, h.PowerNotch) == h.PowerModeIdx) {
    ++h.PowerNotch;
  } else if (h.PowerNotch == 0 && h.PowerModeIdx > 0) {
    int32_t start = ModeStartOf(t, h.PowerModeIdx);
    if (start >= 0 && start + 1 <= veh.Power) h.PowerNotch = start + 1;
  }
}

void PowerDown(THandleState& h, const TVehicleParams&, const TVehicleTables& t) {
  if (h.PowerNotch > 1 && RowMode(t, h.PowerNotch - 2) == h.PowerModeIdx) {
    --h.PowerNotch;
  } else if (h.PowerNotch > 0 && h.PowerModeIdx >= 0 && h.PowerNotch == ModeStartOf(t, h.PowerModeIdx) + 1) {
    h.PowerNotch = 0;
  }
}

void CombinedUp(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t) {
  if (h.BrakeNotch == 0 && !h.HoldEngaged) PowerUp(h, veh, t);
  if (h.HoldEngaged) {
    // Off the hold step the handle stands at released; power comes with the next step.
    h.HoldEngaged = false;
  } else if (h.PowerNotch == 0 && h.BrakeNotch < 0) {
    ++h.BrakeNotch;
    if (veh.Hold == 1 && h.BrakeNotch == 0) h.HoldEngaged = true;
  }
}

void CombinedDown(THandleState& h, const TVehicleParams& veh, const TVehicleTables& t) {
  // Both parts are gated on the handle as it stood before the step, so that a step down from
  // P1 stops at released instead of running on into the brake.
  bool wasReleased = h.BrakeNotch == 0;
  bool wasPowerOff = h.PowerNotch == 0;
  if (wasReleased) PowerDown(h, veh, t);
  if (wasPowerOff) BrakeApply(h, veh);
}

void BrakeApply(THandleState& h, const TVehicleParams& veh) {
  if (h.HoldEngaged) {
    h.HoldEngaged = false;
    h.BrakeNotch = -1;
    h.HoldJustLeft = true;
  }
  // The emergency position is never reached by stepping: only the emergency keys go there.
  if (h.BrakeNotch > 1 - veh.Brake && !h.HoldEngaged) {
    if (veh.Hold == 1 && h.BrakeNotch == 0) {
      h.HoldEngaged = true;
    } else if (veh.Hold == 1 && h.BrakeNotch < 0 && !h.HoldJustLeft) {
      --h.BrakeNotch;
    } else if (veh.Hold != 1) {
      --h.BrakeNotch;
    }
  }
  // Whatever stopped the step, leaving the hold step lasts for this one command only.
  h.HoldJustLeft = false;
}

void BrakeRelease(THandleState& h, const TVehicleParams& veh) {
  if (h.HoldEngaged) {
    h.HoldEngaged = false;
    return;
  }
  if (h.BrakeNotch < 0) {
    ++h.BrakeNotch;
    if (veh.Hold == 1 && h.BrakeNotch == 0) h.HoldEngaged = true;
  }
}

void EmergencyBrake(THandleState& h, const TVehicleParams& veh, bool cutPower) {
  h.HoldEngaged = false;
  if (cutPower) h.PowerNotch = 0;
  h.BrakeNotch = -veh.Brake;
}

void StartHandle(THandleState& h, TDelayedHandle& d, const TVehicleParams& veh) {
  h = THandleState{};
  d = TDelayedHandle{};
  h.Reverser = 1;
  h.PowerNotch = 0;
  h.BrakeNotch = d.LastBrakeNotch = d.SapNotch = -veh.Brake;
  // A diesel train stands with its lever at the converter stage, ready to take up power (the
  // cab shows that stage's text from the start).
  if (veh.Engine_Type == 0) h.GearLever = 1;
}

void HandleAfterStationJump(THandleState& h, TDelayedHandle& d, const TVehicleParams& veh) {
  h.PowerNotch = d.AppliedNotch = 0;
  // A hold step left engaged would stand for the released position while the brake is on.
  h.HoldEngaged = h.HoldJustLeft = false;
  h.BrakeNotch = d.LastBrakeNotch = d.SapNotch = 1 - veh.Brake;
}

}  // namespace kavrin

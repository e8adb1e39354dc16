#include "controls/mascon_update.h"

#include <string>

namespace kavrin {

namespace {

constexpr const char* kSuppressText = "抑速";

TSprite* SpriteOf(TControls& c, SpriteId id) { return id == kNoSprite ? nullptr : c.View.DXSpriteEngine1.Get(id); }

// Patterns of the picture a sprite draws from; 0 when there is none.
int32_t PatternCount(TControls& c, SpriteId id) {
  TSprite* s = SpriteOf(c, id);
  if (!s) return 0;
  const TPictureEntry* e = c.View.ImageList1.Get(s->Image);
  return e ? e->CellCount() : 0;
}

// The brake notch images: one pattern per position from released to emergency, and with a hold
// step one more, between released (pattern 0) and B1.
void SetBrakeNotchFrame(TControls& c, SpriteId id) {
  const THandleState& h = c.Handle;
  if (PatternCount(c, id) <= -h.BrakeNotch) return;
  int32_t frame;
  if (c.veh.Hold != 1) frame = -h.BrakeNotch;
  else if (h.BrakeNotch < 0) frame = 1 - h.BrakeNotch;
  else frame = h.HoldEngaged ? 1 : 0;
  SetSpriteCell(c.View, id, frame);
}

bool IsDiesel(const TVehicleParams& veh) { return veh.Engine_Type == 0; }

// Diesel lever text: neutral, converter, then the direct-drive stages.
void SetLeverText(TControls& c) {
  const auto& gears = c.Strings.TxtGears;
  int32_t lever = c.Handle.GearLever;
  if (lever == 0) c.Handle.GearText = gears[0];
  else if (lever == 1) c.Handle.GearText = gears[1];
  else if (lever == 2 && c.Tables.EngineRows == 3) c.Handle.GearText = gears[2];
  else if (lever >= 2 && lever <= 5) c.Handle.GearText = gears[2] + std::to_string(lever - 1);
}

// The label of the power mode the handle is in.
void SetPowerModeLabel(TControls& c) {
  int32_t mode = c.Handle.PowerModeIdx;
  c.Handle.GearText = mode >= 0 && mode < kPowerModeRows ? c.Tables.PowerMode[static_cast<size_t>(mode)].Label : "";
}

void GearTextInUpdate(TControls& c) {
  if (IsDiesel(c.veh)) {
    SetLeverText(c);
  } else if (c.Tables.SuppressCount > 0) {
    if (c.Handle.PowerModeIdx == 0) c.Handle.GearText.clear();
    else if (c.Handle.PowerModeIdx == -1) c.Handle.GearText = kSuppressText;
  } else {
    SetPowerModeLabel(c);
  }
}

void Update(TControls& c) {
  THandleState& h = c.Handle;
  TDelayedHandle& d = c.Delayed;
  const TVehicleParams& veh = c.veh;
  const TStringFile& s = c.Strings;
  const bool trip = c.Train.EmergencyTrip != 0 || c.Train.ATSTrip != 0;
  // Handle == 1 is the two-handle layout here, as the keys take it (the vehicle file's own
  // description of the value says the opposite; the keys decide).
  const bool twoHandles = veh.Handle == 1;

  // Reverser lamps.
  ShowSprite(c.View, c.Panel.LampFwd, h.Reverser == 1);
  ShowSprite(c.View, c.Panel.LampBck, h.Reverser == -1);

  // Constant-speed control lets go as soon as the handle moves away from what is in force.
  if (h.ConstActive && (h.BrakeNotch != d.LastBrakeNotch || h.PowerNotch != d.AppliedNotch)) {
    h.ConstActive = 0;
    d.AppliedNotch = h.PowerNotch;
  }
  // ... and engages when the handle comes down from ConstNotch + 1 to ConstNotch at speed.
  if (c.Train.Speed >= veh.ConstSpeed && !h.ConstActive && veh.ConstNotch >= 2 && h.PowerNotch == veh.ConstNotch &&
      d.AppliedNotch == veh.ConstNotch + 1) {
    h.ConstActive = 1;
    h.PowerText = s.TxtConst;
  }
  if (h.ConstActive && trip) {
    h.ConstActive = 0;
    d.AppliedNotch = h.PowerNotch;
  }

  // Brake text at the two ends.
  if (h.BrakeNotch == -veh.Brake) h.BrakeText = s.TxtEB;
  else if (h.BrakeNotch == 0) h.BrakeText = s.TxtNeut;

  // Power text.
  if (!h.ConstActive) {
    if (h.PowerNotch == 0) {
      h.PowerText = s.TxtNeut2;
    } else if (h.PowerNotch > 0 && h.PowerNotch <= veh.Power && h.PowerModeIdx >= 0 && h.PowerModeIdx < kModeStarts) {
      size_t mode = static_cast<size_t>(h.PowerModeIdx);
      h.PowerText = c.Tables.PowerMode[mode].Name + std::to_string(h.PowerNotch - c.Tables.ModeStart[mode]);
    }
  } else {
    h.PowerText = s.TxtConst;
  }

  // Brake text between the ends.
  if (veh.BrakeType >= 1) {
    if (h.HoldEngaged) h.BrakeText = s.TxtHold2;
    else if (h.BrakeNotch > -veh.Brake && h.BrakeNotch < 0) h.BrakeText = "B" + std::to_string(-h.BrakeNotch);
  } else {
    // The automatic brake's named positions; the others keep the text shown.
    switch (-h.BrakeNotch) {
      case 1: h.BrakeText = s.TxtMaintain; break;
      case 2: h.BrakeText = s.TxtHold; break;
      case 3: h.BrakeText = s.TxtApply; break;
      case 5: h.BrakeText = s.TxtRemove; break;
      default: break;
    }
  }

  // Reverser text.
  h.ReverserText = h.Reverser == 1 ? s.TxtForward : h.Reverser == -1 ? s.TxtReverse : s.TxtNeutral;

  // Lever and notch images.
  SetSpriteCell(c.View, c.Panel.GearLeverImage, h.GearLever);
  SetSpriteCell(c.View, c.Panel.LampP, h.PowerNotch);
  SetBrakeNotchFrame(c, c.Panel.LampB);
  ShowSprite(c.View, c.Panel.LampP, twoHandles || h.BrakeNotch >= 0);

  // The departure call waits for the first notch with the doors closed.
  if (c.Train.DoorState == 0 && h.PowerNotch > 0 && c.Actions.PlayPendingDepartureCall) {
    c.Actions.PlayPendingDepartureCall();
  }

  // The second notch indicator also shows the protection brakes.
  if (!trip) {
    SetSpriteCell(c.View, c.Panel.LampP2, h.PowerNotch);
    SetBrakeNotchFrame(c, c.Panel.LampB2);
    ShowSprite(c.View, c.Panel.LampP2, twoHandles || (h.BrakeNotch >= 0 && !h.HoldEngaged));
  } else {
    // Its last pattern is the emergency brake, the one before the service brake of the
    // protection; with both trips the emergency brake is what acts.
    int32_t patterns = PatternCount(c, c.Panel.LampB2);
    int32_t frame = c.Train.EmergencyTrip != 0 ? patterns - 1 : patterns - 2;
    if (frame >= 0) SetSpriteCell(c.View, c.Panel.LampB2, frame);
    SetSpriteCell(c.View, c.Panel.LampP2, 0);
    ShowSprite(c.View, c.Panel.LampP2, false);
  }

  // The gear text last: it reads what the lever images show.
  GearTextInUpdate(c);
}

}  // namespace

void masconupdate(TControls& c) {
  // The cab's view of the handle must never stop a key or a tick.
  try {
    Update(c);
  } catch (...) {
  }
}

void UpdateGearTextAfterKey(TControls& c) {
  if (IsDiesel(c.veh)) {
    SetLeverText(c);
  } else if (c.Tables.SuppressCount > 0) {
    c.Handle.GearText = c.Handle.SuppressPos > 0 ? kSuppressText + std::to_string(c.Handle.SuppressPos) : "";
  } else {
    SetPowerModeLabel(c);
  }
}

}  // namespace kavrin

#include "controls/keys.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>

#include "controls/handle_model.h"
#include "controls/handle_sounds.h"
#include "controls/mascon_update.h"

namespace kavrin {

namespace {

constexpr std::array<std::pair<std::string_view, int32_t>, 22> kKeyNames = {{
    {"F2", vk::F2},
    {"F3", vk::F3},
    {"F4", vk::F4},
    {"F5", vk::F5},
    {"F6", vk::F6},
    {"F7", vk::F7},
    {"F8", vk::F8},
    {"F9", vk::F9},
    {"F10", vk::F10},
    {"F11", vk::F11},
    {"F12", vk::F12},
    {"Enter", vk::Return},
    {"Space", vk::Space},
    {"Backspace", vk::Back},
    {"PageUp", vk::Prior},
    {"PageDown", vk::Next},
    {"ScrollLock", vk::Scroll},
    {"Up", vk::Up},
    {"Down", vk::Down},
    {"Left", vk::Left},
    {"Right", vk::Right},
    {"Escape", vk::Escape},
}};

constexpr int32_t kCabStep = 50;
constexpr int32_t kCabTopMost = -150;

bool IsDiesel(const TVehicleParams& veh) { return veh.Engine_Type == 0; }

// A subsystem that is not in the program leaves its hook empty.
void Call(const std::function<void()>& action) {
  if (action) action();
}

// A step up along the one-handle line also leaves the suppress notch.
void CombinedUpKey(TControls& c) {
  CombinedUp(c.Handle, c.veh, c.Tables);
  if (c.Handle.SuppressPos > 0 && c.Handle.PowerNotch > 0) {
    c.Handle.SuppressPos = 0;
    masconupdate(c);
  }
}

// The reverser and handle keys of a character.
void HandleKeys(TControls& c, char key) {
  THandleState& h = c.Handle;
  TDelayedHandle& d = c.Delayed;
  const TVehicleParams& veh = c.veh;

  // The reverser moves only at a stand with the brake at emergency.
  if (std::fabs(c.Train.Speed) <= 1 && h.BrakeNotch == -veh.Brake) {
    int32_t to = key == 'f' ? 1 : key == 'b' ? -1 : key == 'n' ? 0 : 2;
    if (to != 2) {
      h.Reverser = to;
      masconupdate(c);
    }
  }

  // Handle == 0 is the one-handle layout for the keys, whatever the vehicle file's own
  // description of the value says: the keys decide which handle the driver has.
  if (veh.Handle == 0) {
    switch (key) {
      case 'z': CombinedUpKey(c); d.SetAllChanged(); break;
      case 'a': CombinedDown(h, veh, c.Tables); d.SetAllChanged(); break;
      case 'q': EmergencyBrake(h, veh, true); d.SetAllChanged(); break;
      default: break;
    }
  } else if (veh.Handle == 1) {
    switch (key) {
      case 'z': PowerUp(h, veh, c.Tables); d.SetPowerChanged(); break;
      case 'a': PowerDown(h, veh, c.Tables); d.SetPowerChanged(); break;
      case ',': BrakeRelease(h, veh); d.SetBrakeChanged(); break;
      case '.': BrakeApply(h, veh); d.SetBrakeChanged(); break;
      case '/': EmergencyBrake(h, veh, false); d.SetBrakeChanged(); break;
      default: break;
    }
  }

  switch (key) {
    case '8': CombinedUpKey(c); d.SetAllChanged(); break;
    case '2': CombinedDown(h, veh, c.Tables); d.SetAllChanged(); break;
    case '5':
      h.HoldEngaged = false;
      h.BrakeNotch = 0;
      h.PowerNotch = 0;
      d.SetAllChanged();
      break;
    case '0':
      h.HoldEngaged = false;
      h.BrakeNotch = -veh.Brake;
      h.PowerNotch = 0;
      d.SetAllChanged();
      break;
    default: break;
  }
}

// The keys of a character that are not the reverser or a handle.
void OtherKeys(TControls& c, char key) {
  THandleState& h = c.Handle;
  const TVehicleParams& veh = c.veh;
  const TVehicleTables& t = c.Tables;
  const TTrainLink& train = c.Train;
  const TKeyActions& act = c.Actions;

  switch (key) {
    case '3':
      // Without a held horn the key blows the single horn once.
      if (t.Horn4[0] == 0) RestartChannel(c.Sound, t.SoundHorn);
      else c.Keys.HornKey = 1;
      break;
    case '6': RestartChannel(c.Sound, t.SoundHorn2); break;
    case 'd':
    case '7':
      if (train.OneMan >= 1) Call(act.Door_operate);
      break;
    case 'r':
      if (h.BrakeNotch == -veh.Brake && std::fabs(train.Speed) < 0.1L) Call(act.ProtectionReset);
      break;
    case ' ':
      if (veh.ATS_Type == 0) Call(act.ProtectionAcknowledge);
      break;
    case 'c':
    case '1':
      if (train.OneMan == 1) Call(act.NextAnnouncement);
      break;
    case '-':
      if (train.OneMan == 1) Call(act.PreviousAnnouncement);
      break;
    case 't':
      if (h.PowerNotch == veh.Power && train.Speed >= veh.ConstSpeed && veh.ConstNotch == 1 && !h.ConstActive) {
        h.ConstActive = 1;
        h.PowerText = c.Strings.TxtConst;
      }
      break;
    default: break;
  }

  // "w", "s", "x": the manual gearbox of a diesel train, or the suppress notch of an electric
  // train that has one.
  if (IsDiesel(veh) && t.Gear_Type == 1) {
    int32_t lever = key == 'w' ? 2 : key == 's' ? 0 : key == 'x' ? 1 : -1;
    if (lever >= 0) {
      h.GearLever = lever;
      masconupdate(c);
    }
  } else if (!IsDiesel(veh) && t.SuppressCount > 0) {
    if (key == 's') {
      h.SuppressPos = std::max(h.SuppressPos - 1, 0);
    } else if (key == 'x') {
      h.SuppressPos = std::min(h.SuppressPos + 1, t.SuppressCount);
      h.PowerNotch = 0;
      c.Delayed.SetPowerChanged();
      masconupdate(c);
    }
  }
}

void StepFilm(TControls& c, int32_t frames, int32_t clock) {
  if (c.Actions.StepFilm) c.Actions.StepFilm(frames, clock);
}

}  // namespace

std::optional<int32_t> VirtualKeyByName(std::string_view name) {
  for (const auto& [n, code] : kKeyNames) {
    if (n == name) return code;
  }
  if (name.size() == 1) {
    char ch = name[0];
    if (ch >= '0' && ch <= '9') return ch;
    if (ch >= 'A' && ch <= 'Z') return ch;
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
  }
  return std::nullopt;
}

void StartKeyState(TKeyState& k, const TStringFile& strings, int32_t oneMan, int32_t oneManDoors) {
  k = TKeyState{};
  if (oneMan >= 1 && oneManDoors == 1) k.DoorSideText = strings.TxtDoors[0];
}

void DriverAction(TControls& c) {
  c.Handle.VigilanceCount = 0;
  c.Sound.Stop(c.Tables.SoundEBring);
  ShowSprite(c.View, c.Panel.LampEB, false);
}

void AsciiDown(TControls& c, char key) {
  // Every key is a driver action for the vigilance device.
  DriverAction(c);
  // The swapped layout exchanges the two brake keys.
  if (c.Handle.SwapKeys) {
    if (key == '2') key = '8';
    else if (key == '8') key = '2';
  }
  // Paused or not yet started: nothing else reacts.
  if (!c.Running) return;
  HandleKeys(c, key);
  // The cab follows the handles before the other keys read them.
  masconupdate(c);
  OtherKeys(c, key);
  UpdateGearTextAfterKey(c);
  HandleClickSounds(c);
}

void keydowns(TControls& c, int32_t key, bool shift) {
  TKeyState& k = c.Keys;
  const TTrainLink& train = c.Train;
  const TKeyActions& act = c.Actions;

  switch (key) {
    case vk::Back:
      if (std::fabs(train.Speed) < 0.1L) Call(act.MovieJumpPastStop);
      return;
    case vk::Scroll: c.Handle.SwapKeys = !c.Handle.SwapKeys; return;
    case vk::Return: Call(act.CallingVoice); return;
    case '3':
      // The held horn; a train without one blows its single horn from the character.
      if (c.Tables.Horn4[0] != 0) k.HornKey = 1;
      return;
    case '4': k.BuzzerKey = 1; return;
    case vk::F2: k.EngineSwitch = shift ? 2 : 1; return;
    case vk::F4: k.CurrentLimitAdd = 50; return;
    case vk::Prior:
    case vk::Next:
      if (train.DoorState == 0) {
        int32_t side = key == vk::Next ? 1 : 0;
        k.DoorSideSelect = side;
        if (train.OneManDoors == 1) k.DoorSideText = c.Strings.TxtDoors[static_cast<size_t>(side)];
        ShowSprite(c.View, c.Panel.OtherImages[2], side == 1);
      }
      return;
    default: break;
  }

  if (!shift) {
    if (key == vk::F3) Call(act.ToggleValueDisplay);
    return;
  }
  switch (key) {
    case vk::Up:
      if (k.CabSurfaceTop > kCabTopMost) k.CabSurfaceTop -= kCabStep;
      break;
    case vk::Down:
      if (k.CabSurfaceTop < 0) k.CabSurfaceTop += kCabStep;
      break;
    case vk::F3: Call(act.JumpBeforeNextStop); break;
    case vk::F5: StepFilm(c, -100, -90); break;
    case vk::F6: StepFilm(c, 100, 90); break;
    case vk::F7: StepFilm(c, -1000, -900); break;
    case vk::F8: StepFilm(c, 1000, 900); break;
    case vk::F9: StepFilm(c, 0, -900); break;
    case vk::F10: StepFilm(c, 0, 900); break;
    case vk::F11:
      if (train.Speed > 10 && act.ChangeSpeed) act.ChangeSpeed(-10);
      break;
    case vk::F12:
      if (train.Speed < 1000 && act.ChangeSpeed) act.ChangeSpeed(10);
      break;
    default: break;
  }
}

void keyups(TControls& c, int32_t key, bool) {
  TKeyState& k = c.Keys;
  switch (key) {
    case '3': k.HornKey = 0; break;
    case '4': k.BuzzerKey = 0; break;
    case vk::F2: k.EngineSwitch = 0; break;
    case vk::F4: k.CurrentLimitAdd = 0; break;
    default: break;
  }
}

void WheelD(TControls& c) { AsciiDown(c, '8'); }

void WheelU(TControls& c) {
  // At the highest service step the next step up the wheel is the emergency brake.
  AsciiDown(c, c.Handle.BrakeNotch == 1 - c.veh.Brake ? '0' : '2');
}

}  // namespace kavrin

// Where each kind of input goes. Keys and characters reach the handle model, the menus their
// handlers; a kind whose subsystem is not in the program yet is accepted and has no effect.
#include "app/simulator.h"

#include "controls/keys.h"

namespace kavrin {

namespace {

void Toggle(int32_t& setting) { setting = setting ? 0 : 1; }

}  // namespace

void SimulatorRun::HandleInput(const InputEvent& e) {
  TSettings& settings = sim_.files.Settings;
  switch (e.kind) {
    case InputKind::ClickCab:
      movieclick();
      break;
    case InputKind::Back:
      BackClick();
      break;
    case InputKind::Menu:
      if (e.text == "start1") start1Click();
      else if (e.text == "OFF1") Toggle(settings.KankoSetting);
      else if (e.text == "D1") Toggle(settings.InformationSetting);
      else if (e.text == "OFFV1") Toggle(settings.TunnelSetting);
      else if (e.text == "OFFC1") Toggle(settings.MojiSetting);
      else if (const TControllerMenuItem* item = ControllerMenuItem(e.text)) ControllerMenuClick(*item);
      // Station jump (Sta<i>), save slots, the stop-line item and the train settings dialog
      // come with the station, save and display subsystems.
      break;
    case InputKind::Char:
      if (e.text.size() == 1) {
        TControls c = Controls();
        AsciiDown(c, e.text[0]);
      }
      break;
    case InputKind::Key:
    case InputKind::KeyDown:
    case InputKind::KeyUp:
      if (auto key = VirtualKeyByName(e.text)) {
        TControls c = Controls();
        if (e.kind != InputKind::KeyUp) keydowns(c, *key, e.shift);
        if (e.kind != InputKind::KeyDown) keyups(c, *key, e.shift);
      }
      break;
    case InputKind::WheelUp: {
      TControls c = Controls();
      WheelU(c);
      break;
    }
    case InputKind::WheelDown: {
      TControls c = Controls();
      WheelD(c);
      break;
    }
    case InputKind::AtsOn:
    case InputKind::AtsOff:
    case InputKind::EngineStart:
    case InputKind::EngineStop:
      // The train settings dialog.
      break;
    case InputKind::Controller:
      if (e.number >= 0 && e.number < kControllerTypes) sim_.controllers.ControllerType = e.number;
      break;
    case InputKind::Serial:
      SerialReceived(e.text);
      break;
    case InputKind::Pad:
      scriptPad_ = TPadReading{e.x, e.y, e.buttons};
      break;
  }
}

TControls SimulatorRun::Controls() {
  TTrainLink link;
  link.Speed = sim_.dynamics.Speed;
  link.EmergencyTrip = sim_.protection.EmergencyTrip;
  link.ATSTrip = sim_.protection.ATSTrip;
  link.DoorState = sim_.station.DoorState;
  link.OneMan = sim_.route.OneMan;
  link.OneManDoors = sim_.route.OneManDoors;
  return TControls{sim_.handle,           sim_.delayed,      sim_.keys, sim_.vehicle.veh, sim_.vehicle.Tables,
                   sim_.panelSprites,  sim_.files.Strings, sim_.view, sv_.sound,        keyActions,
                   link,                  sim_.run.running};
}

}  // namespace kavrin

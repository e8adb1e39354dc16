// Where each kind of input goes. Keys and characters reach the handle model, the menus their
// handlers; a kind whose subsystem is not in the program yet is accepted and has no effect.
#include "app/simulator.h"

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
      // Station jump (Sta<i>), save slots, the stop-line item and the train settings dialog
      // come with the station, save and display subsystems.
      break;
    case InputKind::Char:
    case InputKind::Key:
    case InputKind::KeyDown:
    case InputKind::KeyUp:
    case InputKind::WheelUp:
    case InputKind::WheelDown:
      // The handle model (AsciiDown, keydowns, keyups, WheelD, WheelU).
      break;
    case InputKind::AtsOn:
    case InputKind::AtsOff:
    case InputKind::EngineStart:
    case InputKind::EngineStop:
      // The train settings dialog.
      break;
    case InputKind::Controller:
    case InputKind::Serial:
    case InputKind::Pad:
      // The external controllers.
      break;
  }
}

}  // namespace kavrin

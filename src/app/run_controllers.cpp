// The run's side of the external controllers: the controller menu, the serial port's receive
// events, the game-controller scan of the 100 ms tick and the keys the controllers post.
#include "app/simulator.h"
#include "controls/posted_keys.h"
#include "controls/serial_mascon.h"
#include "controls/usb_scan.h"

namespace kavrin {

GamepadPoll& NoGamepad() {
  static NullGamepad none;
  return none;
}

SimulatorRun::~SimulatorRun() { sv_.serial->onReceive = nullptr; }

void SimulatorRun::ControllerMenuClick(const TControllerMenuItem& item) {
  TControllerState& s = sim_.controllers;
  switch (item.Action) {
    case ControllerMenuAction::ControllerType:
      s.ControllerType = item.Type;
      break;
    case ControllerMenuAction::Debug:
      s.DebugOption = !s.DebugOption;
      if (!s.DebugOption) sv_.ui.SetWindowCaption(kSimulatorTitle);
      break;
    case ControllerMenuAction::SerialSettings:
      // A dialog of the window's own: it sets the link's port.
      break;
    case ControllerMenuAction::SerialConnect:
      if (sv_.serial->IsOpen()) {
        sv_.serial->Close();
      } else if (!sv_.serial->Open()) {
        sv_.ui.ShowMessage("シリアルポート " + sv_.serial->PortName() + " を開けません");
      }
      break;
  }
}

void SimulatorRun::SerialReceived(std::string_view chars) {
  TControls c = Controls();
  RxChar(c, sim_.controllers, sim_.files.Mascon.MasconLines, chars);
  DeliverPostedKeys();
}

void SimulatorRun::USBScanStep() {
  TControllerState& s = sim_.controllers;
  if (s.ControllerType < 1) return;
  std::optional<TPadReading> reading = scriptPad_ ? scriptPad_ : sv_.gamepad.Poll();
  if (!reading) return;
  TControls c = Controls();
  if (std::optional<std::string> caption = USBScan(c, s, sim_.files.ControllerMap, *reading)) {
    sv_.ui.SetWindowCaption(*caption);
  }
}

void SimulatorRun::DeliverPostedKeys() {
  if (sim_.controllers.Posted.empty()) return;
  TControls c = Controls();
  DeliverPosted(c, sim_.controllers);
}

}  // namespace kavrin

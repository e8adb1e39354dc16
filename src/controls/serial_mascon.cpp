#include "controls/serial_mascon.h"

#include <cmath>
#include <utility>

#include "controls/controller_notch.h"
#include "controls/keys.h"
#include "controls/mascon_update.h"
#include "controls/posted_keys.h"

namespace kavrin {

namespace {

constexpr char kCR = '\r';
constexpr int kPowerCommands = 6;
constexpr int kNeutralCommand = 7;
constexpr int kBrakeCommands = 9;
constexpr int kReverserCommand = 17;  // forward, neutral, back
constexpr int kKeyCommand = 20;
constexpr std::array<char, 4> kCommandKeys = {' ', '3', '7', '1'};

}  // namespace

void RxChar(TControls& c, TControllerState& s, const std::array<std::string, 26>& masconLines,
            std::string_view received) {
  while (!received.empty()) {
    size_t cr = received.find(kCR);
    std::string_view part = cr == std::string_view::npos ? received : received.substr(0, cr + 1);
    if (!s.RxDiscarding) {
      if (s.RxResult.size() + part.size() > kRxResultLimit) {
        s.RxResult.clear();
        s.RxDiscarding = true;
      } else {
        s.RxResult.append(part);
      }
    }
    if (cr == std::string_view::npos) return;
    received.remove_prefix(cr + 1);
    if (s.RxDiscarding) {
      // The carriage return ends the line that overflowed; the next line is a message again.
      s.RxDiscarding = false;
      continue;
    }
    std::string message = std::exchange(s.RxResult, {});
    SerialMessage(c, s, masconLines, message);
  }
}

void SerialMessage(TControls& c, TControllerState& s, const std::array<std::string, 26>& masconLines,
                   std::string_view message) {
  THandleState& h = c.Handle;
  const TVehicleParams& veh = c.veh;
  DriverAction(c);
  s.ValueDisplayCaption = std::string(message);

  std::string_view head = message.substr(0, 5);
  auto is = [&](int command) { return head == masconLines[static_cast<size_t>(command - 1)]; };

  for (int k = 1; k <= kPowerCommands; ++k) {
    if (!is(k)) continue;
    h.PowerNotch = ControllerToNotch(c.Tables, k, veh.Power, veh.Brake, h.PowerModeIdx);
    h.BrakeNotch = 0;
    c.Delayed.SetAllChanged();
    masconupdate(c);
  }
  if (is(kNeutralCommand)) {
    h.PowerNotch = 0;
    h.BrakeNotch = 0;
    c.Delayed.SetAllChanged();
    masconupdate(c);
  }
  for (int k = 1; k <= kBrakeCommands; ++k) {
    if (!is(kNeutralCommand + k)) continue;
    h.PowerNotch = 0;
    h.BrakeNotch = ControllerToNotch(c.Tables, -k, veh.Power, veh.Brake, 0);
    c.Delayed.SetAllChanged();
    masconupdate(c);
  }
  // Power leaves the suppress notch.
  if (h.SuppressPos > 0 && h.PowerNotch > 0) {
    h.SuppressPos = 0;
    masconupdate(c);
  }
  for (int k = 0; k < 3; ++k) {
    if (!is(kReverserCommand + k)) continue;
    if (std::fabs(c.Train.Speed) <= 1) h.Reverser = 1 - k;
    masconupdate(c);
  }
  for (size_t k = 0; k < kCommandKeys.size(); ++k) {
    if (is(kKeyCommand + static_cast<int>(k))) PostChar(s, kCommandKeys[k]);
  }
}

}  // namespace kavrin

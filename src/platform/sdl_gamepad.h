#pragma once
// The first game controller through SDL's joystick subsystem (without SDL's video). Each poll
// picks up a controller plugged in since the last one and lets go of one that was pulled out;
// while there is none the poll yields nothing.
#include <optional>

#include "controls/controller_devices.h"

struct _SDL_Joystick;

namespace kavrin {

class SdlGamepad : public GamepadPoll {
 public:
  SdlGamepad();
  ~SdlGamepad() override;
  SdlGamepad(const SdlGamepad&) = delete;
  SdlGamepad& operator=(const SdlGamepad&) = delete;

  std::optional<TPadReading> Poll() override;

  // False when SDL's joystick subsystem could not start: there are never readings then.
  bool Available() const { return initialised_; }

 private:
  bool initialised_ = false;
  _SDL_Joystick* joystick_ = nullptr;
};

}  // namespace kavrin

#include "platform/sdl_gamepad.h"

#include <SDL.h>

#include <cstdio>

namespace kavrin {

namespace {
constexpr int kButtons = 16;
}

SdlGamepad::SdlGamepad() {
  // The toolkit owns SIGINT and SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The windows are the toolkit's, so SDL never knows which has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    std::fprintf(stderr, "kavrin: no game controllers: %s\n", SDL_GetError());
    return;
  }
  // Readings are taken when the tick asks, never from SDL's event queue: a controller moved for
  // hours must not fill a queue that nobody reads.
  SDL_JoystickEventState(SDL_IGNORE);
  initialised_ = true;
}

SdlGamepad::~SdlGamepad() {
  if (joystick_) SDL_JoystickClose(joystick_);
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

std::optional<TPadReading> SdlGamepad::Poll() {
  if (!initialised_) return std::nullopt;
  // Finds added and removed devices and brings the open ones' states up to date.
  SDL_JoystickUpdate();
  if (joystick_ && !SDL_JoystickGetAttached(joystick_)) {
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
  }
  if (!joystick_ && SDL_NumJoysticks() > 0) {
    joystick_ = SDL_JoystickOpen(0);
    // A controller opened now reports its state from the next update on.
    if (joystick_) SDL_JoystickUpdate();
  }
  if (!joystick_) return std::nullopt;

  TPadReading r;
  if (SDL_JoystickNumAxes(joystick_) > 0) r.X = SDL_JoystickGetAxis(joystick_, 0);
  if (SDL_JoystickNumAxes(joystick_) > 1) r.Y = SDL_JoystickGetAxis(joystick_, 1);
  int buttons = SDL_JoystickNumButtons(joystick_);
  for (int b = 0; b < kButtons && b < buttons; ++b) {
    if (SDL_JoystickGetButton(joystick_, b)) r.Buttons |= 1U << b;
  }
  return r;
}

}  // namespace kavrin

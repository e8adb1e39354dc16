#pragma once
// One input to a run, whatever its source: a key, the wheel, a click, a menu item, a dialog
// choice, a controller reading, serial characters. The window turns Qt events into these; the
// headless harness reads them from its script.
#include <cstdint>
#include <string>

namespace kavrin {

enum class InputKind {
  Char,        // a typed character: `text` holds it
  Key,         // a key pressed and released: `text` is its name (F2 .. F12, Enter, Up ...)
  KeyDown,     // a key held down (names as Key, or one character)
  KeyUp,
  WheelUp,
  WheelDown,
  ClickCab,    // a click on the cab view
  Menu,        // a menu item by component name: start1, Sta3, Save1, Load1, OFF1, D1 ...
  AtsOn,       // train settings dialog: protection on / off
  AtsOff,
  EngineStart, // train settings dialog: engine start / stop
  EngineStop,
  Controller,  // controller type `number`
  Serial,      // characters received from the serial port: `text`
  Pad,         // a game-controller reading: `x`, `y`, `buttons` (bit i = button i)
  Back,        // the back button
};

struct InputEvent {
  InputKind kind = InputKind::Char;
  std::string text;
  bool shift = false;
  int32_t number = 0;
  int32_t x = 0, y = 0;
  uint32_t buttons = 0;
};

inline InputEvent MakeInput(InputKind kind, std::string text = {}) {
  InputEvent e;
  e.kind = kind;
  e.text = std::move(text);
  return e;
}

}  // namespace kavrin

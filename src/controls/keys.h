#pragma once
// The driver's keys: characters through AsciiDown, other keys through keydowns and keyups (by
// virtual-key code, with the shift state), the mouse wheel through WheelD and WheelU, which post
// characters that are handled like typed ones.
#include <cstdint>
#include <optional>
#include <string_view>

#include "controls/controls.h"

namespace kavrin {

// Virtual-key codes. Digit and letter keys are their character (letters upper case); the
// numeric pad's digits arrive as the digits.
namespace vk {
inline constexpr int32_t Back = 0x08;
inline constexpr int32_t Return = 0x0D;
inline constexpr int32_t Escape = 0x1B;
inline constexpr int32_t Space = 0x20;
inline constexpr int32_t Prior = 0x21;  // Page Up
inline constexpr int32_t Next = 0x22;   // Page Down
inline constexpr int32_t Left = 0x25;
inline constexpr int32_t Up = 0x26;
inline constexpr int32_t Right = 0x27;
inline constexpr int32_t Down = 0x28;
inline constexpr int32_t F2 = 0x71;
inline constexpr int32_t F3 = 0x72;
inline constexpr int32_t F4 = 0x73;
inline constexpr int32_t F5 = 0x74;
inline constexpr int32_t F6 = 0x75;
inline constexpr int32_t F7 = 0x76;
inline constexpr int32_t F8 = 0x77;
inline constexpr int32_t F9 = 0x78;
inline constexpr int32_t F10 = 0x79;
inline constexpr int32_t F11 = 0x7A;
inline constexpr int32_t F12 = 0x7B;
inline constexpr int32_t Scroll = 0x91;
}  // namespace vk

// The code of a key by the name the window and the input script give it: "F2" .. "F12",
// "Enter", "Space", "Backspace", "PageUp", "PageDown", "ScrollLock", "Up", "Down", "Left",
// "Right", "Escape", or one digit or letter. Nothing for any other name.
std::optional<int32_t> VirtualKeyByName(std::string_view name);

// The key state when a run starts: nothing held, the cab surface in place, door side 0, whose
// text shows in one-man operation when the route asks for it.
void StartKeyState(TKeyState& k, const TStringFile& strings, int32_t oneMan, int32_t oneManDoors);

// The driver did something: the vigilance count starts again, its bell stops and its lamp goes
// out. Every character, serial message and changed game-controller reading is one.
void DriverAction(TControls& c);

void AsciiDown(TControls& c, char key);
void keydowns(TControls& c, int32_t key, bool shift);
void keyups(TControls& c, int32_t key, bool shift);
void WheelD(TControls& c);
void WheelU(TControls& c);

}  // namespace kavrin

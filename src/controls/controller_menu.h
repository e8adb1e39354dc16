#pragma once
// The "Controller(&C)" menu: its items in order, with the component name by which the window
// and the input script choose an item, and which items carry a check mark.
#include <array>
#include <cstdint>
#include <string_view>

#include "controls/controller_state.h"

namespace kavrin {

enum class ControllerMenuAction {
  ControllerType,  // chooses controller type `Type`; its item alone carries the check mark
  Debug,           // toggles its check mark (the scan's axes in the window caption)
  SerialSettings,  // the serial port's settings dialog (the window's own)
  SerialConnect,   // closes the serial port when it is open, else opens it
};

struct TControllerMenuItem {
  const char* Name;
  const char* Caption;
  ControllerMenuAction Action;
  int32_t Type = -1;
};

inline constexpr std::array<TControllerMenuItem, 7> kControllerMenu = {{
    {"Mascon1", "標準/QZマスコン(&N)", ControllerMenuAction::ControllerType, 0},
    {"UsbGo1", "Windows用電車でGO! コントローラ(&U)", ControllerMenuAction::ControllerType, 1},
    {"PsGo1", "PS用電車でGO! コントローラ(&M)", ControllerMenuAction::ControllerType, 2},
    {"Ohc1", "ワンハンドルコントローラ OHC-PC01(&O)", ControllerMenuAction::ControllerType, 3},
    {"Debug1", "デバッグオプション(&D)", ControllerMenuAction::Debug},
    {"ComSetup1", "QZマスコン（設定）(&P)", ControllerMenuAction::SerialSettings},
    {"ComConnect1", "QZマスコン（接続）(&C)", ControllerMenuAction::SerialConnect},
}};

// The item of that component name, or null.
const TControllerMenuItem* ControllerMenuItem(std::string_view name);

bool ControllerMenuCheckable(const TControllerMenuItem& item);
bool ControllerMenuChecked(const TControllerMenuItem& item, const TControllerState& s);

}  // namespace kavrin

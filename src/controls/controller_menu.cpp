#include "controls/controller_menu.h"

namespace kavrin {

const TControllerMenuItem* ControllerMenuItem(std::string_view name) {
  for (const TControllerMenuItem& item : kControllerMenu) {
    if (name == item.Name) return &item;
  }
  return nullptr;
}

bool ControllerMenuCheckable(const TControllerMenuItem& item) {
  return item.Action == ControllerMenuAction::ControllerType || item.Action == ControllerMenuAction::Debug;
}

bool ControllerMenuChecked(const TControllerMenuItem& item, const TControllerState& s) {
  switch (item.Action) {
    case ControllerMenuAction::ControllerType: return s.ControllerType == item.Type;
    case ControllerMenuAction::Debug: return s.DebugOption;
    default: return false;
  }
}

}  // namespace kavrin

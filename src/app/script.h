#pragma once
// The headless harness's input script: one event per line, "MS EVENT", MS the virtual time in
// ms at which the event is applied (before the ticks due at that time); "#" starts a comment.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/input_event.h"

namespace kavrin {

struct ScriptEvent {
  int64_t ms = 0;
  int line = 0;
  InputEvent event;
};

// Events in time order (equal times keep their order in the file). On a bad line returns false
// with a message naming its line number.
bool ParseScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error);

}  // namespace kavrin

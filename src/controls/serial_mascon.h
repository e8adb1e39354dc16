#pragma once
// The serial master controller: text messages ended by a carriage return, each compared with
// the command strings of "mascon.dat".
#include <array>
#include <string>
#include <string_view>

#include "controls/controller_state.h"
#include "controls/controls.h"

namespace kavrin {

// A line longer than this without a carriage return is noise, not a message: it is dropped up to
// its carriage return.
inline constexpr size_t kRxResultLimit = 256;

// One receive event. Every carriage return ends a message (one read may bring several, or the
// end of one message and the start of the next); what follows the last one waits for the next
// event.
void RxChar(TControls& c, TControllerState& s, const std::array<std::string, 26>& masconLines,
            std::string_view received);

// One message, its carriage return included. Only its first five characters count, and they
// must equal a whole command string, so a command string of any other length never matches.
// Command k (from 1): 1-6 power position k, 7 neutral, 8-16 brake step k - 7, 17-19 reverser
// forward, neutral, back, 20-23 the keys space, "3", "7", "1".
void SerialMessage(TControls& c, TControllerState& s, const std::array<std::string, 26>& masconLines,
                   std::string_view message);

}  // namespace kavrin

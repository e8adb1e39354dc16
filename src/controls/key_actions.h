#pragma once
// What a key does in the subsystems that own the state it acts on. The keys test their own
// conditions (the table of keys) and then call the owner; an owner that is not in the program
// leaves its hook empty and the key then does nothing more.
#include <cstdint>
#include <functional>

namespace kavrin {

struct TKeyActions {
  // "d" or "7" in one-man operation: the door operation of the station logic.
  std::function<void()> Door_operate;

  // "r" with the brake at emergency and the train standing: the protection reset. Clears
  // EmergencyTrip and ATSTrip, stops the "[Sound_Ats1]" channel, shows "[Lamp_Ats1]" and hides
  // "[Lamp_Ats2]" and "[Lamp_Ats3]"; with ATS_Type 2 sets the protection timer to 600.
  std::function<void()> ProtectionReset;
  // Space with ATS_Type 0: the protection acknowledgement. Stops the "[Sound_Ats2]" bell when
  // it plays, plays "[Sound_Ats3]" and hides "[Lamp_Ats3]" (at the special limit 998 only when
  // the rounded speed is 0), then advances the acknowledgement state, except with BrakeType 0 at
  // brake position 1.
  std::function<void()> ProtectionAcknowledge;

  // "c" or "1" with OneMan 1: the next row of the route's announcement list (when the current
  // one is not playing: stop the previous, play the next, advance the list position; the
  // stop-request event may be armed).
  std::function<void()> NextAnnouncement;
  // "-" with OneMan 1: when the list position is above 0, stop the current announcement and
  // step the position back.
  std::function<void()> PreviousAnnouncement;
  // Enter: the driver's calling voice for the current situation.
  std::function<void()> CallingVoice;
  // masconupdate, with the doors closed and the power handle on: the departure call pending
  // since the stop, when there is one, is played.
  std::function<void()> PlayPendingDepartureCall;

  // Backspace at a standstill: the film jumps past its first stop frame when the train stands
  // within 200 frames before it.
  std::function<void()> MovieJumpPastStop;
  // Shift+F3: the film jumps to 10 frames before the next stop window.
  std::function<void()> JumpBeforeNextStop;

  // Shift+F5 to Shift+F10: the film moves by `frames` (held within the film) and the clock by
  // `clock` ticks.
  std::function<void(int32_t frames, int32_t clock)> StepFilm;
  // Shift+F11, Shift+F12: the speed changes by `delta` km/h.
  std::function<void(long double delta)> ChangeSpeed;

  // F3: shows or hides the value display window.
  std::function<void()> ToggleValueDisplay;
};

}  // namespace kavrin

#pragma once
// The external controllers' state of one run: which controller the driver chose, the serial
// characters of a message not yet complete, the last game-controller reading, and the keys the
// controllers post to the window.
#include <cstdint>
#include <string>
#include <vector>

namespace kavrin {

// 0 the serial master controller, 1 the train-game controller for Windows, 2 the one for
// PlayStation (through an adapter), 3 the one-handle controller OHC-PC01.
inline constexpr int32_t kControllerTypes = 4;

// A key posted by a controller: a character for AsciiDown, or (when Key is not 0) a virtual
// key for keydowns.
struct TPostedKey {
  char Char = 0;
  int32_t Key = 0;
};

struct TControllerState {
  int32_t ControllerType = 0;
  bool DebugOption = false;  // the scan shows its axes in the window caption

  // Serial characters received since the last carriage return.
  std::string RxResult;
  // A line grew past the longest one kept: everything up to its carriage return is dropped.
  bool RxDiscarding = false;
  // The last serial message, shown as the value display's caption.
  std::string ValueDisplayCaption;

  // The sum of the last decoded game-controller reading, and the handle after the last scan.
  // 64 bits: a reading is a sum of two axes and the buttons.
  int64_t LastReading = 0;
  int32_t LastScanPower = 0;
  int32_t LastScanBrake = 0;

  // Posted keys wait until the handler that posted them has returned, as a window's posted
  // messages do.
  std::vector<TPostedKey> Posted;
};

}  // namespace kavrin

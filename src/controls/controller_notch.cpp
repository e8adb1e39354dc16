#include "controls/controller_notch.h"

#include <algorithm>

#include "controls/handle_model.h"

namespace kavrin {

int32_t ControllerToNotch(const TVehicleTables& t, int32_t position, int32_t power, int32_t brake, int32_t mode) {
  if (position == 0) return 0;
  if (position < 0) return std::max(position, -brake);
  int32_t first = -1;
  for (int32_t row = 0; row < power; ++row) {
    if (NotchRowMode(t, row) == mode) {
      first = row;
      break;
    }
  }
  // A mode without a row has no notch to give: the power stays off.
  if (first < 0) return 0;
  int32_t last = first;
  for (int32_t row = power - 1; row >= first; --row) {
    if (NotchRowMode(t, row) == mode) {
      last = row;
      break;
    }
  }
  int32_t rows = last - first + 1;
  if (rows < position) return first + rows;
  // The mode's rows need not be contiguous: a position that lands on another mode's row gives
  // the top notch too.
  return NotchRowMode(t, first + position - 1) == mode ? first + position : first + rows;
}

}  // namespace kavrin

#include "controls/usb_scan.h"

#include <array>
#include <utility>

#include "controls/controller_notch.h"
#include "controls/keys.h"
#include "controls/mascon_update.h"
#include "controls/posted_keys.h"

namespace kavrin {

namespace {

constexpr int32_t kPlayStation = 2;
constexpr int32_t kOneHandle = 3;

struct TButtonKey {
  int button;
  char ch;
};

// Windows controller: power positions from the Y axis, one range each; the values between the
// ranges (-5000, -12000, -20000, -30000) leave the handle where it is.
std::optional<int32_t> WindowsPower(int32_t y) {
  if (y >= 0) return 0;
  if (y >= -4999) return 1;
  if (y >= -11999 && y < -5000) return 2;
  if (y >= -19999 && y < -12000) return 3;
  if (y >= -29999 && y < -20000) return 4;
  if (y < -30000) return 5;
  return std::nullopt;
}

// Windows controller: brake positions from the X axis, with the same kind of gaps.
std::optional<int32_t> WindowsBrake(int32_t x) {
  struct Range {
    int32_t from, to, position;
  };
  static constexpr std::array<Range, 8> kRanges = {{{1, 999, -1},
                                                    {1001, 3999, -2},
                                                    {4001, 5999, -3},
                                                    {6001, 7999, -4},
                                                    {8001, 9499, -5},
                                                    {9501, 10999, -6},
                                                    {11001, 11999, -7},
                                                    {12001, 12999, -8}}};
  if (x < 1) return 0;
  for (const Range& r : kRanges) {
    if (x >= r.from && x <= r.to) return r.position;
  }
  if (x > 13000) return -9;
  return std::nullopt;
}

// OHC-PC01: the lever's contacts as the pair (Buttons2, Buttons1).
struct TPairPosition {
  int32_t buttons2, buttons1, position;
};
constexpr std::array<TPairPosition, 6> kOneHandlePower = {{
    {4, 16, 0}, {4, 48, 1}, {12, 0, 2}, {12, 32, 3}, {12, 16, 4}, {12, 48, 5},
}};
constexpr std::array<TPairPosition, 10> kOneHandleBrake = {{
    {4, 16, 0}, {4, 32, -1}, {4, 0, -2}, {8, 48, -3}, {8, 16, -4},
    {8, 32, -5}, {8, 0, -6}, {0, 48, -7}, {0, 16, -8}, {0, 32, -9},
}};

template <size_t N>
std::optional<int32_t> PairPosition(const std::array<TPairPosition, N>& table, int32_t b2, int32_t b1) {
  for (const TPairPosition& p : table) {
    if (p.buttons2 == b2 && p.buttons1 == b1) return p.position;
  }
  return std::nullopt;
}

void PostPressed(TControllerState& s, const TPadReading& r, std::initializer_list<TButtonKey> keys) {
  for (const TButtonKey& k : keys) {
    if (r.Pressed(k.button)) PostChar(s, k.ch);
  }
}

void SetPower(TControls& c, int32_t position) {
  c.Handle.PowerNotch = ControllerToNotch(c.Tables, position, c.veh.Power, c.veh.Brake, c.Handle.PowerModeIdx);
}

void SetBrake(TControls& c, int32_t position) {
  c.Handle.BrakeNotch = ControllerToNotch(c.Tables, position, c.veh.Power, c.veh.Brake, 0);
}

// Power leaves the suppress notch.
void SuppressReset(TControls& c) {
  if (c.Handle.SuppressPos > 0 && c.Handle.PowerNotch > 0) {
    c.Handle.SuppressPos = 0;
    masconupdate(c);
  }
}

void PlayStation(TControls& c, TControllerState& s, const TControllerMap& map, const TPadReading& r) {
  const int32_t b1 = PadButtons1(r), b2 = PadButtons2(r);
  const int64_t handle = int64_t{r.X} + r.Y + b1;
  for (int32_t p = 0; p <= 5; ++p) {
    if (handle == map[static_cast<size_t>(p)]) {
      SetPower(c, p);
      break;
    }
  }
  SuppressReset(c);
  // B0 .. B8, then EB.
  for (int32_t k = 0; k <= 9; ++k) {
    if (b2 == map[static_cast<size_t>(6 + k)]) {
      SetBrake(c, -k);
      break;
    }
  }
  PostPressed(s, r, {{9, '1'}, {1, '3'}, {2, '7'}, {3, '9'}, {8, 'r'}});
}

void OneHandle(TControls& c, TControllerState& s, TKeyState& keys, const TPadReading& r) {
  const int32_t b1 = PadButtons1(r), b2 = PadButtons2(r);
  if (auto p = PairPosition(kOneHandlePower, b2, b1)) SetPower(c, *p);
  if (c.Handle.PowerNotch > 0) c.Handle.BrakeNotch = 0;
  SuppressReset(c);
  if (auto p = PairPosition(kOneHandleBrake, b2, b1)) SetBrake(c, *p);
  if (c.Handle.BrakeNotch < 0) c.Handle.PowerNotch = 0;
  keys.HornPad = r.Pressed(0) ? 1 : 0;
  PostPressed(s, r, {{1, '4'}, {2, '7'}});
  PostChar(s, r.Y < 0 ? 'f' : r.Y == 0 ? 'n' : 'b');
}

void Windows(TControls& c, TControllerState& s, const TPadReading& r) {
  if (auto p = WindowsPower(r.Y)) SetPower(c, *p);
  SuppressReset(c);
  if (auto p = WindowsBrake(r.X)) SetBrake(c, *p);
  PostPressed(s, r, {{0, '9'}, {1, '1'}, {2, '3'}, {3, '7'}});
  if (r.Pressed(4)) PostKey(s, vk::Return);
  PostPressed(s, r, {{5, 's'}});
}

}  // namespace

int32_t PadButtons1(const TPadReading& r) {
  int32_t sum = 0;
  for (int b = 0; b < 4; ++b) {
    if (r.Pressed(b)) sum += 1 << b;
  }
  for (int b = 8; b < 16; ++b) {
    if (r.Pressed(b)) sum += 1 << (b - 4);
  }
  return sum;
}

int32_t PadButtons2(const TPadReading& r) {
  int32_t sum = 0;
  for (int b = 4; b < 8; ++b) {
    if (r.Pressed(b)) sum += 1 << (b - 4);
  }
  return sum;
}

std::optional<std::string> USBScan(TControls& c, TControllerState& s, const TControllerMap& map,
                                   const TPadReading& r) {
  if (s.ControllerType < 1 || s.ControllerType >= kControllerTypes) return std::nullopt;
  const int64_t reading = int64_t{r.X} + r.Y + PadButtons1(r) + PadButtons2(r);
  if (reading == s.LastReading) return std::nullopt;
  DriverAction(c);
  if (s.ControllerType == kPlayStation) PlayStation(c, s, map, r);
  else if (s.ControllerType == kOneHandle) OneHandle(c, s, c.Keys, r);
  else Windows(c, s, r);

  std::optional<std::string> caption;
  if (s.DebugOption) caption = "X:" + std::to_string(r.X) + " Y:" + std::to_string(r.Y);

  s.LastReading = reading;
  THandleState& h = c.Handle;
  if (h.PowerNotch != s.LastScanPower) {
    c.Delayed.SetPowerChanged();
    masconupdate(c);
  }
  if (h.BrakeNotch != s.LastScanBrake) {
    c.Delayed.SetBrakeChanged();
    masconupdate(c);
  }
  s.LastScanPower = h.PowerNotch;
  s.LastScanBrake = h.BrakeNotch;
  return caption;
}

}  // namespace kavrin

// The external controllers over the handle model: the position mapping, the serial master
// controller's messages, the game-controller decoding and the keys they post.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "controls/controller_notch.h"
#include "controls/posted_keys.h"
#include "controls/serial_mascon.h"
#include "controls/usb_scan.h"
#include "unit/controls_fixture.h"

namespace kavrin {
namespace {

// Command strings as a controller sends them, five characters each; entry 24 is longer and so
// can never match.
std::array<std::string, 26> Commands() {
  std::array<std::string, 26> c{};
  const char* lines[] = {"TSP01", "TSP02", "TSP03", "TSP04", "TSP05", "TSP06", "TSN00", "TSB01",
                         "TSB02", "TSB03", "TSB04", "TSB05", "TSB06", "TSB07", "TSB08", "TSB09",
                         "TSRF0", "TSRN0", "TSRB0", "TSKSP", "TSKHN", "TSKDR", "TSKAN", "TSLONG"};
  for (size_t i = 0; i < std::size(lines); ++i) c[i] = lines[i];
  return c;
}

TVehicleTables NotchModes(std::vector<int32_t> modes) {
  TVehicleTables t;
  for (int32_t m : modes) {
    TNotchRow row;
    row.Mode = m;
    t.Notch.push_back(row);
  }
  return t;
}

TEST(ControllerToNotch, PositionsCountInsideTheModeAndBrakesStopAtEmergency) {
  struct Case {
    std::vector<int32_t> modes;
    int32_t power, brake, mode, position, notch;
  };
  const Case cases[] = {
      // Mode 0 has 3 notches: position 5 gives its top notch.
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 0, 5, 3},
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 0, 2, 2},
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 1, 1, 4},
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 1, 4, 7},
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 1, 6, 7},
      {{0, 0, 0, 1, 1, 1, 1}, 7, 8, 1, 0, 0},
      // Only the rows below Power count.
      {{0, 0, 0, 1, 1, 1, 1}, 5, 8, 1, 6, 5},
      // A mode with no rows gives no power.
      {{0, 0, 0}, 3, 8, 2, 1, 0},
      // A position landing on another mode's row inside the span gives the mode's top notch.
      {{0, 1, 0}, 3, 8, 0, 2, 3},
      {{0, 1, 0}, 3, 8, 0, 1, 1},
      // No notch table (current-step traction, diesel): every notch is mode 0.
      {{}, 5, 8, 0, 6, 5},
      {{}, 5, 8, 0, 4, 4},
      // Brake step 9 on a train with Brake 7 is the emergency brake.
      {{}, 5, 7, 0, -9, -7},
      {{}, 5, 7, 0, -6, -6},
      {{}, 5, 7, 0, -7, -7},
  };
  for (const Case& c : cases) {
    TVehicleTables t = NotchModes(c.modes);
    EXPECT_EQ(ControllerToNotch(t, c.position, c.power, c.brake, c.mode), c.notch)
        << "mode " << c.mode << " position " << c.position << " power " << c.power;
  }
}

struct SerialRig : test::ControlsRig {
  TControllerState s;
  std::array<std::string, 26> lines = Commands();

  void Receive(std::string_view chars) {
    TControls c = ctx();
    RxChar(c, s, lines, chars);
  }
  std::string PostedChars() const {
    std::string out;
    for (const TPostedKey& k : s.Posted) out += k.Char;
    return out;
  }
};

TEST(SerialMascon, MessagesSetTheHandleByCommand) {
  struct Case {
    const char* message;
    int32_t brake;  // the train's Brake
    long double speed;
    std::string pos;
    int32_t reverser;
  };
  const Case cases[] = {
      {"TSP03\r", 8, 0, "P3", 1},
      {"TSP06\r", 8, 0, "P5", 1},  // beyond the train's notches: the top notch
      {"TSN00\r", 8, 0, "N", 1},
      {"TSB02\r", 8, 0, "B2", 1},
      {"TSB09\r", 7, 0, "EB", 1},  // beyond Brake: the emergency brake (-7)
      {"TSP01 trailing\r", 8, 0, "P1", 1},  // only the first five characters count
      {"TSP0\r", 8, 0, "B4", 1},            // too short: the carriage return is one of the five
      {"TSLONG\r", 8, 0, "B4", 1},          // a longer command string never matches
      {"tsp01\r", 8, 0, "B4", 1},           // case-sensitive
      {"TSRB0\r", 8, 1, "B4", -1},          // reverser at a standstill, whatever the brake
      {"TSRN0\r", 8, 0, "B4", 0},
      {"TSRB0\r", 8, 1.5L, "B4", 1},        // not while moving
  };
  for (const Case& c : cases) {
    SerialRig r;
    r.veh.Brake = c.brake;
    r.speed = c.speed;
    r.SetBrake(-4);
    r.h.VigilanceCount = 40;
    r.Receive(c.message);
    EXPECT_EQ(r.Pos(), c.pos) << c.message;
    EXPECT_EQ(r.h.Reverser, c.reverser) << c.message;
    if (c.brake == 7) {
      EXPECT_EQ(r.h.BrakeNotch, -7);
    }
    // Every message is a driver action and shows in the value display, matched or not.
    EXPECT_EQ(r.h.VigilanceCount, 0) << c.message;
    EXPECT_EQ(r.s.ValueDisplayCaption, c.message);
  }
}

TEST(SerialMascon, HandleCommandsSetEveryChangeFlagAndUpdateTheCab) {
  SerialRig r;
  r.Receive("TSP02\r");
  EXPECT_TRUE(r.d.PowerDelayRun && r.d.BrakeDelayRun && r.d.SapDelayRun && r.d.EBrakeDelayRun);
  EXPECT_EQ(r.h.BrakeText, "N");
  EXPECT_EQ(r.d.AppliedNotch, 0);  // the physics follows after its delay
}

TEST(SerialMascon, PowerLeavesTheSuppressNotch) {
  SerialRig r;
  r.h.SuppressPos = 2;
  r.Receive("TSB01\r");
  EXPECT_EQ(r.h.SuppressPos, 2);
  r.Receive("TSP01\r");
  EXPECT_EQ(r.h.SuppressPos, 0);
}

TEST(SerialMascon, AMessageSplitOverReadsIsHandledOnceAtItsCarriageReturn) {
  SerialRig r;
  r.Receive("TS");
  r.Receive("KH");
  EXPECT_EQ(r.PostedChars(), "");
  EXPECT_EQ(r.s.RxResult, "TSKH");
  r.Receive("N\r");
  EXPECT_EQ(r.PostedChars(), "3");
  EXPECT_EQ(r.s.RxResult, "");
}

TEST(SerialMascon, EveryCarriageReturnInOneReadEndsAMessageAndTheTailWaits) {
  SerialRig r;
  r.Receive("TSKSP\rTSKDR\rTSB03\rTSK");
  EXPECT_EQ(r.PostedChars(), " 7");
  EXPECT_EQ(r.Pos(), "B3");
  EXPECT_EQ(r.s.RxResult, "TSK");
  r.Receive("AN\r");
  EXPECT_EQ(r.PostedChars(), " 71");
}

TEST(SerialMascon, ALineWithoutCarriageReturnIsDroppedWhenTooLong) {
  SerialRig r;
  r.Receive(std::string(200, 'x'));
  EXPECT_EQ(r.s.RxResult.size(), 200u);
  r.Receive(std::string(100, 'x'));
  EXPECT_LE(r.s.RxResult.size(), kRxResultLimit);
  // The overlong line's end is not a message of its own, whatever it looks like ...
  r.Receive("TSP01\r");
  EXPECT_EQ(r.Pos(), "EB");
  EXPECT_EQ(r.s.ValueDisplayCaption, "");
  // ... the next line is.
  r.Receive("TSP02\r");
  EXPECT_EQ(r.Pos(), "P2");
  // A line of exactly the limit is still a message.
  r.Receive(std::string(kRxResultLimit - 6, 'y'));
  r.Receive("TSN00\r");
  EXPECT_EQ(r.s.ValueDisplayCaption.size(), kRxResultLimit);
}

TEST(PostedKeys, GoThroughTheKeysInOrderAfterThePostingHandler) {
  SerialRig r;
  r.oneMan = 1;
  std::string calls;
  r.actions.Door_operate = [&] { calls += "door "; };
  r.actions.NextAnnouncement = [&] { calls += "announce "; };
  r.actions.ProtectionAcknowledge = [&] { calls += "ack "; };
  r.actions.CallingVoice = [&] { calls += "voice "; };
  r.Receive("TSKAN\rTSKDR\rTSKSP\r");
  EXPECT_EQ(calls, "");
  PostKey(r.s, vk::Return);
  TControls c = r.ctx();
  DeliverPosted(c, r.s);
  EXPECT_EQ(calls, "announce door ack voice ");
  EXPECT_TRUE(r.s.Posted.empty());
}

// Buttons of a reading by number.
uint32_t Buttons(std::initializer_list<int> pressed) {
  uint32_t b = 0;
  for (int i : pressed) b |= 1U << i;
  return b;
}

struct PadRig : test::ControlsRig {
  TControllerState s;
  TControllerMap map{};
  std::optional<std::string> caption;

  explicit PadRig(int32_t type) {
    s.ControllerType = type;
    s.LastReading = 1'000'000;  // the first scan of each case is a change
    veh.Brake = 10;  // brake positions up to -9 stay distinct from the emergency brake
    SetBrake(-3);
    SetPower(2);
  }
  void Scan(int32_t x, int32_t y, uint32_t buttons = 0) {
    TControls c = ctx();
    caption = USBScan(c, s, map, TPadReading{x, y, buttons});
  }
  std::string Posted() const {
    std::string out;
    for (const TPostedKey& k : s.Posted) out += k.Key == vk::Return ? std::string("<Enter>") : std::string(1, k.Char);
    return out;
  }
};

TEST(USBScan, ButtonGroupsAreWeightedAsTheControllersReportThem) {
  TPadReading r{0, 0, Buttons({0, 3, 4, 7, 8, 15})};
  EXPECT_EQ(PadButtons1(r), 1 + 8 + 16 + 2048);
  EXPECT_EQ(PadButtons2(r), 1 + 8);
}

TEST(USBScan, WindowsControllerAxesWithTheirGaps) {
  struct Case {
    int32_t x, y;
    int32_t power, brake;  // 2 / -3 is the handle before the scan: unchanged
  };
  const Case cases[] = {
      {0, 0, 0, 0},           {0, -1, 1, 0},          {0, -4999, 1, 0},       {0, -5000, 2, 0},
      {0, -5001, 2, 0},       {0, -11999, 2, 0},      {0, -12000, 2, 0},      {0, -12001, 3, 0},
      {0, -19999, 3, 0},      {0, -20000, 2, 0},      {0, -20001, 4, 0},      {0, -29999, 4, 0},
      {0, -30000, 2, 0},      {0, -30001, 5, 0},      {0, 32767, 0, 0},       {1, 0, 0, -1},
      {999, 0, 0, -1},        {1000, 0, 0, -3},       {1001, 0, 0, -2},       {3999, 0, 0, -2},
      {4000, 0, 0, -3},       {4001, 0, 0, -3},       {5999, 0, 0, -3},       {6000, 0, 0, -3},
      {6001, 0, 0, -4},       {7999, 0, 0, -4},       {8000, 0, 0, -3},       {8001, 0, 0, -5},
      {9499, 0, 0, -5},       {9500, 0, 0, -3},       {9501, 0, 0, -6},       {11000, 0, 0, -3},
      {11001, 0, 0, -7},      {11999, 0, 0, -7},      {12000, 0, 0, -3},      {12001, 0, 0, -8},
      {12999, 0, 0, -8},      {13000, 0, 0, -3},      {13001, 0, 0, -9},      {-32768, 0, 0, 0},
  };
  for (const Case& c : cases) {
    PadRig r(1);
    r.Scan(c.x, c.y);
    EXPECT_EQ(r.h.PowerNotch, c.power) << "X " << c.x << " Y " << c.y;
    EXPECT_EQ(r.h.BrakeNotch, c.brake) << "X " << c.x << " Y " << c.y;
  }
  // Brake step 9 on a train with 8 brake positions is the emergency brake.
  PadRig r(1);
  r.veh.Brake = 8;
  r.Scan(20000, 0);
  EXPECT_EQ(r.h.BrakeNotch, -8);
}

TEST(USBScan, WindowsControllerButtonsPostTheirKeys) {
  PadRig r(1);
  r.Scan(0, 0, Buttons({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(r.Posted(), "9137<Enter>s");
}

TEST(USBScan, OneHandleControllerContactPairs) {
  struct Case {
    std::initializer_list<int> buttons;  // 6, 7 are Buttons2 4, 8; 8, 9 are Buttons1 16, 32
    int32_t power, brake;
  };
  const Case cases[] = {
      {{6, 8}, 0, 0},        // (4, 16): neutral
      {{6, 8, 9}, 1, 0},     // (4, 48)
      {{6, 7}, 2, 0},        // (12, 0)
      {{6, 7, 9}, 3, 0},     // (12, 32)
      {{6, 7, 8}, 4, 0},     // (12, 16)
      {{6, 7, 8, 9}, 5, 0},  // (12, 48)
      {{6, 9}, 0, -1},       // (4, 32)
      {{6}, 0, -2},          // (4, 0)
      {{7, 8, 9}, 0, -3},    // (8, 48)
      {{7, 8}, 0, -4},       // (8, 16)
      {{7, 9}, 0, -5},       // (8, 32)
      {{7}, 0, -6},          // (8, 0)
      {{8, 9}, 0, -7},       // (0, 48)
      {{8}, 0, -8},          // (0, 16)
      {{9}, 0, -9},          // (0, 32)
      {{5}, 2, 0},           // (2, 0) matches nothing: the power stays, and power on releases the brake
  };
  for (const Case& c : cases) {
    PadRig r(3);
    r.Scan(0, 0, Buttons(c.buttons));
    EXPECT_EQ(r.h.PowerNotch, c.power) << PadButtons2(TPadReading{0, 0, Buttons(c.buttons)});
    EXPECT_EQ(r.h.BrakeNotch, c.brake) << PadButtons1(TPadReading{0, 0, Buttons(c.buttons)});
  }
}

TEST(USBScan, OneHandleControllerHornButtonsAndReverser) {
  PadRig r(3);
  r.Scan(0, -1, Buttons({0, 1, 2}));
  EXPECT_EQ(r.keys.HornPad, 1);
  EXPECT_EQ(r.Posted(), "47f");
  r.s.Posted.clear();
  r.Scan(0, 0, 0);
  EXPECT_EQ(r.keys.HornPad, 0);
  EXPECT_EQ(r.Posted(), "n");
  r.s.Posted.clear();
  r.Scan(0, 5, 0);
  EXPECT_EQ(r.Posted(), "b");
}

TEST(USBScan, PlayStationControllerThroughTheControllerMap) {
  PadRig r(2);
  // P0 .. P5 are sums of the axes and Buttons1, B0 .. B8 and EB values of Buttons2.
  r.map = {100, 101, 102, 103, 104, 105, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  r.Scan(60, 43, 0);  // 103, Buttons2 0
  EXPECT_EQ(r.Pos(), "P3");
  EXPECT_EQ(r.h.BrakeNotch, 0);
  r.Scan(60, 44, Buttons({4, 7}));  // 104, Buttons2 9: EB
  EXPECT_EQ(r.h.PowerNotch, 4);
  EXPECT_EQ(r.h.BrakeNotch, -9);
  r.Scan(60, 50, Buttons({5}));  // 110 matches no power value; Buttons2 2: B2
  EXPECT_EQ(r.h.PowerNotch, 4);
  EXPECT_EQ(r.h.BrakeNotch, -2);
  r.Scan(0, 0, Buttons({9, 1, 2, 3, 8, 0}));
  EXPECT_EQ(r.Posted(), "1379r");
}

TEST(USBScan, AnUnchangedReadingDoesNothing) {
  PadRig r(1);
  r.Scan(0, -6000, Buttons({3}));
  ASSERT_EQ(r.Posted(), "7");
  r.h.VigilanceCount = 12;
  r.h.PowerNotch = 4;
  r.d = TDelayedHandle{};
  r.Scan(0, -6000, Buttons({3}));
  EXPECT_EQ(r.Posted(), "7");  // nothing posted again
  EXPECT_EQ(r.h.VigilanceCount, 12);
  EXPECT_EQ(r.h.PowerNotch, 4);
  EXPECT_FALSE(r.d.PowerDelayRun);
  // A different reading with the same sum is the same reading.
  r.Scan(1, -6001, Buttons({3}));
  EXPECT_EQ(r.h.PowerNotch, 4);
}

TEST(USBScan, OnlyAChangedHandleStartsItsDelays) {
  PadRig r(1);
  r.s.LastScanPower = 2;
  r.s.LastScanBrake = -3;
  r.h.VigilanceCount = 5;
  r.Scan(1000, -5000);  // both in a gap: nothing moves
  EXPECT_FALSE(r.d.PowerDelayRun || r.d.BrakeDelayRun);
  EXPECT_EQ(r.h.VigilanceCount, 0);
  r.Scan(1000, -13000);
  EXPECT_TRUE(r.d.PowerDelayRun);
  EXPECT_FALSE(r.d.BrakeDelayRun || r.d.SapDelayRun || r.d.EBrakeDelayRun);
  r.Scan(2000, -13000);
  EXPECT_TRUE(r.d.BrakeDelayRun && r.d.SapDelayRun && r.d.EBrakeDelayRun);
  EXPECT_EQ(r.s.LastScanPower, 3);
  EXPECT_EQ(r.s.LastScanBrake, -2);
  EXPECT_EQ(r.h.BrakeText, "B2");
}

TEST(USBScan, DebugCaptionShowsTheAxes) {
  PadRig r(1);
  r.Scan(12, -34);
  EXPECT_FALSE(r.caption);
  r.s.DebugOption = true;
  r.Scan(-5, 6001);
  EXPECT_EQ(r.caption, "X:-5 Y:6001");
}

}  // namespace
}  // namespace kavrin

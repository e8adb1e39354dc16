// The external controllers in a whole run: the script's controller, serial and pad events, the
// controller menu, the scan in the 100 ms tick and the keys posted after it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/headless.h"
#include "app/script.h"
#include "controls/controller_menu.h"
#include "support/run_rig.h"

namespace kavrin {
namespace {

const char* kOstrel =
    "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Neut]\r\n切\r\n[Neut2]\r\n切\r\n[EB]\r\n非常\r\n";
const char* kMascon = "TSP01\r\nTSP02\r\nTSP03\r\nTSP04\r\nTSP05\r\nTSP06\r\nTSN00\r\nTSB01\r\nTSB02\r\n#\r\n";
const char* kVehicle =
    "[Handle]\r\n0\r\n[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n4\r\n[Engine_Type]\r\n1\r\n[Tons]\r\n36\r\n";

// A port that opens or not as the test says.
struct TestSerialLink : SerialLink {
  bool openable = true, open = false;
  bool Open() override { return open = openable; }
  void Close() override { open = false; }
  bool IsOpen() const override { return open; }
  std::string PortName() const override { return "ttyTEST"; }
  void SetPortName(const std::string&) override {}
};

struct Rig : test::RunRig {
  TestSerialLink link;
  SimulatorRun linked{sim, RunServices{store, sound, ui, pictures, waves, film, NoGamepad(), &link},
                      kHeadlessIdleInterval};
  int voices = 0;

  Rig() : RunRig(kOstrel) {
    dir.Write("mascon.dat", kMascon);
    dir.Write("car.dat", kVehicle);
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    rq.VehicleFileName = "car.dat";
    // A long film, and the train far from its ends: at frame 0 the least backward motion of
    // this handle-only train is the film's end, which stops it and takes the power off.
    rq.Frames = 100000;
    linked.keyActions.CallingVoice = [this] { ++voices; };
    linked.FormCreate(rq);
    StepFilmFrames(linked.sim().film, 50000);
  }

  std::string Drive(const std::string& script, int64_t limitMs, std::vector<std::string> fields) {
    return test::DriveHeadless(linked, ui, sound, script, limitMs, std::move(fields));
  }
};

TEST(ControllersRun, SerialMessagesFromTheScriptReachTheHandleAtTheirCarriageReturn) {
  Rig r;
  std::string t = r.Drive(
      "150 serial TSP0\n"          // half a message: nothing yet
      "250 serial 3\\r\n"          // P3 of a 4-notch train
      "350 serial TSN00\\rTSB02\\rTS\n"  // two messages in one read, and the start of a third
      "450 serial P01\\r\n",
      500, {"PowerNotch", "BrakeNotch", "RxResult"});
  EXPECT_NE(t.find("\n200,0,-8,\"TSP0\"\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n300,3,0,\"\"\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n400,0,-2,\"TS\"\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n500,1,0,\"\"\n"), std::string::npos) << t;
}

TEST(ControllersRun, TheScanRunsInTheTickForAChosenGameController) {
  Rig r;
  std::string t = r.Drive(
      "150 pad 0 -13000 16\n"  // Windows controller, P3 and button 4 (Enter): not chosen yet
      "250 controller 1\n"
      "450 pad 0 -13000 16\n"  // the same reading again: nothing more
      "550 pad 5000 0 0\n",    // B3, power off
      600, {"ControllerType", "PowerNotch", "BrakeNotch", "LastReading"});
  EXPECT_NE(t.find("\n200,0,0,-8,0\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n300,1,3,0,-12999\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n600,1,0,-3,5000\n"), std::string::npos) << t;
  // The Enter key went to the keys once, after the tick that scanned it.
  EXPECT_EQ(r.voices, 1);
}

TEST(ControllersRun, TheControllerMenuChecksItsTypeAndShowsTheAxesWhileDebugging) {
  Rig r;
  auto checked = [&] {
    std::string marks;
    for (const TControllerMenuItem& item : kControllerMenu) {
      marks += ControllerMenuCheckable(item) ? (ControllerMenuChecked(item, r.sim.controllers) ? 'x' : '-') : ' ';
    }
    return marks;
  };
  EXPECT_EQ(checked(), "x----  ");
  r.Drive(
      "150 menu PsGo1\n"
      "160 menu Debug1\n"
      "170 pad 7 -8 0\n",
      200, {"ControllerType"});
  EXPECT_EQ(checked(), "--x-x  ");
  EXPECT_EQ(r.ui.caption, "X:7 Y:-8");
  r.linked.HandleInput(MakeInput(InputKind::Menu, "Debug1"));
  EXPECT_EQ(checked(), "--x--  ");
  EXPECT_EQ(r.ui.caption, "鉄道運転シミュレータ");
}

TEST(ControllersRun, TheConnectItemTogglesThePortAndTheEndOfTheRunClosesIt) {
  Rig r;
  InputEvent connect = MakeInput(InputKind::Menu, "ComConnect1");
  r.linked.HandleInput(connect);
  EXPECT_TRUE(r.link.open);
  r.linked.HandleInput(connect);
  EXPECT_FALSE(r.link.open);
  r.link.openable = false;
  r.linked.HandleInput(connect);
  EXPECT_EQ(r.messages.str(), "シリアルポート ttyTEST を開けません\n");
  r.link.openable = true;
  r.linked.HandleInput(connect);
  r.linked.FormCloseQuery();
  EXPECT_FALSE(r.link.open);
}

TEST(ControllersRun, ScriptEventsOfTheControllers) {
  std::vector<ScriptEvent> events;
  std::string err;
  ASSERT_TRUE(ParseScript("10 pad -1 2 0x0130\n20 controller 3\n30 serial a b\\r\n40 menu Debug1\n", events, err))
      << err;
  EXPECT_EQ(events[0].event.x, -1);
  EXPECT_EQ(events[0].event.y, 2);
  EXPECT_EQ(events[0].event.buttons, 0x130u);
  EXPECT_EQ(events[1].event.number, 3);
  EXPECT_EQ(events[2].event.text, "a b\r");
  EXPECT_EQ(events[3].event.text, "Debug1");
  for (const char* bad : {"10 controller 4\n", "10 controller -1\n", "10 pad 1 2 0x10000\n", "10 pad 1 2\n"}) {
    EXPECT_FALSE(ParseScript(bad, events, err)) << bad;
  }
}

}  // namespace
}  // namespace kavrin

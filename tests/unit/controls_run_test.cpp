// The keys of a whole run: the headless script's events go through the run's input handling to
// the handle model, and the trace shows the handle as the state probe names it.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

#include "app/headless.h"
#include "app/script.h"
#include "app/simulator.h"
#include "core/key_value_store.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"
#include "support/run_rig.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

const char* kOstrel =
    "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Forward]\r\n前\r\n[Neutral]\r\n中\r\n[Reverse]\r\n後\r\n"
    "[Neut]\r\n切\r\n[Neut2]\r\n切\r\n[Hold2]\r\n抑\r\n[EB]\r\n非常\r\n";

// One handle with a hold step, eight brake positions, four notches; the first notch clicks on
// channel 3 and the held horn starts on channel 5.
const char* kVehicle =
    "[Handle]\r\n0\r\n[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n4\r\n[Hold]\r\n1\r\n[Engine_Type]\r\n1\r\n[Tons]\r\n36\r\n"
    "[Sound_PA]\r\n3\r\n4\r\n4\r\n4\r\n[Sound_Horn4]\r\n5\r\n6\r\n7\r\n8\r\n5\r\n0\r\n";

// Counts plays across the bank's reset at the end of the run.
struct CountingBank : test::FakeSoundBank {
  std::array<int, ChannelCount> played{};
  void Play(int c) override {
    if (HasWaveData(c)) ++played[static_cast<size_t>(c)];
    FakeSoundBank::Play(c);
  }
};

struct Rig {
  test::TempDir dir;
  MemoryKeyValueStore store;
  CountingBank sound;
  std::ostringstream messages;
  HeadlessUiHost ui{messages};
  test::FakePictureLoader pictures;
  test::FakeWaveDecoder waves;
  test::FakeFilmSource film;
  std::unique_ptr<Sim> sim = std::make_unique<Sim>();
  SimulatorRun run{*sim, RunServices{store, sound, ui, pictures, waves, film}, kHeadlessIdleInterval};

  Rig() {
    dir.Write("ostrel.dat", kOstrel);
    dir.Write("mascon.dat", "#\r\n");
    dir.Write("car.dat", kVehicle);
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    rq.VehicleFileName = "car.dat";
    // A long film, and the train far from its ends: at frame 0 the least backward motion of
    // this handle-only train is the film's end, which stops it and takes the power off.
    rq.Frames = 100000;
    run.FormCreate(rq);
    StepFilmFrames(run.sim().film, 50000);
    for (int c = 0; c < 10; ++c) sound.SetWaveData(c, test::FakeSoundBank::WaveOf(0.2));
  }

  // Runs the script to `limitMs` and returns the trace rows.
  std::string Drive(const std::string& script, int64_t limitMs, std::vector<std::string> fields) {
    return test::DriveHeadless(run, ui, sound, script, limitMs, std::move(fields));
  }
};

TEST(ControlsRun, ScriptKeysDriveTheHandleThroughTheRun) {
  Rig r;
  // The run starts with the handle at emergency and its texts shown.
  EXPECT_EQ(r.sim->handle.BrakeNotch, -8);
  EXPECT_EQ(r.sim->handle.BrakeText, "非常");
  EXPECT_EQ(r.sim->handle.PowerText, "切");
  EXPECT_EQ(r.sim->handle.ReverserText, "前");
  EXPECT_EQ(r.sim->delayed.LastBrakeNotch, -8);

  std::string t = r.Drive(
      "150 char 8\n"          // B7
      "250 char 5\n"          // released
      "350 char 2\n"          // hold step
      "450 wheel up\n"        // B1
      "550 wheel down\n"      // hold step
      "650 wheel down\n"      // released
      "750 wheel down\n"      // P1
      "850 keydown 3\n"       // the held horn
      "950 keyup 3\n"
      "1050 menu start1\n"    // pause: keys are ignored
      "1110 char 8\n"
      "1170 menu start1\n"    // the grid restarts at 1170
      "1220 key ScrollLock\n"
      "1230 char 8\n",        // swapped: down to released
      1300, {"BrakeNotch", "HoldEngaged", "PowerNotch", "BrakeText", "PowerText", "HornKey", "SwapKeys", "AppliedNotch"});
  const char* rows[] = {
      "\n100,-8,0,0,\"非常\",\"切\",0,0,0\n", "\n200,-7,0,0,\"B7\",\"切\",0,0,0\n",
      "\n300,0,0,0,\"切\",\"切\",0,0,0\n",    "\n400,0,1,0,\"抑\",\"切\",0,0,0\n",
      "\n500,-1,0,0,\"B1\",\"切\",0,0,0\n",   "\n600,0,1,0,\"抑\",\"切\",0,0,0\n",
      "\n700,0,0,0,\"切\",\"切\",0,0,0\n",    "\n800,0,0,1,\"切\",\"1\",0,0,1\n",
      "\n900,0,0,1,\"切\",\"1\",1,0,1\n",     "\n1000,0,0,1,\"切\",\"1\",0,0,1\n",
      "\n1270,0,0,0,\"切\",\"切\",0,1,0\n",
  };
  for (const char* row : rows) EXPECT_NE(t.find(row), std::string::npos) << row << t;
  EXPECT_EQ(r.sim->handle.PowerNotch, 0);
  EXPECT_EQ(r.sound.played[3], 1);  // the first notch clicked once
  // Each power change was taken up by the next 33 ms tick (the train gives no delay).
  EXPECT_FALSE(r.sim->delayed.PowerDelayRun);
}

TEST(ControlsRun, ReverserTextAndKeyNamesFromTheScript) {
  Rig r;
  r.Drive("150 char b\n250 key Shift+Up\n350 keydown Shift+F2\n", 400, {"Reverser", "ReverserText"});
  EXPECT_EQ(r.sim->handle.Reverser, -1);
  EXPECT_EQ(r.sim->handle.ReverserText, "後");
  EXPECT_EQ(r.sim->keys.CabSurfaceTop, -50);
  EXPECT_EQ(r.sim->keys.EngineSwitch, 2);
}

}  // namespace
}  // namespace kavrin

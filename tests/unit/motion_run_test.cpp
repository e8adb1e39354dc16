#include <gtest/gtest.h>

#include <string>

#include "app/headless.h"
#include "app/script.h"
#include "support/run_rig.h"

namespace kavrin {
namespace {

// A two-car diesel railcar standing at a station on a 10 per mille rise, 60 km/h film; the run
// goes on to a second station far ahead.
const char* kRoute =
    "[LineName]\r\nテスト線\r\n[StartPos]\r\n100\r\n"
    "[Station]\r\nA駅,0,100,500,0,0,0,1080000,90,1,0,0,0,0,0\r\nB駅,0,8000,500,0,0,0,1090000,90,1,0,0,0,0,0\r\n#\r\n"
    "[Slope]\r\n10.0,0,500\r\n#\r\n"
    "[SpeedUnit]\r\n0,9000,60,60\r\n#\r\n";
const char* kTrain =
    "[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n5\r\n[EBPress]\r\n420\r\n[Engine_Type]\r\n0\r\n"
    "[Cars]\r\n2\r\n[Length]\r\n20\r\n[Tons]\r\n70\r\n"
    "[EngineRate]\r\n30,0\r\n40,0.9\r\n#\r\n[Gear_Type]\r\nAT\r\n"
    "[Engine]\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n20\r\n48\r\n5200\r\n4200\r\n2400\r\n#\r\n";

struct DieselRun : test::RunRig {
  DieselRun() : RunRig("[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Gears]\r\n中立\r\n変速\r\n直結\r\n") {
    dir.Write("line.dat", kRoute);
    dir.Write("car.dat", kTrain);
  }
  // Loads and runs `script` until `ms` of virtual time.
  void Run(const std::string& script, int64_t ms) {
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    rq.RouteFileName = "line.dat";
    rq.VehicleFileName = "car.dat";
    run.FormCreate(rq);
    test::DriveHeadless(run, ui, sound, script, ms);
  }
};

TEST(MotionRun, TheRunStartsStandingWithTheEngineRunning) {
  DieselRun r;
  r.Run("", 1000);
  const Sim& s = r.sim;
  EXPECT_EQ(s.dynamics.Speed, 0.0L);
  EXPECT_EQ(s.dynamics.Position, s.route.Stations[0].position);
  // Past its departure time the train is already bound for the next stop.
  EXPECT_EQ(s.station.NextStop, 1);
  EXPECT_EQ(s.dynamics.RemainDist, s.station.NextStopPos - s.dynamics.Position);
  EXPECT_EQ(s.dynamics.CarGradient.size(), 2u);
  EXPECT_EQ(s.dynamics.FilmSegment, 0);
  EXPECT_EQ(s.dynamics.FilmSpeed, 60);
  // The section under the film's frame is known at once; the train feels it only car by car.
  EXPECT_EQ(s.dynamics.HeadGradient.raw, 100000);
  EXPECT_EQ(s.dynamics.GradientText, "10.0");
  EXPECT_EQ(s.dynamics.Gradient.raw, 0);
  EXPECT_EQ(s.diesel.EngineRunning, 1);
  EXPECT_EQ(s.diesel.EngineRpm, 30.0L);
  EXPECT_EQ(s.handle.GearLever, 1);
  EXPECT_EQ(s.handle.GearText, "変速");
}

TEST(MotionRun, HoldingTheStopKeyStopsTheEngine) {
  DieselRun r;
  r.Run("500 keydown Shift+F2\n6000 keyup Shift+F2\n", 7000);
  EXPECT_EQ(r.sim.diesel.EngineRunning, 0);
  EXPECT_EQ(r.sim.diesel.EngineRpm, 0.0L);
}

}  // namespace
}  // namespace kavrin

// The whole load of a run over a small route: pictures, sounds, distances, check points, the
// start of the run and what `check --dump` shows of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "app/check_dump.h"
#include "app/headless.h"
#include "app/simulator.h"
#include "app/state_probe.h"
#include "core/key_value_store.h"
#include "core/load_error.h"
#include "sound/wav_writer.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/run_rig.h"
#include "support/fake_wave_decoder.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

const char* kRoute =
    "[LineName]\r\nテスト線 下り\r\n"
    "[StartPos]\r\n15\r\n"
    "[Staf]\r\nimg\\staf.bmp\r\nimg\\start.bmp\r\n\r\n"
    "[SoundData]\r\nsound\\arr.wav\r\nsound\\dep.wav\r\n#\r\n"
    "[Station]\r\n"
    "A駅,0,0,300,0,1,0,1080000,90,1,0,0,0,0,0\r\n"
    "B駅,1,300,300,0,1,0,1081800,90,0,0,0,0,0,0\r\n"
    "C駅,0,600,300,0,1,0,1083600,90,1,0,0,0,0,0\r\n"
    "D駅,0,900,300,0,1,0,1085400,90,0,0,0,0,0,0\r\n"
    "#\r\n"
    "[Signal]\r\n0,0,0,3,200,300,250,280,0,0,0,0,320,120,0,0,0,0,0,0,0,0,0\r\n#\r\n"
    "[TrafficSignal]\r\n450,400,500,1,30,0,2,40,0,3,50,0,4,60,0,5,70,0,6,80,0,420,440,1,2,0\r\n#\r\n"
    "[SpeedLimit]\r\n45,3,5,450,600,0\r\n#\r\n"
    "[SpeedCheck1]\r\n45,50,150,0\r\n45,50,750,0\r\n#\r\n"
    "[SignImageList]\r\n"
    "img\\sign.bmp,50\r\nimg\\line.bmp,50\r\nimg\\line.bmp,50\r\nimg\\line.bmp,50\r\nimg\\sign.bmp,50\r\n"
    "img\\sign.bmp,50\r\nimg\\sign.bmp,50\r\nimg\\sign.bmp,50\r\nimg\\sign.bmp,50\r\n"
    "[SpeedUnit]\r\n0,300,36,36\r\n300,600,36,36\r\n600,900,36,36\r\n#\r\n";

struct Fixture : test::RunRig {
  Fixture() : RunRig("[Disp]\r\n30,1\r\n7\r\n640\r\n360\r\n-\r\n") {
    dir.Write("trains/car.dat", "[Tons]\r\n36\r\n[DriveSound]\r\ndrive.wav\r\n#\r\n");
    dir.Write("line.dat", kRoute);
    Wav("trains/drive.wav", 1);
    Wav("sound/arr.wav", 1);
    Wav("sound/dep.wav", 2);
    for (const char* p : {"img/sign.bmp", "img/line.bmp", "img/staf.bmp"}) pictures.Put(dir.str() + p, 200, 50);
  }
  void Wav(const std::string& relative, int seconds) {
    std::vector<float> samples(static_cast<size_t>(seconds) * 8000, 0.0f);
    ASSERT_TRUE(WriteWav(dir.Write(relative, ""), 8000, 1, 8, samples));
  }
  void Load(int32_t station = 0) {
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    rq.RouteFileName = "line.dat";
    rq.VehicleFolder = "trains";
    rq.VehicleFileName = "car.dat";
    rq.Station = station;
    run.FormCreate(rq);
  }
};

TEST(RunLoad, FromTheHeadOfTheLine) {
  Fixture f;
  f.Load();
  const Sim& s = f.sim;
  EXPECT_EQ(s.film.CurFrame, 15);                 // StartPos
  EXPECT_EQ(s.clock.ClockTime, 1080000 - 2 * 30);  // the melody ends at the departure time
  EXPECT_EQ(s.dynamics.Position, 0);
  EXPECT_EQ(s.station.DoorState, 1);
  EXPECT_EQ(s.station.DoorOpening, 1);
  EXPECT_EQ(s.station.StationText, "ただいま A駅");
  EXPECT_EQ(s.route.Stations[2].position, 20000);
  EXPECT_EQ(s.route.TrafficSignals[0].Pos, 15000);
  EXPECT_EQ(s.route.TrafficSignals[0].ApproachPos, 14000);
  EXPECT_EQ(s.signalling.Phase[0], 1);
  EXPECT_EQ(s.signalling.PhaseTimer[0][0], 30);
  EXPECT_EQ(s.protection.SpeedChecks1Passed[0], 0);
  // The lamps start on different cells.
  EXPECT_EQ(s.view.DXSpriteEngine1.Get(s.trackside.Sprites.CrossLamp1)->AnimStart, 0);
  EXPECT_EQ(s.view.DXSpriteEngine1.Get(s.trackside.Sprites.CrossLamp2)->AnimStart, 1);
  // The timetable card at the overlay's left edge; a route without a side picture shows none.
  EXPECT_EQ(s.derived.StafPicture.Width, 200);
  EXPECT_EQ(s.derived.StafLeft, 7);
  EXPECT_TRUE(s.derived.SubPicture.Empty());
  EXPECT_TRUE(s.run.running);

  const auto j = nlohmann::json::parse(CheckDump(s));
  EXPECT_EQ(j["stations"].size(), 4u);
  EXPECT_EQ(j["stations"][2]["Name"], "C駅");
  EXPECT_EQ(j["stations"][2]["position_s"], 19700);
  EXPECT_EQ(j["stations"][2]["deptime"], 1083600);
  // Station A's stop check, the signal on a boundary twice, the limit, station C twice.
  std::vector<std::vector<int>> points;
  for (const auto& p : j["CheckPoints"]) {
    points.push_back({p["Pos"].get<int>(), p["Value"].get<int>(), p["SignalIndex"].get<int>(),
                      p["StationIndex"].get<int>(), p["Kind"].get<int>()});
  }
  const std::vector<std::vector<int>> expected = {{2000, 10, 0, 0, 3},  {10000, 10, 0, 0, 2}, {10000, 10, 0, 0, 2},
                                                  {15000, 45, 0, 0, 5}, {22000, 10, 0, 2, 3}, {22000, 10, 0, 2, 3}};
  EXPECT_EQ(points, expected);
  EXPECT_EQ(j["SpeedUnits"][2]["EndPos"], 30000);
  EXPECT_EQ(j["SpeedUnits"][2]["FromFrame"], 600);
  EXPECT_EQ(j["ClockTime"], 1079940);
  EXPECT_EQ(j["CurFrame"], 15);
  EXPECT_EQ(j["Position"], 0.0);
  EXPECT_EQ(j["channels"]["DriveSoundCount"], 1);
  EXPECT_EQ(j["channels"]["SoundDataCount"], 2);
  EXPECT_EQ(j["channels"]["KankoChannel"], 4);
  EXPECT_EQ(j["moveMenu"], nlohmann::json::parse(R"([{"Caption":"C駅","Name":"Sta2"},{"Caption":"A駅","Name":"Sta0"}])"));
  EXPECT_EQ(j["SoundSeconds"], nlohmann::json::parse("[1, 2]"));
  EXPECT_EQ(j["sprites"].size(), 10u);
  EXPECT_EQ(j["sprites"][4]["picture"], "img_unten_slope");
  EXPECT_EQ(j["sprites"][4]["X"], 528.0);
  EXPECT_EQ(j["settings"]["Information"], 1);
  // Route sound 1 on channel 1 + 1; the calling channel stays free.
  EXPECT_EQ(f.sound.ch[2].wave, f.waves.decoded.at(f.dir.str() + "sound/dep.wav"));
  EXPECT_FALSE(f.sound.HasWaveData(4));

  StateProbe probe;
  EXPECT_EQ(probe.Read(s, "CheckPointCount"), ProbeValue(int64_t{6}));
  EXPECT_EQ(probe.Read(s, "SoundSeconds[1]"), ProbeValue(int64_t{2}));
  EXPECT_EQ(probe.Read(s, "KankoChannel"), ProbeValue(int64_t{4}));
  EXPECT_EQ(probe.Read(s, "LineName"), ProbeValue(std::string("テスト線 下り")));
  EXPECT_EQ(probe.Read(s, "StationText"), ProbeValue(std::string("ただいま A駅")));
}

TEST(RunLoad, FromALaterStation) {
  Fixture f;
  f.Load(2);
  const Sim& s = f.sim;
  EXPECT_EQ(s.film.CurFrame, 600);
  // 10:03:00 less the melody (2 s) and the arrival sound (1 s).
  EXPECT_EQ(s.clock.ClockTime, 1083600 - 3 * 30);
  EXPECT_EQ(s.dynamics.Position, 20000);
  EXPECT_EQ(s.station.NextStopPos, 20000);
  EXPECT_EQ(s.station.DepartureCount, 2);
  EXPECT_EQ(s.protection.SpeedChecks1Passed[0], 1);  // behind the start
  EXPECT_EQ(s.protection.SpeedChecks1Passed[1], 0);
  ASSERT_EQ(s.derived.MoveMenu.size(), 1u);
  EXPECT_EQ(s.derived.MoveMenu[0].Name, "Sta2");
}

TEST(RunLoad, FailuresOfTheDerivedSteps) {
  struct Case {
    const char* name;
    void (*change)(Fixture&);
    int32_t station;
    const char* message;
  };
  const Case cases[] = {
      {"timetable card missing", [](Fixture& f) { f.pictures.files.erase(f.dir.str() + "img/staf.bmp"); }, 0,
       "img\\staf.bmpが見つかりません"},
      {"side picture missing",
       [](Fixture& f) {
         std::string route = kRoute;
         route.replace(route.find("img\\start.bmp\r\n\r\n"), 17, "img\\start.bmp\r\nimg\\sub.bmp\r\n");
         f.dir.Write("line.dat", route);
       },
       0, "img\\sub.bmpが見つかりません"},
      {"route sound missing", [](Fixture& f) { std::filesystem::remove(f.dir.path() / "sound/arr.wav"); }, 0,
       "sound\\arr.wavが見つかりません"},
      {"no such station", [](Fixture&) {}, 4, "--station 4: the route has 4 stations"},
  };
  for (const Case& c : cases) {
    Fixture f;
    c.change(f);
    try {
      f.Load(c.station);
      ADD_FAILURE() << c.name;
    } catch (const LoadError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.name;
    }
  }
}

}  // namespace
}  // namespace kavrin

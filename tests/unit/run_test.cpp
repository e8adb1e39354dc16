#include <gtest/gtest.h>

#include <sstream>

#include "app/clock.h"
#include "app/headless.h"
#include "app/script.h"
#include "app/simulator.h"
#include "app/state_probe.h"
#include "app/trace.h"
#include "core/key_value_store.h"
#include "core/load_error.h"
#include "data/settings.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/run_rig.h"
#include "support/fake_wave_decoder.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

const char* kOstrel = "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n";

struct Fixture : test::RunRig {
  Fixture() : RunRig(kOstrel) {}
  void Load() {
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    run.FormCreate(rq);
  }
};

TEST(Run, CreationStartsTheRunWithThePauseCaption) {
  Fixture f;
  f.Load();
  EXPECT_TRUE(f.sim.run.running);
  EXPECT_EQ(f.ui.startCaption, "一時停止(&S)");
  f.run.start1Click();
  EXPECT_FALSE(f.sim.run.running);
  EXPECT_EQ(f.ui.startCaption, "運転再開(&S)");
}

TEST(Run, ALoadFailureCarriesTheFileMessage) {
  Fixture f;
  f.dir.Write("ostrel.dat", "[Disp]\r\n30\r\n");
  RunRequest rq;
  rq.ProgramFolder = f.dir.str();
  try {
    f.run.FormCreate(rq);
    FAIL();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "stringファイルに誤りがあります");
  }
}

TEST(Run, PauseAndResumeRestartChannelsFromTheirStart) {
  Fixture f;
  f.Load();
  auto& b = f.sound;
  for (int c : {1, 2, 3}) b.SetWaveData(c, test::FakeSoundBank::WaveOf(1.0));
  b.Play(1);      // still playing once at the pause
  b.LoopPlay(2);  // looping
  b.Play(3);      // finished before the pause
  b.Advance(500);
  b.ch[3].playing = false;
  f.run.start1Click();  // pause
  EXPECT_EQ(f.sim.run.ChannelResumeState[1], 1);
  EXPECT_EQ(f.sim.run.ChannelResumeState[2], 2);
  EXPECT_EQ(f.sim.run.ChannelResumeState[3], 0);
  for (int c : {1, 2, 3}) EXPECT_EQ(b.GetStatus(c), 0) << c;
  f.run.start1Click();  // resume
  EXPECT_EQ(b.GetStatus(1), 1);
  EXPECT_EQ(b.GetStatus(2), 5);
  EXPECT_EQ(b.GetStatus(3), 0);
  EXPECT_EQ(b.ch[1].position, 0);
  EXPECT_EQ(b.ch[1].plays, 2);
  EXPECT_EQ(b.ch[2].loops, 2);
}

TEST(Run, ClickOnTheCabOnlyResumes) {
  Fixture f;
  f.Load();
  f.run.movieclick();
  EXPECT_TRUE(f.sim.run.running);
  f.run.start1Click();
  f.run.movieclick();
  EXPECT_TRUE(f.sim.run.running);
}

TEST(Run, EveryToggleOfThePauseMakesTheFrameRedraw) {
  Fixture f;
  f.Load();
  int32_t before = f.sim.run.LastFrame;
  f.run.start1Click();
  f.run.start1Click();
  EXPECT_EQ(f.sim.run.LastFrame, before - 2);
}

// Idle passes from the back button to the close request, and the opacities they set.
std::vector<int> FadeOpacities(int tunnel) {
  Fixture f;
  f.Load();
  f.sim.files.Settings.TunnelSetting = tunnel;
  f.run.BackClick();
  std::vector<int> alphas;
  while (!f.ui.closeRequested && alphas.size() < 1000) {
    f.run.AppIdle(16);
    alphas.push_back(f.ui.opacity);
  }
  EXPECT_EQ(f.sim.run.FadeOut, 0);
  return alphas;
}

TEST(Run, FadeOutTakes51PassesOrOneWithVisualEffectsOff) {
  auto normal = FadeOpacities(0);
  ASSERT_EQ(normal.size(), 51u);
  EXPECT_EQ(normal.front(), 254);
  EXPECT_EQ(normal[1], 249);
  EXPECT_EQ(normal.back(), 4);
  auto quick = FadeOpacities(1);
  EXPECT_EQ(quick.size(), 1u);
}

TEST(Run, CloseStopsSoundsResetsTheBankAndWritesTheSettings) {
  Fixture f;
  f.Load();
  f.sound.SetWaveData(5, test::FakeSoundBank::WaveOf(10));
  f.sound.LoopPlay(5);
  f.sim.files.Settings.KankoSetting = 1;
  f.run.FormCloseQuery();
  EXPECT_EQ(f.sound.resets, 1);
  EXPECT_FALSE(f.sim.run.running);
  EXPECT_EQ(f.store.ReadInt(kSettingsKey, "Kanko"), 1);
  EXPECT_EQ(f.store.ReadInt(kSettingsKey, "Information"), 1);
  EXPECT_TRUE(f.sim.run.Closed);

  Fixture g;
  g.Load();
  g.sound.resetSucceeds = false;
  EXPECT_THROW(g.run.FormCloseQuery(), LoadError);
}

TEST(Clock, TextAndHands) {
  TClockState c;
  timecalc(c, 1080000, 20);  // 10:00:00
  EXPECT_EQ(c.ClockText, "10:00:00");
  EXPECT_TRUE(c.Redrawn);
  // Hour hand at 300 degrees, 12 px (0.6 x 20); minute and second hands straight up.
  EXPECT_NEAR(static_cast<double>(c.HourHand.X), 25 + 12 * std::sin(300 * M_PI / 180), 1e-9);
  EXPECT_NEAR(static_cast<double>(c.HourHand.Y), 25 - 12 * std::cos(300 * M_PI / 180), 1e-9);
  EXPECT_NEAR(static_cast<double>(c.MinuteHand.Y), 5, 1e-9);
  timecalc(c, 1080029, 20);  // the same second: nothing changes
  EXPECT_FALSE(c.Redrawn);
  timecalc(c, 9 * 108000 + 5 * 1800 + 7 * 30, 20);
  EXPECT_EQ(c.ClockText, "09:05:07");
  EXPECT_NEAR(static_cast<double>(c.SecondHand.X), 25 + 20 * std::sin(42 * M_PI / 180), 1e-9);
  timecalc(c, 0, 7);  // 0.6 x 7 = 4.2 -> 4; 0.6 x 25 would round a half away from zero
  EXPECT_EQ(c.ClockText, "00:00:00");
  EXPECT_NEAR(static_cast<double>(c.HourHand.Y), 21, 1e-9);
}

TEST(Script, EventsTimesAndErrors) {
  std::vector<ScriptEvent> ev;
  std::string err;
  ASSERT_TRUE(ParseScript("# comment\n100 char 8\n50 keydown Shift+Up\n100 char space  # a blank\n"
                          "200 serial TSA50\\r\n300 pad -1000 0 5\n400 menu Sta3\n500 back\n",
                          ev, err))
      << err;
  ASSERT_EQ(ev.size(), 7u);
  EXPECT_EQ(ev[0].ms, 50);
  EXPECT_EQ(ev[0].event.kind, InputKind::KeyDown);
  EXPECT_TRUE(ev[0].event.shift);
  EXPECT_EQ(ev[0].event.text, "Up");
  EXPECT_EQ(ev[1].event.text, "8");
  EXPECT_EQ(ev[2].event.text, " ");  // equal times keep their order
  EXPECT_EQ(ev[3].event.text, "TSA50\r");
  EXPECT_EQ(ev[4].event.x, -1000);
  EXPECT_EQ(ev[4].event.buttons, 5u);
  for (const char* bad : {"10 jump\n", "x char 8\n", "10 key Q\n", "10 menu Nothing\n", "10 char 88\n"}) {
    EXPECT_FALSE(ParseScript(std::string("0 back\n") + bad, ev, err)) << bad;
    EXPECT_NE(err.find("line 2"), std::string::npos) << err;
  }
}

TEST(Trace, HeaderRowsAndFieldErrors) {
  StateProbe probe;
  std::vector<std::string> fields;
  std::string err;
  EXPECT_FALSE(TraceWriter::ParseFields(probe, "ClockTime,Nope", fields, err));
  EXPECT_NE(err.find("Nope"), std::string::npos);
  EXPECT_NE(err.find("ClockText"), std::string::npos);  // the known names are listed
  ASSERT_TRUE(TraceWriter::ParseFields(probe, "ClockTime,ClockText,ChannelResumeState[2],running", fields, err));
  auto simPtr = std::make_unique<Sim>();
  Sim& sim = *simPtr;
  sim.clock.ClockTime = 1080000;
  sim.clock.ClockText = "10:00:00 \"x\"";
  sim.run.ChannelResumeState[2] = 2;
  std::ostringstream out;
  TraceWriter w(out, probe, fields);
  w.Row(100, sim);
  EXPECT_EQ(out.str(), "t_ms,ClockTime,ClockText,ChannelResumeState[2],running\n"
                       "100,1080000,\"10:00:00 \"\"x\"\"\",2,0\n");
  EXPECT_EQ(StateProbe::Format(Fixed4(1.5L)), "1.5000");
  EXPECT_EQ(StateProbe::Format(ProbeValue(0.1L)), "0.1");
}

TEST(Headless, VirtualTimeTicksTheClockAndTracesEveryTick) {
  Fixture f;
  f.Load();
  std::ostringstream trace;
  HeadlessOptions o;
  o.limitMs = 1000;
  o.trace = &trace;
  o.fields = {"ClockTime", "running"};
  std::string err;
  ASSERT_TRUE(ParseScript("250 menu start1\n550 click cab\n", o.script, err));
  int64_t end = RunHeadless(f.run, f.ui, f.sound, o);
  EXPECT_EQ(end, 1000);
  EXPECT_TRUE(f.sim.run.Closed);
  // Ticks at 33 .. 231 before the pause (7), then from 550 + 33 to 979 (13).
  EXPECT_EQ(f.sim.clock.ClockTime, 7 + 13);
  std::string t = trace.str();
  EXPECT_EQ(t.substr(0, t.find('\n')), "t_ms,ClockTime,running");
  EXPECT_NE(t.find("\n100,3,1\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n650,"), std::string::npos) << t;  // the grid restarted at the resume
  EXPECT_EQ(t.find("\n300,"), std::string::npos) << t;
  EXPECT_EQ(f.sound.advanced, 1000);
}

TEST(Headless, TheBackButtonEndsTheRun) {
  Fixture f;
  f.Load();
  HeadlessOptions o;
  std::string err;
  ASSERT_TRUE(ParseScript("100 back\n", o.script, err));
  int64_t end = RunHeadless(f.run, f.ui, f.sound, o);
  // 51 idle passes of 16 ms after the click.
  EXPECT_GT(end, 100 + 50 * 16 - 16);
  EXPECT_LT(end, 100 + 52 * 16);
  EXPECT_TRUE(f.sim.run.Closed);
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

TEST(Run, TheVehicleAndRouteLoadInTheirPhasesAndTheBrakeHandleIsChecked) {
  struct Case {
    const char* vehicle;
    const char* route;
    const char* message;  // nullptr: loads
  };
  const Case cases[] = {
      {"[BrakeType]\r\n1\r\n[Brake]\r\n2\r\n[Tons]\r\n36\r\n", "", "ブレーキの段数を3段以上に設定してください"},
      {"[BrakeType]\r\n0\r\n[Brake]\r\n2\r\n[Tons]\r\n36\r\n", "", nullptr},  // automatic brake: 4 positions
      {"[BrakeType]\r\nx\r\n", "", "車両ファイルに誤りがあります"},
      {"[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Tons]\r\n36\r\n", "[Station]\r\n1\r\nA,x\r\n", "路線ファイルに誤りがあります。"},
      // Every force is divided by the mass: a train without one is refused, before the route.
      {"[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n", "[Station]\r\n1\r\nA,x\r\n", "車両ファイルに誤りがあります- 列車の基本設定"},
      {"[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Tons]\r\n-1\r\n", "", "車両ファイルに誤りがあります- 列車の基本設定"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.dir.Write("trains/car.dat", c.vehicle);
    f.dir.Write("line.dat", c.route);
    RunRequest rq;
    rq.ProgramFolder = f.dir.str();
    rq.VehicleFolder = "trains";
    rq.VehicleFileName = "car.dat";
    rq.RouteFileName = "line.dat";
    try {
      f.run.FormCreate(rq);
      EXPECT_EQ(c.message, nullptr) << c.vehicle;
      EXPECT_EQ(f.sim.vehicle.veh.Brake, c.message ? 0 : 4);
    } catch (const LoadError& e) {
      ASSERT_NE(c.message, nullptr) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      if (std::string(c.message).find("- ") != std::string::npos) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
  }
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

TEST(Run, TheMainFilmGivesFrameCountAndAMissingOneOnlyAMessage) {
  struct Case {
    bool filmExists;
    int32_t frames;  // --frames
    int32_t expected;
    bool message;
  };
  const Case cases[] = {
      {true, -1, 900 * 2, false},  // FrameCountFactor 2
      {false, -1, 0, true},
      {false, 300, 600, true},
      {true, 300, 600, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.dir.Write("ostrel.dat", "[Disp]\r\n30,2\r\n0\r\n800\r\n600\r\n-\r\n[Path]\r\nmove\\\r\n");
    f.dir.Write("line.dat", "[DataName]\r\nline_1\r\n");
    f.dir.Write("Move/Line_1.AVI", "");
    if (c.filmExists) f.film.films[f.dir.str() + "Move/Line_1.AVI"] = 900;
    RunRequest rq;
    rq.ProgramFolder = f.dir.str();
    rq.RouteFileName = "line.dat";
    rq.Frames = c.frames;
    f.run.FormCreate(rq);
    EXPECT_EQ(f.sim.film.FrameCount, c.expected);
    EXPECT_EQ(f.messages.str().find("オープンエラー") != std::string::npos, c.message) << f.messages.str();
    EXPECT_TRUE(f.sim.run.running);  // the load went on
  }
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

TEST(Run, ATrainStartsBrakedOnAFullReservoirAndTheTicksWorkItsAir) {
  test::RunRig f("[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
  f.dir.Write("car.dat",
              "[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[BrakeDelay]\r\n3\r\n[BrakeUp]\r\n300\r\n[BrakeDown]\r\n330\r\n"
              "[MAXPress]\r\n350\r\n[EBPress]\r\n420\r\n[HighAirPress]\r\n880\r\n[LowAirPress]\r\n780\r\n"
              "[Engine_Type]\r\n1\r\n[Tons]\r\n36\r\n");
  RunRequest rq;
  rq.ProgramFolder = f.dir.str();
  rq.VehicleFileName = "car.dat";
  f.run.FormCreate(rq);
  Sim& s = f.sim;
  EXPECT_EQ(s.brakes.BcPressT, Fixed4(420.0L));
  EXPECT_EQ(s.brakes.MrPress, Fixed4(880.0L));
  EXPECT_EQ(s.traction.LineVoltage, Fixed4(1500.0L));
  EXPECT_FALSE(s.brakes.CompressorOn);
  EXPECT_EQ(s.delayed.LastBrakeNotch, -8);

  // Released: the cylinders hold air, so 70 % of the delay (2.1 ticks: the third).
  s.handle.BrakeNotch = 0;
  s.delayed.SetBrakeChanged();
  f.run.MMTimer1Timer();
  f.run.MMTimer1Timer();
  EXPECT_EQ(s.delayed.LastBrakeNotch, -8);
  f.run.MMTimer1Timer();
  EXPECT_EQ(s.delayed.LastBrakeNotch, 0);
  EXPECT_EQ(s.brakes.MrPress, Fixed4(880.0L - 3 * 0.0067L));  // the leak, 0.2 kPa a second

  s.brakes.MrPress = Fixed4(700.0L);
  f.run.Timer1Timer();
  EXPECT_TRUE(s.brakes.CompressorOn);
  EXPECT_EQ(s.brakes.MrPress, Fixed4(700.3L));
}

}  // namespace
}  // namespace kavrin

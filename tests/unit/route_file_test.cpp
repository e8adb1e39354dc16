#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/load_error.h"
#include "data/data_file.h"
#include "data/route_file.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

TRouteTables Read(const std::string& text, const TRouteFileContext& context = {}) {
  DataFile f(text);
  return ReadRouteFile(f, context);
}

// The message a text fails with, or "" when it loads.
std::string ErrorOf(const std::string& text, const TRouteFileContext& context = {}) {
  try {
    Read(text, context);
  } catch (const LoadError& e) {
    return e.what();
  }
  return "";
}

TRouteFileContext Ctx(const std::string& vehicle, RouteImageReader* images = nullptr) {
  TRouteFileContext c;
  c.VehicleFileName = vehicle;
  c.Images = images;
  return c;
}

std::string Rows(const std::string& row, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += row + "\n";
  return out;
}

const std::string kMsg = "路線ファイルに誤りがあります。";
const std::string kStationRow = "駅,0,1000,300,1,2,3,1080000,90,1,0,5,30,1,50";

TEST(RouteFile, EveryKeyFillsItsFieldsInFileOrder) {
  TRouteTables r = Read(
      "[LineName]\r\n本線 下り\r\n[LineName2]\r\n本線2\r\n[StartPos]\r\n120\r\n[FrameRate]\r\n15\r\n"
      "[Staf]\r\nstaf.png\r\nstart.png\r\nsub.png\r\n[Friction]\r\n0.123456\r\n"
      "[StafSwitch]\r\n7\r\n8\r\n#\r\n[MovieStop]\r\n5000\r\n#\r\n"
      "[MovieSwitch]\r\n2,100,200,ins,300,4,36000,5,6\r\n#\r\n[Speed_Signal]\r\n0\r\n25\r\n45\r\n#\r\n"
      "[DataName]\r\nline1\r\n[Perspective]\r\n10.5\r\n240\r\n"
      "[Pre_Train]\r\n100,90000\r\n1,60,1083000\r\n#\r\n[OneMan]\r\n1\r\n1\r\n"
      "[SoundData]\r\nsound\\a.wav\r\nsound\\b.wav\r\n#\r\n"
      "[Doppler]\r\n3,500,8000,1,2\r\n#\r\n[Tunnel]\r\n10,20,128\r\n#\r\n[Atten]\r\n30,40,9,50\r\n#\r\n"
      "[TunnelR]\r\n3\r\n[Station]\r\n" + kStationRow + "\r\n#\r\n[StopSound]\r\n4\r\n#\r\n"
      "[Signal]\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23\r\n#\r\n"
      "[TrafficSignal]\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26\r\n#\r\n"
      "[Slope]\r\n-12.34567,0,900\r\n#\r\n[Sign]\r\n3,100,200,1000\r\n#\r\n[Anim]\r\n1,2,3,4\r\n#\r\n"
      "[SignalKanko]\r\n5,2,7,1\r\n#\r\n[StationKanko]\r\n1,4,999\r\n#\r\n"
      "[SpeedLimit]\r\n45,2,5,3000,3600,1\r\n#\r\n[MaxSpeedCheck]\r\n2\r\n"
      "[SpeedCheck1]\r\n60,65,700,3\r\n#\r\n[SpeedCheck2]\r\n40,45,800,900\r\n#\r\n"
      "[SpeedCheck3]\r\n30,35,1000,1100\r\n#\r\n[OtherKanko]\r\nk\\o.wav\r\n#\r\n[LimitKanko]\r\nk\\l.wav\r\n#\r\n"
      "[SpeedUnit]\r\n0,300,36,36.5\r\n#\r\n[Cross]\r\n1,2,3,4,5\r\n#\r\n[Time]\r\n6,7,8\r\n#\r\n"
      "[Switch]\r\n9,10\r\n#\r\n");
  EXPECT_EQ(r.LineName, "本線 下り");
  EXPECT_EQ(r.LineName2, "本線2");
  EXPECT_EQ(r.StartPos, 120);
  EXPECT_EQ(r.FrameRate, 15);
  EXPECT_EQ(r.StafImage, "staf.png");
  EXPECT_EQ(r.StartImage, "start.png");
  EXPECT_EQ(r.SubImage, "sub.png");
  EXPECT_EQ(r.Friction.raw, 1235);
  ASSERT_EQ(r.StafSwitch.Count(), 2);  // the first line counts
  EXPECT_EQ(r.StafSwitch[0], 7);
  EXPECT_EQ(r.StafSwitch[1], 8);
  EXPECT_EQ(r.MovieStops[0], 5000);

  ASSERT_EQ(r.MovieSwitches.Count(), 1);
  const MovieSwitchData& m = r.MovieSwitches[0];
  EXPECT_EQ(m.swtype, 2);
  EXPECT_EQ(m.Start, 100);
  EXPECT_EQ(m.Stop, 200);
  EXPECT_EQ(m.name, "ins");
  EXPECT_EQ(m.endf, 300);
  EXPECT_EQ(m.next, 4);
  EXPECT_EQ(m.time, 36000);
  EXPECT_EQ(m.soundf, 5);
  EXPECT_EQ(m.sound, 6);

  ASSERT_EQ(r.SpeedSignals.Count(), 3);
  EXPECT_EQ(r.SpeedSignals[2], 45);
  EXPECT_EQ(r.SpeedSignals[3], 0);  // past the rows: empty
  EXPECT_EQ(r.DataName, "line1");
  EXPECT_EQ(r.Perspective, 10.5L);
  EXPECT_EQ(r.PerspectiveScale, 240);
  EXPECT_EQ(r.PreTrainStart, 100);
  EXPECT_EQ(r.PreTrainEnd, 90000);
  ASSERT_EQ(r.PreTrains.Count(), 1);
  EXPECT_EQ(r.PreTrains[0].Station, 1);
  EXPECT_EQ(r.PreTrains[0].Speed, 60);
  EXPECT_EQ(r.PreTrains[0].DepartTime, 1083000);
  EXPECT_EQ(r.OneMan, 1);
  EXPECT_EQ(r.OneManDoors, 1);
  ASSERT_EQ(r.SoundData.Count(), 2);
  EXPECT_EQ(r.SoundData[1], "sound\\b.wav");

  const TDopplerRec& d = r.Dopplers[0];
  EXPECT_EQ(d.SoundIndex, 3);
  EXPECT_EQ(d.Frame, 500);
  EXPECT_EQ(d.Range, 8000);
  EXPECT_EQ(d.NoShift, 1);
  EXPECT_EQ(d.Station, 2);
  EXPECT_EQ(r.Tunnels[0].FromFrame, 10);
  EXPECT_EQ(r.Tunnels[0].ToFrame, 20);
  EXPECT_EQ(r.Tunnels[0].Shade, 128);
  EXPECT_EQ(r.Attens[0].Third, 9);
  EXPECT_EQ(r.Attens[0].Volume, 50);
  EXPECT_EQ(r.TunnelR, 3);

  ASSERT_EQ(r.Stations.Count(), 1);
  const StationData& s = r.Stations[0];
  EXPECT_EQ(s.Name, "駅");
  EXPECT_EQ(s.trntype, 0);
  EXPECT_EQ(s.Start, 1000);
  EXPECT_EQ(s.genkai, 300);
  EXPECT_EQ(s.arrsound, 1);
  EXPECT_EQ(s.depsound, 2);
  EXPECT_EQ(s.bcksound, 3);
  EXPECT_EQ(s.deptime, 1080000);
  EXPECT_EQ(s.maxspeed, 90);
  EXPECT_EQ(s.pattern, 1);
  EXPECT_EQ(s.door, 0);
  EXPECT_EQ(s.prob, 5);
  EXPECT_EQ(s.time, 30);
  EXPECT_EQ(s.person, 1);
  EXPECT_EQ(s.doorprob, 50);
  EXPECT_EQ(r.Stations[1].Name, "");  // the spare station after the last one
  EXPECT_EQ(r.StopSounds[0], 4);

  const TSignalRec& g = r.Signals[0];
  EXPECT_EQ(g.Kind, 1);
  EXPECT_EQ(g.Pattern, 2);
  EXPECT_EQ(g.Aspect, 3);
  EXPECT_EQ(g.SignalType, 4);
  EXPECT_EQ(g.ShowFrame, 5);
  EXPECT_EQ(g.Frame, 6);
  EXPECT_EQ(g.AlarmFrame, 7);
  EXPECT_EQ(g.CheckFrame, 8);
  EXPECT_EQ(g.HeldAspect, 9);
  EXPECT_EQ(g.ClearTime, 10);
  EXPECT_EQ(g.FixedAspect, 11);
  EXPECT_EQ(g.Station, 12);
  EXPECT_EQ(g.SignalX, 13);
  EXPECT_EQ(g.SignalY, 14);
  EXPECT_EQ(g.SubLCell, 15);
  EXPECT_EQ(g.SubRCell, 18);
  EXPECT_EQ(g.SubSX, 21);
  EXPECT_EQ(g.SubSY, 22);
  EXPECT_EQ(g.Field23, 23);

  const TTrafficSignalRec& t = r.TrafficSignals[0];
  EXPECT_EQ(t.Frame, 1);
  EXPECT_EQ(t.FromFrame, 2);
  EXPECT_EQ(t.ToFrame, 3);
  EXPECT_EQ(t.PhasePicture[0], 4);
  EXPECT_EQ(t.PhaseDuration[0], 5);
  EXPECT_EQ(t.PhaseFlag[0], 6);
  EXPECT_EQ(t.PhasePicture[5], 19);
  EXPECT_EQ(t.PhaseDuration[5], 20);
  EXPECT_EQ(t.PhaseFlag[5], 21);
  EXPECT_EQ(t.ApproachFrame, 22);
  EXPECT_EQ(t.ApproachEndFrame, 23);
  EXPECT_EQ(t.NormalWord, 24);
  EXPECT_EQ(t.FlaggedWord, 25);
  EXPECT_EQ(t.NoApproachText, 26);

  EXPECT_EQ(r.Slopes[0].Gradient.raw, -123457);
  EXPECT_EQ(r.Slopes[0].ToFrame, 900);
  EXPECT_EQ(r.Signs[0].Pattern, 3);
  EXPECT_EQ(r.Signs[0].Change, 1000);
  EXPECT_EQ(r.Anims[0].Interval, 3);
  EXPECT_EQ(r.Anims[0].FirstPattern, 4);
  EXPECT_EQ(r.SignalKankos[0].Signal, 5);
  EXPECT_EQ(r.SignalKankos[0].Flag, 1);
  EXPECT_EQ(r.StationKankos[0].Event, 4);
  EXPECT_EQ(r.StationKankos[0].Value, 999);

  const TSpeedLimitRec& l = r.SpeedLimits[0];
  EXPECT_EQ(l.Limit, 45);
  EXPECT_EQ(l.Pattern, 2);
  EXPECT_EQ(l.CheckKind, 5);
  EXPECT_EQ(l.Frame, 3000);
  EXPECT_EQ(l.EndFrame, 3600);
  EXPECT_EQ(l.Voice, 1);
  EXPECT_EQ(r.MaxSpeedCheck, 2);
  EXPECT_EQ(r.SpeedChecks1[0].Param, 65);
  EXPECT_EQ(r.SpeedChecks1[0].Frame, 700);
  EXPECT_EQ(r.SpeedChecks1[0].Signal, 3);
  EXPECT_EQ(r.SpeedChecks2[0].EndFrame, 900);
  EXPECT_EQ(r.SpeedChecks3[0].Limit, 30);
  EXPECT_EQ(r.SpeedChecks3[0].EndFrame, 1100);
  EXPECT_EQ(r.OtherKanko[0], "k\\o.wav");
  EXPECT_EQ(r.LimitKanko[0], "k\\l.wav");

  const TSpeedUnitRec& u = r.SpeedUnits[0];
  EXPECT_EQ(u.FromFrame, 0);
  EXPECT_EQ(u.ToFrame, 300);
  EXPECT_EQ(u.FromSpeed, 36.0L);
  EXPECT_EQ(u.ToSpeed, 36.5L);
  const TCrossRec& c = r.Crosses[0];
  EXPECT_EQ(c.Pattern, 1);
  EXPECT_EQ(c.Voice, 2);
  EXPECT_EQ(c.EnterFrame, 3);
  EXPECT_EQ(c.LeaveFrame, 4);
  EXPECT_EQ(c.Station, 5);
  EXPECT_EQ(r.TimeChecks[0].Time, 8);
  EXPECT_EQ(r.Switches[0].Frame, 9);
  EXPECT_EQ(r.Switches[0].SoundId, 10);
}

TEST(RouteFile, KeysMatchOnTheirOwnLengthOnly) {
  TRouteTables r = Read(
      "[LineName2]\nsecond\n"
      "[Sound2]\n1,2,3\n#\n"
      "[Signal]\n" + Rows("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23", 1) + "#\n"
      "[TunnelR]\n7\n"
      "[StationKanko]\n1,2,3\n#\n"
      "[Time] windows\n1,2,3\n#\n"
      " [LineName]\nindented: no key\n");
  EXPECT_EQ(r.LineName, "");
  EXPECT_EQ(r.LineName2, "second");
  EXPECT_EQ(r.RouteSounds.Count(), 0);
  EXPECT_EQ(r.RouteSounds2.Count(), 1);
  EXPECT_EQ(r.Signs.Count(), 0);
  EXPECT_EQ(r.Signals.Count(), 1);
  EXPECT_EQ(r.Tunnels.Count(), 0);
  EXPECT_EQ(r.TunnelR, 7);
  EXPECT_EQ(r.Stations.Count(), 0);
  EXPECT_EQ(r.StationKankos.Count(), 1);
  EXPECT_EQ(r.TimeChecks.Count(), 1);  // text after the key is ignored
}

TEST(RouteFile, ValueLineIsTestedAgainstTheKeysThatFollow) {
  // "[StartPos]" comes after "[LineName]" in the order: the value is taken, then acts as a key.
  TRouteTables a = Read("[LineName]\n[StartPos] start\n1234\n");
  EXPECT_EQ(a.LineName, "[StartPos] start");
  EXPECT_EQ(a.StartPos, 1234);
  // "[LineName]" comes before "[DataName]": the value is only a value, and the line after it
  // matches nothing in the next pass.
  TRouteTables b = Read("[DataName]\n[LineName]\nname\n");
  EXPECT_EQ(b.DataName, "[LineName]");
  EXPECT_EQ(b.LineName, "");
  // A list's "#" line stays in CurLine and is no key; the following key line still works.
  TRouteTables c = Read("[MovieStop]\n10\n#\n[MovieStop]\n20\n#\n");
  EXPECT_EQ(c.MovieStops.Count(), 1);
  EXPECT_EQ(c.MovieStops[0], 20);
}

TEST(RouteFile, SemicolonLinesAreSkippedOnlyInSoundLists) {
  TRouteTables r = Read(
      "[Sound]\n;place,from,to\n1,2,3,4,5,6,7,8,9\n;\n#\n"
      "[Sound2]\n; loop between stations\n4,1,3\n#\n");
  ASSERT_EQ(r.RouteSounds.Count(), 1);
  const TRouteSoundRec& s = r.RouteSounds[0];
  EXPECT_EQ(s.SoundIndex, 1);
  EXPECT_EQ(s.FromFrame, 2);
  EXPECT_EQ(s.ToFrame, 3);
  EXPECT_EQ(s.RefSpeed, 4);
  EXPECT_EQ(s.Loop, 5);
  EXPECT_EQ(s.PitchBySpeed, 6);
  EXPECT_EQ(s.VolumeBySpeed, 7);
  EXPECT_EQ(s.SlowTrigger, 8);
  EXPECT_EQ(s.Fade, 9);
  ASSERT_EQ(r.RouteSounds2.Count(), 1);
  EXPECT_EQ(r.RouteSounds2[0].ToStation, 3);
  // Elsewhere a ";" line is a row like any other, and not a number.
  EXPECT_EQ(ErrorOf("[Tunnel]\n;x\n#\n"), kMsg + "[Tunnel]:;x");
}

TEST(RouteFile, CallingVoices) {
  std::string kanko1 = "[KankoSound1]\n";
  for (int i = 0; i < 22; ++i) kanko1 += "k1_" + std::to_string(i) + ".wav\n";
  TRouteTables r = Read(kanko1 + "[KankoSound2]\na.wav\nb.wav\nc.wav\n#\n");
  EXPECT_EQ(r.KankoSound1[0], "k1_0.wav");
  EXPECT_EQ(r.KankoSound1[21], "k1_21.wav");
  EXPECT_EQ(r.KankoSound1[22], "");
  EXPECT_EQ(r.KankoCount(), 25);
  ASSERT_EQ(r.KankoSound2.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(r.KankoSound2.Find(22 + i), nullptr);
    EXPECT_EQ(r.KankoSound2[22 + i].name, i);
  }
  EXPECT_EQ(r.KankoSound2[24].filename, "c.wav");
  EXPECT_EQ(r.KankoSound2.Find(21), nullptr);  // a fixed voice, not a row
  EXPECT_EQ(r.KankoSound2.Find(25), nullptr);

  // Exactly 22 lines, no "#": near the end of the file the missing ones read empty.
  TRouteTables shortFile = Read("[KankoSound1]\nfirst.wav\nsecond.wav\n");
  EXPECT_EQ(shortFile.KankoSound1[1], "second.wav");
  EXPECT_EQ(shortFile.KankoSound1[2], "");
  // A "#" among them is a voice like any other.
  TRouteTables hash = Read("[KankoSound1]\n#\nx.wav\n");
  EXPECT_EQ(hash.KankoSound1[0], "#");
  EXPECT_EQ(hash.KankoSound1[1], "x.wav");
}

TEST(RouteFile, AnnouncementsStartAtElementOne) {
  TRouteTables r = Read("[Announce]\n5,6\n7,0,2,150\n8,1,3,300\n#\n");
  EXPECT_EQ(r.StartAnnounce, 5);
  EXPECT_EQ(r.OverrunSound, 6);
  EXPECT_EQ(r.AnnounceCount(), 2);
  EXPECT_EQ(r.Announces[0].SoundIndex, 5);
  EXPECT_EQ(r.Announces[0].Station, 0);
  EXPECT_EQ(r.Announces[1].SoundIndex, 7);
  EXPECT_EQ(r.Announces[1].Distance, 150);
  EXPECT_EQ(r.Announces[2].Kind, 1);
  EXPECT_EQ(r.Announces[2].Station, 3);
  EXPECT_EQ(r.Announces.Find(0), nullptr);
  EXPECT_NE(r.Announces.Find(2), nullptr);
}

// Records what the image side is handed, in order.
class RecordingImages : public RouteImageReader {
 public:
  void SignImage(int line, const std::string& text) override { Log("sign" + std::to_string(line) + "=" + text); }
  void SignalImage(int line, const std::string& text) override {
    Log("signal" + std::to_string(line) + "=" + text);
  }
  void Monitor(int32_t x, int32_t y, int32_t w, int32_t h, const std::string& file) override {
    Log("monitor " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
        std::to_string(h) + "," + file);
  }
  void AnimImage(const std::string& file) override { Log("anim=" + file); }
  void TrafficSignalImage(const std::string& file) override { Log("traffic=" + file); }

  std::vector<std::string> calls;
  std::string failOn;  // a call that fails with the route file's message
  std::string ownError;  // a call that fails with a message of its own

 private:
  void Log(const std::string& call) {
    calls.push_back(call);
    if (call == failOn) throw ValueError{};
    if (call == ownError) throw LoadError("停目の生成エラー");
  }
};

TEST(RouteFile, MonitorOfAnotherVehicleIsSkippedLineByLine) {
  const std::string text =
      "[Monitor]\ntrain_0.dat\n10\n20\n30\n40\nmon.png\n[LineName]\nafter\n";
  RecordingImages images;
  TRouteTables other = Read(text, Ctx("train_1000.dat", &images));
  EXPECT_EQ(other.MonitorX, 0);
  EXPECT_EQ(other.MonitorImage, "");
  EXPECT_TRUE(images.calls.empty());
  EXPECT_EQ(other.LineName, "after");

  TRouteTables own = Read(text, Ctx("train_0.dat", &images));
  EXPECT_EQ(own.MonitorX, 10);
  EXPECT_EQ(own.MonitorH, 40);
  EXPECT_EQ(own.MonitorImage, "mon.png");
  EXPECT_EQ(images.calls, std::vector<std::string>{"monitor 10,20,30,40,mon.png"});
  EXPECT_EQ(own.LineName, "after");

  // The whole line is compared: a longer name is another vehicle.
  EXPECT_EQ(Read("[Monitor]\ntrain_0.dat \n1\n2\n3\n4\nm.png\n", Ctx("train_0.dat")).MonitorX, 0);
}

TEST(RouteFile, PictureLinesGoToTheImageSideInFileOrder) {
  RecordingImages images;
  std::string text = "[SignImageList]\n" + Rows("s.png,50", 9) +
                     "[SignalImageList]\n0,0,40,80,sig.png\n20,20,s.png\n20,20,l.png\n20,20,r.png\n"
                     "[AnimImageList]\na1.png\na2.png\n#\n[TrafficSignalImageList]\nt1.png\n#\n"
                     "[AnimImageList]\na3.png\n#\n";
  TRouteTables r = Read(text, Ctx("", &images));
  ASSERT_EQ(images.calls.size(), 9u + 4u + 2u + 1u + 1u);
  EXPECT_EQ(images.calls[0], "sign1=s.png,50");
  EXPECT_EQ(images.calls[8], "sign9=s.png,50");
  EXPECT_EQ(images.calls[9], "signal1=0,0,40,80,sig.png");
  EXPECT_EQ(images.calls[12], "signal4=20,20,r.png");
  EXPECT_EQ(images.calls[13], "anim=a1.png");
  EXPECT_EQ(images.calls[15], "traffic=t1.png");
  EXPECT_EQ(images.calls[16], "anim=a3.png");
  EXPECT_EQ(r.AnimImageCount, 1);  // the section read last

  // Without an image side the lines are still read past, never taken for keys of their own.
  TRouteTables plain = Read("[SignImageList]\n[LineName]\n" + Rows("x", 8) + "[StartPos]\n5\n");
  EXPECT_EQ(plain.LineName, "");
  EXPECT_EQ(plain.StartPos, 5);
}

TEST(RouteFile, PictureFailures) {
  RecordingImages images;
  images.failOn = "anim=bad.png";
  EXPECT_EQ(ErrorOf("[AnimImageList]\nok.png\nbad.png\n#\n", Ctx("", &images)), kMsg + "[AnimImageList]:bad.png");
  // "[Monitor]" is no list key: the label is the list key tested before it.
  images.failOn = "monitor 1,2,3,4,gone.png";
  EXPECT_EQ(ErrorOf("[Monitor]\nv.dat\n1\n2\n3\n4\ngone.png\n", Ctx("v.dat", &images)), kMsg + "[SoundData]:gone.png");
  // A sign picture fails with its own message.
  images.ownError = "sign1=s.png,50";
  EXPECT_EQ(ErrorOf("[SignImageList]\ns.png,50\n", Ctx("", &images)), "停目の生成エラー");
}

TEST(RouteFile, RepeatedSectionReplacesTheEarlierRows) {
  TRouteTables r = Read("[Station]\nA,0,1,2,3,4,5,6,7,8,9,10,11,12,13\nB,0,1,2,3,4,5,6,7,8,9,10,11,12,13\n#\n"
                        "[Station]\nC,1,1,2,3,4,5,6,7,8,9,10,11,12,13\n#\n"
                        "[Speed_Signal]\n0\n15\n25\n45\n65\n#\n[Speed_Signal]\n0\n55\n#\n"
                        "[KankoSound2]\na\nb\n#\n[KankoSound2]\nc\n#\n");
  ASSERT_EQ(r.Stations.Count(), 1);
  EXPECT_EQ(r.Stations[0].Name, "C");
  EXPECT_EQ(r.Stations[0].trntype, 1);
  // Nothing of the first copy is left behind the new rows: the spare station is empty.
  EXPECT_EQ(r.Stations[1].Name, "");
  EXPECT_EQ(r.Stations[1].Start, 0);
  ASSERT_EQ(r.SpeedSignals.Count(), 2);
  EXPECT_EQ(r.SpeedSignals[1], 55);
  EXPECT_EQ(r.SpeedSignals[4], 0);
  EXPECT_EQ(r.KankoCount(), 23);
  EXPECT_EQ(r.KankoSound2[22].filename, "c");
  EXPECT_EQ(r.KankoSound2[22].name, 0);
  EXPECT_EQ(r.KankoSound2[23].filename, "");
}

TEST(RouteFile, ErrorLabels) {
  struct Case {
    const char* text;
    std::string label;  // followed by ":" and the line read last
    std::string line;
  };
  const std::string row14 = "A,0,1,2,3,4,5,6,7,8,9,10,11,12";  // one field short
  const Case cases[] = {
      {"[StartPos]\nabc\n", "その他", "abc"},
      {"[Friction]\n0,5\n", "その他", "0,5"},
      {"[Perspective]\nnear\n", "[Speed_Signal]", "near"},
      {"[Perspective]\n10\n\n", "[Speed_Signal]", ""},
      {"[OneMan]\n1\none\n", "[Pre_Train]", "one"},
      {"[TunnelR]\nx\n", "[Atten]", "x"},
      {"[MaxSpeedCheck]\n1.5\n", "[SpeedLimit]", "1.5"},
      {"[Monitor]\nv.dat\n1\n2\nwide\n", "[SoundData]", "wide"},
      {"[StafSwitch]\nx\n", "[StafSwitch]", "x"},
      {"[Pre_Train]\n5\n#\n", "[Pre_Train]", "5"},
      {"[Announce]\n1,2\n1,2,3\n#\n", "[Announce]", "1,2,3"},
      {"[MovieSwitch]\n0,1,2,name,4,5,6,7\n#\n", "[MovieSwitch]", "0,1,2,name,4,5,6,7"},
      {"[SpeedUnit]\n0,300,36,fast\n#\n", "[SpeedUnit]", "0,300,36,fast"},
      {"[Slope]\nsteep,0,10\n#\n", "[Slope]", "steep,0,10"},
      {"[Switch]\n\n#\n", "[Switch]", ""},
      // The label of the pass in which the value is read, not of an earlier pass.
      {"[Station]\n#\n[StartPos]\nx\n", "その他", "x"},
      // A value line taken as a key reads under that key's label.
      {"[LineName]\n[Station]\nbad\n", "[Station]", "bad"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(c.text, Ctx("v.dat")), kMsg + c.label + ":" + c.line) << c.text;
  }
  EXPECT_EQ(ErrorOf("[Station]\n" + row14 + "\n#\n"), kMsg + "[Station]:" + row14);
}

// The message box names the label; route authors also need the line, counted from 1.
TEST(RouteFile, FailuresArePlacedAtTheLineRead) {
  auto placeOf = [](const std::string& text, RouteImageReader* images = nullptr) {
    try {
      Read(text, Ctx("v.dat", images));
    } catch (const LoadError& e) {
      return e.Place();
    }
    return TLoadPlace{};
  };
  const std::string row14 = "A,0,1,2,3,4,5,6,7,8,9,10,11,12";
  TLoadPlace p = placeOf("; 1\n; 2\n[Station]\n" + kStationRow + "\n" + row14 + "\n#\n");
  EXPECT_EQ(p.Line, 5u);
  EXPECT_EQ(p.Label, "[Station]");
  EXPECT_EQ(p.Text, row14);
  EXPECT_FALSE(p.Missing);
  EXPECT_EQ(AuthorLine(p), "-:5: [Station]: " + row14);
  p = placeOf("[StartPos]\nabc\n");
  EXPECT_EQ(AuthorLine(p), "-:2: その他: abc");
  // A picture's own message keeps its text and gains the line that named the picture.
  RecordingImages images;
  images.ownError = "sign1=s.png,50";
  p = placeOf("; x\n[SignImageList]\ns.png,50\n", &images);
  EXPECT_EQ(p.Line, 3u);
  EXPECT_EQ(p.Text, "s.png,50");
}

TEST(RouteFile, EndOfFileInsideAnyListFailsWithItsKey) {
  const char* listKeys[] = {
      "[StafSwitch]", "[MovieStop]", "[MovieSwitch]", "[Speed_Signal]", "[Pre_Train]", "[SoundData]",
      "[Announce]", "[KankoSound2]", "[Sound]", "[Sound2]", "[Doppler]", "[Tunnel]", "[Atten]",
      "[Station]", "[StopSound]", "[Signal]", "[TrafficSignal]", "[Slope]", "[Sign]", "[Anim]",
      "[SignalKanko]", "[StationKanko]", "[SpeedLimit]", "[SpeedCheck1]", "[SpeedCheck2]",
      "[SpeedCheck3]", "[OtherKanko]", "[LimitKanko]", "[AnimImageList]",
      "[TrafficSignalImageList]", "[SpeedUnit]", "[Cross]", "[Time]", "[Switch]",
  };
  for (const char* key : listKeys) {
    EXPECT_EQ(ErrorOf(std::string(key) + "\n"), kMsg + key + ":") << key;
  }
  EXPECT_EQ(ErrorOf("[Station]\n" + kStationRow + "\n"), kMsg + "[Station]:");
  EXPECT_EQ(ErrorOf("[SoundData]\na.wav\nb.wav"), kMsg + "[SoundData]:");
  EXPECT_EQ(ErrorOf("[Sound]\n;only a comment\n"), kMsg + "[Sound]:");
}

TEST(RouteFile, RowsBeyondACapacityRefuseTheFile) {
  struct Case {
    std::string key;
    std::string head;  // lines before the rows
    std::string row;
    int capacity;
  };
  const Case cases[] = {
      {"[StafSwitch]", "1\n", "2", 9},  // ten with the first line
      {"[Speed_Signal]", "", "25", 11},
      {"[MovieStop]", "", "100", 100},
      {"[Announce]", "1,2\n", "3,0,1,100", 98},
      {"[KankoSound2]", "", "v.wav", 478},  // voices 22 to 499
      {"[Time]", "", "1,2,3", 100},
      {"[Switch]", "", "1,2", 496},
      {"[Station]", "", kStationRow, 501},
      {"[Pre_Train]", "0,0\n", "1,2,3", 999},
      {"[SpeedUnit]", "", "0,300,36,36", 30000},
  };
  for (const Case& c : cases) {
    std::string full = c.key + "\n" + c.head + Rows(c.row, c.capacity);
    EXPECT_EQ(ErrorOf(full + "#\n"), "") << c.key;
    EXPECT_EQ(ErrorOf(full + c.row + "\n#\n"), kMsg + c.key + ":" + c.row) << c.key;
  }
  TRouteTables full = Read("[Announce]\n1,2\n" + Rows("3,0,1,100", 98) + "#\n");
  EXPECT_EQ(full.AnnounceCount(), 98);
  EXPECT_EQ(full.Announces[98].SoundIndex, 3);
  // Semicolon lines are no rows and take no room.
  TRouteTables sounds = Read("[Sound]\n" + Rows(";", 600) + Rows("1,2,3,4,5,6,7,8,9", 501) + "#\n");
  EXPECT_EQ(sounds.RouteSounds.Count(), 501);
}

TEST(RouteFile, AbsentSectionsLeaveEmptyTables) {
  TRouteTables r = Read("; a route with nothing in it\n\n[Unknown]\n1\n");
  EXPECT_EQ(r.Stations.Count(), 0);
  EXPECT_EQ(r.SpeedUnits.Count(), 0);
  EXPECT_EQ(r.KankoCount(), 22);
  EXPECT_EQ(r.AnnounceCount(), 0);
  EXPECT_EQ(r.StartPos, 0);
  EXPECT_EQ(r.Friction.raw, 0);
  EXPECT_EQ(r.Stations.Find(0), nullptr);
  EXPECT_EQ(r.MovieStops[0], 0);
}

TEST(RouteFile, LoadsAShiftJisFileAndReportsOneThatCannotBeRead) {
  test::TempDir dir;
  // "[Station]" with the name "駅" (CP932 0x89 0x77).
  std::string path =
      dir.Write("line_1_down_day.dat", "[Station]\r\n\x89\x77,0,1000,300,1,2,3,1080000,90,1,0,5,30,1,50\r\n#\r\n");
  TRouteTables r = LoadRouteFile(path, {});
  ASSERT_EQ(r.Stations.Count(), 1);
  EXPECT_EQ(r.Stations[0].Name, "駅");

  TRouteFileContext previous;
  previous.PreviousLabel = "[Others]";
  previous.PreviousLine = "last vehicle line";
  try {
    LoadRouteFile(dir.str() + "missing.dat", previous);
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_EQ(std::string(e.what()), kMsg + "[Others]:last vehicle line");
    EXPECT_EQ(AuthorLine(e.Place()), dir.str() + "missing.datが見つかりません");
  }
}

}  // namespace
}  // namespace kavrin

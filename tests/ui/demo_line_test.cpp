// The demo data folder as the generator makes it: its route files read by the real route reader
// must place every object where the generator drew it in the film, its files must be what a
// Windows author writes, and the program must load and drive it.
#include <gtest/gtest.h>

#include <QImage>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/load_error.h"
#include "core/paths.h"
#include "core/rounding.h"
#include "data/mascon_file.h"
#include "data/route_file.h"
#include "data/string_file.h"
#include "platform/ffmpeg_film_source.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Programs of this build.
std::string Binary(const std::string& relative) { return std::string(KAVRIN_BINARY_DIR) + "/" + relative; }

struct Result {
  int code = -1;
  std::string out;
};

// Runs a command (already quoted), standard error folded into the output.
Result Shell(const std::string& command) {
  Result r;
  FILE* p = popen(("ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen " + command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// The demo folder without its films, which take minutes and are not needed to check the tables.
class DemoFolder {
 public:
  DemoFolder() {
    const std::string generator = Binary("tools/demo/kavrin_demo");
    if (!fs::exists(generator)) {
      error_ = "the generator " + generator + " is not built (target kavrin_demo_gen)";
      return;
    }
    const Result r = Shell(generator + " " + dir_.str() + "demo --no-films");
    if (r.code != 0) error_ = "the generator failed:\n" + r.out;
  }
  const std::string& Error() const { return error_; }
  std::string Path() const { return dir_.str() + "demo/"; }
  json Manifest() const { return json::parse(test::Slurp(Path() + "manifest.json")); }

 private:
  test::TempDir dir_;
  std::string error_;
};

// `check` on that folder loads everything else and reports the missing film: loaded with
// problems.
constexpr int kLoadedWithoutFilm = 3;

const DemoFolder& Demo() {
  static const DemoFolder* demo = new DemoFolder();
  return *demo;
}

// Picture lines of the route, as the reader meets them.
struct ImageLines : RouteImageReader {
  std::vector<std::string> lines;
  void SignImage(int, const std::string& text) override { lines.push_back(text); }
  void SignalImage(int, const std::string& text) override { lines.push_back(text); }
  void Monitor(int32_t, int32_t, int32_t, int32_t, const std::string& file) override { lines.push_back(file); }
  void AnimImage(const std::string& file) override { lines.push_back(file); }
  void TrafficSignalImage(const std::string& file) override { lines.push_back(file); }
};

TRouteTables Load(const std::string& file, RouteImageReader* images = nullptr) {
  TRouteFileContext c;
  c.VehicleFileName = "train_1000.dat";
  c.Images = images;
  return LoadRouteFile(Demo().Path() + file, c);
}

// The distance of a frame as the filming table gives it: the mean speed over the part of each
// row up to the frame times its time, rounded halves to even. Written out here on its own so
// that the generator's arithmetic is checked, not restated.
long double TableCm(const TRouteTables& r, int32_t frame, bool* found) {
  long double start = 0;
  *found = false;
  for (const TSpeedUnitRec& u : r.SpeedUnits) {
    const long double span = u.ToFrame - u.FromFrame;
    if (frame >= u.FromFrame && frame <= u.ToFrame && span > 0) {
      const long double sf = u.FromSpeed + (u.ToSpeed - u.FromSpeed) / span * (frame - u.FromFrame);
      *found = true;
      return start + Round((sf + u.FromSpeed) / 7.2L * ((frame - u.FromFrame) / 30.0L) * 100.0L);
    }
    start += Round((u.FromSpeed + u.ToSpeed) * span / 2.16L);
  }
  return 0;
}

// The speed of the filming train at a frame.
long double TableSpeed(const TRouteTables& r, int32_t frame) {
  for (const TSpeedUnitRec& u : r.SpeedUnits) {
    if (frame >= u.FromFrame && frame < u.ToFrame) {
      return u.FromSpeed + (u.ToSpeed - u.FromSpeed) * (frame - u.FromFrame) / (u.ToFrame - u.FromFrame);
    }
  }
  return -1;
}

#define REQUIRE_DEMO() \
  if (!Demo().Error().empty()) FAIL() << Demo().Error()

TEST(DemoLine, EveryObjectOfTheFilmStandsAtTheFrameAndDistanceOfItsRouteRow) {
  REQUIRE_DEMO();
  const json manifest = Demo().Manifest();
  ASSERT_EQ(manifest["films"].size(), 2u);
  for (const json& film : manifest["films"]) {
    const int32_t frames = film["frame_count"];
    ASSERT_EQ(film["route_files"].size(), 2u);
    for (const std::string file : film["route_files"]) {
      SCOPED_TRACE(file);
      const TRouteTables r = Load(file);
      ASSERT_GE(r.SpeedUnits.Count(), 1);

      // The filming table covers the film from its first frame to its last without a gap.
      EXPECT_EQ(r.SpeedUnits[0].FromFrame, 0);
      for (int i = 1; i < r.SpeedUnits.Count(); ++i) EXPECT_EQ(r.SpeedUnits[i].FromFrame, r.SpeedUnits[i - 1].ToFrame);
      EXPECT_EQ(r.SpeedUnits[r.SpeedUnits.Count() - 1].ToFrame, frames - 1);
      EXPECT_EQ(r.DataName + ".avi", fs::path(std::string(film["film"])).filename().string());

      // Every object at the distance where the renderer drew it: the program's whole cm of it.
      std::map<std::string, std::vector<json>> byKind;
      for (const json& o : film["objects"]) {
        byKind[o["kind"]].push_back(o);
        bool found = false;
        const long double cm = TableCm(r, o["frame"], &found);
        ASSERT_TRUE(found) << o.dump();
        EXPECT_EQ(static_cast<long long>(cm), o["cm"].get<long long>()) << o.dump();
        EXPECT_LE(std::fabs(static_cast<double>(cm) - o["cm_exact"].get<double>()), 0.5 + 1e-6) << o.dump();
      }

      // The rows name the same frames. Stations in order, the passed one included.
      std::vector<json> stations;
      for (const json& o : film["objects"]) {
        if (o["kind"] == "stop" || o["kind"] == "pass") stations.push_back(o);
      }
      ASSERT_EQ(static_cast<size_t>(r.Stations.Count()), stations.size());
      ASSERT_GE(r.Stations.Count(), 4);
      int passed = 0;
      for (int i = 0; i < r.Stations.Count(); ++i) {
        const StationData& s = r.Stations[i];
        EXPECT_EQ(s.Name, stations[static_cast<size_t>(i)]["name"]);
        EXPECT_EQ(s.Start, stations[static_cast<size_t>(i)]["frame"]);
        EXPECT_EQ(s.trntype, stations[static_cast<size_t>(i)]["kind"] == "stop" ? 0 : 1);
        passed += s.trntype == 1;
        if (s.trntype == 0) {
          // The film stands still at every stop, and has set off from the first.
          EXPECT_EQ(TableSpeed(r, s.Start), 0) << s.Name;
        }
        if (i > 0) {
          EXPECT_GT(s.deptime, r.Stations[i - 1].deptime);
        }
      }
      EXPECT_EQ(passed, 1);
      const double km = static_cast<double>(film["length_cm"].get<long long>()) / 100000.0;
      EXPECT_GE(km, 3.0);
      EXPECT_LE(km, 5.0);

      ASSERT_EQ(static_cast<size_t>(r.Signals.Count()), byKind["signal"].size());
      std::map<int, int> types;
      for (int j = 0; j < r.Signals.Count(); ++j) {
        const TSignalRec& s = r.Signals[j];
        EXPECT_EQ(s.Frame, byKind["signal"][static_cast<size_t>(j)]["frame"]);
        EXPECT_EQ(s.SignalType, byKind["signal"][static_cast<size_t>(j)]["type"]);
        EXPECT_LT(s.ShowFrame, s.Frame);
        EXPECT_GE(s.CheckFrame, s.ShowFrame);
        EXPECT_LT(s.CheckFrame, s.Frame);
        if (j > 0) {
          EXPECT_GT(s.ShowFrame, r.Signals[j - 1].Frame + 15);
        }
        ++types[s.SignalType];
      }
      EXPECT_GE(types.size(), 3u);
      // The preceding train starts ahead and leaves the line before the end.
      EXPECT_GT(r.PreTrainStart, 0);
      EXPECT_GT(r.PreTrainEnd, r.PreTrainStart);
      EXPECT_LT(r.PreTrainEnd, frames);

      ASSERT_EQ(static_cast<size_t>(r.SpeedLimits.Count()), byKind["limit_board"].size());
      for (int j = 0; j < r.SpeedLimits.Count(); ++j) {
        EXPECT_EQ(r.SpeedLimits[j].Frame, byKind["limit_board"][static_cast<size_t>(j)]["frame"]);
        EXPECT_EQ(r.SpeedLimits[j].EndFrame, byKind["limit_release"][static_cast<size_t>(j)]["frame"]);
        // The filming train kept to the limit, so the film runs no faster inside it.
        for (int32_t f = r.SpeedLimits[j].Frame; f < r.SpeedLimits[j].EndFrame; ++f) {
          ASSERT_LE(TableSpeed(r, f), r.SpeedLimits[j].Limit + 1e-9L) << f;
        }
      }
      ASSERT_EQ(static_cast<size_t>(r.Slopes.Count()), byKind["gradient_post"].size());
      for (int j = 0; j < r.Slopes.Count(); ++j) {
        EXPECT_EQ(r.Slopes[j].FromFrame, byKind["gradient_post"][static_cast<size_t>(j)]["frame"]);
        EXPECT_EQ(r.Slopes[j].ToFrame, byKind["gradient_end"][static_cast<size_t>(j)]["frame"]);
        EXPECT_DOUBLE_EQ(static_cast<double>(r.Slopes[j].Gradient.raw) / 10000.0,
                         byKind["gradient_post"][static_cast<size_t>(j)]["permille"].get<double>());
      }
      ASSERT_EQ(r.Tunnels.Count(), 1);
      EXPECT_EQ(r.Tunnels[0].FromFrame, byKind["tunnel_entrance"][0]["frame"]);
      EXPECT_EQ(r.Tunnels[0].ToFrame, byKind["tunnel_exit"][0]["frame"]);
      ASSERT_EQ(r.Crosses.Count(), 1);
      EXPECT_EQ(r.Crosses[0].LeaveFrame, byKind["level_crossing"][0]["frame"]);
      EXPECT_LT(r.Crosses[0].EnterFrame, r.Crosses[0].LeaveFrame);
      // The crossing bell is a moving source at the crossing itself.
      bool bell = false;
      for (const TDopplerRec& d : r.Dopplers) bell = bell || d.Frame == r.Crosses[0].LeaveFrame;
      EXPECT_TRUE(bell);
      ASSERT_EQ(static_cast<size_t>(r.Signs.Count()), byKind["sign"].size());
      for (int j = 0; j < r.Signs.Count(); ++j) EXPECT_EQ(r.Signs[j].ToFrame, byKind["sign"][static_cast<size_t>(j)]["frame"]);

      // The station film: shown while standing at a stop, as long as its own length.
      ASSERT_EQ(static_cast<size_t>(r.MovieSwitches.Count()), film["inserts"].size());
      for (int j = 0; j < r.MovieSwitches.Count(); ++j) {
        const MovieSwitchData& m = r.MovieSwitches[j];
        const json& in = film["inserts"][static_cast<size_t>(j)];
        EXPECT_EQ(m.swtype, 2);
        EXPECT_EQ("move/" + m.name + ".avi", in["film"]);
        EXPECT_EQ(m.endf, in["frame_count"]);
        EXPECT_EQ(m.next, in["station"]);
        ASSERT_LT(m.next, r.Stations.Count());
        EXPECT_EQ(r.Stations[m.next].trntype, 0);
        EXPECT_LT(m.soundf + 10, m.endf);
      }

      // Nothing the tables name lies outside the film.
      auto inFilm = [&](int32_t f) { return f >= 0 && f < frames; };
      for (const TRouteSoundRec& s : r.RouteSounds) EXPECT_TRUE(inFilm(s.FromFrame) && inFilm(s.ToFrame));
      for (const TSignalRec& s : r.Signals) EXPECT_TRUE(inFilm(s.ShowFrame) && inFilm(s.AlarmFrame));
      for (const TTimeRec& t : r.TimeChecks) EXPECT_TRUE(inFilm(t.FromFrame) && inFilm(t.ToFrame));
      for (const TSpeedCheckRec& c : r.SpeedChecks1) EXPECT_TRUE(inFilm(c.Frame));
      for (int32_t m : r.MovieStops) EXPECT_TRUE(inFilm(m));
      // Announcements, calls and sounds name rows that exist.
      for (const TAnnounceRec& a : r.Announces) {
        EXPECT_LT(a.SoundIndex, r.SoundData.Count());
        EXPECT_LT(a.Station, r.Stations.Count());
      }
      for (const TStationKankoRec& k : r.StationKankos) EXPECT_LT(k.Station, r.Stations.Count());
      for (const TSignalKankoRec& k : r.SignalKankos) {
        EXPECT_LT(k.Signal, r.Signals.Count());
        EXPECT_LT(k.Value, r.KankoCount());
      }
    }
  }
}

TEST(DemoLine, DataFilesAreShiftJisWithCrLfAndNameFilesThatExist) {
  REQUIRE_DEMO();
  const std::string folder = Demo().Path();
  int dataFiles = 0;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".dat" && ext != ".dat0") continue;
    SCOPED_TRACE(e.path().filename().string());
    ++dataFiles;
    const std::string bytes = test::Slurp(e.path());
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare LF at byte " << i;
      }
    }
    bool ascii = true;
    for (unsigned char c : bytes) ascii = ascii && c < 0x80;
    // Japanese text in code page 932, not UTF-8: the reader must take the Shift-JIS path.
    if (!ascii) {
      EXPECT_FALSE(IsValidUtf8(bytes));
    }
    EXPECT_EQ(DecodeDataText(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "a byte that is no Shift-JIS";
  }
  EXPECT_GE(dataFiles, 9);  // ostrel, mascon, operation, two trains, four routes

  // The string file gives every key: display numbers that fit the films, the texts the
  // driving information picks by index, and captions of its own for the menus.
  const TStringFile strings = LoadStringFile(folder + "ostrel.dat");
  EXPECT_EQ(strings.DispRate, 30);
  EXPECT_EQ(strings.ScreenWidth, 800);
  EXPECT_EQ(strings.ScreenHeight, 450);
  for (const std::string* t : {&strings.MoviePath, &strings.TxtForward, &strings.TxtNeutral, &strings.TxtReverse, &strings.TxtStop,
                               &strings.TxtPass, &strings.TxtStop2, &strings.TxtNeut, &strings.TxtNeut2, &strings.TxtApply,
                               &strings.TxtMaintain, &strings.TxtRemove, &strings.TxtHold, &strings.TxtHold2, &strings.TxtEB,
                               &strings.TxtConst, &strings.TxtCars, &strings.TxtTC, &strings.TxtStops[1], &strings.TxtDoors[1],
                               &strings.TxtGears[2]}) {
    EXPECT_FALSE(t->empty());
  }
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 23}) {
    EXPECT_FALSE(strings.InfoLabels[static_cast<size_t>(i)].empty()) << "InfoLabels[" << i << "]";
  }
  EXPECT_NE(strings.StartCaption, "Start");
  EXPECT_NE(strings.MoveCaption, "Move");
  EXPECT_NE(strings.DisplayCaption, "Display");
  EXPECT_NE(strings.ControlCaption, "Controller(&C)");
  EXPECT_NE(strings.SaveCaption, "Save(&S)");
  // The serial controller's commands: 23 of them, each five characters (a longer one never
  // matches), all different.
  const TMasconFile mascon = LoadMasconFile(folder + "mascon.dat");
  ASSERT_EQ(mascon.Count, 23);
  std::set<std::string> commands;
  for (int i = 0; i < mascon.Count; ++i) {
    EXPECT_EQ(mascon.MasconLines[static_cast<size_t>(i)].size(), 5u) << mascon.MasconLines[static_cast<size_t>(i)];
    commands.insert(mascon.MasconLines[static_cast<size_t>(i)]);
  }
  EXPECT_EQ(commands.size(), 23u);

  ImageLines images;
  const TRouteTables r = Load("line_1_down_day.dat", &images);
  std::vector<std::string> named = {r.StafImage, r.StartImage, r.SubImage};
  for (const std::string& s : r.SoundData) named.push_back(s);
  for (int i = 0; i < 22; ++i) named.push_back(r.KankoSound1[static_cast<size_t>(i)]);
  for (const Kanko& k : r.KankoSound2) named.push_back(k.filename);
  for (const std::string& s : r.OtherKanko) named.push_back(s);
  for (const std::string& s : r.LimitKanko) named.push_back(s);
  for (const std::string& line : images.lines) {
    // The file is the field that has a dot in it.
    std::stringstream fields(line);
    std::string field;
    while (std::getline(fields, field, ',')) {
      if (field.find('.') != std::string::npos) named.push_back(field);
    }
  }
  ASSERT_GT(named.size(), 60u);
  for (const std::string& name : named) {
    EXPECT_NE(name.find('\\'), std::string::npos) << name << " is not written with backslashes";
    EXPECT_TRUE(fs::exists(ResolveDataPath(folder, name))) << name;
  }
  for (const char* f : {"readme.html", "sound/9316.wav", "sound/start.wav", "image/title/title01.jpg", "image/title/title2.jpg",
                        "image/title/line11.bmp", "image/title/line22.bmp", "image/title/train1.bmp", "image/title/train2.bmp"}) {
    EXPECT_TRUE(fs::exists(folder + f)) << f;
  }
}

TEST(DemoLine, TheGeneratorWritesTheSameBytesEveryRun) {
  REQUIRE_DEMO();
  test::TempDir again;
  const Result r = Shell(Binary("tools/demo/kavrin_demo") + " " + again.str() + "demo --no-films");
  ASSERT_EQ(r.code, 0) << r.out;
  std::vector<std::string> a, b;
  for (const auto& e : fs::recursive_directory_iterator(Demo().Path())) {
    if (e.is_regular_file()) a.push_back(fs::relative(e.path(), Demo().Path()).string());
  }
  for (const auto& e : fs::recursive_directory_iterator(again.str() + "demo/")) {
    if (e.is_regular_file()) b.push_back(fs::relative(e.path(), again.str() + "demo/").string());
  }
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  ASSERT_EQ(a, b);
  for (const std::string& f : a) EXPECT_TRUE(test::Slurp(Demo().Path() + f) == test::Slurp(again.str() + "demo/" + f)) << f;
}

TEST(DemoLine, TheProgramLoadsEveryRunTheTitleScreenOffers) {
  REQUIRE_DEMO();
  const Result r = Shell(Binary("src/ui/kavrin") + " check --data " + Demo().Path());
  EXPECT_EQ(r.code, kLoadedWithoutFilm) << r.out;
  const std::pair<const char*, const char*> runs[] = {
      {"line_1_down_day.dat0", "train_0.dat"},
      {"line_1_down_day.dat", "train_1000.dat"},
      {"line_1_up_day.dat0", "train_0.dat"},
      {"line_1_up_day.dat", "train_1000.dat"},
  };
  std::string expected;
  for (const auto& [route, train] : runs) {
    const std::string film = std::string(route).find("up") != std::string::npos ? "line_1_up" : "line_1_down";
    expected += std::string(route) + " + " + train + ": 問題が 1 件あります\n  オープンエラー\n  " + Demo().Path() +
                "move/" + film + ".aviが見つかりません\n";
  }
  EXPECT_EQ(r.out, expected);
}

// The film as coded: frame n of the AVI is the picture the renderer draws for frame n, which is
// the frame the route file's rows count in.
TEST(DemoLine, FrameNOfTheCodedFilmIsThePictureRenderedForFrameN) {
  REQUIRE_DEMO();
  test::TempDir dir;
  const std::string film = dir.str() + "sample.avi";
  const Result made = Shell(Binary("tools/demo/kavrin_demo") + " --film-sample down 75 " + film);
  ASSERT_EQ(made.code, 0) << made.out;
  FfmpegFilmSource source;
  ASSERT_EQ(source.AviOpen(film), FilmSource::Opened);
  EXPECT_EQ(source.FilmLength(), 75);
  auto mean = [](const FilmFrame& f, const QImage& img) {
    double sum = 0;
    for (int y = 0; y < f.Height; ++y) {
      for (int x = 0; x < f.Width; ++x) {
        const QRgb p = img.pixel(x, y);
        const uint8_t* q = &f.Rgba[static_cast<size_t>((y * f.Width + x) * 4)];
        sum += std::abs(q[0] - qRed(p)) + std::abs(q[1] - qGreen(p)) + std::abs(q[2] - qBlue(p));
      }
    }
    return sum / (3.0 * f.Width * f.Height);
  };
  auto still = [&](int frame) {
    const std::string png = dir.str() + "still" + std::to_string(frame) + ".png";
    EXPECT_EQ(Shell(Binary("tools/demo/kavrin_demo") + " --still down " + std::to_string(frame) + " " + png).code, 0);
    return QImage(QString::fromStdString(png));
  };
  // The filming train sets off from the first station, so by frame 40 the picture moves from
  // frame to frame: the decoded frame must be nearest to its own rendering, not to one a few
  // frames off, and near it in absolute terms (the codec's loss on these flat colours).
  for (int frame : {0, 40, 70}) {
    FilmFrame decoded;
    ASSERT_TRUE(source.AviFrame(frame, decoded));
    const QImage drawn = still(frame);
    ASSERT_EQ(decoded.Width, drawn.width());
    ASSERT_EQ(decoded.Height, drawn.height());
    const double own = mean(decoded, drawn);
    EXPECT_LT(own, 4.0) << "frame " << frame;
    if (frame == 0) continue;
    for (int other : {frame - 5, frame + 5}) EXPECT_LT(own, mean(decoded, still(other))) << "frame " << frame << " against " << other;
  }
}

// ---- The trains' desks ----

// The desk as the program builds it: every lamp, indicator and needle on the desk below the
// film, no two lamps or indicators on top of each other, the needles of a two-needle gauge on
// one pivot, and every picture keyed by a bottom-left pixel that only its background has.
TEST(DemoTrains, DesksPutEveryPictureInItsOwnPlaceKeyedByItsBottomLeftPixel) {
  REQUIRE_DEMO();
  for (const auto& [route, train] : {std::pair{"line_1_down_day.dat", "train_1000.dat"}, std::pair{"line_1_down_day.dat0", "train_0.dat"}}) {
    SCOPED_TRACE(train);
    const Result dump = Shell(Binary("src/ui/kavrin") + " check --dump --data " + Demo().Path() + " --route " + route +
                              " --train " + train);
    ASSERT_EQ(dump.code, kLoadedWithoutFilm) << dump.out;
    std::vector<json> flat, needles;
    const json sprites = json::parse(dump.out.substr(dump.out.find('{')))["sprites"];
    for (const json& sp : sprites) {
      std::string name = sp["picture"];
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      if (name == "img_panel") {
        EXPECT_EQ(sp["Y"], 450);
        EXPECT_EQ(sp["Height"], 430);
        continue;
      }
      if (name.rfind("img_lamp", 0) != 0 && name.rfind("img_other", 0) != 0 && name.rfind("img_needle", 0) != 0 &&
          name != "img_digi_speed" && name != "img_gearlever") {
        continue;
      }
      const double x = sp["X"], y = sp["Y"], w = sp["Width"], h = sp["Height"];
      EXPECT_TRUE(x >= 0 && y >= 450 && x + w <= 800 && y + h <= 880) << sp.dump();
      (name.rfind("img_needle", 0) == 0 ? needles : flat).push_back(sp);
    }
    EXPECT_GE(flat.size(), 20u);
    EXPECT_GE(needles.size(), 5u);
    for (size_t i = 0; i < flat.size(); ++i) {
      for (size_t j = i + 1; j < flat.size(); ++j) {
        const json &a = flat[i], &b = flat[j];
        const bool apart = a["X"].get<double>() + a["Width"].get<double>() <= b["X"].get<double>() ||
                           b["X"].get<double>() + b["Width"].get<double>() <= a["X"].get<double>() ||
                           a["Y"].get<double>() + a["Height"].get<double>() <= b["Y"].get<double>() ||
                           b["Y"].get<double>() + b["Height"].get<double>() <= a["Y"].get<double>();
        EXPECT_TRUE(apart) << a.dump() << " overlaps " << b.dump();
      }
    }
    // Needles turn about the middle of their picture: pictures of one gauge share it.
    std::map<std::pair<double, double>, int> pivots;
    for (const json& n : needles) {
      EXPECT_EQ(n["Width"], n["Height"]) << n.dump();
      ++pivots[{n["X"].get<double>() + n["Width"].get<double>() / 2, n["Y"].get<double>() + n["Height"].get<double>() / 2}];
    }
    int shared = 0;
    for (const auto& [pivot, count] : pivots) shared += count == 2;
    EXPECT_GE(shared, 1);
  }
  const QRgb key = qRgb(255, 0, 255);
  int pictures = 0;
  for (const char* folder : {"train/1000", "train/0"}) {
    for (const auto& e : fs::directory_iterator(Demo().Path() + folder)) {
      if (e.path().extension() != ".png") continue;
      SCOPED_TRACE(e.path().string());
      ++pictures;
      const QImage img(QString::fromStdString(e.path().string()));
      ASSERT_FALSE(img.isNull());
      EXPECT_EQ(img.pixel(0, img.height() - 1) & 0xFFFFFF, key & 0xFFFFFF);
      int keyed = 0;
      for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) keyed += (img.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF);
      }
      if (e.path().filename() == "panel.png") {
        EXPECT_EQ(keyed, 1) << "the film would show through the desk";
      } else {
        // Lamps, strips and needles are round-cornered or thin: the desk or the gauge shows at
        // all four corners.
        for (const QPoint& c : {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(img.width() - 1, img.height() - 1)}) {
          EXPECT_EQ(img.pixel(c) & 0xFFFFFF, key & 0xFFFFFF) << c.x() << "," << c.y();
        }
        EXPECT_LT(keyed, img.width() * img.height());
      }
    }
  }
  EXPECT_GE(pictures, 40);
}

// ---- Driving the line ----

// Every row of a headless trace, by field name.
std::vector<std::map<std::string, double>> Rows(const std::string& csv) {
  std::vector<std::map<std::string, double>> rows;
  std::stringstream in(csv);
  std::string header, line;
  std::getline(in, header);
  std::vector<std::string> names;
  std::stringstream h(header);
  for (std::string n; std::getline(h, n, ',');) names.push_back(n);
  while (std::getline(in, line)) {
    std::stringstream v(line);
    std::map<std::string, double> row;
    size_t i = 0;
    for (std::string value; std::getline(v, value, ',') && i < names.size(); ++i) row[names[i]] = std::atof(value.c_str());
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

// The key scripts a driver of each train uses on the whole down line: away from the first
// station on full power, shut off at line speed, one brake application that stops the train at
// the mark of the second; away again once the conductor has closed the doors, through the
// passing station and to a stop at the terminal, where the run ends. They live beside this
// test, in tests/ui/demo_drive/.
struct DriveCase {
  const char* Train;
  const char* Route;
  const char* Script;
};

TEST(DemoTrains, EachTrainDrivesTheWholeDownLineUnderItsKeyScript) {
  REQUIRE_DEMO();
  const DriveCase cases[] = {
      {"train_1000.dat", "line_1_down_day.dat", "train_1000_down.txt"},
      {"train_0.dat", "line_1_down_day.dat0", "train_0_down.txt"},
  };
  const json manifest = Demo().Manifest();
  int32_t frames = 0;
  for (const json& film : manifest["films"]) {
    if (film["route_files"][0] == "line_1_down_day.dat") frames = film["frame_count"];
  }
  ASSERT_GT(frames, 0);
  for (const DriveCase& c : cases) {
    SCOPED_TRACE(std::string(c.Train) + " with " + c.Script);
    const std::string args = " --data " + Demo().Path() + " --route " + c.Route + " --train " + c.Train;
    const Result dump = Shell(Binary("src/ui/kavrin") + " check --dump" + args);
    ASSERT_EQ(dump.code, kLoadedWithoutFilm) << dump.out;
    const json stations = json::parse(dump.out.substr(dump.out.find('{')))["stations"];
    ASSERT_EQ(stations.size(), 4u);
    ASSERT_EQ(stations[1]["trntype"], 0);
    ASSERT_EQ(stations[2]["trntype"], 1);
    ASSERT_EQ(stations[3]["trntype"], 0);

    test::TempDir dir;
    const std::string trace = dir.str() + "trace.csv";
    const std::string script = std::string(KAVRIN_SOURCE_DIR) + "/tests/ui/demo_drive/" + c.Script;
    ASSERT_TRUE(fs::exists(script)) << script;
    const Result run = Shell(Binary("src/ui/kavrin") + " headless" + args + " --frames " + std::to_string(frames) +
                             " --script " + script + " --seconds 600 --trace " + trace +
                             " --fields Speed,Position,DoorState,DepartureCount,RunEnded");
    ASSERT_EQ(run.code, 0) << run.out;
    const auto rows = Rows(test::Slurp(trace));
    ASSERT_FALSE(rows.empty());

    // Where the train came to a stand after running, and the highest speed.
    std::vector<double> stops;
    double top = 0;
    bool moving = false;
    for (const auto& row : rows) {
      const double v = row.at("Speed");
      top = std::max(top, v);
      // The doors open only once the train stands (below 0.1 km/h), and it starts only once they
      // have closed.
      if (std::fabs(v) >= 0.1 && row.at("DoorState") != 0) {
        ADD_FAILURE() << "running with the doors open at " << row.at("Position");
      }
      if (moving && v == 0) stops.push_back(row.at("Position"));
      moving = v != 0;
    }
    EXPECT_GT(top, 50);
    EXPECT_LT(top, 80);
    ASSERT_EQ(stops.size(), 2u) << "a stop at 桜台 and one at 南港, none at 川辺";
    for (size_t k = 0; k < stops.size(); ++k) {
      const json& st = stations[k == 0 ? 1 : 3];
      const double from = st["position_s"], to = st["position_e"];
      EXPECT_GE(stops[k], from) << st["Name"] << ": short of the stop zone by " << from - stops[k] << " cm";
      EXPECT_LE(stops[k], to) << st["Name"] << ": past the stop zone by " << stops[k] - to << " cm";
    }
    // The doors closed at the first station and at 桜台; the run ended at the terminal and the
    // window closed before the time ran out.
    const auto& last = rows.back();
    EXPECT_EQ(last.at("DepartureCount"), 2);
    EXPECT_EQ(last.at("RunEnded"), 1);
    EXPECT_LT(rows.size(), 5900u);
  }
}

}  // namespace
}  // namespace kavrin

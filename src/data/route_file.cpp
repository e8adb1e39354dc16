#include "data/route_file.h"

#include <array>
#include <string_view>
#include <utility>

#include "core/load_error.h"

namespace kavrin {

namespace {

// A row's comma fields, split once (a route has tens of thousands of rows). A field past the
// last one reads "Error", as CsvField gives it, so that it fails any number.
template <size_t N>
class Fields {
 public:
  explicit Fields(std::string_view line) {
    bool more = true;
    for (auto& field : f_) {
      if (!more) {
        field = "Error";
        continue;
      }
      size_t comma = line.find(',');
      if (comma == std::string_view::npos) {
        field = line;
        more = false;
      } else {
        field = line.substr(0, comma);
        line.remove_prefix(comma + 1);
      }
    }
  }

  // n counts from 1, as the file's fields are numbered.
  int32_t Int(size_t n) const { return ToInt(f_[n - 1]); }
  long double Real(size_t n) const { return ToReal(f_[n - 1]); }
  Fixed4 Fixed(size_t n) const { return ToFixed(f_[n - 1]); }
  std::string Text(size_t n) const { return std::string(f_[n - 1]); }

 private:
  std::array<std::string_view, N> f_;
};

class RouteReader {
 public:
  RouteReader(DataFile& file, const TRouteFileContext& context) : f_(file), c_(context) {}

  TRouteTables Read() {
    try {
      while (f_.ReadLine()) {
        label_ = kRouteOtherLabel;
        // Every key starts with "[": a line that does not is skipped without its 49 tests.
        if (f_.CurLine.empty() || f_.CurLine.front() != '[') continue;
        for (const Key& key : kKeys) {
          // The label follows the list keys as they are tested, matched or not; a failure shows
          // the list key tested last.
          if (key.list) label_ = key.text;
          // CurLine as the previous key's handler left it: a value line can itself be a key.
          if (KeyMatches(f_.CurLine, key.text)) (this->*key.read)();
        }
      }
    } catch (const ValueError&) {
      throw LoadError(std::string(kRouteFileError).append(label_).append(":").append(f_.CurLine), f_.Place(label_));
    } catch (const LoadError& e) {
      // A picture's own message: the line that named it is where the author looks.
      if (e.HasPlace()) throw;
      throw LoadError(e.what(), f_.Place(label_));
    }
    return std::move(t_);
  }

 private:
  using Handler = void (RouteReader::*)();
  struct Key {
    std::string_view text;
    bool list;  // the body runs up to a "#" line
    Handler read;
  };
  static const std::array<Key, 49> kKeys;

  // Single values. At the end of the file the line reads empty, which fails a number.
  const std::string& NextLine() {
    f_.ReadLine();
    return f_.CurLine;
  }
  int32_t NextInt() { return ToInt(NextLine()); }

  // The next line of a list; false at the "#" line, which stays in CurLine. A list that runs
  // into the end of the file is a damaged file, whatever its rows hold.
  bool NextRow() {
    if (!f_.ReadLine()) throw ValueError{};
    return !EndsList(f_.CurLine);
  }

  // Rows up to "#" appended to what the table holds. A row beyond the capacity refuses the
  // file: it would have to be dropped or stored out of bounds, and either way the route would
  // run with data other than its author wrote.
  template <typename Table, typename Fill>
  void AppendRows(Table& table, Fill&& fill, bool skipSemicolonLines = false) {
    while (NextRow()) {
      if (skipSemicolonLines && !f_.CurLine.empty() && f_.CurLine.front() == ';') continue;
      if (table.Full()) throw ValueError{};
      fill(table.Add(), f_.CurLine);
    }
  }
  template <typename Table, typename Fill>
  void ReadRows(Table& table, Fill&& fill, bool skipSemicolonLines = false) {
    table.Clear();
    AppendRows(table, std::forward<Fill>(fill), skipSemicolonLines);
  }
  template <typename Table>
  void ReadInts(Table& table) {
    ReadRows(table, [](int32_t& v, const std::string& line) { v = ToInt(line); });
  }
  template <typename Table>
  void ReadTexts(Table& table) {
    ReadRows(table, [](std::string& v, const std::string& line) { v = line; });
  }

  void LineName() { t_.LineName = NextLine(); }
  void LineName2() { t_.LineName2 = NextLine(); }
  void StartPos() { t_.StartPos = NextInt(); }
  void FrameRate() { t_.FrameRate = NextInt(); }
  void Staf() {
    t_.StafImage = NextLine();
    t_.StartImage = NextLine();
    t_.SubImage = NextLine();
  }
  void Friction() { t_.Friction = ToFixed(NextLine()); }

  void StafSwitch() {
    t_.StafSwitch.Clear();
    int32_t first = NextInt();
    t_.StafSwitch.Add() = first;
    AppendRows(t_.StafSwitch, [](int32_t& v, const std::string& line) { v = ToInt(line); });
  }
  void MovieStop() { ReadInts(t_.MovieStops); }
  void MovieSwitch() {
    ReadRows(t_.MovieSwitches, [](MovieSwitchData& r, const std::string& line) {
      Fields<9> f(line);
      r.swtype = f.Int(1);
      r.Start = f.Int(2);
      r.Stop = f.Int(3);
      r.name = f.Text(4);
      r.endf = f.Int(5);
      r.next = f.Int(6);
      r.time = f.Int(7);
      r.soundf = f.Int(8);
      r.sound = f.Int(9);
    });
  }
  void SpeedSignal() { ReadInts(t_.SpeedSignals); }
  void DataName() { t_.DataName = NextLine(); }
  void Perspective() {
    t_.Perspective = ToReal(NextLine());
    t_.PerspectiveScale = NextInt();
  }
  void PreTrain() {
    Fields<2> first(NextLine());
    t_.PreTrainStart = first.Int(1);
    t_.PreTrainEnd = first.Int(2);
    ReadRows(t_.PreTrains, [](TPreTrainRec& r, const std::string& line) {
      Fields<3> f(line);
      r.Station = f.Int(1);
      r.Speed = f.Int(2);
      r.DepartTime = f.Int(3);
    });
  }
  void OneMan() {
    t_.OneMan = NextInt();
    t_.OneManDoors = NextInt();
  }
  void SoundData() { ReadTexts(t_.SoundData); }

  void Monitor() {
    // Another train's block is left to the following passes, where its lines match no key.
    if (NextLine() != c_.VehicleFileName) return;
    t_.MonitorX = NextInt();
    t_.MonitorY = NextInt();
    t_.MonitorW = NextInt();
    t_.MonitorH = NextInt();
    t_.MonitorImage = NextLine();
    if (c_.Images) c_.Images->Monitor(t_.MonitorX, t_.MonitorY, t_.MonitorW, t_.MonitorH, t_.MonitorImage);
  }

  void Announce() {
    Fields<2> first(NextLine());
    t_.StartAnnounce = first.Int(1);
    t_.OverrunSound = first.Int(2);
    t_.Announces[0] = TAnnounceRec{};
    t_.Announces[0].SoundIndex = t_.StartAnnounce;
    ReadRows(t_.Announces, [](TAnnounceRec& r, const std::string& line) {
      Fields<4> f(line);
      r.SoundIndex = f.Int(1);
      r.Kind = f.Int(2);
      r.Station = f.Int(3);
      r.Distance = f.Int(4);
    });
  }
  void KankoSound1() {
    for (int i = 0; i < kFirstKanko2; ++i) t_.KankoSound1[static_cast<size_t>(i)] = NextLine();
  }
  void KankoSound2() {
    int32_t row = 0;
    ReadRows(t_.KankoSound2, [&row](Kanko& k, const std::string& line) {
      k.name = row++;
      k.filename = line;
    });
  }

  void Sound() {
    ReadRows(
        t_.RouteSounds,
        [](TRouteSoundRec& r, const std::string& line) {
          Fields<9> f(line);
          r.SoundIndex = f.Int(1);
          r.FromFrame = f.Int(2);
          r.ToFrame = f.Int(3);
          r.RefSpeed = f.Int(4);
          r.Loop = f.Int(5);
          r.PitchBySpeed = f.Int(6);
          r.VolumeBySpeed = f.Int(7);
          r.SlowTrigger = f.Int(8);
          r.Fade = f.Int(9);
        },
        true);
  }
  void Sound2() {
    ReadRows(
        t_.RouteSounds2,
        [](TRouteSound2Rec& r, const std::string& line) {
          Fields<3> f(line);
          r.SoundIndex = f.Int(1);
          r.FromStation = f.Int(2);
          r.ToStation = f.Int(3);
        },
        true);
  }
  void Doppler() {
    ReadRows(t_.Dopplers, [](TDopplerRec& r, const std::string& line) {
      Fields<5> f(line);
      r.SoundIndex = f.Int(1);
      r.Frame = f.Int(2);
      r.Range = f.Int(3);
      r.NoShift = f.Int(4);
      r.Station = f.Int(5);
    });
  }
  void Tunnel() {
    ReadRows(t_.Tunnels, [](TTunnelRec& r, const std::string& line) {
      Fields<3> f(line);
      r.FromFrame = f.Int(1);
      r.ToFrame = f.Int(2);
      r.Shade = f.Int(3);
    });
  }
  void Atten() {
    ReadRows(t_.Attens, [](TAttenRec& r, const std::string& line) {
      Fields<4> f(line);
      r.FromFrame = f.Int(1);
      r.ToFrame = f.Int(2);
      r.Third = f.Int(3);
      r.Volume = f.Int(4);
    });
  }
  void TunnelR() { t_.TunnelR = NextInt(); }

  void Station() {
    ReadRows(t_.Stations, [](StationData& r, const std::string& line) {
      Fields<15> f(line);
      r.Name = f.Text(1);
      r.trntype = f.Int(2);
      r.Start = f.Int(3);
      r.genkai = f.Int(4);
      r.arrsound = f.Int(5);
      r.depsound = f.Int(6);
      r.bcksound = f.Int(7);
      r.deptime = f.Int(8);
      r.maxspeed = f.Int(9);
      r.pattern = f.Int(10);
      r.door = f.Int(11);
      r.prob = f.Int(12);
      r.time = f.Int(13);
      r.person = f.Int(14);
      r.doorprob = f.Int(15);
    });
  }
  void StopSound() { ReadInts(t_.StopSounds); }

  void Signal() {
    ReadRows(t_.Signals, [](TSignalRec& r, const std::string& line) {
      Fields<23> f(line);
      r.Kind = f.Int(1);
      r.Pattern = f.Int(2);
      r.Aspect = f.Int(3);
      r.SignalType = f.Int(4);
      r.ShowFrame = f.Int(5);
      r.Frame = f.Int(6);
      r.AlarmFrame = f.Int(7);
      r.CheckFrame = f.Int(8);
      r.HeldAspect = f.Int(9);
      r.ClearTime = f.Int(10);
      r.FixedAspect = f.Int(11);
      r.Station = f.Int(12);
      r.SignalX = f.Int(13);
      r.SignalY = f.Int(14);
      r.SubLCell = f.Int(15);
      r.SubLX = f.Int(16);
      r.SubLY = f.Int(17);
      r.SubRCell = f.Int(18);
      r.SubRX = f.Int(19);
      r.SubRY = f.Int(20);
      r.SubSX = f.Int(21);
      r.SubSY = f.Int(22);
      r.Field23 = f.Int(23);
    });
  }
  void TrafficSignal() {
    ReadRows(t_.TrafficSignals, [](TTrafficSignalRec& r, const std::string& line) {
      Fields<26> f(line);
      r.Frame = f.Int(1);
      r.FromFrame = f.Int(2);
      r.ToFrame = f.Int(3);
      for (size_t k = 0; k < 6; ++k) {
        r.PhasePicture[k] = f.Int(4 + 3 * k);
        r.PhaseDuration[k] = f.Int(5 + 3 * k);
        r.PhaseFlag[k] = f.Int(6 + 3 * k);
      }
      r.ApproachFrame = f.Int(22);
      r.ApproachEndFrame = f.Int(23);
      r.NormalWord = f.Int(24);
      r.FlaggedWord = f.Int(25);
      r.NoApproachText = f.Int(26);
    });
  }
  void Slope() {
    ReadRows(t_.Slopes, [](TSlopeRec& r, const std::string& line) {
      Fields<3> f(line);
      r.Gradient = f.Fixed(1);
      r.FromFrame = f.Int(2);
      r.ToFrame = f.Int(3);
    });
  }
  void Sign() {
    ReadRows(t_.Signs, [](TSignRec& r, const std::string& line) {
      Fields<4> f(line);
      r.Pattern = f.Int(1);
      r.FromFrame = f.Int(2);
      r.ToFrame = f.Int(3);
      r.Change = f.Int(4);
    });
  }
  void Anim() {
    ReadRows(t_.Anims, [](TAnimRec& r, const std::string& line) {
      Fields<4> f(line);
      r.FromFrame = f.Int(1);
      r.ToFrame = f.Int(2);
      r.Interval = f.Int(3);
      r.FirstPattern = f.Int(4);
    });
  }
  void SignalKanko() {
    ReadRows(t_.SignalKankos, [](TSignalKankoRec& r, const std::string& line) {
      Fields<4> f(line);
      r.Signal = f.Int(1);
      r.Type = f.Int(2);
      r.Value = f.Int(3);
      r.Flag = f.Int(4);
    });
  }
  void StationKanko() {
    ReadRows(t_.StationKankos, [](TStationKankoRec& r, const std::string& line) {
      Fields<3> f(line);
      r.Station = f.Int(1);
      r.Event = f.Int(2);
      r.Value = f.Int(3);
    });
  }
  void SpeedLimit() {
    ReadRows(t_.SpeedLimits, [](TSpeedLimitRec& r, const std::string& line) {
      Fields<6> f(line);
      r.Limit = f.Int(1);
      r.Pattern = f.Int(2);
      r.CheckKind = f.Int(3);
      r.Frame = f.Int(4);
      r.EndFrame = f.Int(5);
      r.Voice = f.Int(6);
    });
  }
  void MaxSpeedCheck() { t_.MaxSpeedCheck = NextInt(); }
  // The fourth field is the signal to watch for the first table, the section end for the others.
  void SpeedCheck(TRouteTable<TSpeedCheckRec, 501>& table, bool points) {
    ReadRows(table, [points](TSpeedCheckRec& r, const std::string& line) {
      Fields<4> f(line);
      r.Limit = f.Int(1);
      r.Param = f.Int(2);
      r.Frame = f.Int(3);
      (points ? r.Signal : r.EndFrame) = f.Int(4);
    });
  }
  void SpeedCheck1() { SpeedCheck(t_.SpeedChecks1, true); }
  void SpeedCheck2() { SpeedCheck(t_.SpeedChecks2, false); }
  void SpeedCheck3() { SpeedCheck(t_.SpeedChecks3, false); }

  void SignImageList() {
    for (int line = 1; line <= 9; ++line) {
      const std::string& text = NextLine();
      if (c_.Images) c_.Images->SignImage(line, text);
    }
  }
  void SignalImageList() {
    for (int line = 1; line <= 4; ++line) {
      const std::string& text = NextLine();
      if (c_.Images) c_.Images->SignalImage(line, text);
    }
  }
  void OtherKanko() { ReadTexts(t_.OtherKanko); }
  void LimitKanko() { ReadTexts(t_.LimitKanko); }
  void AnimImageList() {
    t_.AnimImageCount = 0;
    while (NextRow()) {
      ++t_.AnimImageCount;
      if (c_.Images) c_.Images->AnimImage(f_.CurLine);
    }
  }
  void TrafficSignalImageList() {
    while (NextRow()) {
      if (c_.Images) c_.Images->TrafficSignalImage(f_.CurLine);
    }
  }

  void SpeedUnit() {
    ReadRows(t_.SpeedUnits, [](TSpeedUnitRec& r, const std::string& line) {
      Fields<4> f(line);
      r.FromFrame = f.Int(1);
      r.ToFrame = f.Int(2);
      r.FromSpeed = f.Real(3);
      r.ToSpeed = f.Real(4);
    });
  }
  void Cross() {
    ReadRows(t_.Crosses, [](TCrossRec& r, const std::string& line) {
      Fields<5> f(line);
      r.Pattern = f.Int(1);
      r.Voice = f.Int(2);
      r.EnterFrame = f.Int(3);
      r.LeaveFrame = f.Int(4);
      r.Station = f.Int(5);
    });
  }
  void Time() {
    ReadRows(t_.TimeChecks, [](TTimeRec& r, const std::string& line) {
      Fields<3> f(line);
      r.FromFrame = f.Int(1);
      r.ToFrame = f.Int(2);
      r.Time = f.Int(3);
    });
  }
  void Switch() {
    ReadRows(t_.Switches, [](TSwitchRec& r, const std::string& line) {
      Fields<2> f(line);
      r.Frame = f.Int(1);
      r.SoundId = f.Int(2);
    });
  }

  DataFile& f_;
  const TRouteFileContext& c_;
  TRouteTables t_;
  std::string_view label_ = kRouteOtherLabel;
};

// The test order of the keys. It matters because each key is tested against the line the
// previous key's handler read last.
const std::array<RouteReader::Key, 49> RouteReader::kKeys = {{
    {"[LineName]", false, &RouteReader::LineName},
    {"[LineName2]", false, &RouteReader::LineName2},
    {"[StartPos]", false, &RouteReader::StartPos},
    {"[FrameRate]", false, &RouteReader::FrameRate},
    {"[Staf]", false, &RouteReader::Staf},
    {"[Friction]", false, &RouteReader::Friction},
    {"[StafSwitch]", true, &RouteReader::StafSwitch},
    {"[MovieStop]", true, &RouteReader::MovieStop},
    {"[MovieSwitch]", true, &RouteReader::MovieSwitch},
    {"[Speed_Signal]", true, &RouteReader::SpeedSignal},
    {"[DataName]", false, &RouteReader::DataName},
    {"[Perspective]", false, &RouteReader::Perspective},
    {"[Pre_Train]", true, &RouteReader::PreTrain},
    {"[OneMan]", false, &RouteReader::OneMan},
    {"[SoundData]", true, &RouteReader::SoundData},
    {"[Monitor]", false, &RouteReader::Monitor},
    {"[Announce]", true, &RouteReader::Announce},
    {"[KankoSound1]", false, &RouteReader::KankoSound1},
    {"[KankoSound2]", true, &RouteReader::KankoSound2},
    {"[Sound]", true, &RouteReader::Sound},
    {"[Sound2]", true, &RouteReader::Sound2},
    {"[Doppler]", true, &RouteReader::Doppler},
    {"[Tunnel]", true, &RouteReader::Tunnel},
    {"[Atten]", true, &RouteReader::Atten},
    {"[TunnelR]", false, &RouteReader::TunnelR},
    {"[Station]", true, &RouteReader::Station},
    {"[StopSound]", true, &RouteReader::StopSound},
    {"[Signal]", true, &RouteReader::Signal},
    {"[TrafficSignal]", true, &RouteReader::TrafficSignal},
    {"[Slope]", true, &RouteReader::Slope},
    {"[Sign]", true, &RouteReader::Sign},
    {"[Anim]", true, &RouteReader::Anim},
    {"[SignalKanko]", true, &RouteReader::SignalKanko},
    {"[StationKanko]", true, &RouteReader::StationKanko},
    {"[SpeedLimit]", true, &RouteReader::SpeedLimit},
    {"[MaxSpeedCheck]", false, &RouteReader::MaxSpeedCheck},
    {"[SpeedCheck1]", true, &RouteReader::SpeedCheck1},
    {"[SpeedCheck2]", true, &RouteReader::SpeedCheck2},
    {"[SpeedCheck3]", true, &RouteReader::SpeedCheck3},
    {"[SignImageList]", false, &RouteReader::SignImageList},
    {"[SignalImageList]", false, &RouteReader::SignalImageList},
    {"[OtherKanko]", true, &RouteReader::OtherKanko},
    {"[LimitKanko]", true, &RouteReader::LimitKanko},
    {"[AnimImageList]", true, &RouteReader::AnimImageList},
    {"[TrafficSignalImageList]", true, &RouteReader::TrafficSignalImageList},
    {"[SpeedUnit]", true, &RouteReader::SpeedUnit},
    {"[Cross]", true, &RouteReader::Cross},
    {"[Time]", true, &RouteReader::Time},
    {"[Switch]", true, &RouteReader::Switch},
}};

}  // namespace

TRouteTables ReadRouteFile(DataFile& file, const TRouteFileContext& context) {
  return RouteReader(file, context).Read();
}

TRouteTables LoadRouteFile(const std::string& path, const TRouteFileContext& context) {
  auto file = DataFile::Open(path);
  if (!file) {
    throw LoadError(std::string(kRouteFileError) + context.PreviousLabel + ":" + context.PreviousLine,
                    DataFile::MissingPlace(path));
  }
  return ReadRouteFile(*file, context);
}

}  // namespace kavrin

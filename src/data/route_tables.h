#pragma once
// The route of a run: the single values and tables of the route file and the distances worked
// out from them after loading (fields marked "derived", centimetres from the start of the line).
// The route reader and the derivation write it; a run only reads it. What a run notes per row
// (a sound started, an insert shown) is its owner's state, in a `TRowState` beside the table.
//
// Places in the file are film frames; times of day are 1/30 s since midnight.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/fixed4.h"

namespace kavrin {

// A table of fixed capacity with its count of rows. The rows are the elements First to
// First + Count() - 1 (the calling voices of "[KankoSound2]" start at 22, the announcements at
// 1). Every element up to and including First + kCapacity exists: those that hold no row are
// empty rows, so a rule that looks one past the last row (the spare station after the last one)
// reads zeros and empty texts. A row is never stored beyond the capacity.
template <typename Row, int32_t Capacity, int32_t First = 0>
class TRouteTable {
 public:
  static constexpr int32_t kCapacity = Capacity;  // rows
  static constexpr int32_t kFirst = First;

  TRouteTable() : rows_(First + Capacity + 1) {}

  int32_t Count() const { return count_; }
  bool Full() const { return count_ >= Capacity; }

  // Any element from 0 to First + kCapacity.
  Row& operator[](int32_t i) { return rows_[static_cast<size_t>(i)]; }
  const Row& operator[](int32_t i) const { return rows_[static_cast<size_t>(i)]; }

  // Element i when it holds a row, for indices that come from a data file; nullptr otherwise.
  const Row* Find(int64_t i) const {
    return i >= First && i < First + count_ ? &rows_[static_cast<size_t>(i)] : nullptr;
  }
  Row* Find(int64_t i) {
    return i >= First && i < First + count_ ? &rows_[static_cast<size_t>(i)] : nullptr;
  }

  // The rows, First to First + Count() - 1.
  std::span<Row> Rows() { return {rows_.data() + First, static_cast<size_t>(count_)}; }
  std::span<const Row> Rows() const { return {rows_.data() + First, static_cast<size_t>(count_)}; }
  auto begin() { return Rows().begin(); }
  auto end() { return Rows().end(); }
  auto begin() const { return Rows().begin(); }
  auto end() const { return Rows().end(); }

  // The next row; the caller makes sure the table is not Full().
  Row& Add() { return rows_[static_cast<size_t>(First + count_++)]; }

  // Empties the rows (elements below First are left alone). A section read again starts here,
  // so nothing of its earlier copy survives beyond the new count.
  void Clear() {
    for (int32_t i = 0; i < count_; ++i) rows_[static_cast<size_t>(First + i)] = Row{};
    count_ = 0;
  }

 private:
  std::vector<Row> rows_;
  int32_t count_ = 0;
};

// A run's state for each element of a route table (rows, the elements before the first row and
// the spare one after the last), indexed as the table is.
template <typename Table, typename T = uint8_t>
using TRowState = std::array<T, static_cast<size_t>(Table::kFirst + Table::kCapacity + 1)>;

// "[MovieSwitch]": a film inserted while running through a frame window (swtype 0, 1) or while
// standing at a station (swtype 2).
struct MovieSwitchData {
  int32_t swtype = 0;
  int32_t Start = 0;
  int32_t Stop = 0;
  std::string name;  // base name of the inserted film
  int32_t endf = 0;  // frames of the insert that are shown
  int32_t next = 0;  // swtype 0, 1: frame of the main film to resume at; 2: station index
  int32_t time = 0;  // swtype 2: time of day after which it may start
  int32_t soundf = 0;
  int32_t sound = 0;  // route sound index
};

// "[Pre_Train]" rows after the first line.
struct TPreTrainRec {
  int32_t Station = 0;
  int32_t Speed = 0;       // km/h on from that station
  int32_t DepartTime = 0;  // time of day until which it waits there
};

// "[Announce]": element 0 holds only the start announcement's sound, the rows start at 1.
struct TAnnounceRec {
  int32_t SoundIndex = 0;
  int32_t Kind = 0;      // 0 after the stop position is passed, 1 before it
  int32_t Station = 0;
  int32_t Distance = 0;  // metres from the station's stop position
};

// A calling voice of "[KankoSound2]".
struct Kanko {
  int32_t name = 0;  // the row's number, counted from 0
  std::string filename;
};

// "[Sound]": a route sound heard at a place.
struct TRouteSoundRec {
  int32_t SoundIndex = 0;
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t RefSpeed = 0;  // km/h
  int32_t Loop = 0;
  int32_t PitchBySpeed = 0;
  int32_t VolumeBySpeed = 0;
  int32_t SlowTrigger = 0;
  int32_t Fade = 0;
};

// "[Sound2]": a sound looped between two stations.
struct TRouteSound2Rec {
  int32_t SoundIndex = 0;
  int32_t FromStation = 0;
  int32_t ToStation = 0;
};

// "[Doppler]": a sound source beside the line.
struct TDopplerRec {
  int32_t SoundIndex = 0;
  int32_t Frame = 0;
  int32_t Range = 0;    // cm
  int32_t NoShift = 0;
  int32_t Station = 0;  // 0, or a station whose departure must have been announced
  int32_t Pos = 0;      // derived
};

struct TTunnelRec {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t Shade = 0;
  int32_t FromPos = 0;  // derived
  int32_t ToPos = 0;    // derived
};

// "[Atten]": running sounds quieter between two frames.
struct TAttenRec {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t Third = 0;  // read and kept; nothing depends on it
  int32_t Volume = 0;  // percent
};

// "[Station]". The fields are in the record's order, not the file's.
struct StationData {
  int32_t trntype = 0;  // 0 stop, 1 pass, 2 stop of the second kind, 3 information entry
  std::string Name;
  int32_t Start = 0;   // frame of the stop position
  int32_t genkai = 0;  // half width of the stop zone, cm
  int32_t arrsound = 0;
  int32_t depsound = 0;
  int32_t bcksound = 0;
  int32_t deptime = 0;
  int32_t position = 0;    // derived
  int32_t position_s = 0;  // derived: position - genkai
  int32_t position_e = 0;  // derived: position + genkai
  int32_t maxspeed = 0;    // km/h from this station on
  int32_t pattern = 0;
  int32_t door = 0;
  int32_t prob = 0;
  int32_t time = 0;
  int32_t person = 0;
  int32_t doorprob = 0;
};

// "[Signal]", fields in file order.
struct TSignalRec {
  int32_t Kind = 0;
  int32_t Pattern = 0;
  int32_t Aspect = 0;
  int32_t SignalType = 0;
  int32_t ShowFrame = 0;
  int32_t Frame = 0;
  int32_t AlarmFrame = 0;
  int32_t CheckFrame = 0;
  int32_t HeldAspect = 0;
  int32_t ClearTime = 0;
  int32_t FixedAspect = 0;
  int32_t Station = 0;
  int32_t SignalX = 0;
  int32_t SignalY = 0;
  int32_t SubLCell = 0;
  int32_t SubLX = 0;
  int32_t SubLY = 0;
  int32_t SubRCell = 0;
  int32_t SubRX = 0;
  int32_t SubRY = 0;
  int32_t SubSX = 0;
  int32_t SubSY = 0;
  int32_t Field23 = 0;  // read and kept; nothing shows it
};

// "[TrafficSignal]": a road traffic light. The six phases are numbered 1 to 6 in the rules that
// use them; phase k is element k - 1 of the arrays.
struct TTrafficSignalRec {
  int32_t Frame = 0;
  int32_t FromFrame = 0;  // field 2
  int32_t ToFrame = 0;    // field 3: end of the light's frame window
  std::array<int32_t, 6> PhasePicture{};
  std::array<int32_t, 6> PhaseDuration{};  // 100 ms ticks
  std::array<int32_t, 6> PhaseFlag{};
  int32_t ApproachFrame = 0;
  int32_t ApproachEndFrame = 0;  // field 23: last frame of the approach indication
  int32_t NormalWord = 0;        // field 24
  int32_t FlaggedWord = 0;       // field 25: indication during a flagged phase
  int32_t NoApproachText = 0;    // field 26
  int32_t Pos = 0;               // derived
  int32_t ApproachPos = 0;       // derived
};

struct TSlopeRec {
  Fixed4 Gradient;  // per mille, positive uphill
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
};

// "[Sign]": a general sign.
struct TSignRec {
  int32_t Pattern = 0;
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t Change = 0;  // below 1000 seconds, from 1000 a time of day, 0 never
};

struct TAnimRec {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t Interval = 0;  // 100 ms steps
  int32_t FirstPattern = 0;
};

// "[SignalKanko]": a calling voice tied to a signal.
struct TSignalKankoRec {
  int32_t Signal = 0;
  int32_t Type = 0;   // 0, 1 or 2
  int32_t Value = 0;  // voice index, or a time of day
  int32_t Flag = 0;
};

// "[StationKanko]": a calling voice tied to a station event.
struct TStationKankoRec {
  int32_t Station = 0;
  int32_t Event = 0;
  int32_t Value = 0;  // voice index, 999, or a time of day
};

struct TSpeedLimitRec {
  int32_t Limit = 0;  // km/h
  int32_t Pattern = 0;
  int32_t CheckKind = 0;
  int32_t Frame = 0;
  int32_t EndFrame = 0;
  int32_t Voice = 0;  // index into LimitKanko, 0 none
  int32_t Pos = 0;    // derived
};

// "[SpeedCheck1]" to "[SpeedCheck3]". The fourth field is a signal index in the first table and
// the end of the check section in the other two.
struct TSpeedCheckRec {
  int32_t Limit = 0;  // km/h
  int32_t Param = 0;  // km/h
  int32_t Frame = 0;
  int32_t Signal = 0;    // "[SpeedCheck1]" only
  int32_t EndFrame = 0;  // "[SpeedCheck2]", "[SpeedCheck3]" only
  int32_t Pos = 0;       // derived
};

// "[SpeedUnit]": the filming train's speed changed linearly over these frames. The only link
// between frames and distance.
struct TSpeedUnitRec {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  long double FromSpeed = 0;  // km/h
  long double ToSpeed = 0;
  int32_t EndPos = 0;  // derived
};

// "[Cross]": a level crossing.
struct TCrossRec {
  int32_t Pattern = 0;
  int32_t Voice = 0;
  int32_t EnterFrame = 0;
  int32_t LeaveFrame = 0;
  int32_t Station = 0;
};

// "[Time]": a window in which the time can be called.
struct TTimeRec {
  int32_t FromFrame = 0;
  int32_t ToFrame = 0;
  int32_t Time = 0;
};

// "[Switch]": points heard as the train runs over them.
struct TSwitchRec {
  int32_t Frame = 0;
  int32_t SoundId = 0;
};

// The first calling voice of "[KankoSound2]": indices below it are those of "[KankoSound1]".
inline constexpr int32_t kFirstKanko2 = 22;

// Counts go by the tables' Count(): StationCount is Stations.Count(), SoundDataCount is
// SoundData.Count(), and so on; KankoCount and AnnounceCount have their own functions below.
struct TRouteTables {
  std::string LineName;
  std::string LineName2;
  int32_t StartPos = 0;
  int32_t FrameRate = 0;
  std::string StafImage;
  std::string StartImage;
  std::string SubImage;
  Fixed4 Friction;
  std::string DataName;
  long double Perspective = 0;  // metres
  int32_t PerspectiveScale = 0;
  int32_t PreTrainStart = 0;
  int32_t PreTrainEnd = 0;
  int32_t OneMan = 0;
  int32_t OneManDoors = 0;
  int32_t TunnelR = 0;
  int32_t MaxSpeedCheck = 0;
  int32_t StartAnnounce = 0;
  int32_t OverrunSound = 0;

  // "[Monitor]" of this vehicle; all 0 and empty when the route has none for it.
  int32_t MonitorX = 0;
  int32_t MonitorY = 0;
  int32_t MonitorW = 0;
  int32_t MonitorH = 0;
  std::string MonitorImage;
  // Pictures listed under "[AnimImageList]".
  int32_t AnimImageCount = 0;

  TRouteTable<int32_t, 10> StafSwitch;  // the first line included
  TRouteTable<int32_t, 100> MovieStops;
  TRouteTable<int32_t, 11> SpeedSignals;
  TRouteTable<std::string, 100> SoundData;  // position = route sound index
  TRouteTable<int32_t, 501> StopSounds;
  TRouteTable<std::string, 1000> OtherKanko;
  TRouteTable<std::string, 1000> LimitKanko;

  std::array<std::string, 40> KankoSound1;  // 0 to 21 from the file
  TRouteTable<Kanko, 500 - kFirstKanko2, kFirstKanko2> KankoSound2;  // indices 22 to 499

  TRouteTable<MovieSwitchData, 100> MovieSwitches;
  TRouteTable<TPreTrainRec, 999> PreTrains;
  TRouteTable<TAnnounceRec, 98, 1> Announces;  // 99 elements with element 0
  TRouteTable<TRouteSoundRec, 501> RouteSounds;
  TRouteTable<TRouteSound2Rec, 501> RouteSounds2;
  TRouteTable<TDopplerRec, 501> Dopplers;
  TRouteTable<TTunnelRec, 501> Tunnels;
  TRouteTable<TAttenRec, 501> Attens;
  TRouteTable<StationData, 501> Stations;
  TRouteTable<TSignalRec, 501> Signals;
  TRouteTable<TTrafficSignalRec, 501> TrafficSignals;
  TRouteTable<TSlopeRec, 501> Slopes;
  TRouteTable<TSignRec, 501> Signs;
  TRouteTable<TAnimRec, 501> Anims;
  TRouteTable<TSignalKankoRec, 501> SignalKankos;
  TRouteTable<TStationKankoRec, 501> StationKankos;
  TRouteTable<TSpeedLimitRec, 501> SpeedLimits;
  TRouteTable<TSpeedCheckRec, 501> SpeedChecks1;
  TRouteTable<TSpeedCheckRec, 501> SpeedChecks2;
  TRouteTable<TSpeedCheckRec, 501> SpeedChecks3;
  TRouteTable<TSpeedUnitRec, 30000> SpeedUnits;
  TRouteTable<TCrossRec, 1000> Crosses;
  TRouteTable<TTimeRec, 100> TimeChecks;
  TRouteTable<TSwitchRec, 496> Switches;

  // One past the last calling voice: 22 plus the "[KankoSound2]" rows.
  int32_t KankoCount() const { return kFirstKanko2 + KankoSound2.Count(); }
  // The "[Announce]" rows, elements 1 to AnnounceCount().
  int32_t AnnounceCount() const { return Announces.Count(); }
};

}  // namespace kavrin

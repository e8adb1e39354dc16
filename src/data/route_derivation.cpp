#include "data/route_derivation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/load_error.h"
#include "core/rounding.h"
#include "data/route_file.h"

namespace kavrin {

namespace {

// Distances are 32-bit centimetres. A filming speed large enough to leave that range (or the
// 64-bit one on the way) is a broken file, not a reason to wrap around or to feed Round a value
// it cannot convert.
int64_t RoundClamped(long double x) {
  if (std::isnan(x)) return 0;
  return Round(std::clamp(x, -1e15L, 1e15L));
}

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Distance of frame F from the start of the line, inside segment u that starts at C cm.
int32_t PositionIn(const TSpeedUnitRec& u, int64_t C, int32_t F) {
  const long double A = u.FromFrame, B = u.ToFrame;
  const long double SA = u.FromSpeed, SB = u.ToSpeed;
  // A segment of one frame has no slope; its only frame is at its start.
  const long double slope = B == A ? 0.0L : (SB - SA) / (B - A);
  const long double SF = SA + slope * (F - A);
  const long double d = (SF + SA) / 7.2L * ((F - A) / 30.0L) * 100.0L;
  return Clamp32(C + RoundClamped(d));
}

// Where each segment starts (cm); EndPos of a segment is where the next one starts.
std::vector<int64_t> SegmentStarts(TRouteTables& route) {
  std::vector<int64_t> starts;
  starts.reserve(static_cast<size_t>(route.SpeedUnits.Count()));
  int64_t C = 0;
  for (TSpeedUnitRec& u : route.SpeedUnits) {
    starts.push_back(C);
    const long double L = (u.FromSpeed + u.ToSpeed) * (static_cast<long double>(u.ToFrame) - u.FromFrame) / 2.16L;
    u.EndPos = Clamp32(C + RoundClamped(L));
    C = u.EndPos;
  }
  return starts;
}

// One table's frames against every segment. The result is what a loop over the segments with
// an inner loop over the rows gives, found by binary search in the rows sorted by frame instead
// of by testing every row in every segment.
class FramePass {
 public:
  FramePass(const TRouteTables& route, const std::vector<int64_t>& starts) : route_(route), starts_(starts) {}

  // `hit(row, position)` for every row whose frame lies in a segment, segment by segment and,
  // inside a segment, in row order.
  template <typename Hit>
  void Run(const std::vector<int32_t>& frames, Hit&& hit) {
    order_.resize(frames.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::sort(order_.begin(), order_.end(), [&frames](int32_t a, int32_t b) {
      return frames[static_cast<size_t>(a)] != frames[static_cast<size_t>(b)]
                 ? frames[static_cast<size_t>(a)] < frames[static_cast<size_t>(b)]
                 : a < b;
    });
    sorted_.resize(frames.size());
    for (size_t k = 0; k < order_.size(); ++k) sorted_[k] = frames[static_cast<size_t>(order_[k])];

    const auto units = route_.SpeedUnits.Rows();
    for (size_t i = 0; i < units.size(); ++i) {
      const TSpeedUnitRec& u = units[i];
      if (u.FromFrame > u.ToFrame) continue;
      const auto lo = std::lower_bound(sorted_.begin(), sorted_.end(), u.FromFrame);
      const auto hi = std::upper_bound(lo, sorted_.end(), u.ToFrame);
      if (lo == hi) continue;
      rows_.assign(order_.begin() + (lo - sorted_.begin()), order_.begin() + (hi - sorted_.begin()));
      std::sort(rows_.begin(), rows_.end());
      for (int32_t j : rows_) hit(j, PositionIn(u, starts_[i], frames[static_cast<size_t>(j)]));
    }
  }

 private:
  const TRouteTables& route_;
  const std::vector<int64_t>& starts_;
  std::vector<int32_t> order_, sorted_, rows_;
};

template <typename Table, typename Field>
std::vector<int32_t> FramesOf(const Table& table, Field field) {
  std::vector<int32_t> frames;
  frames.reserve(static_cast<size_t>(table.Count()));
  for (const auto& row : table) frames.push_back(row.*field);
  return frames;
}

class CheckPointSink {
 public:
  explicit CheckPointSink(std::vector<TCheckPointRec>& points) : points_(points) {}
  // `key` and `frame` name the place in the refusal.
  void Add(const TCheckPointRec& p, const char* key, int32_t frame) {
    if (static_cast<int32_t>(points_.size()) >= kCheckPointCapacity) {
      throw LoadError(std::string(kRouteFileError) + key + ":" + std::to_string(frame));
    }
    points_.push_back(p);
  }

 private:
  std::vector<TCheckPointRec>& points_;
};

}  // namespace

std::vector<TMoveMenuItem> BuildMoveMenu(const TRouteTables& route, int32_t StartStation, int32_t StationMenuEnd) {
  std::vector<TMoveMenuItem> items;
  for (int32_t k = 0; k < route.Stations.Count() - 1; ++k) {
    const StationData& s = route.Stations[k];
    if ((s.trntype == 0 || s.trntype == 2) && StartStation <= k && k < StationMenuEnd) {
      items.insert(items.begin(), TMoveMenuItem{s.Name, "Sta" + std::to_string(k)});
    }
  }
  return items;
}

int32_t StartFrame(const TRouteTables& route, int32_t StartStation) {
  if (const StationData* s = StartStation >= 1 ? route.Stations.Find(StartStation) : nullptr) return s->Start;
  return route.StartPos;
}

int32_t StartClock(const TRouteTables& route, int32_t StartStation, std::span<const int32_t> SoundSeconds) {
  auto seconds = [&SoundSeconds](int32_t k) -> int64_t {
    return k >= 0 && static_cast<size_t>(k) < SoundSeconds.size() ? SoundSeconds[static_cast<size_t>(k)] : 0;
  };
  // Element 0 exists in a route without stations too (an empty row).
  const int32_t s = StartStation < 1 ? 0 : StartStation;
  const StationData* st = route.Stations.Find(s);
  if (!st) st = &route.Stations[0];
  int64_t t = static_cast<int64_t>(st->deptime) - 30 * seconds(st->depsound);
  if (StartStation >= 1) t -= 30 * seconds(st->arrsound);
  return Clamp32(t);
}

void ConvertFrames(TRouteTables& r, std::vector<TCheckPointRec>& points) {
  const std::vector<int64_t> starts = SegmentStarts(r);
  FramePass pass(r, starts);
  CheckPointSink sink(points);

  pass.Run(FramesOf(r.Signals, &TSignalRec::Frame), [&](int32_t j, int32_t pos) {
    sink.Add({pos, 10, j, 0, 2}, "[Signal]", r.Signals[j].Frame);
  });
  pass.Run(FramesOf(r.SpeedLimits, &TSpeedLimitRec::Frame), [&](int32_t j, int32_t pos) {
    TSpeedLimitRec& l = r.SpeedLimits[j];
    l.Pos = pos;
    sink.Add({pos, l.Limit, 0, 0, l.CheckKind}, "[SpeedLimit]", l.Frame);
  });
  for (auto* checks : {&r.SpeedChecks1, &r.SpeedChecks2, &r.SpeedChecks3}) {
    pass.Run(FramesOf(*checks, &TSpeedCheckRec::Frame), [&](int32_t j, int32_t pos) { (*checks)[j].Pos = pos; });
  }
  pass.Run(FramesOf(r.Stations, &StationData::Start), [&](int32_t j, int32_t pos) {
    StationData& s = r.Stations[j];
    s.position = pos;
    s.position_s = Clamp32(static_cast<int64_t>(pos) - s.genkai);
    s.position_e = Clamp32(static_cast<int64_t>(pos) + s.genkai);
    // The protection checks the stop 20 m beyond the stop position.
    if (s.trntype == 0 && s.pattern == 1) {
      sink.Add({Clamp32(static_cast<int64_t>(pos) + 2000), 10, 0, j, 3}, "[Station]", s.Start);
    }
  });
  pass.Run(FramesOf(r.TrafficSignals, &TTrafficSignalRec::Frame),
           [&](int32_t j, int32_t pos) { r.TrafficSignals[j].Pos = pos; });
  pass.Run(FramesOf(r.TrafficSignals, &TTrafficSignalRec::ApproachFrame),
           [&](int32_t j, int32_t pos) { r.TrafficSignals[j].ApproachPos = pos; });
  pass.Run(FramesOf(r.Dopplers, &TDopplerRec::Frame), [&](int32_t j, int32_t pos) { r.Dopplers[j].Pos = pos; });
  pass.Run(FramesOf(r.Tunnels, &TTunnelRec::FromFrame), [&](int32_t j, int32_t pos) { r.Tunnels[j].FromPos = pos; });
  pass.Run(FramesOf(r.Tunnels, &TTunnelRec::ToFrame), [&](int32_t j, int32_t pos) { r.Tunnels[j].ToPos = pos; });
}

TCheckPoints BuildCheckPoints(std::vector<TCheckPointRec> points) {
  // Equal places keep the order they arose in, as a bubble sort that swaps only on a strictly
  // smaller Pos leaves them.
  std::stable_sort(points.begin(), points.end(),
                   [](const TCheckPointRec& a, const TCheckPointRec& b) { return a.Pos < b.Pos; });
  TCheckPoints table;
  for (const TCheckPointRec& p : points) {
    if (table.Full()) break;  // ConvertFrames refuses more
    table.Add() = p;
  }
  return table;
}

}  // namespace kavrin

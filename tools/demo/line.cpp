#include "demo/line.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace kavrin::demo {

namespace {

// ---- The world, in chainage (metres from the north end, the down direction going south). ----

struct StationSite {
  const char* Name;
  const char* Kana;
  const char* Roman;
  double PlatformFrom, PlatformTo;
  bool Passed;
};

// Platforms 140 m long, for trains of up to six cars. Each direction stops 10 m short of the
// far end of its own platform.
const StationSite kStations[] = {
    {"北浜", "きたはま", "Kitahama", 0, 140, false},
    {"桜台", "さくらだい", "Sakuradai", 1200, 1340, false},
    {"川辺", "かわべ", "Kawabe", 2350, 2490, true},
    {"南港", "なんこう", "Nankou", 3980, 4120, false},
};
constexpr double kStopFromEnd = 10;

struct ZoneSite {
  double From, To;
  int Speed;
};
const ZoneSite kZones[] = {{1750, 2050, 45}, {3300, 3550, 65}};

struct SlopeSite {
  double From, To, Permille;  // uphill for the down direction when positive
};
const SlopeSite kSlopes[] = {
    {300, 700, 5}, {1450, 1700, -8}, {2550, 2800, 12}, {2800, 3150, 3}, {3150, 3600, -10},
};

struct CurveSite {
  double From, To, Radius;  // positive turns right for the down direction
};
const CurveSite kCurves[] = {{1750, 2050, -400}, {2600, 2780, 800}, {3300, 3550, 600}};
constexpr double kTransition = 40;  // the curvature grows over this length at each end

constexpr double kTunnelFrom = 2800, kTunnelTo = 3150;
constexpr double kCrossing = 1550;
constexpr double kLineEnd = 4150;

struct SignalSite {
  Dir Direction;
  double Chainage;
  const char* Role;
  int Type;
  int Station;  // world station of a starting or home signal, -1 for the others
  int Number;   // block signals
};
// Starting signals (type 2: red, yellow, green) stand 40 m past the stop, home signals (type 4,
// with yellow-green) about 200 m before the platform, block signals (type 5, with the double
// yellow) between stations; the repeater (type 0) stands where a curve hides the home signal.
const SignalSite kSignals[] = {
    {Dir::Down, 170, "出発", 2, 0, 0},   {Dir::Down, 650, "閉塞", 5, -1, 1}, {Dir::Down, 1100, "場内", 4, 1, 0},
    {Dir::Down, 1370, "出発", 2, 1, 0},  {Dir::Down, 1900, "閉塞", 4, -1, 2}, {Dir::Down, 2250, "場内", 4, 2, 0},
    {Dir::Down, 2530, "出発", 2, 2, 0},  {Dir::Down, 3250, "中継", 0, -1, 0}, {Dir::Down, 3700, "場内", 4, 3, 0},
    {Dir::Up, 3950, "出発", 2, 3, 0},    {Dir::Up, 3450, "閉塞", 5, -1, 1},   {Dir::Up, 2740, "中継", 0, -1, 0},
    {Dir::Up, 2650, "場内", 4, 2, 0},    {Dir::Up, 2310, "出発", 2, 2, 0},    {Dir::Up, 1900, "閉塞", 4, -1, 2},
    {Dir::Up, 1450, "場内", 4, 1, 0},    {Dir::Up, 1170, "出発", 2, 1, 0},    {Dir::Up, 250, "場内", 4, 0, 0},
};

// Calling voices of the signal names: rows of "[KankoSound2]", in this order.
int NameVoice(const std::string& role) {
  if (role == "出発") return 0;
  if (role == "場内") return 1;
  if (role == "閉塞") return 2;
  return 3;  // 中継
}

constexpr double kMaxSpeed = 80;     // km/h
constexpr double kAccel = 2.5;       // km/h/s
constexpr double kBrake = 3.0;       // km/h/s
constexpr int kDwellFrames = 30;     // the film stands this long at an intermediate stop
constexpr int kTerminalFrames = 45;  // and this long at the end

// ---- From the world to one direction's route. ----

struct Frame {
  Dir Direction;
  double Origin;  // chainage of route metre 0
  double ToRoute(double chainage) const {
    return Direction == Dir::Down ? chainage - Origin : Origin - chainage;
  }
};

double StopChainage(const StationSite& s, Dir d) {
  return d == Dir::Down ? s.PlatformTo - kStopFromEnd : s.PlatformFrom + kStopFromEnd;
}

// World stations in the order the direction meets them.
std::vector<int> StationOrder(Dir d) {
  std::vector<int> order = {0, 1, 2, 3};
  if (d == Dir::Up) std::reverse(order.begin(), order.end());
  return order;
}

// The speed the filming train can reach from `v` before braking to `cap` at `distance` cm.
double Reachable(double v, double cap, long double distanceCm) {
  const double d = static_cast<double>(distanceCm / 100.0L);
  const double v2 = (7.2 * d + v * v / kAccel + cap * cap / kBrake) / (1.0 / kAccel + 1.0 / kBrake);
  return std::sqrt(std::max(v2, 0.0));
}

struct Zone {
  long double FromCm, ToCm;
  int Speed;
};

// One run from a stand to the next stop, keeping to the zones on the way.
void Run(ProfileBuilder& p, long double stopCm, const std::vector<Zone>& zones) {
  for (const Zone& z : zones) {
    if (z.FromCm <= p.Cm() || z.FromCm >= stopCm) continue;
    double v = std::min(kMaxSpeed, Reachable(p.SpeedNow(), z.Speed, z.FromCm - p.Cm()) * 0.96);
    v = std::floor(v);
    if (v > p.SpeedNow()) p.RampTo(v);
    if (p.SpeedNow() > z.Speed) {
      p.HoldUntil(p.BrakePoint(z.FromCm, z.Speed));
      p.RampTo(z.Speed);
    }
    if (p.SpeedNow() <= 0) throw std::logic_error("the zone brings the filming train to a stand");
    p.HoldUntil(z.ToCm);
  }
  double v = std::floor(std::min(kMaxSpeed, Reachable(p.SpeedNow(), 0, stopCm - p.Cm()) * 0.9));
  if (v > p.SpeedNow()) p.RampTo(v);
  p.HoldUntil(p.BrakePoint(stopCm, 0) - 2000);  // 20 m of steady running before the brake
  p.StopAt(stopCm);
}

// A whole number of seconds rounded up to a multiple of five, as timetables are written.
int32_t UpToFive(double seconds) { return static_cast<int32_t>(std::ceil(seconds / 5.0)) * 5; }

class Builder {
 public:
  explicit Builder(Dir d) : dir_(d) {
    const std::vector<int> order = StationOrder(d);
    frame_ = {d, StopChainage(kStations[order.front()], d)};
  }

  Route Build() {
    Route r;
    r.Direction = dir_;
    r.Name = dir_ == Dir::Down ? "下り" : "上り";
    PlanFilm(r);
    PlaceStations(r);
    PlaceSignals(r);
    PlaceLimits(r);
    PlaceSlopes(r);
    PlaceOthers(r);
    PlaceScenery(r);
    BuildGeometry(r);
    return r;
  }

 private:
  Placed At(const Route& r, double chainage) const {
    const long double cm = static_cast<long double>(frame_.ToRoute(chainage)) * 100.0L;
    Placed p;
    p.Frame = r.Film.FrameAt(cm);
    p.Cm = r.Film.Cm(p.Frame);
    return p;
  }
  double M(double chainage) const { return frame_.ToRoute(chainage); }

  void PlanFilm(Route& r) {
    std::vector<Zone> zones;
    for (const ZoneSite& z : kZones) {
      long double a = M(z.From) * 100.0L, b = M(z.To) * 100.0L;
      zones.push_back({std::min(a, b), std::max(a, b), z.Speed});
    }
    std::sort(zones.begin(), zones.end(), [](const Zone& a, const Zone& b) { return a.FromCm < b.FromCm; });
    ProfileBuilder p(kAccel, kBrake);
    const std::vector<int> order = StationOrder(dir_);
    for (size_t k = 1; k < order.size(); ++k) {
      const StationSite& s = kStations[order[k]];
      if (s.Passed) continue;
      Run(p, M(StopChainage(s, dir_)) * 100.0L, zones);
      stopFrames_[order[k]] = p.Frame();
      p.Stand(k + 1 == order.size() ? kTerminalFrames : kDwellFrames);
    }
    r.Film = p.Finish();
  }

  void PlaceStations(Route& r) {
    const std::vector<int> order = StationOrder(dir_);
    // The timetable gives the film's running time from the last stop and ten seconds to spare,
    // in fives of seconds, and half a minute at each intermediate stop.
    int32_t depClock = dir_ == Dir::Down ? Clock(10, 0, 0) : Clock(10, 12, 0);
    int32_t depFrame = 0;
    for (size_t k = 0; k < order.size(); ++k) {
      const StationSite& s = kStations[order[k]];
      RouteStation st;
      st.Name = s.Name;
      st.Kana = s.Kana;
      st.Roman = s.Roman;
      st.TrnType = s.Passed ? 1 : 0;
      st.PlatformFrom = std::min(M(s.PlatformFrom), M(s.PlatformTo));
      st.PlatformTo = std::max(M(s.PlatformFrom), M(s.PlatformTo));
      // A stop is where the filming train came to a stand, to the frame.
      if (s.Passed) {
        st.Stop = At(r, (s.PlatformFrom + s.PlatformTo) / 2);
      } else {
        st.Stop.Frame = k == 0 ? 0 : stopFrames_.at(order[k]);
        st.Stop.Cm = r.Film.Cm(st.Stop.Frame);
      }
      st.MaxSpeed = static_cast<int>(kMaxSpeed);
      const double run = (st.Stop.Frame - depFrame) / static_cast<double>(kFilmFps);
      st.ArrTime = k == 0 ? depClock : depClock + UpToFive(run + 10) * 30;
      st.DepTime = st.ArrTime;
      if (st.TrnType == 0) {
        if (k > 0 && k + 1 < order.size()) st.DepTime = st.ArrTime + 30 * 30;
        depClock = st.DepTime;
        depFrame = st.Stop.Frame + (k == 0 ? 0 : kDwellFrames);
      }
      r.Stations.push_back(st);
    }
  }

  void PlaceSignals(Route& r) {
    const std::vector<int> order = StationOrder(dir_);
    auto routeIndex = [&](int world) {
      for (size_t k = 0; k < order.size(); ++k) {
        if (order[k] == world) return static_cast<int>(k);
      }
      return 0;
    };
    for (const SignalSite& s : kSignals) {
      if (s.Direction != dir_) continue;
      RouteSignal sg;
      sg.Role = s.Role;
      sg.Type = s.Type;
      sg.Number = s.Number;
      sg.NameVoice = NameVoice(s.Role);
      sg.At = At(r, s.Chainage);
      if (s.Station >= 0) {
        const int k = routeIndex(s.Station);
        sg.Plate = r.Stations[static_cast<size_t>(k)].Name + " " + s.Role;
        // A starting signal clears when the train's departure is announced at its station.
        if (sg.Role == "出発") {
          sg.Kind = 3;
          sg.Station = k;
        }
      } else if (s.Number > 0) {
        sg.Plate = "第" + std::to_string(s.Number) + "閉塞";
      } else {
        sg.Plate = "中継";
      }
      r.Signals.push_back(sg);
    }
    std::sort(r.Signals.begin(), r.Signals.end(),
              [](const RouteSignal& a, const RouteSignal& b) { return a.At.Frame < b.At.Frame; });
    for (size_t i = 0; i < r.Signals.size(); ++i) {
      RouteSignal& sg = r.Signals[i];
      sg.PlateCell = static_cast<int>(i) + 1;
      // In view from 400 m out, but never before the previous signal has been passed, nor
      // before the tunnel or a curve lets the driver see it.
      const double m = sg.At.M();
      double from = m - 400;
      if (i > 0) from = std::max(from, r.Signals[i - 1].At.M() + 20);
      from = std::max(from, 0.0);
      sg.ShowFrame = r.Film.FrameAt(static_cast<long double>(from) * 100.0L);
      sg.AlarmFrame = r.Film.FrameAt(static_cast<long double>(std::max(from, m - 600)) * 100.0L);
      sg.CheckFrame = r.Film.FrameAt(static_cast<long double>(m - 20) * 100.0L);
    }
    // Where the view of a signal starts inside the tunnel or behind a curve, start it later.
    for (RouteSignal& sg : r.Signals) {
      for (const auto& t : {std::pair{kTunnelFrom, kTunnelTo}}) {
        const double a = std::min(M(t.first), M(t.second)), b = std::max(M(t.first), M(t.second));
        if (sg.At.M() > b && r.Film.Cm(sg.ShowFrame) / 100.0L < b) {
          sg.ShowFrame = r.Film.FrameAt(static_cast<long double>(b + 10) * 100.0L);
          sg.AlarmFrame = std::max(sg.AlarmFrame, sg.ShowFrame);
        }
        (void)a;
      }
    }
  }

  void PlaceLimits(Route& r) {
    // The cells follow the zones of the world, so both directions share one board picture and
    // one list of limit voices.
    int cell = 1;
    for (const ZoneSite& z : kZones) {
      RouteLimit l;
      l.Speed = z.Speed;
      const double a = dir_ == Dir::Down ? z.From : z.To, b = dir_ == Dir::Down ? z.To : z.From;
      l.From = At(r, a);
      l.To = At(r, b);
      l.Board = cell++;
      l.Release = cell++;
      r.Limits.push_back(l);
    }
    std::sort(r.Limits.begin(), r.Limits.end(),
              [](const RouteLimit& a, const RouteLimit& b) { return a.From.Frame < b.From.Frame; });
  }

  void PlaceSlopes(Route& r) {
    for (const SlopeSite& s : kSlopes) {
      RouteSlope sl;
      sl.Permille = dir_ == Dir::Down ? s.Permille : -s.Permille;
      const double a = dir_ == Dir::Down ? s.From : s.To, b = dir_ == Dir::Down ? s.To : s.From;
      sl.From = At(r, a);
      sl.To = At(r, b);
      r.Slopes.push_back(sl);
    }
    std::sort(r.Slopes.begin(), r.Slopes.end(),
              [](const RouteSlope& a, const RouteSlope& b) { return a.From.Frame < b.From.Frame; });
  }

  void PlaceOthers(Route& r) {
    RouteTunnel t;
    t.From = At(r, dir_ == Dir::Down ? kTunnelFrom : kTunnelTo);
    t.To = At(r, dir_ == Dir::Down ? kTunnelTo : kTunnelFrom);
    r.Tunnels.push_back(t);

    RouteCrossing c;
    c.Road = "桜台第1踏切";
    c.At = At(r, kCrossing);
    c.EnterFrame = r.Film.FrameAt(static_cast<long double>(c.At.M() - 300) * 100.0L);
    // Going down the crossing lies just past 桜台: it starts ringing when the departure is
    // announced there, and until then the cab shows that it is not yet working.
    c.Station = dir_ == Dir::Down ? 1 : 0;
    r.Crossings.push_back(c);

    // A whistle board before the tunnel, and a board that announces the terminal.
    RouteSign whistle;
    whistle.Cell = 1;
    whistle.Text = "汽笛";
    whistle.At = At(r, dir_ == Dir::Down ? kTunnelFrom - 200 : kTunnelTo + 200);
    whistle.FromFrame = r.Film.FrameAt(static_cast<long double>(whistle.At.M() - 150) * 100.0L);
    r.Signs.push_back(whistle);
    RouteSign approach;
    approach.Cell = 2;
    approach.Text = "停車場接近";
    approach.At = At(r, dir_ == Dir::Down ? kStations[3].PlatformFrom - 400 : kStations[0].PlatformTo + 400);
    approach.FromFrame = r.Film.FrameAt(static_cast<long double>(approach.At.M() - 150) * 100.0L);
    r.Signs.push_back(approach);

    // The time may be called while passing 川辺.
    const RouteStation& pass =
        *std::find_if(r.Stations.begin(), r.Stations.end(), [](const RouteStation& s) { return s.TrnType == 1; });
    RouteTimeCheck tc;
    tc.FromFrame = r.Film.FrameAt(static_cast<long double>(pass.PlatformFrom - 100) * 100.0L);
    tc.ToFrame = r.Film.FrameAt(static_cast<long double>(pass.PlatformTo + 100) * 100.0L);
    tc.Time = pass.ArrTime;
    r.TimeChecks.push_back(tc);

    // At 桜台 the film shows the platform while the train stands: people getting on.
    for (size_t k = 0; k < r.Stations.size(); ++k) {
      if (std::string(r.Stations[k].Roman) == "Sakuradai") {
        r.Inserts.push_back({static_cast<int>(k), 240, r.Stations[k].ArrTime});
      }
    }

    // The preceding train, a local that stops everywhere, waits at the second station and
    // leaves shortly before we start.
    r.PreStart = r.Stations[1].Stop.Frame;
    r.PreEnd = r.Film.FrameAt(static_cast<long double>(r.Stations[3].Stop.M() - 200) * 100.0L);
    const int32_t start = r.Stations[0].DepTime;
    r.PreTrain = {{1, 45, start - 10 * 30}, {2, 50, 0}, {3, 0, Clock(23, 0, 0)}};
  }

  void PlaceScenery(Route& r) {
    // Masts every 50 m, carried on through the stations, not in the tunnel.
    for (double c = -150; c <= kLineEnd + 150; c += 50) {
      if (c > kTunnelFrom - 5 && c < kTunnelTo + 5) continue;
      r.Poles.push_back(M(c));
    }
    std::sort(r.Poles.begin(), r.Poles.end());
    for (double c = 0; c <= kLineEnd; c += 500) {
      KmPost k;
      k.M = M(c);
      char buf[16];
      std::snprintf(buf, sizeof buf, "%.1f", c / 1000.0);
      k.Text = buf;
      r.KmPosts.push_back(k);
    }
    // Houses and trees from a fixed little generator, the same every run and both directions.
    uint32_t seed = 20240611;
    auto next = [&seed]() {
      seed = seed * 1664525u + 1013904223u;
      return (seed >> 8) / static_cast<double>(1 << 24);
    };
    for (double c = -100; c < kLineEnd + 200; c += 18) {
      for (int side = -1; side <= 1; side += 2) {
        const double roll = next();
        const double along = c + next() * 12;
        const double lateral = side * (11 + next() * 35);
        const bool hill = along > kTunnelFrom - 150 && along < kTunnelTo + 150;
        if (hill || roll < 0.35) continue;
        bool onRoad = std::fabs(along - kCrossing) < 10;
        if (onRoad) continue;
        Building b;
        b.Tree = roll < 0.6;
        b.Width = b.Tree ? 3 + next() * 3 : 6 + next() * 8;
        b.Depth = b.Tree ? b.Width : 6 + next() * 6;
        b.Height = b.Tree ? 5 + next() * 6 : 4 + next() * (next() < 0.2 ? 14 : 5);
        static const uint32_t kWalls[] = {0xd8cfc0, 0xc9b9a3, 0xe6e2d8, 0xb7a58c, 0xa9b4bd, 0xd3c4b0};
        static const uint32_t kTrees[] = {0x4f7a3a, 0x3f6b33, 0x5a8442, 0x46703d};
        b.Colour = b.Tree ? kTrees[static_cast<int>(next() * 4) % 4] : kWalls[static_cast<int>(next() * 6) % 6];
        b.M = M(along);
        b.Lateral = dir_ == Dir::Down ? lateral : -lateral;
        r.Buildings.push_back(b);
      }
    }
    std::sort(r.Buildings.begin(), r.Buildings.end(), [](const Building& a, const Building& b) { return a.M < b.M; });
  }

  void BuildGeometry(Route& r) {
    // The plan of the line, walked along the chainage from its north end southwards, then read
    // out in route metres. Facing north the heading is pi/2; a right-hand curve lowers it.
    const int c0 = -500;
    const int n = static_cast<int>(kLineEnd) + 1000;
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n)), th(static_cast<size_t>(n)),
        height(static_cast<size_t>(n));
    auto curvature = [](double c) {
      for (const CurveSite& cv : kCurves) {
        if (c <= cv.From || c >= cv.To) continue;
        const double ramp = std::min({1.0, (c - cv.From) / kTransition, (cv.To - c) / kTransition});
        return ramp / cv.Radius;
      }
      return 0.0;
    };
    auto grade = [](double c) {
      for (const SlopeSite& s : kSlopes) {
        if (c > s.From && c <= s.To) return s.Permille / 1000.0;
      }
      return 0.0;
    };
    // Going down is going south: the heading starts at -pi/2.
    th[0] = -M_PI / 2;
    for (int i = 1; i < n; ++i) {
      const double c = c0 + i - 0.5;
      const size_t k = static_cast<size_t>(i);
      th[k] = th[k - 1] - curvature(c);
      const double mid = (th[k] + th[k - 1]) / 2;
      x[k] = x[k - 1] + std::cos(mid);
      y[k] = y[k - 1] + std::sin(mid);
      height[k] = height[k - 1] + grade(c);
    }
    auto sample = [&](const std::vector<double>& v, double c) {
      const double t0 = std::clamp(c - c0, 0.0, static_cast<double>(n - 2));
      const int i = static_cast<int>(t0);
      const double t = t0 - i;
      return v[static_cast<size_t>(i)] * (1 - t) + v[static_cast<size_t>(i + 1)] * t;
    };
    const int length = static_cast<int>(r.LengthM()) + 800 - Route::kGeometryStart;
    for (int i = 0; i < length; ++i) {
      const double m = Route::kGeometryStart + i;
      const double c = dir_ == Dir::Down ? frame_.Origin + m : frame_.Origin - m;
      r.PlanX.push_back(sample(x, c));
      r.PlanY.push_back(sample(y, c));
      // Going up the line runs the other way round.
      r.Heading.push_back(sample(th, c) + (dir_ == Dir::Down ? 0.0 : M_PI));
      r.Height.push_back(sample(height, c));
    }
  }

  Dir dir_;
  Frame frame_{};
  std::map<int, int32_t> stopFrames_;  // world station -> frame where the film stands
};

}  // namespace

namespace {

double Sample(const std::vector<double>& v, double m) {
  const double x = std::clamp(m - Route::kGeometryStart, 0.0, static_cast<double>(v.size() - 2));
  const int i = static_cast<int>(x);
  const double t = x - i;
  return v[static_cast<size_t>(i)] * (1 - t) + v[static_cast<size_t>(i + 1)] * t;
}

}  // namespace

Route::PlanPoint Route::At(double m, double lateral) const {
  const double h = HeadingAt(m);
  // The right-hand normal of the heading.
  return {Sample(PlanX, m) + lateral * std::sin(h), Sample(PlanY, m) - lateral * std::cos(h)};
}

double Route::HeadingAt(double m) const { return Sample(Heading, m); }

double Route::HeightAt(double m) const { return Sample(Height, m); }

Route BuildRoute(Dir dir) { return Builder(dir).Build(); }

}  // namespace kavrin::demo

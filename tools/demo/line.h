#pragma once
// The demo line, once for both directions. The world is laid out in chainage (metres from the
// north end); each direction is a route of its own that counts metres from the stop where its
// film begins, with the driver's track on the left as on any double-track line here.
//
// Every object that the route file names by a frame is placed at a whole frame of that route's
// film, and drawn by the renderer exactly where the camera stands at that frame. That is what
// keeps the picture and the tables in step, so nothing here is placed by metres alone if a row
// of the route file refers to it.
#include <cstdint>
#include <string>
#include <vector>

#include "demo/filming.h"

namespace kavrin::demo {

enum class Dir { Down, Up };

// Fixed numbers of the picture that the route file and the renderer share.
inline constexpr int kFilmWidth = 800;
inline constexpr int kFilmHeight = 450;
// The ground at the bottom edge of the picture lies this far ahead of the camera; the position
// of the train is that point, so a stop marker there is where the train stands.
inline constexpr double kPerspective = 8.0;   // metres
inline constexpr int kPerspectiveScale = 270;  // pixels from the bottom edge to the horizon
inline constexpr double kCameraHeight = 2.5;   // metres above the rails
inline constexpr double kTrackOffset = 1.9;    // the driver's track centre left of the line centre

// Time of day in 1/30 s.
inline constexpr int32_t Clock(int h, int m, int s) { return ((h * 60 + m) * 60 + s) * 30; }

struct Placed {
  int32_t Frame = 0;
  long double Cm = 0;  // where the camera's reference point stands at Frame
  double M() const { return static_cast<double>(Cm / 100.0L); }
};

struct RouteStation {
  std::string Name, Kana, Roman;
  int TrnType = 0;  // 0 stop, 1 pass
  Placed Stop;      // the stop position; for a passed station, the middle of the platform
  double PlatformFrom = 0, PlatformTo = 0;  // route metres
  int32_t ArrTime = 0, DepTime = 0;
  int MaxSpeed = 0;
  int ArrSound = 0, DepSound = 0, BckSound = 0;
};

struct RouteSignal {
  std::string Role;   // 出発 場内 閉塞 中継
  std::string Plate;  // the name on the plate beside it
  int Kind = 0, Type = 0, HeldAspect = 0, Station = 0;
  int NameVoice = 0;  // the calling voice of its name: a "[KankoSound2]" row
  int PlateCell = 0;  // cell of the name plate picture
  int Number = 0;     // block signals are numbered; 0 for the others
  Placed At;
  int32_t ShowFrame = 0, AlarmFrame = 0, CheckFrame = 0;
};

struct RouteLimit {
  int Speed = 0;
  int Board = 0;    // cell of the limit board, and its calling voice
  int Release = 0;  // cell of the release board, and its voice
  Placed From, To;
};

struct RouteSlope {
  double Permille = 0;  // positive uphill in the direction of travel
  Placed From, To;
};

struct RouteTunnel {
  Placed From, To;
};

struct RouteCrossing {
  std::string Road;
  Placed At;
  int32_t EnterFrame = 0;
  int Station = 0;  // 0, or the station whose departure sets the crossing working
};

struct RouteSign {
  int Cell = 0;  // cell of the sign picture, and its calling voice
  std::string Text;
  Placed At;     // where the board stands
  int32_t FromFrame = 0;
};

// A film shown while the train stands at a station, in place of the still picture of the stop.
struct RouteInsert {
  int Station = 0;  // index in the route's stations
  int32_t Frames = 0;
  int32_t After = 0;  // time of day after which it may start
};

struct RouteTimeCheck {
  int32_t FromFrame = 0, ToFrame = 0;
  int32_t Time = 0;
};

// Scenery that no table names.
struct Building {
  double M = 0, Lateral = 0;  // centre of the front face; lateral to the right of the line centre
  double Width = 0, Depth = 0, Height = 0;
  uint32_t Colour = 0;  // 0xRRGGBB
  bool Tree = false;
};

struct KmPost {
  double M = 0;
  std::string Text;
};

struct Route {
  Dir Direction = Dir::Down;
  std::string Name;    // 下り, 上り
  Schedule Film;
  std::vector<RouteStation> Stations;
  std::vector<RouteSignal> Signals;
  std::vector<RouteLimit> Limits;
  std::vector<RouteSlope> Slopes;
  std::vector<RouteTunnel> Tunnels;
  std::vector<RouteCrossing> Crossings;
  std::vector<RouteSign> Signs;
  std::vector<RouteTimeCheck> TimeChecks;
  std::vector<RouteInsert> Inserts;
  std::vector<double> Poles;  // route metres
  std::vector<Building> Buildings;
  std::vector<KmPost> KmPosts;
  // Line geometry sampled every metre from kGeometryStart: the line centre on the plan (metres,
  // x east, y north), its heading (radians from east, anticlockwise) and its height.
  static constexpr int kGeometryStart = -200;
  std::vector<double> PlanX, PlanY, Heading, Height;
  // Preceding train: it stands at PreStart and vanishes beyond PreEnd.
  int32_t PreStart = 0, PreEnd = 0;
  struct PreRow { int Station, Speed; int32_t Depart; };
  std::vector<PreRow> PreTrain;

  struct PlanPoint { double x, y; };
  // A place beside the line: `lateral` metres to the right of the line centre at route metre m.
  PlanPoint At(double m, double lateral) const;
  double HeadingAt(double m) const;
  double HeightAt(double m) const;
  double LengthM() const { return Stations.back().Stop.M(); }
};

Route BuildRoute(Dir dir);

// Names of the line for texts and pictures.
inline constexpr const char* kLineName = "しらさぎ線";

}  // namespace kavrin::demo

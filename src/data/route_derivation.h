#pragma once
// What the load works out from the route once every file has been read: the "Move" menu, the
// frame and clock of the start, the distances of every place the tick logic compares with the
// train's position, and the sorted check points of the train protection.
//
// The film knows places only as frames; the filming-speed table is the only link between frames
// and distance, so every distance here comes from it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/route_tables.h"

namespace kavrin {

struct TCheckPointRec {
  int32_t Pos = 0;    // cm
  int32_t Value = 0;  // the limit of a speed-limit point, 10 for the others
  int32_t SignalIndex = 0;   // kind 2 only
  int32_t StationIndex = 0;  // kind 3 only
  int32_t Kind = 0;  // 2 signal, 3 station stop check, otherwise the CheckKind of a speed limit
  friend bool operator==(const TCheckPointRec&, const TCheckPointRec&) = default;
};

inline constexpr int32_t kCheckPointCapacity = 501;
using TCheckPoints = TRouteTable<TCheckPointRec, kCheckPointCapacity>;

struct TMoveMenuItem {
  std::string Caption;  // the station's name
  std::string Name;     // "Sta" + station index: the station jump finds its station by it
  friend bool operator==(const TMoveMenuItem&, const TMoveMenuItem&) = default;
};

// The stations the driver may jump to, in menu order: every item is put in front of the ones
// before it, so the last station offered comes first. The last station never gets an item;
// only stops (trntype 0 and 2) from StartStation up to, not including, StationMenuEnd do.
std::vector<TMoveMenuItem> BuildMoveMenu(const TRouteTables& route, int32_t StartStation, int32_t StationMenuEnd);

// The film frame a run starts at: the head of the line, or the start station's stop.
int32_t StartFrame(const TRouteTables& route, int32_t StartStation);

// The time of day a run starts at, early enough for the arrival sound (when starting at a later
// station) and the departure melody to end by the departure time. `SoundSeconds` holds the
// length of each route sound; an index outside it counts 0 seconds.
int32_t StartClock(const TRouteTables& route, int32_t StartStation, std::span<const int32_t> SoundSeconds);

// Turns the frames of the signals, limits, speed checks, stations, traffic lights, Doppler
// sources and tunnels into centimetres, and the filming-speed segments' EndPos. A place in no
// segment keeps 0 and gives no check point; one on the boundary of two segments is found in
// both, and its check point comes twice. The check points are appended to `points` in the order
// they arise (table by table, then segment by segment, then row by row). Throws LoadError with
// the route file's message when they would exceed kCheckPointCapacity.
void ConvertFrames(TRouteTables& route, std::vector<TCheckPointRec>& points);

// The check points in increasing Pos; rows of equal Pos keep their order.
TCheckPoints BuildCheckPoints(std::vector<TCheckPointRec> points);

}  // namespace kavrin

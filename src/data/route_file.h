#pragma once
// The route file: one run over one line (film, stations and timetable, signals, limits, sounds,
// calling voices and the frame-to-distance table) read into TRouteTables.
#include <cstdint>
#include <string>

#include "data/data_file.h"
#include "data/route_tables.h"

namespace kavrin {

// Followed directly by the error label and ":" and the line read last.
inline constexpr const char* kRouteFileError = "路線ファイルに誤りがあります。";
// The error label outside any list.
inline constexpr const char* kRouteOtherLabel = "その他";

// Takes the picture lines of the route as the reader meets them, so that pictures are made in
// file order and a bad picture stops the load at its own line. A picture that fails throws
// LoadError with its own message, or ValueError for the route file's message (with the label
// and line in force at that moment).
class RouteImageReader {
 public:
  virtual ~RouteImageReader() = default;
  // "[SignImageList]" line 1 to 9, each line as written; read as often as the key occurs.
  virtual void SignImage(int line, const std::string& text) = 0;
  // "[SignalImageList]" line 1 to 4.
  virtual void SignalImage(int line, const std::string& text) = 0;
  // "[Monitor]" of this vehicle: MonitorX, MonitorY, MonitorW, MonitorH and the picture line.
  virtual void Monitor(int32_t x, int32_t y, int32_t w, int32_t h, const std::string& file) = 0;
  // One line of "[AnimImageList]" or "[TrafficSignalImageList]".
  virtual void AnimImage(const std::string& file) = 0;
  virtual void TrafficSignalImage(const std::string& file) = 0;
};

struct TRouteFileContext {
  // "[Monitor]" blocks naming another vehicle file are not this train's.
  std::string VehicleFileName;
  // Nothing is made of the picture lines without it; they are still read past.
  RouteImageReader* Images = nullptr;
  // Shown when the file cannot be read at all: the group title and the line the vehicle
  // reader left behind (TVehicleFile::LeftLabel, LeftLine).
  std::string PreviousLabel;
  std::string PreviousLine;
};

// Throws LoadError with kRouteFileError + label + ":" + line, placed at that line.
TRouteTables ReadRouteFile(DataFile& file, const TRouteFileContext& context);
TRouteTables LoadRouteFile(const std::string& path, const TRouteFileContext& context);

}  // namespace kavrin

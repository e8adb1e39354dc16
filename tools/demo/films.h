#pragma once
#include <cstdint>
#include <string>

#include "demo/line.h"

namespace kavrin::demo {

struct FilmCoding {
  int KeyInterval = 15;  // frames between keyframes: the cost of decoding any frame at random
  int Quality = 5;       // quantiser
  int FrameLimit = 0;    // for trials: only the first frames
};

struct FilmStats {
  int64_t Frames = 0;
  double RenderSeconds = 0, EncodeSeconds = 0;
};

struct SceneBoards;

// Renders the route's film and writes it as an AVI. The boards are made beforehand, on the
// thread that owns the fonts; this may then run on any thread. Throws std::runtime_error.
FilmStats WriteRouteFilm(const Route& route, const SceneBoards& boards, const std::string& path, const FilmCoding& coding);

// The film shown while standing at a station: the view from the stop with people boarding.
FilmStats WriteInsertFilm(const Route& route, const SceneBoards& boards, const RouteInsert& insert, const std::string& path);

// One frame as a picture, for looking at the film without a player.
void WriteStill(const Route& route, int32_t frame, const std::string& path);

}  // namespace kavrin::demo

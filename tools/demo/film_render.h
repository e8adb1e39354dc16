#pragma once
// The cab film of a route: a small perspective renderer of our own. The camera runs along the
// route exactly as the route's filming table says, and every object stands where the route file
// places it, so what the driver sees at a frame is what the tables say is there.
#include <QImage>

#include <map>
#include <string>
#include <vector>

#include "demo/line.h"

namespace kavrin::demo {

// Pictures that stand in the scene, drawn once beforehand (text is expensive per frame).
struct SceneBoards {
  std::vector<QImage> NameBoards;   // per station of the route
  QImage StopBoard;
  std::map<int, QImage> LimitBoards;  // by board cell
  std::vector<QImage> GradientBoards;  // per slope row: the gradient ahead
  QImage LevelBoard;
  std::map<int, QImage> SignBoards;  // by sign cell
  std::vector<QImage> KmBoards;      // per km post
  QImage Hills;                      // the distant skyline, wrapped round
};

SceneBoards MakeSceneBoards(const Route& route);

class FilmRenderer {
 public:
  FilmRenderer(const Route& route, const SceneBoards& boards);
  ~FilmRenderer();
  FilmRenderer(const FilmRenderer&) = delete;
  FilmRenderer& operator=(const FilmRenderer&) = delete;

  // A person on a platform: route metre, lateral place, and how far through a stride.
  struct Figure {
    double U = 0, Lateral = 0;
    double Stride = 0;  // 0..1
    uint32_t Coat = 0;  // 0xRRGGBB
  };

  // Draws frame `frame` into `out` (kFilmWidth x kFilmHeight, Format_RGBA8888), with people on
  // the platforms when given.
  void Render(int32_t frame, QImage& out, const std::vector<Figure>& people = {});

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace kavrin::demo

#include "demo/films.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "demo/film_render.h"
#include "demo/pictures.h"
#include "authoring/avi_writer.h"

namespace kavrin::demo {

namespace {

double Since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

FilmStats WriteRouteFilm(const Route& route, const SceneBoards& boards, const std::string& path, const FilmCoding& coding) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FilmRenderer renderer(route, boards);
  AviWriter writer;
  AviWriterOptions o;
  // MPEG-4 part 2 without B-frames: every frame can be reached from the keyframe before it, which
  // is what a film played backwards and forwards at any speed needs.
  o.Codec = FilmCodec::Mpeg4;
  o.Width = kFilmWidth;
  o.Height = kFilmHeight;
  o.FrameRate = kFilmFps;
  o.KeyInterval = coding.KeyInterval;
  o.BFrames = 0;
  o.Quality = coding.Quality;
  if (!writer.Open(path, o)) throw std::runtime_error(path + ": " + writer.Error());
  QImage frame(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  FilmStats stats;
  const int32_t frames = coding.FrameLimit > 0 ? std::min(coding.FrameLimit, route.Film.FrameCount()) : route.Film.FrameCount();
  for (int32_t f = 0; f < frames; ++f) {
    auto t0 = std::chrono::steady_clock::now();
    renderer.Render(f, frame);
    stats.RenderSeconds += Since(t0);
    t0 = std::chrono::steady_clock::now();
    if (!writer.WriteFrame(frame.constBits())) throw std::runtime_error(path + ": " + writer.Error());
    stats.EncodeSeconds += Since(t0);
    ++stats.Frames;
  }
  if (!writer.Close()) throw std::runtime_error(path + ": " + writer.Error());
  return stats;
}

FilmStats WriteInsertFilm(const Route& route, const SceneBoards& boards, const RouteInsert& insert, const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  FilmRenderer renderer(route, boards);
  AviWriter writer;
  AviWriterOptions o;
  o.Codec = FilmCodec::Mpeg4;
  o.Width = kFilmWidth;
  o.Height = kFilmHeight;
  o.FrameRate = kFilmFps;
  o.KeyInterval = FilmCoding{}.KeyInterval;
  o.Quality = FilmCoding{}.Quality;
  if (!writer.Open(path, o)) throw std::runtime_error(path + ": " + writer.Error());
  const RouteStation& st = route.Stations[static_cast<size_t>(insert.Station)];
  const double stop = st.Stop.M();
  // People walk along both platforms at a walking pace, those on our side towards the doors
  // behind the cab, from a fixed little generator.
  struct Walker { double u, lateral, speed, phase; uint32_t coat; };
  std::vector<Walker> walkers;
  uint32_t seed = 7;
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / static_cast<double>(1 << 24);
  };
  static const uint32_t kCoats[] = {0x2b4a7a, 0x7a2b2b, 0x3d3d3d, 0xc8b27a, 0x4a6a3a, 0xe0e0e0, 0x6a3d7a};
  for (int i = 0; i < 9; ++i) {
    const bool ours = i < 6;
    Walker w;
    w.u = stop + (ours ? 4 + next() * 14 : -10 + next() * 40);
    w.lateral = ours ? -(4.6 + next() * 1.8) : 4.6 + next() * 1.8;
    w.speed = ours ? -(1.0 + next() * 0.5) : (next() < 0.5 ? -1 : 1) * (0.8 + next() * 0.6);
    w.phase = next();
    w.coat = kCoats[static_cast<size_t>(next() * 7) % 7];
    walkers.push_back(w);
  }
  QImage frame(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  FilmStats stats;
  for (int32_t f = 0; f < insert.Frames; ++f) {
    const double t = static_cast<double>(f) / kFilmFps;
    std::vector<FilmRenderer::Figure> people;
    for (const Walker& w : walkers) {
      FilmRenderer::Figure fig;
      fig.U = w.u + w.speed * t;
      fig.Lateral = w.lateral;
      fig.Stride = std::fmod(w.phase + t * std::fabs(w.speed) / 1.4, 1.0);
      fig.Coat = w.coat;
      people.push_back(fig);
    }
    renderer.Render(st.Stop.Frame, frame, people);
    if (!writer.WriteFrame(frame.constBits())) throw std::runtime_error(path + ": " + writer.Error());
    ++stats.Frames;
  }
  if (!writer.Close()) throw std::runtime_error(path + ": " + writer.Error());
  return stats;
}

void WriteStill(const Route& route, int32_t frame, const std::string& path) {
  const SceneBoards boards = MakeSceneBoards(route);
  FilmRenderer renderer(route, boards);
  QImage img(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  renderer.Render(frame, img);
  SavePicture(img, path);
}

}  // namespace kavrin::demo

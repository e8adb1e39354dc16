#include "demo/films.h"

#include <QImage>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "demo/film_render.h"
#include "demo/pictures.h"
#include "platform/avi_writer.h"

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

void WriteStill(const Route& route, int32_t frame, const std::string& path) {
  const SceneBoards boards = MakeSceneBoards(route);
  FilmRenderer renderer(route, boards);
  QImage img(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  renderer.Render(frame, img);
  SavePicture(img, path);
}

}  // namespace kavrin::demo

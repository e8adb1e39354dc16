// Decoding cost of the cab view's film at 800 x 600: the next frame (driving forwards), the
// previous one (backing up) and a frame anywhere (a station jump, a restored save), for the
// codecs a film is likely to come in. Each case also reports the slowest single frame, since a
// stall is what the driver sees, and the film's size per minute.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>

#include <ctime>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "authoring/avi_writer.h"
#include "platform/ffmpeg_film_source.h"

namespace kavrin {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrames = 300;  // ten seconds

// A synthetic view ahead: sky, ballast with sleepers running towards the camera, two rails,
// poles passing on both sides, and a little sensor noise as a real camera has.
std::vector<uint8_t> Scene(int n) {
  std::vector<uint8_t> rgba(static_cast<size_t>(kWidth) * kHeight * 4);
  const double horizon = kHeight * 0.4;
  uint32_t noise = 2166136261u ^ (static_cast<uint32_t>(n) * 16777619u);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      int r, g, b;
      if (y < horizon) {
        r = 110 + y / 6;
        g = 150 + y / 5;
        b = 215 - y / 12;
      } else {
        double dy = y - horizon + 1;
        double depth = 4000.0 / dy + n * 0.5;  // metres ahead, the train moves half a metre a frame
        double spread = dy / (kHeight - horizon);
        double dx = (x - kWidth / 2.0) / (spread * kWidth / 2.0);  // -1 .. 1 across the track bed
        bool sleeper = std::fmod(depth, 0.6) < 0.2 && std::abs(dx) < 0.35;
        bool rail = std::abs(std::abs(dx) - 0.22) < 0.015;
        bool pole = std::fmod(depth + 7, 50.0) < 0.3 && std::abs(std::abs(dx) - 1.1) < 0.03;
        int ballast = 95 + static_cast<int>(20 * std::sin(x * 0.7 + depth * 3.1));
        r = g = b = ballast;
        if (std::abs(dx) > 0.8) {
          r = 70;
          g = 120 + static_cast<int>(15 * std::sin(depth));
          b = 60;
        }
        if (sleeper) r = 90, g = 70, b = 50;
        if (rail) r = g = b = 190;
        if (pole) r = g = b = 40;
      }
      noise = noise * 1664525u + 1013904223u;
      int grain = static_cast<int>((noise >> 24) % 3) - 1;
      uint8_t* p = &rgba[(static_cast<size_t>(y) * kWidth + x) * 4];
      p[0] = static_cast<uint8_t>(std::clamp(r + grain, 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(g + grain, 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(b + grain, 0, 255));
      p[3] = 255;
    }
  }
  return rgba;
}

struct Film {
  std::string path;
  double megabytesPerMinute = 0;
};

class FilmFolder {
 public:
  FilmFolder() {
    folder_ = std::filesystem::temp_directory_path() / ("kavrin-film-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  ~FilmFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const Film& Get(int kind) {
    auto it = films_.find(kind);
    if (it != films_.end()) return it->second;
    AviWriterOptions o;
    o.Width = kWidth;
    o.Height = kHeight;
    o.Codec = kind == 0 ? FilmCodec::Mjpeg : FilmCodec::Mpeg4;
    o.KeyInterval = kind == 0 ? 1 : kind == 3 ? 12 : 30;
    o.BFrames = kind == 2 ? 2 : 0;
    o.Quality = 4;
    Film film;
    film.path = (folder_ / ("film" + std::to_string(kind) + ".avi")).string();
    AviWriter writer;
    if (writer.Open(film.path, o)) {
      for (int n = 0; n < kFrames; ++n) writer.WriteFrame(Scene(n).data());
      writer.Close();
    }
    std::error_code ec;
    auto bytes = std::filesystem::file_size(film.path, ec);
    film.megabytesPerMinute = ec ? 0 : static_cast<double>(bytes) / 1e6 / (kFrames / 30.0 / 60.0);
    return films_[kind] = film;
  }

 private:
  std::filesystem::path folder_;
  std::map<int, Film> films_;
};

FilmFolder& Folder() {
  static FilmFolder folder;
  return folder;
}

const char* KindName(int kind) {
  const char* names[] = {"MJPEG", "MPEG-4 GOP 30", "MPEG-4 GOP 30 B-frames", "MPEG-4 GOP 12"};
  return names[kind];
}

enum class Walk { Next, Previous, Random };

// This thread's processor time: the machine is shared, and waiting for the processor is not
// what a frame costs.
double ThreadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void RunWalk(benchmark::State& state, Walk walk) {
  const int kind = static_cast<int>(state.range(0));
  const Film& film = Folder().Get(kind);
  // A frame anywhere is measured without kept frames, as after a jump into unseen film.
  FfmpegFilmSource::Options options;
  if (walk == Walk::Random) options.CacheBytes = 1;
  FfmpegFilmSource source(options);
  if (source.AviOpen(film.path) != FilmSource::Opened) {
    state.SkipWithError("film could not be made or opened");
    return;
  }
  const int length = source.FilmLength();
  FilmFrame picture;
  std::mt19937 random(3);
  // Backing up starts where the train stopped after running forwards: from a frame already
  // shown, with the frames before it seen on the way.
  auto runTo = [&](int last) {
    for (int i = 0; i <= last; ++i) source.AviFrame(i, picture);
  };
  int n = walk == Walk::Previous ? length - 1 : 0;
  runTo(n);
  int64_t untimed = source.GetStats().PicturesDecoded;
  double slowest = 0;
  for (auto _ : state) {
    if (walk == Walk::Next) n = n + 1 < length ? n + 1 : 0;
    if (walk == Walk::Previous) n = n > 0 ? n - 1 : length - 1;
    if (walk == Walk::Random) n = static_cast<int>(random() % static_cast<unsigned>(length));
    bool wrapped = (walk == Walk::Next && n == 0) || (walk == Walk::Previous && n == length - 1);
    if (wrapped) {
      // Starting a new lap is not part of playing in one direction.
      state.PauseTiming();
      int64_t before = source.GetStats().PicturesDecoded;
      runTo(n);
      untimed += source.GetStats().PicturesDecoded - before;
      state.ResumeTiming();
      continue;
    }
    double t0 = ThreadMs();
    bool ok = source.AviFrame(n, picture);
    double ms = ThreadMs() - t0;
    slowest = std::max(slowest, ms);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(picture.Rgba.data());
  }
  state.SetLabel(KindName(kind));
  state.counters["slowest_cpu_ms"] = slowest;
  state.counters["MB_per_min"] = film.megabytesPerMinute;
  state.counters["decoded_per_frame"] = benchmark::Counter(
      static_cast<double>(source.GetStats().PicturesDecoded - untimed), benchmark::Counter::kAvgIterations);
}

void BM_FilmNext(benchmark::State& state) { RunWalk(state, Walk::Next); }
void BM_FilmPrevious(benchmark::State& state) { RunWalk(state, Walk::Previous); }
void BM_FilmRandom(benchmark::State& state) { RunWalk(state, Walk::Random); }

// 0 MJPEG, 1 MPEG-4 with a keyframe every 30 frames, 2 the same with two B-frames, 3 MPEG-4 with
// a keyframe every 12 frames.
BENCHMARK(BM_FilmNext)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilmPrevious)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilmRandom)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavrin

// One drawn pass of the cab view on the demo's electric train: the frame advance, the decode
// when the frame changed, the gauges and the composition of the 800 x 880 view. Driving
// forwards (one new frame a pass), backing up (one frame back a pass) and standing (no
// decode). Each case reports the median and the 99th percentile of a pass, since a stall is
// what the driver sees.
//
// The demo data folder comes from the build (target demo) or KAVRIN_DEMO_DIR.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/panel_steps.h"
#include "app/simulator.h"
#include "core/key_value_store.h"
#include "platform/ffmpeg_film_source.h"
#include "platform/qimage_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"
#include "ui/cab_compositor.h"

namespace kavrin {
namespace {

std::string DemoFolder() {
  if (const char* d = std::getenv("KAVRIN_DEMO_DIR")) return std::string(d) + "/";
  return std::string(KAVRIN_SOURCE_DIR) + "/build/run/demo/";
}

QGuiApplication& Gui() {
  static int argc = 1;
  static char name[] = "kavrin_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  return *app;
}

struct DemoRun {
  MemoryKeyValueStore store;
  test::FakeSoundBank sound;
  std::ostringstream messages;
  HeadlessUiHost ui{messages};
  QImagePictureLoader pictures;
  test::FakeWaveDecoder waves;
  FfmpegFilmSource film;
  std::unique_ptr<Sim> sim = std::make_unique<Sim>();
  SimulatorRun run{*sim, RunServices{store, sound, ui, pictures, waves, film}, kHeadlessIdleInterval};
  RunFilmHost host{*sim, sound, ui, film, run.scheduler()};
};

void Pass(benchmark::State& state, long double speed) {
  Gui();
  const std::string folder = DemoFolder();
  if (!std::filesystem::exists(folder + "line_1_down_day.dat")) {
    state.SkipWithError(("no demo data in " + folder + " (cmake --build build/run --target demo)").c_str());
    return;
  }
  DemoRun d;
  RunRequest rq;
  rq.ProgramFolder = folder;
  rq.RouteFileName = "line_1_down_day.dat";
  rq.VehicleFileName = "train_1000.dat";
  d.run.FormCreate(rq);
  Sim& sim = *d.sim;
  sim.film.CurFrame = std::min(3000, std::max(1, sim.film.FrameCount / 2));
  sim.film.PrevFrame = sim.film.CurFrame;
  CabCompositor compositor;
  CabOverlay overlay;
  QImage surface(CabCompositor::kWidth, CabCompositor::kHeight, QImage::Format_RGB32);
  TRouteTables noStops;  // the stops would hold the film still
  // 60 frames of speed x time a pass against a filming speed of 60: one frame a pass.
  TFilmInputs in = FilmInputs(sim);
  in.Speed = speed;
  in.FilmSpeed = 60;
  in.DispRate = 30;
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    FilmIdleStep(sim.film, sim.run.LastFrame, noStops, in, 16, d.film, d.host);
    PanelGaugePass(sim);
    compositor.Compose(surface, sim, &overlay);
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    if (sim.film.CurFrame <= 2 || sim.film.CurFrame >= sim.film.FrameCount - 2) {
      sim.film.CurFrame = sim.film.FrameCount / 2;
    }
  }
  std::sort(ms.begin(), ms.end());
  if (!ms.empty()) {
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["max_ms"] = ms.back();
  }
}

void BM_CabPassForward(benchmark::State& state) { Pass(state, 125); }
void BM_CabPassBackward(benchmark::State& state) { Pass(state, -125); }
void BM_CabPassStanding(benchmark::State& state) { Pass(state, 0); }

BENCHMARK(BM_CabPassForward)->Unit(benchmark::kMillisecond)->Iterations(1500);
BENCHMARK(BM_CabPassBackward)->Unit(benchmark::kMillisecond)->Iterations(1500);
BENCHMARK(BM_CabPassStanding)->Unit(benchmark::kMillisecond)->Iterations(1500);

}  // namespace
}  // namespace kavrin

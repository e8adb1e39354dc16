// One drawn pass of the cab view on the demo's electric train: the frame advance, the decode
// when the frame changed, the gauges and the composition of the 800 x 880 view. Driving
// forwards (one new frame a pass), backing up (one frame back a pass) and standing (no
// decode). Each case reports the median and the 99th percentile of a pass, since a stall is
// what the driver sees. Each is given in process CPU time (what the pass costs, all of the
// decoder's threads included, whatever else the machine runs) and in wall time.
//
// The demo data folder comes from the build (target demo) or KAVRIN_DEMO_DIR.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
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
#include "ui/offscreen_cab.h"

namespace kavrin {
namespace {

std::string DemoFolder() {
  if (const char* d = std::getenv("KAVRIN_DEMO_DIR")) return std::string(d) + "/";
  return std::string(KAVRIN_SOURCE_DIR) + "/build/run/demo/";
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
  EnsureOffscreenGui();
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
  OffscreenCab cab;
  TRouteTables noStops;  // the stops would hold the film still
  // 60 frames of speed x time a pass against a filming speed of 60: one frame a pass.
  TFilmInputs in = FilmInputs(sim);
  in.Speed = speed;
  in.FilmSpeed = 60;
  in.DispRate = 30;
  std::vector<double> wall, cpu;
  auto cpuMs = [] {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
  };
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuMs();
    FilmIdleStep(sim.film, sim.run.LastFrame, noStops, in, 16, d.film, d.host);
    PanelGaugePass(sim);
    cab.Compose(sim);
    cpu.push_back(cpuMs() - cpuStart);
    const auto end = std::chrono::steady_clock::now();
    wall.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    if (sim.film.CurFrame <= 2 || sim.film.CurFrame >= sim.film.FrameCount - 2) {
      sim.film.CurFrame = sim.film.FrameCount / 2;
    }
  }
  auto report = [&state](std::vector<double>& ms, const std::string& kind) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_" + kind + "_ms"] = ms[ms.size() / 2];
    state.counters["p99_" + kind + "_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  };
  report(cpu, "cpu");
  report(wall, "wall");
}

void BM_CabPassForward(benchmark::State& state) { Pass(state, 125); }
void BM_CabPassBackward(benchmark::State& state) { Pass(state, -125); }
void BM_CabPassStanding(benchmark::State& state) { Pass(state, 0); }

BENCHMARK(BM_CabPassForward)->Unit(benchmark::kMillisecond)->Iterations(1500);
BENCHMARK(BM_CabPassBackward)->Unit(benchmark::kMillisecond)->Iterations(1500);
BENCHMARK(BM_CabPassStanding)->Unit(benchmark::kMillisecond)->Iterations(1500);

}  // namespace
}  // namespace kavrin

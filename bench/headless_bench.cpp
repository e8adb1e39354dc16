// How much faster than real time the headless harness runs a train over its whole pipeline:
// scheduler, both ticks, idle passes, the sound bank rendering and the trace.
#include <benchmark/benchmark.h>

#include <sstream>

#include "app/headless.h"
#include "app/simulator.h"
#include "app/trace.h"
#include "core/key_value_store.h"
#include "platform/sound_system.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

void BM_HeadlessEmptyTrainMinute(benchmark::State& state) {
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
  dir.Write("mascon.dat", "#\r\n");
  constexpr int64_t kVirtualMs = 60 * 1000;
  for (auto _ : state) {
    MemoryKeyValueStore store;
    SoundSystem sound = OpenSoundSystem(false);
    std::ostringstream messages, trace;
    HeadlessUiHost ui(messages);
    test::FakePictureLoader pictures;
  test::FakeFilmSource film;
    auto sim = std::make_unique<Sim>();
    SimulatorRun run(*sim, RunServices{store, sound.bank(), ui, pictures, film}, kHeadlessIdleInterval);
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    run.FormCreate(rq);
    HeadlessOptions o;
    o.limitMs = kVirtualMs;
    o.trace = &trace;
    o.fields = {"ClockTime", "ClockText", "running"};
    RunHeadless(run, ui, sound.bank(), o);
    benchmark::DoNotOptimize(trace.str().size());
  }
  // Virtual seconds per real second: the goal is at least 1000.
  state.counters["x_real_time"] = benchmark::Counter(static_cast<double>(kVirtualMs) / 1000.0 * state.iterations(),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessEmptyTrainMinute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavrin

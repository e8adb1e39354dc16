// The cost of one 33 ms tick with a whole train loaded: traction, brakes, air, motion, the
// diesel engine and the position. The goal is well under 5 microseconds a tick.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/simulator.h"
#include "support/run_rig.h"

namespace kavrin {
namespace {

// A golden-trace data set, loaded and running under power with the brakes released.
void BM_PhysicsTick(benchmark::State& state, const char* name) {
  test::RunRig rig("");
  RunRequest rq;
  rq.ProgramFolder = std::string(KAVRIN_SOURCE_DIR) + "/tests/golden/" + name + "/";
  rq.RouteFileName = "route.dat";
  rq.VehicleFileName = "train.dat";
  rig.run.FormCreate(rq);
  Sim& sim = rig.sim;
  const int32_t top = sim.vehicle.veh.Power;
  auto drive = [&] {
    sim.dynamics.Speed = 30;
    sim.handle.BrakeNotch = 0;
    sim.handle.PowerNotch = top;
    sim.delayed.LastBrakeNotch = sim.delayed.SapNotch = sim.delayed.EBrakeNotch = 0;
    sim.delayed.AppliedNotch = top;
    sim.diesel.Gear = 1;
  };
  drive();
  int64_t ticks = 0;
  for (auto _ : state) {
    rig.run.MMTimer1Timer();
    // Keep the train in its working range rather than at its top speed.
    if (++ticks % 3000 == 0) drive();
  }
  benchmark::DoNotOptimize(sim.dynamics.Position);
}
BENCHMARK_CAPTURE(BM_PhysicsTick, notch_electric, "notch_electric");
BENCHMARK_CAPTURE(BM_PhysicsTick, current_step_electric, "current_step_electric");
BENCHMARK_CAPTURE(BM_PhysicsTick, diesel_automatic, "diesel_automatic");

}  // namespace
}  // namespace kavrin

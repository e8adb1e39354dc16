// The traction and brake steps of one 33 ms tick on a fully described electric train: the
// notch table or the resistance-control steps, a dynamic brake, and each of the air brakes,
// with the train moving and the brake in a service position. Goal: under 2 microseconds a tick.
#include <benchmark/benchmark.h>

#include "unit/dynamics_fixture.h"

namespace kavrin {
namespace {

test::TrainRig FullTrain(int32_t powerType, int32_t brakeType) {
  test::TrainRig r;
  TVehicleParams& v = r.veh;
  v.Power_Type = powerType;
  v.BrakeType = brakeType;
  v.Brake = brakeType == 0 ? 4 : 8;
  v.BrakeType2 = brakeType == 0 ? 0 : 2;
  v.Brake_Type = powerType == 1 ? 1 : 0;
  v.PowerDelay = v.BrakeDelay = v.EBrakeDelay = v.SAPDelay = 3;
  v.NotchBack = 2;
  v.AmMeterMode = 1;
  v.AmMeterScale = 120;
  v.EBrakeUp = v.EBrakeDown = 600;
  v.EBrakeCurr = {450, 18};
  v.LoseElec = {5, 10};
  v.ELBR = 20;
  r.t.CurrentP.Limit = 400;
  r.t.CurrentP.Accel = 2.5L;
  r.t.CurrentP.Speed = 35;
  for (int i = 0; i < 12; ++i) r.t.CurrentP.Rows.push_back({1 + i / 3, 4000.0L + 500 * i, -10, 3, 0});
  for (int i = 0; i < 8; ++i) r.t.CurrentB.push_back({0.1L / (i + 1), 0, 0});
  for (int k = 1; k <= 8; ++k) r.t.BrakeCurr[k] = 60 * k;
  r.speed = 55;
  r.Applied(4);
  r.h.BrakeNotch = r.d.LastBrakeNotch = r.d.SapNotch = r.d.EBrakeNotch = -3;
  r.b.BpPress = 480;
  r.b.ErPress = Fixed4(480.0L);
  return r;
}

void BM_TractionAndBrakeTick(benchmark::State& state) {
  test::TrainRig r = FullTrain(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  int tick = 0;
  for (auto _ : state) {
    // The driver keeps working the handles, so the delays and steps stay busy.
    if (++tick % 16 == 0) {
      r.Power(tick % 32 == 0 ? 4 : 2);
      r.BrakeAt(tick % 32 == 0 ? -3 : -2);
    }
    r.Tick();
    benchmark::DoNotOptimize(r.tr.TractiveForce);
    benchmark::DoNotOptimize(r.b.BcPressT);
  }
}
// Arguments: Power_Type (1 notch table, 0 current steps), BrakeType (0 automatic, 1 straight
// air, 2 electric command).
BENCHMARK(BM_TractionAndBrakeTick)->ArgsProduct({{0, 1}, {0, 1, 2}});

}  // namespace
}  // namespace kavrin

#pragma once
// A train for the traction and brake tests: an electric car of 36 t (so that 1 km/h/s is
// 10000 N), eight brake positions, 30 ticks a second, standing still with everything released.
// Each test changes only what it is about.
#include "dynamics/brakes.h"
#include "dynamics/pneumatics.h"
#include "dynamics/traction.h"

namespace kavrin::test {

struct TrainRig {
  TVehicleParams veh;
  TVehicleTables t;
  THandleState h;
  TDelayedHandle d;
  TTractionState tr;
  TBrakeState b;
  TTrainInputs in;
  long double speed = 0;

  TrainRig() {
    veh.Engine_Type = 1;
    veh.Power_Type = 1;
    veh.Brake_Type = 1;
    veh.BrakeType = 1;
    veh.Brake = 8;
    veh.Power = 5;
    veh.Tons = Fixed4(36.0L);
    veh.Mt = Fixed4(20.0L);
    veh.Tt = Fixed4(16.0L);
    veh.MaxSpeed = 120;
    veh.BrakeRate = {Fixed4(4.5L), Fixed4(3.5L), Fixed4(40.0L)};
    veh.BrakeRate2 = 0.02L;
    veh.BrakeUp = 300;
    veh.BrakeDown = 330;
    veh.SAPUp = 400;
    veh.SAPDown = 350;
    veh.BPReturn = 80;
    veh.MAXPress = 350;
    veh.EBPress = 420;
    veh.SAPPress = 440;
    veh.HighAirPress = 880;
    veh.LowAirPress = 780;
    in.DispRate = 30;
    // Notch n accelerates at n km/h/s up to 20 km/h, with constant power to 60 km/h.
    for (int n = 1; n <= 5; ++n) t.Notch.push_back({static_cast<long double>(n), static_cast<long double>(n), 20, 60, 0.98L, 0});
    b.MrPress = Fixed4(880.0L);
  }

  // The traction and brake steps of one 33 ms tick, in the tick's order.
  void Tick() {
    TractionForce(tr, d, h, speed, veh, t, in);
    PowerNotchDelay(tr, d, h, veh, t, in);
    BrakeForceStep(b, tr, speed, veh);
    Pneumatics(b, d, h, tr, veh, in);
    MainReservoirLeak(b, in.DispRate);
    BrakeNotchDelays(d, h, b, speed, veh, in);
    TractionCurrent(tr, d, h, speed, veh, t, in);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }

  // The power handle at `notch` with the change pending, as the keys leave it.
  void Power(int32_t notch) {
    h.PowerNotch = notch;
    d.SetPowerChanged();
  }
  void BrakeAt(int32_t notch) {
    h.BrakeNotch = notch;
    d.SetBrakeChanged();
  }
  // The notch applied at once, as after its delay.
  void Applied(int32_t notch) { h.PowerNotch = d.AppliedNotch = notch; }
};

}  // namespace kavrin::test

#include "app/panel_steps.h"

#include "presentation/cab_gauges.h"

namespace kavrin {

void PanelGaugePass(Sim& sim) {
  TGaugeInputs in;
  in.Speed = sim.dynamics.Speed;
  in.AmMeterValue = sim.traction.AmMeterValue;
  in.BcPressT = sim.brakes.BcPressT;
  in.BcPressM = sim.brakes.BcPressM;
  in.SapPress = sim.brakes.SapPress;
  in.ErPress = sim.brakes.ErPress;
  in.MrPress = sim.brakes.MrPress;
  in.BpPress = sim.brakes.BpPress;
  in.Mc = sim.vehicle.veh.Mc;
  GaugeStep(sim.panel, in, sim.vehicle.Panel, sim.panelSprites, sim.view.DXSpriteEngine1);
}

void PanelLampTick(Sim& sim) {
  TLampInputs in;
  in.AppliedNotch = sim.delayed.AppliedNotch;
  in.PowerNotch = sim.handle.PowerNotch;
  in.LastBrakeNotch = sim.delayed.LastBrakeNotch;
  in.Brake = sim.vehicle.veh.Brake;
  in.HoldEngaged = sim.handle.HoldEngaged;
  in.SuppressPos = sim.handle.SuppressPos;
  in.ConstActive = sim.handle.ConstActive;
  in.DoorLock = sim.vehicle.veh.DoorLock;
  in.DoorState = sim.station.DoorState;
  in.Resistance = sim.dynamics.Resistance;
  in.TractiveForce = sim.traction.TractiveForce;
  in.EBrakeCurrent = sim.traction.EBrakeCurrent;
  in.CurrentStepIdx = sim.traction.CurrentStepIdx;
  LampStep(in, sim.vehicle.Tables, sim.panelSprites, sim.view.DXSpriteEngine1);
}

void PanelSmoothTick(Sim& sim) {
  SmoothGauges(sim.panel, sim.traction.LineVoltage, sim.delayed.LastBrakeNotch, sim.vehicle.veh.Brake);
}

void PanelOtherImagesTick(Sim& sim) {
  OtherImagesStep(sim.vehicle.veh.ATS_Type, sim.panelSprites, sim.view.DXSpriteEngine1);
}

}  // namespace kavrin

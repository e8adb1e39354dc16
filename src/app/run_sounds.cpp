// The running and equipment sounds of a run: each step fills its inputs from the owners' state
// and calls the sound steps, at the places the ticks give them.
#include "app/simulator.h"
#include "sound/running_sounds.h"

namespace kavrin {

namespace {

TBrakeSoundInputs BrakeSoundInputs(const Sim& sim) {
  TBrakeSoundInputs in;
  in.Speed = sim.dynamics.Speed;
  in.BcPressT = sim.brakes.BcPressT;
  in.BpPress = sim.brakes.BpPress;
  in.MrPress = sim.brakes.MrPress;
  in.EBrakeCurrent = sim.traction.EBrakeCurrent;
  in.BrakeType = sim.vehicle.veh.BrakeType;
  in.Brake = sim.vehicle.veh.Brake;
  in.EBPress = sim.vehicle.veh.EBPress;
  in.LoseElec1 = sim.vehicle.veh.LoseElec[1];
  in.BrakeNotch = sim.handle.BrakeNotch;
  in.LastBrakeNotch = sim.delayed.LastBrakeNotch;
  in.EmergencyTrip = sim.protection.EmergencyTrip != 0;
  in.ATSTrip = sim.protection.ATSTrip != 0;
  return in;
}

TLineSoundInputs LineSoundInputs(const Sim& sim) {
  TLineSoundInputs in;
  in.Speed = sim.dynamics.Speed;
  in.Position = sim.dynamics.Position;
  in.CurFrame = sim.film.CurFrame;
  in.DepAnnounced = sim.station.DepAnnounced;
  return in;
}

TMotorSoundInputs MotorSoundInputs(const Sim& sim) {
  TMotorSoundInputs in;
  in.Speed = sim.dynamics.Speed;
  in.EngineRpm = sim.diesel.EngineRpm;
  in.AppliedNotch = sim.delayed.AppliedNotch;
  in.LastBrakeNotch = sim.delayed.LastBrakeNotch;
  in.SuppressPos = sim.handle.SuppressPos;
  in.Brake = sim.vehicle.veh.Brake;
  in.Gear = sim.diesel.Gear;
  in.EngineRunning = sim.diesel.EngineRunning;
  in.GearShiftState = sim.diesel.GearShiftState;
  in.LoseElec0 = sim.vehicle.veh.LoseElec[0];
  in.DoorState = sim.station.DoorState;
  in.EmergencyTrip = sim.protection.EmergencyTrip != 0;
  in.ATSTrip = sim.protection.ATSTrip != 0;
  return in;
}

}  // namespace

void SimulatorRun::SquealStep() {
  BrakeSqueal(sv_.sound, sim_.vehicle.Tables, BrakeSoundInputs(sim_));
}

void SimulatorRun::BrakeSoundsStep() {
  const TBrakeSoundInputs in = BrakeSoundInputs(sim_);
  const TVehicleTables& t = sim_.vehicle.Tables;
  BrakeReleaseSound(sim_.runningSounds, sv_.sound, t, in);
  EmergencyBrakeSound(sim_.runningSounds, sv_.sound, t, in);
  AutomaticBrakeSounds(sv_.sound, t, in);
}

void SimulatorRun::LineSoundsStep() {
  const TLineSoundInputs in = LineSoundInputs(sim_);
  AttenuationZones(sim_.runningSounds, sim_.route, in.CurFrame);
  EnvironmentSounds(sim_.runningSounds, sv_.sound, sim_.route, sim_.sounds.Layout, in);
  PointsSounds(sim_.runningSounds, sv_.sound, sim_.route, sim_.vehicle.Tables, in);
}

void SimulatorRun::DopplerStep() {
  DopplerSounds(sv_.sound, sim_.route, sim_.sounds.Layout, LineSoundInputs(sim_));
}

void SimulatorRun::DriveSoundsStep() {
  const TVehicleTables& t = sim_.vehicle.Tables;
  const TMotorSoundInputs in = MotorSoundInputs(sim_);
  RunningBands(sv_.sound, sim_.sounds.Layout.DriveSoundCount, in.Speed);
  if (sim_.vehicle.veh.Engine_Type == 1) ElectricMotorCurves(sim_.runningSounds, sim_.sounds, sv_.sound, t, in);
  DoorOpenCounter(sim_.runningSounds, sim_.station.DoorState, sim_.station.DoorOpening);
  if (sim_.vehicle.veh.Engine_Type == 0) {
    DieselEngineCurves(sim_.runningSounds, sim_.sounds, sv_.sound, t, in);
    GearChangeCurves(sim_.runningSounds, sim_.sounds, sv_.sound, t, in);
  }
}

void SimulatorRun::HornBuzzerStep() {
  THornInputs in;
  in.HornKey = sim_.keys.HornKey;
  in.HornPad = sim_.keys.HornPad;
  in.HornTap = sim_.keys.HornTap;
  in.BuzzerKey = sim_.keys.BuzzerKey;
  in.ClockTime = sim_.clock.ClockTime;
  in.DoorState = sim_.station.DoorState;
  HornStep(sim_.runningSounds, sv_.sound, sim_.vehicle.Tables, in, sim_.brakes.MrPress);
  BuzzerStep(sim_.runningSounds, sv_.sound, sim_.vehicle.Tables, in);
  sim_.keys.HornTap = 0;
}

}  // namespace kavrin

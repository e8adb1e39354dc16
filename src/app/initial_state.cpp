#include "app/initial_state.h"

#include <algorithm>

#include "core/load_error.h"
#include "dynamics/motion.h"

namespace kavrin {

void CheckStartStation(const Sim& sim) {
  // A route without stations still has its empty first row to start from.
  const int32_t count = std::max(1, sim.route.Stations.Count());
  if (sim.StartStation < 0 || sim.StartStation >= count) {
    throw LoadError("--station " + std::to_string(sim.StartStation) + ": the route has " +
                    std::to_string(sim.route.Stations.Count()) + " stations");
  }
}

void SetInitialState(Sim& sim) {
  TRouteTables& r = sim.route;
  const StationData& start = r.Stations[sim.StartStation];

  // The run starts standing at the start station's stop, with the doors open at a stop.
  if (start.trntype == 0) {
    sim.station.DoorState = 1;
    sim.station.DoorOpening = 1;
  }
  sim.station.DepartureCount = sim.StartStation;
  sim.station.StationText = "ただいま " + start.Name;
  StartMotion(sim.dynamics, sim.vehicle.veh, start.position);
  sim.diesel = TDieselState{};
  sim.station.NextStopPos = start.position;

  // The train stands braked on a full main reservoir, the compressor stopped and no power
  // applied; the line carries 1500 V for the whole run.
  const TVehicleParams& veh = sim.vehicle.veh;
  sim.traction = TTractionState{};
  sim.traction.LineVoltage = Fixed4(1500.0L);
  sim.brakes = TBrakeState{};
  sim.brakes.BcPressT = Fixed4(static_cast<long double>(veh.EBPress));
  sim.brakes.MrPress = Fixed4(static_cast<long double>(veh.HighAirPress));

  // Speed-check points behind the start are taken as passed.
  for (TSpeedCheckRec& c : r.SpeedChecks1) {
    if (c.Pos < sim.dynamics.Position) c.Passed = 1;
  }
  for (TRouteSoundRec& s : r.RouteSounds) s.Started = 0;
  for (int32_t i = 0; i <= r.AnnounceCount(); ++i) r.Announces[i].Played = 0;
  for (TSwitchRec& s : r.Switches) s.Played = 0;
  for (int32_t i = 0; i < decltype(r.MovieSwitches)::kCapacity; ++i) r.MovieSwitches[i].done = 0;
  // Every traffic light starts its cycle at the first phase.
  for (TTrafficSignalRec& t : r.TrafficSignals) {
    t.Phase = 1;
    t.PhaseTimer[0] = t.PhaseDuration[0];
  }

  // The second level-crossing lamp shows the other cell, so the two alternate.
  if (TSprite* lamp = sim.view.DXSpriteEngine1.Get(sim.trackside.Sprites.CrossLamp2)) lamp->AnimStart = 1;
}

}  // namespace kavrin

// The start of a run: each owner puts its own state where a run begins.
#include "app/initial_state.h"

#include <algorithm>

#include "controls/handle_model.h"
#include "controls/keys.h"
#include "core/load_error.h"
#include "data/route_derivation.h"
#include "dynamics/motion.h"
#include "signalling/stations.h"

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
  const TRouteTables& r = sim.route;
  const TVehicleParams& veh = sim.vehicle.veh;
  const long double position = r.Stations[sim.StartStation].position;

  StartStations(sim.station, r, sim.StartStation, r.OneMan, TStationStartTexts{veh.Cars, sim.files.Strings.TxtCars});
  StartMotion(sim.dynamics, veh, position);
  StartDiesel(sim.diesel);
  StartTraction(sim.traction);
  StartBrakes(sim.brakes, veh);
  StartProtection(sim.protection, r, position);
  StartSignals(sim.signalling, r);
  StartRunningSounds(sim.runningSounds);
  StartCalling(sim.calling);
  StartFilmTrack(sim.film, StartFrame(r, sim.StartStation));
  StartTracksideSprites(sim.view, sim.trackside);
  StartPanel(sim.panel);
  StartHandle(sim.handle, sim.delayed, veh);
  StartKeyState(sim.keys, sim.files.Strings, r.OneMan, r.OneManDoors);
}

}  // namespace kavrin

// Where traction, brakes and the diesel engine stand as a run starts.
#include "dynamics/dynamics_state.h"

namespace kavrin {

void StartTraction(TTractionState& t) {
  t = TTractionState{};
  t.LineVoltage = Fixed4(1500.0L);
}

void StartBrakes(TBrakeState& b, const TVehicleParams& veh) {
  b = TBrakeState{};
  b.BcPressT = Fixed4(static_cast<long double>(veh.EBPress));
  b.MrPress = Fixed4(static_cast<long double>(veh.HighAirPress));
}

void StartDiesel(TDieselState& d) { d = TDieselState{}; }

}  // namespace kavrin

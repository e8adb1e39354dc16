#include "dynamics/pneumatics.h"

#include <cmath>

#include "dynamics/dynamics_math.h"

namespace kavrin {

namespace {

constexpr long double kBase = 1.2L;
constexpr long double kSlowBase = 1.4L;  // the automatic brake's lap-and-release position

void Release(Fixed4& p, long double step, long double base = kBase) {
  AddTo(p, -step / ReleaseDivisor(base, p.Real()));
}

bool InService(int32_t notch, int32_t brake) { return -brake < notch && notch < 0; }

// Per-tick steps of the vehicle's per-second rates.
struct Steps {
  long double up, down, sapUp, sapDown, bpReturn;
  Steps(const TVehicleParams& veh, long double dispRate)
      : up(PerTick(veh.BrakeUp, dispRate)),
        down(PerTick(veh.BrakeDown, dispRate)),
        sapUp(PerTick(veh.SAPUp, dispRate)),
        sapDown(PerTick(veh.SAPDown, dispRate)),
        bpReturn(PerTick(veh.BPReturn, dispRate)) {}
};

void SetFeedPress(TBrakeState& b) { b.FeedPress = b.MrPress.Real() >= 490 ? 490.0L : b.MrPress.Real(); }

// Brake pipe and equalising reservoir charging towards FeedPress in release.
void Recharge(TBrakeState& b, long double step, long double limit) {
  if (b.BpPress < limit) {
    b.BpPress += step;
    AddTo(b.MrPress, -step / 5);
  }
  if (b.ErPress.Real() < limit) AddTo(b.ErPress, step);
}

void Automatic(TBrakeState& b, int32_t n, int32_t handle, const TVehicleParams& veh, const Steps& s,
               bool tripped) {
  SetFeedPress(b);
  const long double feed = b.FeedPress;
  const long double reduction = feed - b.BpPress;
  // The cylinder pressure the brake pipe reduction calls for.
  const long double called = reduction * veh.MAXPress / 140;
  Fixed4* cylinders[] = {&b.BcPressM, &b.BcPressT};
  if (!tripped) {
    if (n == 0 || (n == -1 && veh.Pull == 1)) {
      for (Fixed4* c : cylinders)
        if (c->Real() < b.BpPress) Release(*c, s.down);
      // Charging slows once the pipe stands above the trailer cylinders.
      if (b.BcPressT.Real() >= b.BpPress) Recharge(b, s.bpReturn, feed - 1);
      else Recharge(b, s.bpReturn / 2.5L, feed);
    } else if (n == -3) {
      for (Fixed4* c : cylinders) {
        if (c->Real() < veh.MAXPress && c->Real() < called && reduction > veh.ELBR) {
          AddTo(*c, s.up);
          if (c == &b.BcPressT) AddTo(b.SapPress, -s.sapUp);
        }
      }
      AddTo(b.ErPress, -s.up / 4.6L);
      b.BpPress -= s.up / 4.6L;
    } else if (n == -5) {
      for (Fixed4* c : cylinders) {
        if (c->Real() < veh.MAXPress && c->Real() < called) AddTo(*c, s.up);
        else if (c->Real() > called + 10) Release(*c, s.down);
      }
    } else if (n == -2) {
      if (reduction > veh.ELBR) {
        for (Fixed4* c : cylinders)
          if (c->Real() < veh.MAXPress && c->Real() < called) AddTo(*c, s.up);
      }
    } else if (n == -4) {
      for (Fixed4* c : cylinders) {
        if (c->Real() < veh.EBPress && b.BpPress > 0) {
          AddTo(*c, s.up / 0.3L);
          if (c == &b.BcPressT) AddTo(b.SapPress, -s.sapDown / 3);
        }
      }
      AddTo(b.ErPress, -s.up / 4.6L);
      b.BpPress -= s.up / 0.6L;
    } else if (n == -1 && veh.Pull == 0) {
      if (b.ErPress.Real() < feed) AddTo(b.ErPress, s.down / 2.5L);
      if (b.BpPress < feed) {
        b.BpPress += s.down / 2.5L;
        AddTo(b.MrPress, -s.up / 20);
      }
      if (b.BcPressM.Real() < b.BpPress) Release(b.BcPressM, s.down, kSlowBase);
    }
  } else {
    // A protection demand vents the brake pipe whatever the handle says.
    for (Fixed4* c : cylinders) {
      if (c->Real() < veh.EBPress) {
        AddTo(*c, s.up / 0.3L);
        if (c == &b.BcPressT) {
          AddTo(b.MrPress, -s.up / 3.3L);
          AddTo(b.SapPress, -s.sapDown / 3);
        }
      }
    }
    AddTo(b.ErPress, -s.up / 0.6L);
    b.BpPress -= s.up / 0.6L;
    if (handle == 0 || handle == -1) AddTo(b.MrPress, -s.up / 4.6L);
  }
  ClampAtZero(b.BcPressM);
  ClampAtZero(b.BcPressT);
  ClampAtZero(b.ErPress);
  ClampAtZero(b.MrPress);
  ClampAtZero(b.SapPress);
  ClampAtZero(b.BpPress);
}

void StraightAir(TBrakeState& b, const TDelayedHandle& d, const TTractionState& tr, const TVehicleParams& veh,
                 const Steps& s) {
  SetFeedPress(b);
  const int32_t brake = veh.Brake;
  const int32_t n = d.LastBrakeNotch;
  if (InService(d.SapNotch, brake)) {
    const long double target = Quot(veh.SAPPress, brake - 1) * -d.SapNotch;
    if (b.SapPress.Real() + 10 < target) AddTo(b.SapPress, s.sapUp);
    if (b.SapPress.Real() > target) AddTo(b.SapPress, -s.sapDown);
  }
  if (InService(n, brake)) {
    const long double target = Quot(veh.MAXPress, brake - 1) * -n;
    if (b.BcPressT.Real() + 10 < target) {
      AddTo(b.BcPressT, s.up);
      AddTo(b.MrPress, -s.up / 10);
    }
    if (b.BcPressT.Real() > target && b.BpPress >= veh.MAXPress - Quot(veh.MAXPress, brake)) Release(b.BcPressT, s.down);
    // The motor cars' air is held off while the dynamic brake carries the load.
    if (b.BcPressM.Real() + 10 < target && (tr.EBrakeCurrent < 50 || b.BcPressM.Real() < veh.ELBR))
      AddTo(b.BcPressM, s.up);
    if (b.BcPressM.Real() > target) Release(b.BcPressM, s.down);
    else if (tr.EBrakeCurrent + 10 >= 50 && b.BcPressM.Real() >= veh.ELBR + 5) Release(b.BcPressM, s.down);
    ClampAtZero(b.BcPressM);
    ClampAtZero(b.BcPressT);
    ClampAtZero(b.SapPress);
  }
  if (n == -brake) {
    if (b.BcPressM.Real() < veh.EBPress) AddTo(b.BcPressM, 3 * s.up);
    if (b.BcPressT.Real() < veh.EBPress) {
      AddTo(b.BcPressT, 3 * s.up);
      AddTo(b.MrPress, -s.up / 5);
    }
    AddTo(b.ErPress, -3 * s.up);
    AddTo(b.SapPress, -3 * s.sapUp);
    b.BpPress -= 3 * s.up;
    ClampAtZero(b.BcPressM);
    ClampAtZero(b.BcPressT);
    ClampAtZero(b.ErPress);
    ClampAtZero(b.SapPress);
    ClampAtZero(b.BpPress);
  }
  // Release only with the equalising reservoir charged near its emergency level.
  const bool charged = b.ErPress.Real() >= veh.EBPress - Quot(veh.EBPress, brake);
  if (n == 0 && (b.BcPressT.raw > 0 || b.SapPress.raw > 0) && charged) {
    Release(b.BcPressT, s.down);
    Release(b.SapPress, s.sapDown);
    ClampAtZero(b.BcPressT);
    ClampAtZero(b.SapPress);
  }
  if (n == 0 && b.BcPressM.raw > 0 && charged) {
    Release(b.BcPressM, s.down);
    ClampAtZero(b.BcPressM);
  }
  if (n >= 1 - brake) {
    AddTo(b.ErPress, s.down / 5);
    if (b.ErPress.Real() > b.FeedPress) b.ErPress = ToFixed(b.FeedPress);
    b.BpPress += s.down / 5;
    if (b.BpPress > b.FeedPress) b.BpPress = b.FeedPress;
  }
}

// BrakeType2 0: each cylinder towards the notch's share of MAXPress.
void TowardsCommand(TBrakeState& b, long double target, const Steps& s) {
  if (b.BcPressT.Real() + 10 < target) {
    AddTo(b.BcPressT, s.up);
    AddTo(b.MrPress, -s.up / 30);
  }
  if (b.BcPressT.Real() > target) Release(b.BcPressT, s.down);
  if (b.BcPressM.Real() + 10 < target) AddTo(b.BcPressM, s.up);
  if (b.BcPressM.Real() > target) Release(b.BcPressM, s.down);
}

void ElectricCommand(TBrakeState& b, const TDelayedHandle& d, const THandleState& h, const TTractionState& tr,
                     const TVehicleParams& veh, const Steps& s) {
  const int32_t brake = veh.Brake;
  const int32_t n = d.LastBrakeNotch;
  const long double command = Quot(veh.MAXPress, brake - 1) * -n;
  if (InService(n, brake)) {
    if (veh.BrakeType2 == 0 || (veh.BrakeType2 == 2 && tr.EBrakeCurrent == 0)) {
      TowardsCommand(b, command, s);
    } else if (veh.BrakeType2 == 1) {
      if (b.BcPressT.Real() + 10 < command) {
        AddTo(b.BcPressT, s.up);
        AddTo(b.MrPress, -s.up / 30);
      }
      if (b.BcPressT.Real() > command) Release(b.BcPressT, s.down);
      if (b.BcPressM.Real() + 10 < command) {
        if (tr.EBrakeCurrent < 50 || b.BcPressM.Real() < veh.ELBR) AddTo(b.BcPressM, s.up);
        if (h.SuppressPos != 0) AddTo(b.BcPressM, s.up);
      }
      if (b.BcPressM.Real() > command) Release(b.BcPressM, s.down);
      else if (tr.EBrakeCurrent + 10 >= 50 && b.BcPressM.Real() >= veh.ELBR + 5 && h.SuppressPos == 0)
        Release(b.BcPressM, s.down);
    } else if (veh.BrakeType2 == 2) {
      // Blending: the air makes up what the dynamic brake leaves of the target deceleration.
      const long double acc = Quot(tr.TractiveForce.Real(), veh.Tons.Real() * 1000) * 3.6L;
      const long double goal = Quot(veh.BrakeRate[1].Real(), brake - 1) * d.EBrakeNotch;
      const long double share = Quot(b.MrPress.Real(), brake - 1) * -n;
      if (b.BcPressT.Real() + 10 < share && acc > goal) {
        AddTo(b.BcPressT, s.up);
        AddTo(b.MrPress, -s.up / 30);
      }
      if (acc - 0.1L <= goal) Release(b.BcPressT, s.down);
      if (b.BcPressM.Real() + 10 < share && acc > goal && b.BcPressT.Real() > 0.9L * b.MrPress.Real())
        AddTo(b.BcPressM, s.up);
      if (acc - 0.1L <= goal) Release(b.BcPressM, s.down);
    }
    ClampAtZero(b.BcPressM);
    ClampAtZero(b.BcPressT);
  }
  Fixed4* cylinders[] = {&b.BcPressM, &b.BcPressT};
  if (n == -brake) {
    for (Fixed4* c : cylinders)
      if (c->Real() < veh.EBPress) AddTo(*c, 1.3L * s.up);
  }
  if (b.MrPress.Real() >= 340) {
    if (n == 0) {
      for (Fixed4* c : cylinders) {
        if (c->raw > 0) Release(*c, s.down);
        ClampAtZero(*c);
      }
    }
  } else {
    // Without enough air in the main reservoir the brakes apply by themselves.
    for (Fixed4* c : cylinders)
      if (c->Real() < veh.EBPress) AddTo(*c, 1.3L * s.up);
  }
}

}  // namespace

long double ReleaseDivisor(long double base, long double pressure) {
  // Worked in double through exp: the step it divides lands on four decimals, and the extended
  // power function costs more than the rest of the tick together.
  const double exponent = -static_cast<double>(pressure) / 10.0 * std::log(static_cast<double>(base));
  return 1.0L + 10.0L * static_cast<long double>(std::exp(exponent));
}

void Pneumatics(TBrakeState& b, const TDelayedHandle& d, const THandleState& h, const TTractionState& tr,
                const TVehicleParams& veh, const TTrainInputs& in) {
  const Steps s(veh, in.DispRate);
  switch (veh.BrakeType) {
    case 0:
      Automatic(b, d.LastBrakeNotch, h.BrakeNotch, veh, s, in.EmergencyTrip != 0 || in.ATSTrip != 0);
      break;
    case 1:
      StraightAir(b, d, tr, veh, s);
      break;
    case 2:
      ElectricCommand(b, d, h, tr, veh, s);
      break;
    default:
      break;
  }
}

void MainReservoirLeak(TBrakeState& b, long double dispRate) { AddTo(b.MrPress, -PerTick(0.2L, dispRate)); }

void Compressor(TBrakeState& b, const TVehicleParams& veh, const TVehicleTables& t, long double engineRpm) {
  using Op = TSoundRequest::Op;
  if (veh.LowAirPress > b.MrPress.Real()) {
    if (!b.CompressorOn) {
      b.CompressorSounds.Restart(t.CPStart);
      b.CompressorSounds.Push(Op::Stop, t.CPCnt);
      b.CompressorSounds.Push(Op::LoopPlay, t.CPCnt);
    }
    b.CompressorOn = true;
  }
  if (b.CompressorOn && veh.HighAirPress <= b.MrPress.Real()) {
    b.CompressorSounds.Restart(t.CPEnd);
    b.CompressorSounds.Push(Op::Stop, t.CPCnt);
    b.CompressorOn = false;
  }
  if (b.CompressorOn) AddTo(b.MrPress, veh.Engine_Type != 0 ? 0.3L : engineRpm / 100 * 0.4L);
}

}  // namespace kavrin

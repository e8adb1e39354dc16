#include "presentation/cab_gauges.h"

#include <cmath>

#include "core/rounding.h"

namespace kavrin {

namespace {

// The panel's own scale factor: 1023 units for 360 degrees, not 1024.
constexpr long double kUnitsPerDegree = 1023.0L / 360.0L;

void Show(SpriteEngine& sprites, SpriteId id, bool visible) {
  if (TSprite* s = sprites.Get(id)) s->Visible = visible;
}

void Turn(SpriteEngine& sprites, SpriteId id, const Meter& m, long double value) {
  if (TSprite* s = sprites.Get(id)) s->Angle = static_cast<double>(NeedleAngle(m, value));
}

bool DoorsAllowPower(const TLampInputs& in) {
  return in.DoorLock == 0 || (in.DoorLock == 1 && in.DoorState == 0);
}

bool ServiceBrake(const TLampInputs& in) { return -in.Brake < in.LastBrakeNotch && in.LastBrakeNotch < 0; }

}  // namespace

void StartPanel(TPanelState& p) { p = TPanelState{}; }

long double NeedleAngle(const Meter& m, long double value) { return (value * m.one + m.zero) * kUnitsPerDegree; }

long double SpeedNeedleAngle(const Meter& m, long double v) {
  if (m.c == 0) return NeedleAngle(m, v);
  if (v < 10) return (v * m.c + m.zero) * kUnitsPerDegree;
  return (v * m.one + m.zero - (m.one - m.c) * 10) * kUnitsPerDegree;
}

void GaugeStep(TPanelState& p, const TGaugeInputs& in, const TCabPanel& panel, const TPanelSprites& ids,
               SpriteEngine& sprites) {
  if (TSprite* s = sprites.Get(ids.NeedleSpeed)) {
    const long double v = std::fabs(in.Speed);
    // Beyond the dial, and creeping backwards, the needle stays where it was.
    if (v < 160 && !(-1 < in.Speed && in.Speed < 0)) s->Angle = static_cast<double>(SpeedNeedleAngle(panel.Needle_Speed, v));
  }
  Turn(sprites, ids.NeedleBrake, panel.Needle_Brake, p.BrakeHandleAngle);

  // Another Mc leaves the newest angle as it was, so the mean still moves through the history.
  for (size_t i = p.BcNeedleHistory.size() - 1; i > 0; --i) p.BcNeedleHistory[i] = p.BcNeedleHistory[i - 1];
  if (in.Mc == 0 || in.Mc == 1) {
    const long double press = in.Mc == 0 ? in.BcPressT : in.BcPressM;
    p.BcNeedleHistory[0] = static_cast<long double>(RoundHalfAway(NeedleAngle(panel.Needle_BC, press)));
  }
  if (TSprite* s = sprites.Get(ids.NeedleBC)) {
    long double sum = 0;
    for (long double a : p.BcNeedleHistory) sum += a;
    s->Angle = static_cast<double>(sum / 10);
  }

  Turn(sprites, ids.NeedleBP, panel.Needle_BP, in.BpPress);
  Turn(sprites, ids.NeedleMR, panel.Needle_MR, in.MrPress + in.HornDip);
  Turn(sprites, ids.NeedleSAP, panel.Needle_SAP, in.SapPress);
  Turn(sprites, ids.NeedleER, panel.Needle_ER, in.ErPress);
  Turn(sprites, ids.NeedleV, panel.Needle_V, p.VoltmeterValue);
  if (TSprite* s = sprites.Get(ids.NeedleI)) {
    const Meter& m = panel.Needle_I;
    if (m.sign == 0) s->Angle = static_cast<double>(NeedleAngle(m, in.AmMeterValue));
    if (m.sign == 1) s->Angle = static_cast<double>(NeedleAngle(m, std::abs(int64_t{in.AmMeterValue})));
    if (m.sign == 2) s->Angle = static_cast<double>(m.zero * kUnitsPerDegree);
  }

  if (TSprite* s = sprites.Get(ids.NeedleBC_L); s && (in.Mc == 0 || in.Mc == 1)) {
    const long double press = in.Mc == 0 ? in.BcPressT : in.BcPressM;
    s->Y = static_cast<double>(panel.Needle_BC_L.zero - RoundHalfAway(press * panel.Needle_BC_L.one));
  }
  if (TSprite* s = sprites.Get(ids.NeedleMR_L)) {
    s->Y = static_cast<double>(panel.Needle_MR_L.zero - RoundHalfAway(in.MrPress * panel.Needle_MR_L.one));
  }

  if (TSprite* s = sprites.Get(ids.DigiSpeed)) {
    s->Visible = true;
    const int64_t speed = RoundHalfAway(in.Speed);
    if (speed < 200) s->AnimStart = static_cast<int32_t>(speed < 0 ? -speed : speed);
  }
}

void SmoothGauges(TPanelState& p, Fixed4 lineVoltage, int32_t lastBrakeNotch, int32_t brake) {
  const Fixed4 step = Fixed4::FromRaw(250 * 10000);
  if (p.VoltmeterValue.raw > lineVoltage.raw) p.VoltmeterValue.raw -= step.raw;
  if (p.VoltmeterValue.raw < lineVoltage.raw) p.VoltmeterValue.raw += step.raw;
  p.BrakeHandleTarget = -lastBrakeNotch == brake ? 4.5L : -static_cast<long double>(lastBrakeNotch) / 2;
  const long double half = std::fabs(p.BrakeHandleAngle - p.BrakeHandleTarget) / 2;
  if (p.BrakeHandleAngle > p.BrakeHandleTarget) {
    p.BrakeHandleAngle -= half;
  } else if (p.BrakeHandleAngle < p.BrakeHandleTarget) {
    p.BrakeHandleAngle += half;
  }
}

void LampStep(const TLampInputs& in, const TVehicleTables& tables, const TPanelSprites& ids, SpriteEngine& sprites) {
  if (in.AppliedNotch < 1) {
    Show(sprites, ids.LampPower, false);
  } else if (DoorsAllowPower(in)) {
    Show(sprites, ids.LampPower, true);
  }

  const bool dynamicBrake = in.EBrakeCurrent > 0;
  const TNotchRow* row = in.AppliedNotch >= 0 && in.AppliedNotch < static_cast<int32_t>(tables.Notch.size())
                             ? &tables.Notch[static_cast<size_t>(in.AppliedNotch)]
                             : nullptr;
  const bool gen = (in.HoldEngaged && in.Resistance.raw > 0 && dynamicBrake) || (ServiceBrake(in) && dynamicBrake) ||
                   (in.SuppressPos > 0 && dynamicBrake) ||
                   (in.PowerNotch > 0 && in.TractiveForce.raw < 0 && row && row->A0 < 0);
  Show(sprites, ids.LampGen, gen);

  if (DoorsAllowPower(in)) Show(sprites, ids.LampEle, in.AppliedNotch > 0 || (ServiceBrake(in) && dynamicBrake));

  // At the last step there is no next row to compare with: it counts as a different one, so the
  // lamp shows that the last step is reached.
  const auto& steps = tables.CurrentP.Rows;
  const int32_t count = std::min<int32_t>(tables.CurrentPCount, static_cast<int32_t>(steps.size()));
  bool fin = false;
  if (0 < in.CurrentStepIdx && in.CurrentStepIdx < count) {
    const size_t i = static_cast<size_t>(in.CurrentStepIdx);
    fin = i + 1 >= steps.size() || steps[i].MinNotch != steps[i + 1].MinNotch;
  }
  Show(sprites, ids.LampFin, fin);

  Show(sprites, ids.LampAir, ServiceBrake(in));
  if (in.ConstActive == 1) Show(sprites, ids.LampConst, true);
  if (in.ConstActive == 0) Show(sprites, ids.LampConst, false);
}

void OtherImagesStep(int32_t atsType, const TPanelSprites& ids, SpriteEngine& sprites) {
  Show(sprites, ids.OtherImages[5], atsType == 1);
  Show(sprites, ids.OtherImages[6], true);
}

}  // namespace kavrin

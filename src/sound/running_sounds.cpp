#include "sound/running_sounds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/rounding.h"

namespace kavrin {

namespace {

constexpr int32_t kSilent = kSilentVolume;

bool Busy(const SoundBank& bank, int32_t c) { return bank.GetStatus(c) != 0; }

// Loops the channel unless it already plays.
void Loop(SoundBank& bank, int32_t c) {
  if (Busy(bank, c)) return;
  bank.Stop(c);
  bank.LoopPlay(c);
}

void StopBusy(SoundBank& bank, int32_t c) {
  if (Busy(bank, c)) bank.Stop(c);
}

// A computed volume, held inside what the bank takes.
int32_t Clamp32(long double v) {
  constexpr long double lo = std::numeric_limits<int32_t>::min();
  constexpr long double hi = std::numeric_limits<int32_t>::max();
  if (std::isnan(v)) return kSilent;
  return static_cast<int32_t>(std::clamp(v, lo, hi));
}

int32_t RoundEven32(long double v) {
  if (std::isnan(v)) return kSilent;
  return Clamp32(std::nearbyint(std::clamp(v, -4.0e9L, 4.0e9L)));
}

int32_t RoundUp32(long double v) {
  if (std::isnan(v)) return kSilent;
  return Clamp32(static_cast<long double>(RoundHalfAway(std::clamp(v, -4.0e9L, 4.0e9L))));
}

// The channel in column 2 of a handle-sound row, 0 (no data) for a row the table lacks.
int32_t HandleRowChannel(const std::array<std::array<int32_t, 2>, kHandleSoundRows>& rows, int32_t count,
                         int32_t row) {
  if (row < 0 || row >= count || row >= kHandleSoundRows) return -1;
  return rows[static_cast<size_t>(row)][1];
}

// Point-slope between (x0, y0) and (x1, y1) at x; nothing for a span of no width.
bool Line(long double x0, long double y0, long double x1, long double y1, long double x, long double& y) {
  if (x1 == x0) return false;
  y = y0 + (x - x0) * (y1 - y0) / (x1 - x0);
  return true;
}

constexpr int32_t kMaxBand = 11;  // the 10 km/h bands run from channel 0 to channel 12

}  // namespace

void ResetRunningSounds(TRunningSoundState& s, TSoundState& levels) {
  StartRunningSounds(s);
  levels.MotorRowLevel.fill(1);
  levels.HensokuRowLevel.fill(1);
  levels.MotorLevel = 1;
  levels.HensokuLevel = 1;
}

void BrakeSqueal(SoundBank& bank, const TVehicleTables& t, const TBrakeSoundInputs& in) {
  const int32_t c = t.SoundSqueak;
  const long double speed = std::fabs(in.Speed);
  const bool braking = in.BcPressT > 0 && speed > 1 && in.EBrakeCurrent == 0;
  if (braking) Loop(bank, c);
  if (in.BcPressT == 0) {
    if (bank.Volume(c) > -6000) bank.SetVolume(c, bank.Volume(c) - 100);
    if (bank.Volume(c) < -5000) StopBusy(bank, c);
  }
  if (speed < 1) {
    if (bank.Volume(c) > -6000) bank.SetVolume(c, bank.Volume(c) - 1000);
    if (bank.Volume(c) < -5000) StopBusy(bank, c);
  }
  // Without a shoe-loss figure there is no volume to work out; the channel keeps its own.
  if (braking && in.LoseElec1 != 0) {
    bank.SetVolume(c, RoundEven32(-250000.0L * speed / (static_cast<long double>(in.LoseElec1) * in.BcPressT)));
  }
}

void BrakeReleaseSound(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t,
                       const TBrakeSoundInputs& in) {
  if (in.BrakeType <= 0 || in.ATSTrip || in.EmergencyTrip) return;
  auto once = [&](int32_t c) {
    if (s.BrakeSoundDone != 0 || (c >= 0 && Busy(bank, c))) return;
    if (c >= 0) RestartChannel(bank, c);
    s.BrakeSoundDone = 1;
  };
  if (in.LastBrakeNotch != -1 && in.BrakeNotch == 0 && in.BcPressT > 0) {
    once(HandleRowChannel(t.SoundBK, t.SoundBKRows, -in.LastBrakeNotch - 1));
  } else if (in.LastBrakeNotch < in.BrakeNotch && in.Brake != 0 &&
             in.BcPressT - 10 > static_cast<long double>(in.EBPress) * -in.BrakeNotch / in.Brake) {
    once(HandleRowChannel(t.SoundBR, t.SoundBRRows, -in.BrakeNotch));
  } else {
    s.BrakeSoundDone = 0;
  }
}

void EmergencyBrakeSound(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t,
                         const TBrakeSoundInputs& in) {
  const bool emergency = in.EmergencyTrip || in.BrakeNotch == -in.Brake;
  if (!emergency) {
    s.EBSoundDone = 0;
    return;
  }
  if (in.BrakeType == 0 || in.BrakeType == 1) {
    if (in.BpPress > 0 && s.EBSoundDone == 0) {
      RestartChannel(bank, t.SoundEB);
      s.EBSoundDone = 1;
    }
  } else if (in.BrakeType == 2) {
    if (in.BcPressT < in.EBPress && s.EBSoundDone == 0 && in.Speed > t.SoundEB2) {
      RestartChannel(bank, t.SoundEB);
      s.EBSoundDone = 1;
    }
  }
}

void AutomaticBrakeSounds(SoundBank& bank, const TVehicleTables& t, const TBrakeSoundInputs& in) {
  if (in.BrakeType != 0) return;
  const int32_t apply = t.SoundApply[0];
  if (in.LastBrakeNotch == -3 && in.BpPress > 0) {
    Loop(bank, apply);
    bank.SetVolume(apply, in.BpPress < 100 ? Level(in.BpPress / 100) : 0);
  } else {
    StopBusy(bank, apply);
  }
  const int32_t charge = t.SoundApply[1];
  if (in.MrPress > in.BpPress + 10 && in.LastBrakeNotch >= -1 && in.BpPress < 490) {
    Loop(bank, charge);
    int32_t v = 0;
    if (in.BpPress > 440) v = Level((490 - in.BpPress) / 100);
    else if (in.MrPress - in.BpPress < 50) v = Level((in.MrPress - in.BpPress) / 100);
    bank.SetVolume(charge, v);
  } else {
    StopBusy(bank, charge);
  }
}

void AttenuationZones(TRunningSoundState& s, const TRouteTables& route, int32_t curFrame) {
  s.AttenFactor = 1;
  for (const TAttenRec& a : route.Attens) {
    if (a.FromFrame < curFrame && curFrame < a.ToFrame) s.AttenFactor = a.Volume / 100.0L;
  }
}

void EnvironmentSounds(TRunningSoundState& s, SoundBank& bank, const TRouteTables& route,
                       const TChannelLayout& layout, const TLineSoundInputs& in) {
  const int32_t count = route.RouteSounds.Count();
  for (int32_t i = 0; i < count; ++i) {
    const TRouteSoundRec& r = route.RouteSounds[i];
    const int32_t c = layout.RouteChannel(r.SoundIndex);
    uint8_t& started = s.RouteSoundStarted[static_cast<size_t>(i)];
    const bool inside = r.FromFrame < in.CurFrame && in.CurFrame < r.ToFrame;
    // A reference speed of 0 gives no pitch or level by speed: that law is left out, the rest
    // of the row goes on.
    auto pitch = [&] {
      if (r.PitchBySpeed == 0) bank.SetFreqRate(c, 1);
      else if (r.RefSpeed != 0) bank.SetFreqRate(c, static_cast<double>(in.Speed / r.RefSpeed));
    };
    auto volume = [&] {
      if (in.Speed > 0 && r.VolumeBySpeed == 1) {
        if (r.RefSpeed != 0) bank.SetVolume(c, Level(in.Speed * s.AttenFactor / r.RefSpeed, 5000));
      } else {
        bank.SetVolume(c, 0);
      }
    };
    if (r.SlowTrigger == 1) {
      if (inside && !started && RoundHalfAway(in.Speed) <= r.RefSpeed) {
        RestartChannel(bank, c);
        started = 1;
      }
      continue;
    }
    const int32_t d1 = in.CurFrame - r.FromFrame;
    const int32_t d2 = r.ToFrame - in.CurFrame;
    const int32_t d3 = in.CurFrame - r.ToFrame;
    auto fade = [&](int32_t d) {
      if (r.Fade == 1) s.AttenFactor = d * 3.3L / 100;
      s.AttenFactor = std::clamp(s.AttenFactor, 0.1L, 1.0L);
    };
    if (r.Loop == 0) {
      if (d1 >= 0 && d1 < 30) {
        pitch();
        volume();
        if (!started) {
          RestartChannel(bank, c);
          started = 1;
        }
      }
    } else {
      if (d1 >= 0 && d1 < 30) {
        fade(d1);
        pitch();
        volume();
        if (!started) {
          bank.Stop(c);
          bank.LoopPlay(c);
          started = 1;
        }
      }
      if (d2 >= 0 && d2 < 30) fade(d2);
      if (d3 >= 0 && d3 < 30 && started) StopBusy(bank, c);
    }
    if (inside) {
      pitch();
      volume();
      if (in.Speed < 1) bank.SetVolume(c, kSilent);
    }
    if (bank.Volume(c) > 0) bank.SetVolume(c, 0);
  }
}

void PointsSounds(TRunningSoundState& s, SoundBank& bank, const TRouteTables& route, const TVehicleTables& t,
                  const TLineSoundInputs& in) {
  const int32_t count = route.Switches.Count();
  const int32_t kinds = std::min<int32_t>(t.SwitchSoundCount, static_cast<int32_t>(t.SwitchSound.size()));
  for (int32_t i = 0; i < count; ++i) {
    const TSwitchRec& sw = route.Switches[i];
    if (std::abs(static_cast<int64_t>(sw.Frame) - in.CurFrame) >= 15) continue;
    uint8_t& played = s.SwitchPlayed[static_cast<size_t>(i)];
    if (!played) {
      for (int32_t j = 0; j < kinds; ++j) {
        const TSwitchSoundRow& row = t.SwitchSound[static_cast<size_t>(j)];
        if (row.BelowSpeed > in.Speed && row.SwitchKind == sw.SoundId) {
          RestartChannel(bank, row.Channel);
          break;
        }
      }
    }
    played = 1;
  }
}

void DopplerSounds(SoundBank& bank, const TRouteTables& route, const TChannelLayout& layout,
                   const TLineSoundInputs& in) {
  constexpr long double kSoundSpeed = 1220;  // km/h
  constexpr long double kSideDistance = 300;  // cm from the track
  bool active = false;
  for (const TDopplerRec& r : route.Dopplers) {
    const int32_t c = layout.RouteChannel(r.SoundIndex);
    const long double x = in.Position - r.Pos;
    const long double d = std::fabs(x);
    if (!(d <= r.Range)) continue;
    const bool released = r.Station == 0 || (r.Station > 0 && static_cast<size_t>(r.Station) < in.DepAnnounced.size() &&
                                             in.DepAnnounced[static_cast<size_t>(r.Station)] != 0);
    if (!Busy(bank, c) && released) Loop(bank, c);
    if (r.NoShift == 0 && x != 0) {
      const long double toward = std::cos(std::atan(kSideDistance / -x)) * in.Speed;
      const long double ratio = x < 0 ? kSoundSpeed / (kSoundSpeed - toward) : kSoundSpeed / (kSoundSpeed + toward);
      bank.SetFreqRate(c, static_cast<double>(ratio));
    }
    bank.SetVolume(c, Level((r.Range - d) / r.Range));
    active = true;
  }
  if (active) return;
  for (const TDopplerRec& r : route.Dopplers) StopBusy(bank, layout.RouteChannel(r.SoundIndex));
}

void RunningBands(SoundBank& bank, int32_t driveSoundCount, long double speed) {
  auto band = [&](int32_t b) { return b >= 0 && b < driveSoundCount; };
  const int64_t n = std::llabs(RoundHalfAway(speed));
  if (std::llabs(Round(speed)) < 120) {
    const int32_t b = static_cast<int32_t>(std::min<int64_t>(n / 10, kMaxBand));
    if (n > 10 && b >= 2 && band(b - 1)) StopBusy(bank, b - 1);
    if (n < 110 && band(b + 2)) StopBusy(bank, b + 2);
    if (band(b)) Loop(bank, b);
    if (band(b + 1)) Loop(bank, b + 1);
    int64_t lower = 100 - (n % 10) * 10;
    int64_t upper = (n % 10) * 10;
    if (lower == 0) lower = 1;
    if (upper == 0) upper = 1;
    // Channel 0 is the standing sound: its volume is its own.
    if (b >= 1 && band(b)) bank.SetVolume(b, RoundUp32(LevelLaw(lower / 100.0L)));
    if (band(b + 1)) bank.SetVolume(b + 1, RoundUp32(LevelLaw(upper / 100.0L)));
  } else if (n >= 120 && band(kMaxBand + 1) && !Busy(bank, kMaxBand + 1)) {
    bank.Stop(kMaxBand + 1);
    bank.LoopPlay(kMaxBand + 1);
    bank.SetVolume(kMaxBand + 1, 0);
  }
}

void ElectricMotorCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                         const TMotorSoundInputs& in) {
  const int32_t rows = std::min<int32_t>(t.MotorSoundCount, kMotorSoundRows);
  const long double speed = std::fabs(in.Speed);
  const bool emergencyNotch = in.LastBrakeNotch == -in.Brake;
  for (int32_t r = 0; r < rows; ++r) {
    const MotorSoundData& m = t.EngineSound1[static_cast<size_t>(r)];
    const int32_t c = levels.Layout.EngineChannel1(r);
    long double& curve = s.MotorCurveVol[static_cast<size_t>(r)];
    const long double sp[] = {m.Speed1, m.Speed2, m.Speed3, m.Speed4};
    const long double rate[] = {m.Rate1, m.Rate2, m.Rate3, m.Rate4};
    const long double vol[] = {m.Volume1, m.Volume2, m.Volume3, m.Volume4};
    curve = 1;
    for (int k = 0; k < 3; ++k) {
      if (sp[k] < speed && speed <= sp[k + 1]) {
        long double ratio = 0;
        if (Line(sp[k], rate[k], sp[k + 1], rate[k + 1], speed, ratio)) bank.SetFreqRate(c, static_cast<double>(ratio));
        Line(sp[k], vol[k], sp[k + 1], vol[k + 1], speed, curve);
        break;
      }
    }
    long double& level = levels.MotorRowLevel[static_cast<size_t>(r)];
    const bool wanted = (m.kagen == 0 && in.AppliedNotch > 0) ||
                        (m.kagen == 1 && in.LastBrakeNotch < 0 && !emergencyNotch) ||
                        (m.kagen >= 2 && !emergencyNotch);
    if (wanted) level = 100;
    else if (level > 11) level -= 10;
  }
  const bool working = in.AppliedNotch != 0 || in.LastBrakeNotch != 0 || in.SuppressPos != 0 || in.ATSTrip ||
                       in.EmergencyTrip;
  if (working) {
    if (levels.MotorLevel < 85) levels.MotorLevel += 20;
  } else if (levels.MotorLevel > 15) {
    levels.MotorLevel -= 10;
  }
  levels.MotorLevel = std::min<long double>(levels.MotorLevel, 100);
  for (int32_t r = 0; r < rows; ++r) {
    const MotorSoundData& m = t.EngineSound1[static_cast<size_t>(r)];
    const int32_t c = levels.Layout.EngineChannel1(r);
    long double& curve = s.MotorCurveVol[static_cast<size_t>(r)];
    const long double level = levels.MotorRowLevel[static_cast<size_t>(r)];
    curve = std::max<long double>(curve, 1);
    const long double x = m.kagen == 3 ? 100 : levels.MotorLevel;
    const int32_t v = Level(curve * level * x / 1000000, 1660);
    bank.SetVolume(c, v > -3000 && level > 10 ? v : kSilent);
    if (level < 5) StopBusy(bank, c);
    else Loop(bank, c);
  }
}

void DoorOpenCounter(TRunningSoundState& s, int32_t doorState, int32_t doorOpening) {
  if (doorState == 1 && doorOpening == 0) ++s.DoorOpenTicks;
  else if (doorState == 0 && doorOpening == 0) s.DoorOpenTicks = 0;
}

void DieselEngineCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                        const TMotorSoundInputs& in) {
  const int32_t rows = std::min<int32_t>(t.MotorSoundCount, kMotorSoundRows);
  const long double e = in.EngineRpm;
  for (int32_t r = 0; r < rows; ++r) {
    const MotorSoundData& m = t.EngineSound1[static_cast<size_t>(r)];
    const int32_t c = levels.Layout.EngineChannel1(r);
    long double& curve = s.MotorCurveVol[static_cast<size_t>(r)];
    long double ratio = 0;
    if (m.Speed1 < e && e < m.Speed4) {
      if (Line(m.Speed1, m.Rate1, m.Speed4, m.Rate4, e, ratio)) bank.SetFreqRate(c, static_cast<double>(ratio));
      Line(m.Speed1, m.Volume1, m.Speed4, m.Volume4, e, curve);
    } else if (m.Speed1 - 10 < e && e < m.Speed4 + 10) {
      // The 10-unit fade at either end of the span.
      if (Line(m.Speed1, m.Rate1, m.Speed4, m.Rate4, e, ratio)) bank.SetFreqRate(c, static_cast<double>(ratio));
      curve = e <= m.Speed1 ? m.Volume1 * (e - m.Speed1 + 10) / 10 : m.Volume4 * (m.Speed4 + 10 - e) / 10;
    } else {
      curve = 1;
    }
    long double& level = levels.MotorRowLevel[static_cast<size_t>(r)];
    if (m.kagen == -1) level = 100;
    else if (m.kagen == -2) {
      if (in.LastBrakeNotch < 0) level = 100;
    } else if (m.kagen >= 0) {
      level = m.kagen == in.Gear ? 100 : 1;
    }
  }
  const int32_t idle = t.EngineSound2[0], doorsIdle = t.EngineSound2[1];
  auto idleOn = [&](int32_t c) {
    if (Busy(bank, c)) return;
    bank.Stop(idle);
    bank.Stop(doorsIdle);
    bank.LoopPlay(c);
  };
  if (in.EngineRunning == 1) {
    if (s.DoorOpenTicks == 55 || in.DoorState == 0) idleOn(idle);
    else if (in.DoorState == 1 && s.DoorOpenTicks < 30) idleOn(doorsIdle);
  } else {
    StopBusy(bank, idle);
    StopBusy(bank, doorsIdle);
  }
  if (in.AppliedNotch != 0 && in.GearShiftState == 0 && in.EngineRunning == 1) {
    if (levels.MotorLevel < 95) levels.MotorLevel += 5;
  } else if (in.AppliedNotch == 0 || in.GearShiftState != 0) {
    if (levels.MotorLevel > 5) levels.MotorLevel -= 5;
  }
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t c = levels.Layout.EngineChannel1(r);
    long double& curve = s.MotorCurveVol[static_cast<size_t>(r)];
    curve = std::max<long double>(curve, 1);
    bank.SetVolume(c, Level(curve * levels.MotorRowLevel[static_cast<size_t>(r)] * levels.MotorLevel / 1000000, 1660));
    Loop(bank, c);
  }
}

void GearChangeCurves(TRunningSoundState& s, TSoundState& levels, SoundBank& bank, const TVehicleTables& t,
                      const TMotorSoundInputs& in) {
  const int32_t rows = std::min<int32_t>(t.HensokuSoundCount, kHensokuSoundRows);
  const long double v = in.Speed;
  for (int32_t r = 0; r < rows; ++r) {
    const HensokuSoundData& h = t.EngineSound3[static_cast<size_t>(r)];
    const int32_t c = levels.Layout.EngineChannel3(r);
    long double& curve = s.HensokuCurveVol[static_cast<size_t>(r)];
    long double ratio = 0;
    if (h.StartSpeed < v && v < h.EndSpeed) {
      if (Line(h.StartSpeed, h.StartRate, h.EndSpeed, h.EndRate, v, ratio)) {
        bank.SetFreqRate(c, static_cast<double>(ratio));
      }
      Line(h.StartSpeed, h.StartVolume, h.EndSpeed, h.EndVolume, v, curve);
    } else if (h.StartSpeed - 10 < v && v < h.EndSpeed + 10) {
      if (Line(h.StartSpeed, h.StartRate, h.EndSpeed, h.EndRate, v, ratio)) {
        bank.SetFreqRate(c, static_cast<double>(ratio));
      }
      curve = v <= h.StartSpeed ? h.StartVolume * (v - h.StartSpeed + 10) / 10
                                : h.EndVolume * (h.EndSpeed + 10 - v) / 10;
    } else {
      curve = 1;
    }
    long double& level = levels.HensokuRowLevel[static_cast<size_t>(r)];
    if (h.kagen == 1 && in.AppliedNotch >= 1) {
      if (h.gear == in.Gear && level < 95) level += 10;
    } else if (h.kagen == 2 && in.LastBrakeNotch < 0 && in.Speed > in.LoseElec0) {
      if (level < 95) level += 10;
    } else if (level > 10) {
      level -= 10;
    }
  }
  const bool handled = in.AppliedNotch != 0 || in.LastBrakeNotch != 0;
  if (handled && in.GearShiftState == 0 && in.EngineRunning == 1) {
    if (levels.HensokuLevel < 95) levels.HensokuLevel += 10;
  } else if (!handled || in.GearShiftState != 0) {
    if (levels.HensokuLevel > 10) levels.HensokuLevel -= 10;
  }
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t c = levels.Layout.EngineChannel3(r);
    long double& curve = s.HensokuCurveVol[static_cast<size_t>(r)];
    curve = std::max<long double>(curve, 1);
    bank.SetVolume(
        c, Level(curve * levels.HensokuRowLevel[static_cast<size_t>(r)] * levels.HensokuLevel / 1000000, 1660));
    Loop(bank, c);
  }
}

void HornStep(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t, const THornInputs& in,
              Fixed4& mrPress) {
  const int32_t a = t.Horn4[0], b = t.Horn4[1], c = t.Horn4[2], end = t.Horn4[3], gap = t.Horn4[4];
  const long double air = t.HornAir;
  const bool held = in.HornKey == 1 || in.HornPad == 1 || in.HornTap == 1;
  const bool gapPassed = in.ClockTime - s.LastHornTime > gap;
  if (held) {
    if (!Busy(bank, a) && !Busy(bank, b) && !Busy(bank, c)) {
      s.LastHornTime = in.ClockTime;
      bank.Play(a);
    } else if (gapPassed) {
      int32_t next = -1;
      if (Busy(bank, a) && !Busy(bank, b)) next = b;
      else if (Busy(bank, b) && !Busy(bank, c)) next = c;
      else if (Busy(bank, c) && !Busy(bank, b)) next = b;
      if (next >= 0) {
        bank.Play(next);
        s.LastHornTime = in.ClockTime;
      }
    }
  } else {
    for (int32_t segment : {a, b, c}) {
      if (Busy(bank, segment) && !Busy(bank, end) && gapPassed) bank.Play(end);
    }
  }
  if (held) {
    if (-air <= s.HornDip) s.HornDip = s.HornDip - air / 2;
    mrPress = mrPress - air / 20;
    if (mrPress + s.HornDip < 0) s.HornDip = -static_cast<long double>(mrPress);
    return;
  }
  // Back to the pressure with a swing that dies away.
  if (s.HornDip > 0) s.HornDip = s.HornDip - s.HornDipRate;
  else if (s.HornDip.raw == 0) s.HornDipRate = air;
  else s.HornDip = s.HornDip + s.HornDipRate;
  if (s.HornDip.raw != 0) {
    s.HornDipRate -= air / 5;
    if (s.HornDipRate < 0) {
      s.HornDip = Fixed4{};
      s.HornDipRate = 1;
    }
  }
}

void BuzzerStep(TRunningSoundState& s, SoundBank& bank, const TVehicleTables& t, const THornInputs& in) {
  const bool held = in.BuzzerKey == 1 || s.BuzzerPad == 1;
  if (t.Key4Mode == "H") {
    const int32_t bell = t.SoundHasten[0];
    if (held && in.DoorState == 1) {
      Loop(bank, bell);
    } else if (!held && Busy(bank, bell)) {
      bank.Stop(bell);
      RestartChannel(bank, t.SoundHasten[1]);
    }
  } else if (t.Key4Mode == "B") {
    if (held) Loop(bank, t.SoundBuzzer);
    else StopBusy(bank, t.SoundBuzzer);
  }
}

}  // namespace kavrin

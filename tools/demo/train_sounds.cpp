#include "demo/train_sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "demo/synth.h"

namespace kavrin::demo {

namespace {

std::string Common(const std::string& name) { return "train/common/" + name + ".wav"; }
std::string Own(Train t, const std::string& name) { return TrainFolder(t) + "/" + name + ".wav"; }
SoundFile Made(const std::string& file, const std::string& recipe) { return {file, "", recipe}; }

// ---- Pieces ----

Samples NoiseBurst(Noise& n, double seconds, double attack, double decay) {
  Samples s(Len(seconds));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(n.Next() * std::min(1.0, t / std::max(attack, 1e-4)) * std::exp(-t * decay));
  }
  return s;
}

// Compressed air let out: bright noise with a soft start.
Samples Hiss(Noise& n, double seconds, double attack, double decay, double low = 1200) {
  Samples s = NoiseBurst(n, seconds, attack, decay);
  HighPass(s, low);
  LowPass(s, 7000);
  Fade(s, 0, std::min(0.2, seconds / 4));
  return s;
}

// A hard knock: a short low thump with a click on top.
Samples Knock(Noise& n, double hz, double seconds) {
  Samples s(Len(seconds));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(std::sin(2 * M_PI * hz * t) * std::exp(-t * 35) + 0.4 * n.Next() * std::exp(-t * 180));
  }
  return s;
}

// A tone of rich harmonics (sawtooth-like, band-limited by hand), optionally sliding in pitch.
Samples Reed(double hz0, double hz1, double seconds, int harmonics, double rolloff) {
  Samples s(Len(seconds));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = hz0 + (hz1 - hz0) * t / seconds;
    phase += 2 * M_PI * f / kRate;
    double v = 0;
    for (int h = 1; h <= harmonics; ++h) v += std::sin(h * phase) / std::pow(h, rolloff);
    s[i] = static_cast<float>(v);
  }
  return s;
}

Samples Silence(double seconds) { return Samples(Len(seconds), 0.0f); }

// ---- Running, brakes and air ----

// The wheels at 10 b km/h: a rumble that grows with speed and the knock of the rail joints under
// the cab's bogies, 25 m apart. The loop holds a whole number of joints so that it repeats
// without a stumble.
Samples RunBand(int band, Noise& n) {
  const double v = band * 10.0;
  const double ms = std::max(v, 1.0) / 3.6;
  double loop = 3.0;
  const double joint = 25.0 / ms;
  if (band >= 2) loop = joint * std::ceil(3.0 / joint);
  Samples s(Len(loop + 0.3));
  for (float& x : s) x = n.Next();
  LowPass(s, 120 + v * 5);
  LowPass(s, 200 + v * 8);
  Normalise(s, 0.25 + band * 0.03);
  if (band >= 2) {
    for (double at = 0.15; at < loop + 0.3; at += joint) {
      for (double axle : {0.0, 2.1 / ms}) {
        Add(s, Knock(n, 70 + v * 0.4, 0.14), at + axle, 0.28 + band * 0.02);
        // The bogie at the other end of the car, fainter.
        Add(s, Knock(n, 60 + v * 0.3, 0.12), at + axle + 13.8 / ms, 0.12 + band * 0.01);
      }
    }
  }
  // Channel 0 and 1 also play at a stand, so the slowest bands stay soft.
  Normalise(s, band == 0 ? 0.02 : band == 1 ? 0.12 : std::min(0.9, 0.35 + band * 0.05));
  return Loop(s, loop);
}

Samples Squeal(Noise& n) {
  const double len = 2.0;
  Samples s(Len(len + 0.3));
  double p1 = 0, p2 = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    p1 += 2 * M_PI * 2400 * (1 + 0.01 * std::sin(2 * M_PI * 3.1 * t)) / kRate;
    p2 += 2 * M_PI * 3150 * (1 + 0.008 * std::sin(2 * M_PI * 2.3 * t)) / kRate;
    const double env = 0.6 + 0.4 * std::sin(2 * M_PI * 1.5 * t);
    s[i] = static_cast<float>(env * (std::sin(p1) + 0.6 * std::sin(p2)) + 0.05 * n.Next());
  }
  Normalise(s, 0.5);
  return Loop(s, len);
}

Samples Emergency(Noise& n) {
  Samples s = Hiss(n, 3.0, 0.01, 0.9, 500);
  Add(s, Knock(n, 55, 0.4), 0, 0.8);
  Normalise(s, 0.9);
  return s;
}

// ---- Doors and signals ----

Samples DoorSlide(Noise& n, double seconds) {
  Samples s = NoiseBurst(n, seconds, 0.15, 0.3);
  LowPass(s, 300);
  Normalise(s, 0.4);
  Fade(s, 0.1, 0.3);
  return s;
}

Samples DoorOpen(Noise& n) {
  Samples s = Hiss(n, 0.5, 0.005, 6);
  Normalise(s, 0.5);
  Add(s, DoorSlide(n, 1.6), 0.25);
  Add(s, Knock(n, 90, 0.3), 1.85, 0.7);
  Normalise(s, 0.8);
  return s;
}

Samples DoorClose(Noise& n) {
  Samples s;
  // The closing chime twice, then the doors.
  for (int i = 0; i < 2; ++i) {
    Add(s, Bell(1046.5, 0.6, 4.0), i * 0.7, 0.35);
    Add(s, Bell(830.6, 0.7, 4.0), i * 0.7 + 0.3, 0.35);
  }
  Add(s, Hiss(n, 0.4, 0.005, 7), 1.4, 0.4);
  Add(s, DoorSlide(n, 1.4), 1.5);
  Add(s, Knock(n, 80, 0.35), 2.9, 0.9);
  Normalise(s, 0.8);
  return s;
}

// An electric bell: a clapper striking many times a second.
Samples ElectricBell(double hz, double seconds, double strikesPerSecond) {
  Samples s;
  for (double t = 0; t < seconds; t += 1.0 / strikesPerSecond) Add(s, Bell(hz, 0.25, 14.0), t, 0.5);
  s.resize(Len(seconds));
  return s;
}

Samples Buzz(double hz, double seconds) {
  Samples s = Reed(hz, hz, seconds, 12, 0.7);
  LowPass(s, 2500);
  Fade(s, 0.01, 0.03);
  Normalise(s, 0.6);
  return s;
}

Samples TwoTone(double a, double b, double each, double gap) {
  Samples s;
  Add(s, Bell(a, each + 0.6, 3.0), 0, 0.5);
  Add(s, Bell(b, each + 0.8, 2.5), each + gap, 0.5);
  return s;
}

Samples Beeps(double hz, int count, double on, double period, double total) {
  Samples s(Len(total));
  for (int i = 0; i < count; ++i) {
    Samples b = Tone(hz, on);
    Add(s, b, i * period, 0.5);
  }
  s.resize(Len(total));
  return s;
}

Samples Click(Noise& n, double hz, double seconds, double gain) {
  Samples s = Knock(n, hz, seconds);
  Samples tick = NoiseBurst(n, 0.02, 0.0005, 250);
  HighPass(tick, 2000);
  Add(s, tick, 0, 1.5);
  Normalise(s, gain);
  return s;
}

// ---- Compressors ----

Samples RotaryCompressor(Noise& n, int part) {
  // 0 start, 1 loop, 2 stop: a hum at the motor's speed and the whine of the screw.
  const double len = part == 1 ? 2.0 : part == 0 ? 1.0 : 1.6;
  Samples s(Len(len + (part == 1 ? 0.3 : 0)));
  double p = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double k = 1;
    if (part == 0) k = std::min(1.0, 0.2 + t / 0.8);
    if (part == 2) k = std::max(0.0, 1 - t / 1.0);
    p += 2 * M_PI * 100 * k / kRate;
    s[i] = static_cast<float>(k * (std::sin(p) + 0.5 * std::sin(2 * p) + 0.3 * std::sin(9 * p)) + 0.15 * k * n.Next());
  }
  LowPass(s, 2500);
  if (part == 2) Add(s, Hiss(n, 0.8, 0.01, 4), 0.6, 0.5);
  Normalise(s, 0.5);
  return part == 1 ? Loop(s, len) : s;
}

Samples PistonCompressor(Noise& n, int part) {
  // The thud of each stroke, eight a second once running.
  const double len = part == 1 ? 2.0 : part == 0 ? 1.2 : 1.6;
  Samples s = Silence(len + (part == 1 ? 0.3 : 0));
  double t = 0;
  while (t < Seconds(s)) {
    double rate = 8;
    if (part == 0) rate = 3 + 5 * std::min(1.0, t / 1.0);
    if (part == 2) rate = std::max(2.0, 8 - 6 * t / 0.8);
    if (part == 2 && t > 0.9) break;
    Add(s, Knock(n, 48, 0.11), t, 0.7);
    t += 1.0 / rate;
  }
  s.resize(Len(len + (part == 1 ? 0.3 : 0)));
  Samples air = NoiseBurst(n, Seconds(s), 0.2, 0);
  LowPass(air, 900);
  Add(s, air, 0, 0.06);
  if (part == 2) Add(s, Hiss(n, 0.7, 0.01, 4), 0.9, 0.4);
  Normalise(s, 0.55);
  return part == 1 ? Loop(s, len) : s;
}

// ---- Horns ----

// A held horn is played in overlapping pieces (as the horn key asks for them): an attack, two
// sustains the program alternates, and the tail when the key is let go.
Samples HornPiece(Noise& n, bool electric, int piece) {
  const double len = piece == 3 ? 0.6 : 0.6;
  Samples s;
  const std::vector<double> pitches = electric ? std::vector<double>{349.2, 440.0} : std::vector<double>{659.3, 987.8};
  for (double hz : pitches) Add(s, Reed(hz, hz, len, 14, 1.1), 0, 0.5);
  Samples breath = NoiseBurst(n, len, 0.01, 0);
  HighPass(breath, 800);
  Add(s, breath, 0, 0.05);
  LowPass(s, electric ? 3000 : 4500);
  if (piece == 0) Fade(s, 0.04, 0.15);
  else if (piece == 3) {
    for (size_t i = 0; i < s.size(); ++i) s[i] *= static_cast<float>(std::exp(-static_cast<double>(i) / kRate * 7));
    Fade(s, 0.08, 0.05);
  } else {
    Fade(s, 0.12, 0.15);
  }
  Normalise(s, 0.7);
  return s;
}

Samples SecondHorn(bool electric) {
  // The electric car's electronic whistle; the diesel's short low toot.
  Samples s = electric ? Tone(1174.7, 1.2, 0.0) : Reed(415.3, 415.3, 0.8, 10, 1.0);
  if (!electric) LowPass(s, 2500);
  Fade(s, 0.03, 0.2);
  Normalise(s, 0.6);
  return s;
}

// ---- Motors and engines ----

// The traction motors and their gears at 60 km/h, where the curve rates are 1.
Samples MotorWhine(Noise& n) {
  const double len = 2.0;
  Samples s(Len(len + 0.3));
  double p = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    p += 2 * M_PI * 520 / kRate;
    s[i] = static_cast<float>(std::sin(p) + 0.5 * std::sin(2 * p) + 0.25 * std::sin(3 * p) + 0.1 * std::sin(5 * p) +
                              0.12 * n.Next());
  }
  LowPass(s, 3000);
  Normalise(s, 0.6);
  return Loop(s, len);
}

// The inverter's carrier: a buzz of odd harmonics.
Samples Inverter(Noise& n) {
  const double len = 2.0;
  Samples s(Len(len + 0.3));
  double p = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    p += 2 * M_PI * 700 / kRate;
    double v = 0;
    for (int h = 1; h <= 9; h += 2) v += std::sin(h * p) / h;
    s[i] = static_cast<float>(v + 0.05 * n.Next());
  }
  LowPass(s, 5000);
  Normalise(s, 0.45);
  return Loop(s, len);
}

Samples GearHum(Noise& n) {
  const double len = 2.0;
  Samples s(Len(len + 0.3));
  for (float& x : s) x = n.Next();
  LowPass(s, 700);
  Add(s, Tone(260, len + 0.3), 0, 0.15);
  Normalise(s, 0.35);
  return Loop(s, len);
}

// A six-cylinder engine: firing pulses at `hz`, with a little unevenness.
Samples Engine(Noise& n, double hz, double seconds, double roughness) {
  Samples s(Len(seconds));
  double t = 0;
  int k = 0;
  while (t < seconds) {
    Samples pulse(Len(0.05));
    for (size_t i = 0; i < pulse.size(); ++i) {
      const double u = static_cast<double>(i) / kRate;
      pulse[i] = static_cast<float>((std::sin(2 * M_PI * 95 * u) + 0.6 * n.Next()) * std::exp(-u * 70));
    }
    Add(s, pulse, t, (k % 6 == 0 ? 1.0 : 0.8) * (1 + roughness * n.Next()));
    t += 1.0 / hz;
    ++k;
  }
  s.resize(Len(seconds));
  LowPass(s, 900);
  Normalise(s, 0.7);
  return s;
}

Samples EngineLoop(Noise& n, double hz, double roughness) {
  // Whole cycles of the six cylinders in the loop.
  const double cycle = 6.0 / hz;
  const double len = cycle * std::ceil(2.0 / cycle);
  return Loop(Engine(n, hz, len + 0.3, roughness), len);
}

Samples EngineStart(Noise& n) {
  // The starter turns the engine over, it catches and settles to idle.
  Samples s = Silence(4.6);
  Samples starter(Len(2.2));
  double p = 0;
  for (size_t i = 0; i < starter.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    p += 2 * M_PI * (180 + 60 * t) / kRate;
    starter[i] = static_cast<float>(0.4 * (std::sin(p) + 0.4 * std::sin(3 * p)) * (0.7 + 0.3 * std::sin(2 * M_PI * 6 * t)));
  }
  Fade(starter, 0.05, 0.3);
  Add(s, starter, 0, 0.6);
  Samples run;
  double t = 0;
  int k = 0;
  while (t < 2.4) {
    const double hz = 45 - 15 * std::min(1.0, t / 1.6);
    Add(run, Knock(n, 70, 0.06), t, k % 6 == 0 ? 1.0 : 0.8);
    t += 1.0 / hz;
    ++k;
  }
  LowPass(run, 1000);
  Add(s, run, 1.9, 0.8);
  Normalise(s, 0.75);
  Fade(s, 0, 0.2);
  return s;
}

Samples EngineStop(Noise& n) {
  Samples s;
  double t = 0, hz = 30;
  while (hz > 3) {
    Add(s, Knock(n, 65, 0.07), t, std::max(0.1, hz / 30));
    t += 1.0 / hz;
    hz *= 0.93;
  }
  LowPass(s, 900);
  Normalise(s, 0.6);
  Fade(s, 0, 0.3);
  return s;
}

Samples Converter(Noise& n) {
  const double len = 2.0;
  Samples s(Len(len + 0.3));
  double p = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    p += 2 * M_PI * 820 / kRate;
    s[i] = static_cast<float>(std::sin(p) + 0.3 * std::sin(2 * p) + 0.35 * n.Next());
  }
  LowPass(s, 2200);
  Normalise(s, 0.4);
  return Loop(s, len);
}

using Recipe = std::function<Samples(Noise&)>;

const std::map<std::string, Recipe>& Recipes() {
  static const std::map<std::string, Recipe> recipes = [] {
    std::map<std::string, Recipe> r;
    for (int b = 0; b < kRunBands; ++b) r["run" + std::to_string(b)] = [b](Noise& n) { return RunBand(b, n); };
    r["squeal"] = Squeal;
    r["release_long"] = [](Noise& n) { auto s = Hiss(n, 1.8, 0.02, 1.6); Normalise(s, 0.55); return s; };
    r["release_step"] = [](Noise& n) { auto s = Hiss(n, 0.7, 0.01, 4.5); Normalise(s, 0.4); return s; };
    r["apply_air"] = [](Noise& n) { auto s = Hiss(n, 0.5, 0.05, 5, 600); Normalise(s, 0.3); return s; };
    r["emergency"] = Emergency;
    r["door_open"] = DoorOpen;
    r["door_close"] = DoorClose;
    r["hasten"] = [](Noise&) { auto s = ElectricBell(1900, 1.0, 20); Normalise(s, 0.6); return s; };
    r["hasten_end"] = [](Noise&) {
      Samples s = ElectricBell(1900, 0.2, 20);
      Add(s, Bell(1900, 0.8, 5.0), 0.2, 0.5);
      Normalise(s, 0.6);
      return s;
    };
    r["buzzer"] = [](Noise&) { return Buzz(160, 1.0); };
    r["ats_bell"] = [](Noise&) { auto s = ElectricBell(1350, 1.0, 16); Normalise(s, 0.7); return s; };
    r["ats_chime"] = [](Noise&) { auto s = TwoTone(1568, 1318.5, 0.35, 0.05); Normalise(s, 0.6); return s; };
    r["ats_ack"] = [](Noise&) { auto s = Tone(2093, 0.18); Normalise(s, 0.4); return s; };
    r["ats_pattern"] = [](Noise&) { auto s = TwoTone(1318.5, 1046.5, 0.3, 0.02); Normalise(s, 0.6); return s; };
    r["ats_off"] = [](Noise&) { auto s = Beeps(2000, 2, 0.15, 0.25, 1.0); Normalise(s, 0.4); return s; };
    r["vigilance"] = [](Noise&) { auto s = Beeps(2600, 6, 0.12, 0.25, 1.6); Normalise(s, 0.5); return s; };
    r["dep_signal"] = [](Noise&) {
      Samples s = Buzz(200, 0.25);
      Add(s, Buzz(200, 0.6), 0.4);
      return s;
    };
    r["stop_alarm"] = [](Noise&) {
      Samples s = TwoTone(1760, 1396.9, 0.25, 0.02);
      s.resize(Len(1.4));
      Normalise(s, 0.45);
      return s;
    };
    r["click_brake"] = [](Noise& n) { return Click(n, 300, 0.08, 0.35); };
    r["click_power"] = [](Noise& n) { return Click(n, 180, 0.1, 0.35); };
    r["click_emergency"] = [](Noise& n) { return Click(n, 110, 0.25, 0.6); };
    for (int part = 0; part < 3; ++part) {
      r["cp_rotary" + std::to_string(part)] = [part](Noise& n) { return RotaryCompressor(n, part); };
      r["cp_piston" + std::to_string(part)] = [part](Noise& n) { return PistonCompressor(n, part); };
    }
    for (int piece = 0; piece < 4; ++piece) {
      r["horn_e" + std::to_string(piece)] = [piece](Noise& n) { return HornPiece(n, true, piece); };
      r["horn_d" + std::to_string(piece)] = [piece](Noise& n) { return HornPiece(n, false, piece); };
    }
    r["horn2_e"] = [](Noise&) { return SecondHorn(true); };
    r["horn2_d"] = [](Noise&) { return SecondHorn(false); };
    r["motor"] = MotorWhine;
    r["inverter"] = Inverter;
    r["gear"] = GearHum;
    // The engine recorded at full speed (the curve rate 1 at the top of the range) and idling.
    r["engine"] = [](Noise& n) { return EngineLoop(n, 100, 0.08); };
    r["idle"] = [](Noise& n) { return EngineLoop(n, 30, 0.15); };
    r["idle_doors"] = [](Noise& n) {
      // Idling a little faster while the doors stand open and the heating runs.
      Samples s = EngineLoop(n, 34, 0.15);
      Samples fan = NoiseBurst(n, Seconds(s), 0.0, 0);
      LowPass(fan, 500);
      Add(s, fan, 0, 0.08);
      return s;
    };
    r["engine_start"] = EngineStart;
    r["engine_stop"] = EngineStop;
    r["converter"] = Converter;
    r["auto_apply"] = [](Noise& n) {
      Samples s = Hiss(n, 2.3, 0.0, 0, 900);
      Normalise(s, 0.4);
      return Loop(s, 2.0);
    };
    r["auto_charge"] = [](Noise& n) {
      Samples s = Hiss(n, 2.3, 0.0, 0, 2500);
      Normalise(s, 0.2);
      return Loop(s, 2.0);
    };
    return r;
  }();
  return recipes;
}

}  // namespace

std::vector<SoundFile> DriveSounds(Train train) {
  const bool electric = train == Train::Electric;
  std::vector<SoundFile> s;
  for (int b = 0; b < kRunBands; ++b) {
    const std::string name = "run" + std::string(b < 10 ? "0" : "") + std::to_string(b);
    s.push_back(Made(Common(name), "run" + std::to_string(b)));
  }
  for (const char* name : {"squeal", "release_long", "release_step", "apply_air", "emergency", "door_open", "door_close",
                           "hasten", "hasten_end", "buzzer", "ats_bell", "ats_chime", "ats_ack", "ats_pattern", "ats_off",
                           "vigilance", "dep_signal", "stop_alarm", "click_brake", "click_power", "click_emergency"}) {
    s.push_back(Made(Common(name), name));
  }
  const std::string cp = electric ? "cp_rotary" : "cp_piston";
  s.push_back(Made(Own(train, "cp_start"), cp + "0"));
  s.push_back(Made(Own(train, "cp_loop"), cp + "1"));
  s.push_back(Made(Own(train, "cp_end"), cp + "2"));
  const std::string horn = electric ? "horn_e" : "horn_d";
  for (int piece = 0; piece < 4; ++piece) {
    s.push_back(Made(Own(train, piece == 3 ? "horn_tail" : "horn_" + std::string(1, static_cast<char>('a' + piece))),
                     horn + std::to_string(piece)));
  }
  s.push_back(Made(Own(train, "horn2"), electric ? "horn2_e" : "horn2_d"));
  if (!electric) {
    for (const char* name : {"idle", "idle_doors", "engine_start", "engine_stop", "auto_apply", "auto_charge"}) {
      s.push_back(Made(Own(train, name), name));
    }
  }
  if (static_cast<int>(s.size()) != (electric ? kDriveCommon : kDriveDiesel)) {
    throw std::logic_error("the sound list and its channel names disagree");
  }
  return s;
}

std::vector<SoundFile> MotorCurveSounds(Train train) {
  if (train == Train::Electric) {
    return {Made(Own(train, "inverter"), "inverter"), Made(Own(train, "motor"), "motor"),
            Made(Own(train, "inverter"), "inverter"), Made(Own(train, "motor"), "motor"), Made(Own(train, "gear"), "gear")};
  }
  return {Made(Own(train, "engine"), "engine"), Made(Own(train, "converter"), "converter")};
}

std::vector<SoundFile> GearCurveSounds(Train train) {
  if (train == Train::Electric) return {};
  return {Made(Own(train, "direct"), "gear")};
}

int WriteTrainSounds(const std::string& folder) {
  std::set<std::string> done;
  int files = 0;
  for (Train t : {Train::Electric, Train::Diesel}) {
    std::vector<SoundFile> all = DriveSounds(t);
    for (const auto& list : {MotorCurveSounds(t), GearCurveSounds(t)}) all.insert(all.end(), list.begin(), list.end());
    for (const SoundFile& f : all) {
      if (!done.insert(f.File).second) continue;
      const auto recipe = Recipes().find(f.Synth);
      if (recipe == Recipes().end()) throw std::runtime_error("no recipe for the sound " + f.File);
      Noise noise = NoiseFor(f.File);
      Save(folder + f.File, recipe->second(noise));
      ++files;
    }
  }
  return files;
}

}  // namespace kavrin::demo

#include "demo/synth.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "sound/wav_writer.h"

namespace kavrin::demo {

Noise NoiseFor(const std::string& file) {
  uint32_t seed = 2166136261u;  // FNV-1a of the file name
  for (char c : file) seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
  return Noise(seed | 1u);
}

size_t Len(double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * kRate); }

double Seconds(const Samples& s) { return static_cast<double>(s.size()) / kRate; }

void Add(Samples& out, const Samples& in, double at, double gain) {
  const size_t start = Len(at);
  if (out.size() < start + in.size()) out.resize(start + in.size());
  for (size_t i = 0; i < in.size(); ++i) out[start + i] += static_cast<float>(in[i] * gain);
}

void Normalise(Samples& s, double peak) {
  float m = 0;
  for (float x : s) m = std::max(m, std::fabs(x));
  if (m <= 0) return;
  const float k = static_cast<float>(peak / m);
  for (float& x : s) x *= k;
}

void LowPass(Samples& s, double hz) {
  const double a = 1 - std::exp(-2 * M_PI * hz / kRate);
  double y = 0;
  for (float& x : s) x = static_cast<float>(y += a * (x - y));
}

void HighPass(Samples& s, double hz) {
  const double a = std::exp(-2 * M_PI * hz / kRate);
  double y = 0, prev = 0;
  for (float& x : s) {
    y = a * (y + x - prev);
    prev = x;
    x = static_cast<float>(y);
  }
}

void Fade(Samples& s, double in, double out) {
  const size_t a = std::min(Len(in), s.size()), b = std::min(Len(out), s.size());
  for (size_t i = 0; i < a; ++i) s[i] *= static_cast<float>(i) / static_cast<float>(a);
  for (size_t i = 0; i < b; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(b);
}

Samples Bell(double hz, double seconds, double decay) {
  Samples s(Len(seconds));
  const double partials[][2] = {{1.0, 1.0}, {2.0, 0.45}, {2.76, 0.3}, {5.4, 0.12}};
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (const auto& p : partials) v += p[1] * std::sin(2 * M_PI * hz * p[0] * t) * std::exp(-t * decay * p[0]);
    s[i] = static_cast<float>(v * std::min(1.0, t * 400));
  }
  return s;
}

Samples Tone(double hz, double seconds, double vibrato) {
  Samples s(Len(seconds));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = hz * (1 + vibrato * std::sin(2 * M_PI * 5.5 * t));
    phase += 2 * M_PI * f / kRate;
    const double env = std::min({1.0, t * 30, (seconds - t) * 30});
    s[i] = static_cast<float>(env * (std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase)));
  }
  return s;
}

Samples Loop(Samples s, double seconds) {
  const size_t n = std::min(Len(seconds), s.size());
  const size_t fade = std::min(s.size() - n, Len(0.3));
  for (size_t i = 0; i < fade; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(fade);
    s[i] = s[i] * t + s[n + i] * (1 - t);
  }
  s.resize(n);
  return s;
}

void Save(const std::string& path, Samples s) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  for (float& x : s) x = std::clamp(x, -1.0f, 1.0f);
  if (!WriteWav(path, kRate, 1, 16, s)) throw std::runtime_error("cannot write the sound " + path);
}

}  // namespace kavrin::demo

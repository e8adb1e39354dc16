#pragma once
// The small sound workshop every made sound uses: a fixed noise source, one-pole filters, struck
// bells and tones, seamless loops and the writer. Everything is deterministic: the same recipe
// gives the same samples on every run and machine.
#include <cstdint>
#include <string>
#include <vector>

namespace kavrin::demo {

inline constexpr int kRate = 22050;
using Samples = std::vector<float>;

class Noise {
 public:
  explicit Noise(uint32_t seed) : s_(seed ? seed : 1u) {}
  float Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return static_cast<float>(s_ / 4294967296.0 * 2.0 - 1.0);
  }
  double Uniform() { return (Next() + 1.0) / 2.0; }

 private:
  uint32_t s_;
};

// A noise source of its own for each file, so that one sound never depends on another's length.
Noise NoiseFor(const std::string& file);

size_t Len(double seconds);
double Seconds(const Samples& s);
void Add(Samples& out, const Samples& in, double at, double gain = 1.0);
void Normalise(Samples& s, double peak);
void LowPass(Samples& s, double hz);
void HighPass(Samples& s, double hz);
// Fades of the given lengths at both ends.
void Fade(Samples& s, double in, double out);
// A struck bell: a few inharmonic partials dying away.
Samples Bell(double hz, double seconds, double decay);
// A tone with a few harmonics and soft edges; vibrato as a fraction of the pitch.
Samples Tone(double hz, double seconds, double vibrato = 0);
// Makes a recording of `seconds` loop without a click: the tail past it is faded into the head.
Samples Loop(Samples s, double seconds);
// 16-bit mono at kRate, making the folders on the way. Throws std::runtime_error.
void Save(const std::string& path, Samples s);

}  // namespace kavrin::demo

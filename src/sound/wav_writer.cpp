#include "sound/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace kavrin {

namespace {

void Put(std::vector<unsigned char>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// Scales to a signed integer of `bits` bits, nearest step with halves to even, clamped.
int64_t Quantize(float x, int bits) {
  if (std::isnan(x)) return 0;
  const double scale = std::ldexp(1.0, bits - 1);
  const double v = std::nearbyint(static_cast<double>(x) * scale);
  return static_cast<int64_t>(std::clamp(v, -scale, scale - 1.0));
}

}  // namespace

bool WriteWav(const std::string& path, int sampleRate, int channels, int bits, std::span<const float> samples,
              WavEncoding encoding) {
  const bool pcmBits = bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (sampleRate <= 0 || channels <= 0 || channels > 0xFFFF) return false;
  if (encoding == WavEncoding::Pcm ? !pcmBits : bits != 32) return false;
  if (samples.size() % static_cast<size_t>(channels) != 0) return false;
  const uint64_t bytesPerSample = static_cast<uint64_t>(bits / 8);
  const uint64_t dataBytes = samples.size() * bytesPerSample;
  const uint64_t byteRate = static_cast<uint64_t>(sampleRate) * static_cast<uint64_t>(channels) * bytesPerSample;
  if (dataBytes + 36 + (dataBytes & 1) > std::numeric_limits<uint32_t>::max() || byteRate > 0xFFFFFFFFu) return false;

  std::vector<unsigned char> out;
  out.reserve(44 + dataBytes + 1);
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes + (dataBytes & 1), 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, encoding == WavEncoding::Float ? 3 : 1, 2);
  Put(out, static_cast<uint64_t>(channels), 2);
  Put(out, static_cast<uint64_t>(sampleRate), 4);
  Put(out, byteRate, 4);
  Put(out, static_cast<uint64_t>(channels) * bytesPerSample, 2);
  Put(out, static_cast<uint64_t>(bits), 2);
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  for (float x : samples) {
    if (encoding == WavEncoding::Float) {
      float v = std::isnan(x) ? 0.0f : std::clamp(x, -1.0f, 1.0f);
      uint32_t raw;
      std::memcpy(&raw, &v, sizeof raw);
      Put(out, raw, 4);
    } else if (bits == 8) {
      Put(out, static_cast<uint64_t>(Quantize(x, 8) + 128), 1);  // 8-bit WAV samples are unsigned
    } else {
      Put(out, static_cast<uint64_t>(Quantize(x, bits)), bits / 8);
    }
  }
  if (dataBytes & 1) out.push_back(0);

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file.flush());
}

}  // namespace kavrin

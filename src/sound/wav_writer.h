#pragma once
#include <span>
#include <string>

namespace kavrin {

enum class WavEncoding { Pcm, Float };

// Writes a canonical WAV file (a 16-byte "fmt " chunk directly followed by "data") from
// interleaved samples in [-1, 1]: PCM with 8 (unsigned), 16, 24 or 32 bits, or 32-bit float.
// Values are rounded to the nearest step and clamped to the format's range. False when the
// arguments describe no such file (no channels or rate, another bit depth, a partial frame, more
// than 4 GB) or the file cannot be written.
bool WriteWav(const std::string& path, int sampleRate, int channels, int bits, std::span<const float> samples,
              WavEncoding encoding = WavEncoding::Pcm);

}  // namespace kavrin

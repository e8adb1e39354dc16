#include "platform/sdl_wave_decoder.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavrin {

namespace {

template <typename T>
T Read(const Uint8* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// One sample of SDL's decoded buffer (always little-endian, as in the file) scaled to [-1, 1].
float Sample(SDL_AudioFormat format, const Uint8* p) {
  switch (format) {
    case AUDIO_U8: return (static_cast<int>(*p) - 128) / 128.0f;
    case AUDIO_S8: return static_cast<int8_t>(*p) / 128.0f;
    case AUDIO_S16LSB: return static_cast<Sint16>(SDL_SwapLE16(Read<Uint16>(p))) / 32768.0f;
    case AUDIO_S32LSB:
      return static_cast<float>(static_cast<Sint32>(SDL_SwapLE32(Read<Uint32>(p))) / 2147483648.0);
    case AUDIO_F32LSB: {
      const float v = SDL_SwapFloatLE(Read<float>(p));
      return std::isnan(v) ? 0.0f : std::clamp(v, -1.0f, 1.0f);
    }
    default: return 0.0f;
  }
}

}  // namespace

WavePtr SdlWaveDecoder::Decode(const std::string& path) {
  SDL_AudioSpec audio;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(path.c_str(), &audio, &buffer, &length)) return nullptr;

  WavePtr result;
  const SDL_AudioFormat format = audio.format;
  const int bytes = SDL_AUDIO_BITSIZE(format) / 8;
  const bool known = format == AUDIO_U8 || format == AUDIO_S8 || format == AUDIO_S16LSB || format == AUDIO_S32LSB ||
                     format == AUDIO_F32LSB;
  if (known && audio.freq > 0 && audio.channels > 0) {
    auto wave = std::make_shared<Wave>();
    wave->SampleRate = audio.freq;
    wave->Channels = audio.channels;
    const size_t frameBytes = static_cast<size_t>(bytes) * audio.channels;
    const size_t samples = length / frameBytes * audio.channels;  // a partial last frame is dropped
    wave->Samples.resize(samples);
    for (size_t i = 0; i < samples; ++i) wave->Samples[i] = Sample(format, buffer + i * bytes);
    result = std::move(wave);
  }
  SDL_FreeWAV(buffer);
  return result;
}

}  // namespace kavrin

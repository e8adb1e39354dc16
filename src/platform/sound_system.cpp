#include "platform/sound_system.h"

#include "platform/openal_sound_bank.h"
#include "platform/sdl_audio_output.h"
#include "platform/sdl_wave_decoder.h"

namespace kavrin {

SoundSystem::SoundSystem() = default;
SoundSystem::SoundSystem(SoundSystem&&) noexcept = default;
SoundSystem::~SoundSystem() = default;

SoundBank& SoundSystem::bank() { return *openal; }

SoundSystem OpenSoundSystem(bool withDevice) {
  SoundSystem s;
  s.openal = std::make_unique<OpenAlSoundBank>();
  s.decoder = std::make_unique<SdlWaveDecoder>();
  if (withDevice) s.output = std::make_unique<SdlAudioOutput>(*s.openal);
  return s;
}

}  // namespace kavrin

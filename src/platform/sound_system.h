#pragma once
// The sound bank of a run, its wave decoder and, in the window, the audio device that plays it.
#include <memory>

#include "sound/sound_bank.h"

namespace kavrin {

class OpenAlSoundBank;
class SdlAudioOutput;

struct SoundSystem {
  SoundSystem();
  SoundSystem(SoundSystem&&) noexcept;
  ~SoundSystem();

  std::unique_ptr<OpenAlSoundBank> openal;
  std::unique_ptr<WaveDecoder> decoder;
  // Declared last so it goes first: the device's callback renders from the bank.
  std::unique_ptr<SdlAudioOutput> output;

  SoundBank& bank();
};

// The bank always exists. With `withDevice` it is also played through the machine's audio device
// when there is one; otherwise (or without a device, after one warning) the bank renders only as
// far as its owner advances it, so every status still follows time.
SoundSystem OpenSoundSystem(bool withDevice);

}  // namespace kavrin

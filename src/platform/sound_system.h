#pragma once
// The sound bank of a run and whether a device plays it.
#include <memory>

#include "sound/sound_bank.h"

namespace kavrin {

struct SoundSystem {
  std::unique_ptr<SoundBank> bank;
  std::unique_ptr<WaveDecoder> decoder;
  // True when an audio device pulls the mix; otherwise the caller advances the bank itself.
  bool hasDevice = false;
};

// The bank always exists; with `withDevice` it is also played through the machine's audio
// device when there is one (one warning on standard error when there is none).
SoundSystem OpenSoundSystem(bool withDevice);

}  // namespace kavrin

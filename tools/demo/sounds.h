#pragma once
// The line's sounds: speech from espeak-ng's Japanese voice (deterministic: the same text gives
// the same samples) and everything else made here from oscillators and a fixed noise source.
// All are written as 16-bit mono WAV at 22050 samples per second through the project's writer.
#include <string>
#include <vector>

#include "demo/assets.h"

namespace kavrin::demo {

struct SoundReport {
  int Files = 0;
  int Spoken = 0;      // by the speech synthesiser
  bool ToneVoices = false;  // no synthesiser: voices became tone signals
};

// Writes every sound of the list under `folder` (ending with a slash).
SoundReport WriteSounds(const std::vector<SoundFile>& sounds, const std::string& folder);
// "sound/9316.wav" and "sound/start.wav" of the title screen.
void WriteTitleSounds(const std::string& folder);

}  // namespace kavrin::demo

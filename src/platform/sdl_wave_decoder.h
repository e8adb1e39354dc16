#pragma once
// WAV files through SDL's reader: PCM of 8, 16, 24 and 32 bits, 32-bit float, both ADPCM kinds,
// A-law and mu-law, any number of channels, decoded to float samples as recorded (a stereo file
// stays stereo; the bank mixes it down for its mono channels).
#include "sound/sound_bank.h"

namespace kavrin {

class SdlWaveDecoder : public WaveDecoder {
 public:
  WavePtr Decode(const std::string& path) override;
};

}  // namespace kavrin

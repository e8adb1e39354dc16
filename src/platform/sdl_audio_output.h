#pragma once
// The sound card: SDL's audio output at 48 kHz float stereo, whose callback renders the bank's
// mix on SDL's audio thread. Without a sound device, or when it cannot be opened, there is no
// output and one warning on standard error; the bank is then advanced by its caller's clock as in
// the headless run. A device lost while playing keeps SDL's callback firing at the device's pace
// (the mix is discarded), so the channels still end in time; that is warned about once too.
#include <atomic>
#include <cstdint>

#include "platform/openal_sound_bank.h"

namespace kavrin {

class SdlAudioOutput {
 public:
  // Opens the default device and starts pulling the mix. The bank must outlive the output.
  explicit SdlAudioOutput(OpenAlSoundBank& bank);
  ~SdlAudioOutput();
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

  // True while a device pulls the mix.
  bool Running() const { return device_ != 0; }

 private:
  static void Callback(void* self, uint8_t* stream, int bytes);
  void Warn(const char* what);

  OpenAlSoundBank& bank_;
  uint32_t device_ = 0;
  bool audioInitialised_ = false;
  std::atomic<bool> warned_{false};
};

}  // namespace kavrin

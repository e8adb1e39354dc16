#pragma once
// The channel bank on OpenAL Soft's loopback device: one mono source per channel, mixed to
// 48 kHz float stereo only when asked, by the sound output's callback through Render. Where no
// device pulls the mix (the headless harness, a window without a sound card) Advance only moves
// the channels' clocks, at no mixing cost, unless a render sink wants the mix; nothing plays by
// itself, so a run's sounds end at the same moment in every mode.
//
// When a sound ends is kept by each channel's ChannelClock, in whole output frames: a one-shot of
// n frames at f samples per second ends after ceil(n x 48000 / f) output frames, exactly, and its
// source is stopped there. The mixer steps through a source in 1/4096 of a sample, which alone
// would let a 22050 Hz second run 10 frames short. Loops wrap inside the mixer, which is
// sample-exact.
//
// Every operation takes the bank's lock, so the output's thread may render while the
// user-interface thread changes channels.
#include <cstdint>
#include <functional>
#include <memory>

#include "sound/channel_clock.h"
#include "sound/sound_bank.h"

namespace kavrin {

class OpenAlSoundBank : public SoundBank {
 public:
  static constexpr int MixRate = ChannelClock::MixRate;  // frames per second of the mix, two floats a frame

  OpenAlSoundBank();
  ~OpenAlSoundBank() override;
  OpenAlSoundBank(const OpenAlSoundBank&) = delete;
  OpenAlSoundBank& operator=(const OpenAlSoundBank&) = delete;

  // False when the loopback device could not be created (then every operation does nothing and
  // the mix is silence).
  bool IsOpen() const;

  void SetWaveData(int channel, WavePtr wave) override;
  bool HasWaveData(int channel) const override;
  void Play(int channel) override;
  void LoopPlay(int channel) override;
  void Stop(int channel) override;
  void SetVolume(int channel, int32_t centibels) override;
  int32_t Volume(int channel) const override;
  void SetFreqRate(int channel, double ratio) override;
  int GetStatus(int channel) const override;
  // Does nothing while an output device pulls the mix, so a caller may advance its clock
  // whether or not a device runs. Otherwise moves every channel on without mixing, or, with a
  // render sink, renders the mix and hands it over piece by piece.
  void Advance(int64_t ms) override;
  bool Reset() override;

  // The next `frames` frames of the mix, interleaved left/right. A centred full-scale sample at
  // volume 0 comes out at 1.0 on both sides; the sum of many channels is not limited.
  void Render(float* stereo, int frames);
  // Set by the sound output while its device pulls the mix through Render.
  void SetPulled(bool pulled);
  // Where Advance puts the mix it renders (interleaved stereo, `frames` frames); empty for a
  // clock-only Advance. Called under the bank's lock: it must not call back into the bank.
  void SetRenderSink(std::function<void(const float* stereo, int frames)> sink);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kavrin

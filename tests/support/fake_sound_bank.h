#pragma once
// A sound bank without audio for tests of the run: each channel's clock advances with Advance()
// as the mix would move it, so a one-shot ends when its frames run out.
#include <algorithm>
#include <array>
#include <vector>

#include "sound/channel_clock.h"
#include "sound/sound_bank.h"

namespace kavrin::test {

class FakeSoundBank : public SoundBank {
 public:
  struct Channel : ChannelClock {
    WavePtr wave;
    int32_t volume = 0;
    int plays = 0, loops = 0, stops = 0;
  };

  void SetWaveData(int c, WavePtr w) override {
    if (!In(c)) return;
    ch[c] = Channel{};
    if (!w || w->Frames() <= 0) return;
    ch[c].wave = w;
    ch[c].length = w->Frames();
    ch[c].frequency = std::clamp(w->SampleRate, MinFrequency, MaxFrequency);
  }
  bool HasWaveData(int c) const override { return In(c) && ch[c].wave; }
  void Play(int c) override { Start(c, false); }
  void LoopPlay(int c) override { Start(c, true); }
  void Stop(int c) override {
    if (!HasWaveData(c)) return;
    ch[c].Stop();
    ++ch[c].stops;
  }
  void SetVolume(int c, int32_t v) override {
    if (HasWaveData(c)) ch[c].volume = v;
  }
  int32_t Volume(int c) const override { return HasWaveData(c) ? ch[c].volume : 0; }
  void SetFreqRate(int c, double r) override {
    if (!HasWaveData(c)) return;
    if (auto f = ChannelFrequency(ch[c].wave->SampleRate, r)) ch[c].frequency = *f;
  }
  int GetStatus(int c) const override {
    if (!HasWaveData(c) || !ch[c].playing) return 0;
    return ch[c].looping ? StatusPlaying | StatusLooping : StatusPlaying;
  }
  void Advance(int64_t ms) override {
    advanced += ms;
    for (auto& c : ch) c.Advance(ms * (ChannelClock::MixRate / 1000));
  }
  bool Reset() override {
    ++resets;
    ch = {};
    return resetSucceeds;
  }

  // A wave of `seconds` at 1000 frames per second.
  static WavePtr WaveOf(double seconds) {
    auto w = std::make_shared<Wave>();
    w->SampleRate = 1000;
    w->Samples.assign(static_cast<size_t>(seconds * 1000), 0.0f);
    return w;
  }

  std::array<Channel, ChannelCount> ch{};
  int64_t advanced = 0;
  int resets = 0;
  bool resetSucceeds = true;

 private:
  static bool In(int c) { return c >= 0 && c < ChannelCount; }
  void Start(int c, bool loop) {
    if (!HasWaveData(c)) return;
    ch[c].Start(loop);
    ++(loop ? ch[c].loops : ch[c].plays);
  }
};

}  // namespace kavrin::test

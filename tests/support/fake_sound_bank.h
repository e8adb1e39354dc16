#pragma once
// A sound bank without audio for tests of the run: each channel's position advances with
// Advance() at its wave's rate x ratio, so a one-shot ends when its frames run out.
#include <array>
#include <vector>

#include "sound/sound_bank.h"

namespace kavrin::test {

class FakeSoundBank : public SoundBank {
 public:
  struct Channel {
    WavePtr wave;
    bool playing = false, looping = false;
    double position = 0;  // frames
    double ratio = 1;
    int32_t volume = 0;
    int plays = 0, loops = 0, stops = 0;
  };

  void SetWaveData(int c, WavePtr w) override {
    if (!In(c)) return;
    ch[c] = Channel{};
    ch[c].wave = w && w->Frames() > 0 ? w : nullptr;
  }
  bool HasWaveData(int c) const override { return In(c) && ch[c].wave; }
  void Play(int c) override { Start(c, false); }
  void LoopPlay(int c) override { Start(c, true); }
  void Stop(int c) override {
    if (!HasWaveData(c)) return;
    ch[c].playing = false;
    ch[c].position = 0;
    ++ch[c].stops;
  }
  void SetVolume(int c, int32_t v) override {
    if (HasWaveData(c)) ch[c].volume = v;
  }
  int32_t Volume(int c) const override { return HasWaveData(c) ? ch[c].volume : 0; }
  void SetFreqRate(int c, double r) override {
    if (HasWaveData(c)) ch[c].ratio = r;
  }
  int GetStatus(int c) const override {
    if (!HasWaveData(c) || !ch[c].playing) return 0;
    return ch[c].looping ? StatusPlaying | StatusLooping : StatusPlaying;
  }
  void Advance(int64_t ms) override {
    advanced += ms;
    for (auto& c : ch) {
      if (!c.wave || !c.playing) continue;
      c.position += c.wave->SampleRate * c.ratio * static_cast<double>(ms) / 1000.0;
      if (!c.looping && c.position >= static_cast<double>(c.wave->Frames())) c.playing = false;
    }
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
    ch[c].playing = true;
    ch[c].looping = loop;
    ch[c].position = 0;
    ++(loop ? ch[c].loops : ch[c].plays);
  }
};

}  // namespace kavrin::test

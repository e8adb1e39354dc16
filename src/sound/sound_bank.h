#pragma once
// The bank of 320 numbered playback channels that every sound of a run goes through. A channel
// holds its own playback copy of one wave and plays it once or in a loop, at a volume in 1/100 dB
// and a frequency given as a ratio to the wave's recorded rate. The channel number is the only
// handle the rest of the program uses. Operations on a channel without data, or on a number out
// of range, do nothing (status 0, volume 0).
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/sound_requests.h"

namespace kavrin {

// Decoded wave data: interleaved float samples in [-1, 1].
struct Wave {
  int SampleRate = 0;
  int Channels = 1;
  std::vector<float> Samples;
  int64_t Frames() const { return Channels > 0 ? static_cast<int64_t>(Samples.size()) / Channels : 0; }
};
using WavePtr = std::shared_ptr<const Wave>;

class WaveDecoder {
 public:
  virtual ~WaveDecoder() = default;
  // Nothing when the file is missing, unreadable or not a WAV file.
  virtual WavePtr Decode(const std::string& path) = 0;
};

class SoundBank {
 public:
  static constexpr int ChannelCount = 320;
  static constexpr int StatusPlaying = 1;
  static constexpr int StatusLooping = 4;
  // The range a channel plays at. A ratio of 0 or below (a pitch law at standstill or running
  // backwards) gives the slowest rate, never a frozen or reversed channel.
  static constexpr int32_t MinFrequency = 1;
  static constexpr int32_t MaxFrequency = 1000000;

  virtual ~SoundBank() = default;

  // The channel takes its own copy of the wave and starts afresh: stopped, volume 0, frequency
  // the recorded rate. An empty wave (or one without a sample rate) leaves the channel silent
  // and without data.
  virtual void SetWaveData(int channel, WavePtr wave) = 0;
  virtual bool HasWaveData(int channel) const = 0;
  virtual void Play(int channel) = 0;      // from the start, once
  virtual void LoopPlay(int channel) = 0;  // from the start, endlessly
  virtual void Stop(int channel) = 0;
  // 0 full .. -10000 silent. The value is kept as given and read back by Volume (callers
  // compare it, and pull values above 0 back themselves); it is heard clamped to that range.
  virtual void SetVolume(int channel, int32_t centibels) = 0;
  virtual int32_t Volume(int channel) const = 0;
  virtual void SetFreqRate(int channel, double ratio) = 0;     // recorded rate x ratio, truncated
  // 0 stopped or without data; 1 playing once; 5 playing in a loop.
  virtual int GetStatus(int channel) const = 0;

  // Renders `ms` milliseconds of the mix where no device pulls it (the headless harness, or a
  // window without a sound device), so statuses advance with time in every mode.
  virtual void Advance(int64_t ms) = 0;
  // Releases every channel and its data and creates the bank anew; false when that fails.
  virtual bool Reset() = 0;
};

// Stopped first, so that a sound still playing starts again from its beginning.
inline void RestartChannel(SoundBank& bank, int channel) {
  bank.Stop(channel);
  bank.Play(channel);
}

// Replays what a step asked for, in order, and forgets it.
inline void PlaySoundRequests(TSoundRequests& requests, SoundBank& bank) {
  for (int32_t i = 0; i < requests.count; ++i) {
    const TSoundRequest& r = requests.items[static_cast<size_t>(i)];
    switch (r.op) {
      case TSoundRequest::Op::Stop: bank.Stop(r.channel); break;
      case TSoundRequest::Op::Play: bank.Play(r.channel); break;
      case TSoundRequest::Op::LoopPlay: bank.LoopPlay(r.channel); break;
    }
  }
  requests.count = 0;
}

// The frequency SetFreqRate gives a wave recorded at `sampleRate`: truncated to whole samples per
// second and kept within the playable range; nothing (the frequency stays) for a ratio that is
// not a number.
inline std::optional<int32_t> ChannelFrequency(int sampleRate, double ratio) {
  if (std::isnan(ratio)) return std::nullopt;
  double f = std::trunc(static_cast<double>(sampleRate) * ratio);
  if (!(f >= SoundBank::MinFrequency)) return SoundBank::MinFrequency;
  if (f >= SoundBank::MaxFrequency) return SoundBank::MaxFrequency;
  return static_cast<int32_t>(f);
}

}  // namespace kavrin

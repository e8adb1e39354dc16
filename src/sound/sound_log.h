#pragma once
// A bank that records what the run asks of the sound: every operation goes on to another bank,
// and the ones that change something are written as CSV lines `t_ms,op,channel,value`:
// `play` and `loop` of a channel with data, `stop` of one that was playing, `end` when a
// one-shot runs out (written by the advance that finds it; value empty), `volume` (1/100 dB)
// and `freq` (samples per second) only when the value changes. Operations that do nothing (a number
// out of range, a channel without data) are not written. The time is the harness's virtual
// clock, set before the operations of each moment.
#include <array>
#include <cstdint>
#include <functional>
#include <ostream>

#include "sound/sound_bank.h"

namespace kavrin {

class SoundLog : public SoundBank {
 public:
  // Writes the header line at once. `inner` and `out` must outlive the log. Wrap the bank before
  // any wave is set: the log learns each channel's recorded rate from SetWaveData.
  SoundLog(SoundBank& inner, std::ostream& out);

  void SetTime(int64_t ms) { time_ = ms; }
  // Or a clock read at every line (the run's scheduler), which then overrides SetTime.
  void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }

  void SetWaveData(int channel, WavePtr wave) override;
  bool HasWaveData(int channel) const override;
  void Play(int channel) override;
  void LoopPlay(int channel) override;
  void Stop(int channel) override;
  void SetVolume(int channel, int32_t centibels) override;
  int32_t Volume(int channel) const override;
  void SetFreqRate(int channel, double ratio) override;
  int GetStatus(int channel) const override;
  void Advance(int64_t ms) override;
  bool Reset() override;

 private:
  void Write(const char* op, int channel);
  void Write(const char* op, int channel, int64_t value);

  SoundBank& inner_;
  std::ostream& out_;
  int64_t time_ = 0;
  std::function<int64_t()> clock_;
  int64_t Now() const { return clock_ ? clock_() : time_; }
  // What the log last showed of each channel: its recorded rate and frequency.
  std::array<int32_t, ChannelCount> rate_{};
  std::array<int32_t, ChannelCount> freq_{};
  std::array<bool, ChannelCount> once_{};  // playing once before the advance
};

}  // namespace kavrin

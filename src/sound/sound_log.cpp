#include "sound/sound_log.h"

namespace kavrin {

namespace {

bool InRange(int channel) { return channel >= 0 && channel < SoundBank::ChannelCount; }

}  // namespace

SoundLog::SoundLog(SoundBank& inner, std::ostream& out) : inner_(inner), out_(out) {
  out_ << "t_ms,op,channel,value\n";
}

void SoundLog::Write(const char* op, int channel) { out_ << Now() << ',' << op << ',' << channel << ",\n"; }

void SoundLog::Write(const char* op, int channel, int64_t value) {
  out_ << Now() << ',' << op << ',' << channel << ',' << value << '\n';
}

void SoundLog::SetWaveData(int channel, WavePtr wave) {
  inner_.SetWaveData(channel, wave);
  if (!InRange(channel)) return;
  const bool has = inner_.HasWaveData(channel);
  rate_[channel] = has ? wave->SampleRate : 0;
  freq_[channel] = rate_[channel];
}

bool SoundLog::HasWaveData(int channel) const { return inner_.HasWaveData(channel); }

void SoundLog::Play(int channel) {
  inner_.Play(channel);
  if (inner_.HasWaveData(channel)) Write("play", channel);
}

void SoundLog::LoopPlay(int channel) {
  inner_.LoopPlay(channel);
  if (inner_.HasWaveData(channel)) Write("loop", channel);
}

void SoundLog::Stop(int channel) {
  const bool playing = inner_.GetStatus(channel) != 0;
  inner_.Stop(channel);
  if (playing) Write("stop", channel);
}

void SoundLog::SetVolume(int channel, int32_t centibels) {
  const int32_t before = inner_.Volume(channel);
  inner_.SetVolume(channel, centibels);
  const int32_t after = inner_.Volume(channel);
  if (after != before && inner_.HasWaveData(channel)) Write("volume", channel, after);
}

int32_t SoundLog::Volume(int channel) const { return inner_.Volume(channel); }

void SoundLog::SetFreqRate(int channel, double ratio) {
  inner_.SetFreqRate(channel, ratio);
  if (!inner_.HasWaveData(channel)) return;
  auto freq = ChannelFrequency(rate_[channel], ratio);
  if (freq && *freq != freq_[channel]) {
    freq_[channel] = *freq;
    Write("freq", channel, *freq);
  }
}

int SoundLog::GetStatus(int channel) const { return inner_.GetStatus(channel); }

void SoundLog::Advance(int64_t ms) {
  for (int c = 0; c < ChannelCount; ++c) once_[c] = inner_.GetStatus(c) == StatusPlaying;
  inner_.Advance(ms);
  for (int c = 0; c < ChannelCount; ++c) {
    if (once_[c] && inner_.GetStatus(c) == 0) Write("end", c);
  }
}

bool SoundLog::Reset() {
  rate_.fill(0);
  freq_.fill(0);
  return inner_.Reset();
}

}  // namespace kavrin

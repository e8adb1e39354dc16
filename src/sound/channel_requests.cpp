#include "sound/channel_requests.h"

namespace kavrin {

void TChannelRequests::Add(Op op, int channel, int32_t value) {
  // A channel the bank does not have is no request; a full list drops the rest of the tick's.
  if (channel < 0 || channel >= SoundBank::ChannelCount || count_ >= kCapacity) return;
  requests_[static_cast<size_t>(count_++)] = Request{op, static_cast<int16_t>(channel), value};
}

int TChannelRequests::Status(int channel) const {
  if (!bank_ || channel < 0 || channel >= SoundBank::ChannelCount || !bank_->HasWaveData(channel)) return 0;
  for (int i = count_ - 1; i >= 0; --i) {
    const Request& r = requests_[static_cast<size_t>(i)];
    if (r.channel != channel) continue;
    switch (r.op) {
      case Op::Play: return SoundBank::StatusPlaying;
      case Op::Loop: return SoundBank::StatusPlaying | SoundBank::StatusLooping;
      case Op::Stop: return 0;
      case Op::Volume: break;
    }
  }
  return bank_->GetStatus(channel);
}

void ApplyChannelRequests(TChannelRequests& requests, SoundBank& bank) {
  for (int i = 0; i < requests.Count(); ++i) {
    const TChannelRequests::Request& r = requests[i];
    switch (r.op) {
      case TChannelRequests::Op::Play:
        bank.Stop(r.channel);
        bank.Play(r.channel);
        break;
      case TChannelRequests::Op::Loop: bank.LoopPlay(r.channel); break;
      case TChannelRequests::Op::Stop: bank.Stop(r.channel); break;
      case TChannelRequests::Op::Volume: bank.SetVolume(r.channel, r.value); break;
    }
  }
  requests.Clear();
}

}  // namespace kavrin

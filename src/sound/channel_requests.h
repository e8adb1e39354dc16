#pragma once
// Channel operations asked for by a step that must not drive the bank itself (the stations).
// The step reads each channel's status as it will be once its own requests are carried out, so
// a sound it started earlier in the same step counts as playing; the run carries the requests
// out, in order, when the step returns. Lives on the stack of one tick: nothing is allocated.
#include <array>
#include <cstdint>

#include "sound/load_sounds.h"
#include "sound/sound_bank.h"

namespace kavrin {

class TChannelRequests {
 public:
  enum class Op : uint8_t { Play, Loop, Stop, Volume };
  struct Request {
    Op op;
    int16_t channel;
    int32_t value;
  };
  static constexpr int kCapacity = 128;

  // Without a bank every channel reads as stopped and without data.
  explicit TChannelRequests(const SoundBank* bank = nullptr) : bank_(bank) {}

  // The bank's status (0 stopped, 1 once, 5 loop) after the requests so far.
  int Status(int channel) const;
  bool Playing(int channel) const { return Status(channel) != 0; }
  // Stop, then play from the beginning, once.
  void Start(int channel) { Add(Op::Play, channel, 0); }
  // Loop from the beginning.
  void Loop(int channel) { Add(Op::Loop, channel, 0); }
  void Stop(int channel) { Add(Op::Stop, channel, 0); }
  void SetVolume(int channel, int32_t centibels) { Add(Op::Volume, channel, centibels); }

  int Count() const { return count_; }
  const Request& operator[](int i) const { return requests_[static_cast<size_t>(i)]; }
  void Clear() { count_ = 0; }

 private:
  void Add(Op op, int channel, int32_t value);

  const SoundBank* bank_;
  std::array<Request, kCapacity> requests_{};
  int count_ = 0;
};

// The channel of route sound k; -1 (no channel) for an index the route does not have.
inline int32_t RouteSoundChannel(const TChannelLayout& layout, int32_t k) {
  return k >= 0 && k < layout.SoundDataCount ? layout.RouteChannel(k) : -1;
}

// The length of route sound k in whole seconds; 0 for an index the route does not have.
inline int32_t RouteWaveSeconds(const TSoundState& s, int32_t k) {
  return k >= 0 && k < s.Layout.SoundDataCount && k < static_cast<int32_t>(s.SoundSeconds.size())
             ? s.SoundSeconds[static_cast<size_t>(k)]
             : 0;
}

// Carries the requests out on the bank, in order, and empties the list.
void ApplyChannelRequests(TChannelRequests& requests, SoundBank& bank);

}  // namespace kavrin

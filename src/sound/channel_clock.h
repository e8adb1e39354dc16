#pragma once
// Where one channel is in its wave, counted the way the mix counts it: the mix runs at MixRate
// output frames a second and moves a channel `frequency` source frames a second (the recorded
// rate x the ratio), so after n output frames the channel has moved n x frequency / MixRate
// source frames. `position` keeps that product whole, in 1/MixRate of a source frame, so the
// moment a one-shot runs out is an exact output frame whoever advances the clock: the mixer in
// pieces of any size, a bank that only counts, or a test in whole milliseconds. A loop wraps at
// its length.
#include <cstdint>
#include <limits>

namespace kavrin {

struct ChannelClock {
  static constexpr int MixRate = 48000;  // output frames per second
  static constexpr int64_t Never = std::numeric_limits<int64_t>::max();

  int64_t length = 0;     // source frames of the wave
  int32_t frequency = 0;  // source frames per second; a playing channel has at least 1
  bool playing = false, looping = false;
  int64_t position = 0;  // in 1/MixRate of a source frame

  // Begins from the start. A one-shot of nothing is over at once.
  void Start(bool loop) {
    position = 0;
    looping = loop;
    playing = loop || length > 0;
  }
  void Stop() {
    playing = false;
    position = 0;
  }
  // Output frames until a one-shot runs out (the frame on which it is over), Never for a loop or
  // a stopped channel.
  int64_t FramesLeft() const {
    if (!playing || looping || frequency <= 0) return Never;
    const int64_t left = length * MixRate - position;
    return left <= 0 ? 0 : (left + frequency - 1) / frequency;
  }
  // Moves the channel on by `frames` output frames; true when a one-shot ran out within them
  // (it is then stopped).
  bool Advance(int64_t frames) {
    if (!playing || frames <= 0) return false;
    position += static_cast<int64_t>(frequency) * frames;
    const int64_t end = length * MixRate;
    if (looping) {
      if (end > 0) position %= end;
      return false;
    }
    if (position < end) return false;
    Stop();
    return true;
  }
  // The source frame the channel is at.
  int64_t Frame() const { return position / MixRate; }
};

}  // namespace kavrin

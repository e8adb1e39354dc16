#pragma once
// Channel operations asked for by a step that owns no sound bank. The step only records them;
// the run's sound step replays them on the bank in the order they were asked for, right after the
// step, so that the sound log keeps the order of the steps.
#include <array>
#include <cstdint>

namespace kavrin {

struct TSoundRequest {
  enum class Op : uint8_t { Stop, Play, LoopPlay };
  Op op = Op::Stop;
  int32_t channel = 0;
};

struct TSoundRequests {
  // More than any one step asks for in a tick; a request beyond it is dropped.
  static constexpr int32_t Capacity = 8;
  std::array<TSoundRequest, Capacity> items{};
  int32_t count = 0;

  void Push(TSoundRequest::Op op, int32_t channel) {
    if (count < Capacity) items[static_cast<size_t>(count++)] = {op, channel};
  }
  // Stopped first, so that a sound still playing starts again from its beginning.
  void Restart(int32_t channel) {
    Push(TSoundRequest::Op::Stop, channel);
    Push(TSoundRequest::Op::Play, channel);
  }
};

}  // namespace kavrin

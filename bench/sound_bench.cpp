// The cost of the sound mix: CPU time per second of 48 kHz stereo audio with n channels playing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/openal_sound_bank.h"

namespace kavrin {
namespace {

WavePtr Tone(int rate, int frames, double hz) {
  auto w = std::make_shared<Wave>();
  w->SampleRate = rate;
  w->Samples.resize(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) w->Samples[static_cast<size_t>(i)] = static_cast<float>(0.2 * std::sin(6.283185307179586 * hz * i / rate));
  return w;
}

// Recordings at the rates route data uses, every channel looping at its own pitch and volume,
// as the running and motor sounds do.
void BM_SoundMix(benchmark::State& state) {
  const int channels = static_cast<int>(state.range(0));
  OpenAlSoundBank bank;
  if (!bank.IsOpen()) {
    state.SkipWithError("no loopback device");
    return;
  }
  const WavePtr waves[] = {Tone(22050, 22050 * 2, 220.0), Tone(44100, 44100 * 2, 330.0), Tone(11025, 11025 * 2, 110.0)};
  for (int ch = 0; ch < channels; ++ch) {
    bank.SetWaveData(ch, waves[ch % 3]);
    bank.SetFreqRate(ch, 0.8 + 0.6 * ch / channels);
    bank.SetVolume(ch, -(ch * 37) % 3000);
    bank.LoopPlay(ch);
  }
  constexpr int kFrames = 1024;  // one callback of the sound output
  std::vector<float> out(2 * kFrames);
  for (auto _ : state) {
    bank.Render(out.data(), kFrames);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  // Shown as CPU seconds per second of audio ("4.5m" is 4.5 ms).
  state.counters["cpu_per_audio_s"] = benchmark::Counter(
      static_cast<double>(kFrames) / OpenAlSoundBank::MixRate,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SoundMix)->Arg(16)->Arg(64)->Arg(320)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kavrin

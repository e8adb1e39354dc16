#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/openal_sound_bank.h"

namespace kavrin {
namespace {

WavePtr MakeWave(int rate, std::vector<float> samples, int channels = 1) {
  auto w = std::make_shared<Wave>();
  w->SampleRate = rate;
  w->Channels = channels;
  w->Samples = std::move(samples);
  return w;
}

WavePtr Constant(int rate, int64_t frames, float value = 0.5f) {
  return MakeWave(rate, std::vector<float>(static_cast<size_t>(frames), value));
}

// Distinct values, so a position in the output names the sample that produced it.
WavePtr Ramp(int rate, int frames) {
  std::vector<float> s(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) s[static_cast<size_t>(i)] = static_cast<float>(i + 1) / static_cast<float>(frames);
  return MakeWave(rate, std::move(s));
}

std::vector<float> Render(OpenAlSoundBank& bank, int frames) {
  std::vector<float> out(2 * static_cast<size_t>(frames), -7.0f);
  bank.Render(out.data(), frames);
  return out;
}

// Output frames rendered before the channel's status left `status`, one frame at a time.
int64_t FramesWhile(OpenAlSoundBank& bank, int channel, int status, int64_t limit) {
  float frame[2];
  int64_t n = 0;
  while (bank.GetStatus(channel) == status && n < limit) {
    bank.Render(frame, 1);
    ++n;
  }
  return n;
}

class OpenAlSoundBankTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bank.IsOpen()); }
  OpenAlSoundBank bank;
};

TEST_F(OpenAlSoundBankTest, OneShotPlaysUntilItsLastSampleAtItsFrequency) {
  struct Case {
    int rate;
    int frames;
    double ratio;
    int64_t outputFrames;  // ceil(frames x 48000 / trunc(rate x ratio))
  };
  const Case cases[] = {
      {48000, 4800, 1.0, 4800},
      {48000, 4800, 2.0, 2400},   // twice as fast, half the time
      {22050, 22050, 1.0, 48000},  // the mixer's own stepping would stop at 47990
      {22050, 2205, 0.5, 9600},
      {44100, 441, 1.5, 320},
      {11025, 1000, 0.7, 6221},   // 7717 Hz: 6220.03 frames
      {1000, 1000, 1.9999, 24013},  // 1999 Hz after truncation (1999.9 Hz would end at 24001)
  };
  for (const auto& c : cases) {
    bank.SetWaveData(7, Constant(c.rate, c.frames));
    bank.SetFreqRate(7, c.ratio);
    bank.Play(7);
    EXPECT_EQ(FramesWhile(bank, 7, 1, 100000), c.outputFrames) << c.rate << " Hz x " << c.ratio;
    EXPECT_EQ(bank.GetStatus(7), 0);
  }
}

TEST_F(OpenAlSoundBankTest, TheSoundStopsOnItsLastFrameInsideOneRender) {
  // At 44100 Hz the mixer's step is a little short and would run on for two or three frames.
  bank.SetWaveData(7, Constant(44100, 44100));
  bank.Play(7);
  std::vector<float> out = Render(bank, 48100);
  EXPECT_NEAR(out[2 * 47999], 0.5f, 1e-5);
  for (int i = 48000; i < 48100; ++i) ASSERT_EQ(out[2 * i], 0.0f) << i;
  EXPECT_EQ(bank.GetStatus(7), 0);
}

TEST_F(OpenAlSoundBankTest, AdvanceMovesStatusesInMilliseconds) {
  bank.SetWaveData(0, Constant(22050, 22050));  // one second
  bank.SetWaveData(1, Constant(22050, 2205));
  bank.Play(0);
  bank.LoopPlay(1);
  bank.Advance(999);
  EXPECT_EQ(bank.GetStatus(0), 1);
  bank.Advance(1);
  EXPECT_EQ(bank.GetStatus(0), 0);
  bank.Advance(60000);
  EXPECT_EQ(bank.GetStatus(1), 5);  // a loop reports 5, never 1, and does not end
  bank.Stop(1);
  EXPECT_EQ(bank.GetStatus(1), 0);
}

TEST_F(OpenAlSoundBankTest, FullScaleComesOutAtUnityAndVolumeIsInHundredthsOfADecibel) {
  bank.SetWaveData(2, Constant(48000, 48000, 0.5f));
  bank.LoopPlay(2);
  std::vector<float> out = Render(bank, 256);
  EXPECT_NEAR(out[200], 0.5f, 1e-5);
  EXPECT_EQ(out[200], out[201]);  // centred
  struct Case {
    int32_t centibels;
    float level;
  };
  const Case cases[] = {{-602, 0.25f}, {-2000, 0.05f}, {-10000, 0.0f}, {-20000, 0.0f}, {300, 0.5f}, {0, 0.5f}};
  for (const auto& c : cases) {
    bank.SetVolume(2, c.centibels);
    EXPECT_EQ(bank.Volume(2), c.centibels);  // read back as given, even beyond the audible range
    Render(bank, 4096);                      // the mixer glides to a new gain within a render
    out = Render(bank, 64);
    EXPECT_NEAR(out[10], c.level, 1e-4) << c.centibels;
  }
  bank.SetVolume(2, -10000);
  Render(bank, 4096);
  out = Render(bank, 64);
  EXPECT_EQ(out[10], 0.0f);  // silence is silence
}

TEST_F(OpenAlSoundBankTest, LoopWrapsOnTheSampleAndPlayRestartsFromTheStart) {
  bank.SetWaveData(5, Ramp(48000, 1000));
  bank.LoopPlay(5);
  std::vector<float> out = Render(bank, 3000);
  EXPECT_NEAR(out[0], 0.001f, 1e-6);
  EXPECT_NEAR(out[2 * 999], 1.0f, 1e-6);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(out[2 * (i + 1000)], out[2 * i]) << i;
  EXPECT_EQ(bank.GetStatus(5), 5);

  // Ratio 2 reads every other sample.
  bank.SetFreqRate(5, 2.0);
  bank.Play(5);
  EXPECT_EQ(bank.GetStatus(5), 1);
  out = Render(bank, 400);
  EXPECT_NEAR(out[2 * 100], 0.201f, 1e-6);

  // Stop, then Play: from the first sample again, as does Play while playing.
  bank.SetFreqRate(5, 1.0);
  bank.Play(5);
  Render(bank, 300);
  bank.Stop(5);
  EXPECT_EQ(bank.GetStatus(5), 0);
  EXPECT_EQ(Render(bank, 10)[0], 0.0f);
  bank.Play(5);
  EXPECT_NEAR(Render(bank, 10)[0], 0.001f, 1e-6);
  Render(bank, 500);
  bank.Play(5);
  EXPECT_NEAR(Render(bank, 10)[0], 0.001f, 1e-6);
  EXPECT_EQ(FramesWhile(bank, 5, 1, 5000), 990);  // and the whole length once more
}

TEST_F(OpenAlSoundBankTest, ChannelsSharingAWavePlayTheirOwnCopies) {
  WavePtr wave = Ramp(48000, 1000);
  bank.SetWaveData(10, wave);
  bank.SetWaveData(11, wave);
  bank.Play(10);
  Render(bank, 500);
  bank.Play(11);
  bank.SetVolume(10, -10000);
  Render(bank, 4096 - 500);  // channel 10 has ended meanwhile
  EXPECT_EQ(bank.GetStatus(10), 0);
  EXPECT_EQ(bank.GetStatus(11), 0);
  bank.Play(10);
  bank.Play(11);
  Render(bank, 100);
  bank.Stop(10);
  EXPECT_EQ(bank.GetStatus(11), 1);
  EXPECT_EQ(bank.Volume(11), 0);
  EXPECT_NEAR(Render(bank, 10)[0], 0.101f, 1e-6);  // channel 11 alone, at its own place
}

TEST_F(OpenAlSoundBankTest, StereoIsMixedDownToOneChannel) {
  bank.SetWaveData(0, MakeWave(48000, {0.6f, 0.2f, 0.6f, 0.2f, -0.5f, 0.5f, 0.3f, 0.3f}, 2));
  bank.Play(0);
  std::vector<float> out = Render(bank, 4);
  EXPECT_NEAR(out[0], 0.4f, 1e-6);
  EXPECT_NEAR(out[1], 0.4f, 1e-6);
  EXPECT_NEAR(out[4], 0.0f, 1e-6);
  EXPECT_NEAR(out[6], 0.3f, 1e-6);
  EXPECT_EQ(bank.GetStatus(0), 0);  // four frames, not eight
}

TEST_F(OpenAlSoundBankTest, ChannelsWithoutDataAndNumbersOutOfRangeDoNothing) {
  bank.SetWaveData(3, Constant(22050, 22050));
  bank.LoopPlay(3);
  bank.SetWaveData(3, nullptr);  // an empty wave takes the data away, and the sound with it
  bank.SetWaveData(4, MakeWave(0, {0.5f, 0.5f}));  // no sample rate: no data
  bank.SetWaveData(-1, Constant(22050, 100));
  bank.SetWaveData(320, Constant(22050, 100));
  for (int ch : {-1, 3, 4, 100, 319, 320, 100000}) {
    bank.Play(ch);
    bank.LoopPlay(ch);
    bank.SetVolume(ch, -500);
    bank.SetFreqRate(ch, 2.0);
    EXPECT_FALSE(bank.HasWaveData(ch)) << ch;
    EXPECT_EQ(bank.GetStatus(ch), 0) << ch;
    EXPECT_EQ(bank.Volume(ch), 0) << ch;
  }
  std::vector<float> out = Render(bank, 1000);
  for (float x : out) ASSERT_EQ(x, 0.0f);
}

TEST_F(OpenAlSoundBankTest, NewDataStartsTheChannelAfresh) {
  bank.SetWaveData(8, Constant(48000, 48000));
  bank.SetVolume(8, -1000);
  bank.SetFreqRate(8, 3.0);
  bank.LoopPlay(8);
  bank.SetWaveData(8, Constant(48000, 480));
  EXPECT_EQ(bank.GetStatus(8), 0);
  EXPECT_EQ(bank.Volume(8), 0);
  bank.Play(8);
  EXPECT_EQ(FramesWhile(bank, 8, 1, 10000), 480);  // at the recorded rate again

  // An empty recording is data that is over as soon as it starts, or loops in silence.
  bank.SetWaveData(9, MakeWave(22050, {}));
  EXPECT_TRUE(bank.HasWaveData(9));
  bank.Play(9);
  EXPECT_EQ(bank.GetStatus(9), 0);
  bank.LoopPlay(9);
  EXPECT_EQ(bank.GetStatus(9), 5);
  EXPECT_EQ(Render(bank, 100)[50], 0.0f);
}

TEST_F(OpenAlSoundBankTest, FrequencyIsKeptPlayable) {
  bank.SetWaveData(6, Constant(48000, 48));
  bank.SetFreqRate(6, std::nan(""));  // ignored: still 48000
  bank.Play(6);
  EXPECT_EQ(FramesWhile(bank, 6, 1, 1000), 48);
  bank.SetFreqRate(6, 0.0);  // a standstill pitch law: the slowest rate, 1 sample a second
  bank.Play(6);
  bank.Advance(47999);
  EXPECT_EQ(bank.GetStatus(6), 1);
  bank.Advance(1);
  EXPECT_EQ(bank.GetStatus(6), 0);
  bank.SetFreqRate(6, -3.0);
  bank.Play(6);
  bank.Advance(47000);
  EXPECT_EQ(bank.GetStatus(6), 1);
  bank.SetFreqRate(6, 1e12);  // capped at 1 MHz
  bank.Play(6);
  EXPECT_EQ(FramesWhile(bank, 6, 1, 1000), 3);  // 48 x 48000 / 1000000 = 2.3
}

TEST_F(OpenAlSoundBankTest, AllChannelsPlayAtOnce) {
  WavePtr wave = Constant(22050, 2205, 0.001f);
  for (int ch = 0; ch < SoundBank::ChannelCount; ++ch) {
    bank.SetWaveData(ch, wave);
    if (ch % 2) bank.LoopPlay(ch); else bank.Play(ch);
  }
  std::vector<float> out = Render(bank, 1000);
  EXPECT_NEAR(out[500], 0.32f, 1e-4);  // every one of the 320 sources is heard
  for (int ch = 0; ch < SoundBank::ChannelCount; ++ch) ASSERT_EQ(bank.GetStatus(ch), ch % 2 ? 5 : 1) << ch;
  bank.Advance(100);
  for (int ch = 0; ch < SoundBank::ChannelCount; ++ch) ASSERT_EQ(bank.GetStatus(ch), ch % 2 ? 5 : 0) << ch;
}

TEST_F(OpenAlSoundBankTest, ResetGivesAFreshBank) {
  bank.SetWaveData(1, Constant(22050, 22050));
  bank.SetVolume(1, -300);
  bank.LoopPlay(1);
  ASSERT_TRUE(bank.Reset());
  EXPECT_FALSE(bank.HasWaveData(1));
  EXPECT_EQ(bank.GetStatus(1), 0);
  EXPECT_EQ(bank.Volume(1), 0);
  for (float x : Render(bank, 500)) ASSERT_EQ(x, 0.0f);
  bank.SetWaveData(1, Constant(48000, 100));
  bank.Play(1);
  EXPECT_NEAR(Render(bank, 10)[0], 0.5f, 1e-5);  // and it works as before
  EXPECT_EQ(FramesWhile(bank, 1, 1, 1000), 90);
}

TEST_F(OpenAlSoundBankTest, ClockOnlyAdvanceMovesChannelsAsTheMixWould) {
  // One second at 22050 Hz: rendered alone it ends on output frame 48000.
  bank.SetWaveData(0, Constant(22050, 22050));
  bank.Play(0);
  bank.Advance(700);
  EXPECT_EQ(bank.GetStatus(0), 1);
  EXPECT_EQ(FramesWhile(bank, 0, 1, 100000), 14400);  // 0.3 s later, rendered

  // The rendering goes on where the clock stands, in a one-shot and in a wrapped loop.
  bank.SetWaveData(1, Ramp(48000, 48000));
  bank.SetWaveData(2, Ramp(48000, 12000));
  bank.Play(1);
  bank.LoopPlay(2);
  bank.Advance(700);  // the loop has wrapped twice and stands at 0.2 s
  std::vector<float> out = Render(bank, 1);
  EXPECT_NEAR(out[0], 33601.0f / 48000.0f + 9601.0f / 12000.0f, 1e-4);
  bank.Stop(2);
  EXPECT_EQ(FramesWhile(bank, 1, 1, 100000), 14399);
}

TEST_F(OpenAlSoundBankTest, WithARenderSinkAdvanceHandsOverTheMix) {
  bank.SetWaveData(0, Constant(48000, 4800));
  std::vector<float> got;
  bank.SetRenderSink([&got](const float* stereo, int frames) { got.insert(got.end(), stereo, stereo + 2 * frames); });
  bank.Play(0);
  bank.Advance(150);
  ASSERT_EQ(got.size(), 2u * 7200);
  EXPECT_NEAR(got[2 * 4799], 0.5f, 1e-5);
  EXPECT_EQ(got[2 * 4800], 0.0f);
  EXPECT_EQ(bank.GetStatus(0), 0);
}

TEST(OpenAlSoundBank, TwoRunsRenderTheSameSamples) {
  auto run = [] {
    OpenAlSoundBank bank;
    bank.SetWaveData(0, Ramp(22050, 5000));
    bank.SetWaveData(1, Ramp(44100, 3000));
    bank.SetWaveData(2, Constant(11025, 4000, -0.3f));
    std::vector<float> all;
    bank.LoopPlay(0);
    bank.Play(1);
    for (int step = 0; step < 40; ++step) {
      bank.SetFreqRate(0, 0.8 + 0.01 * step);
      bank.SetVolume(1, -50 * step);
      if (step == 7) bank.Play(2);
      std::vector<float> out = Render(bank, 1000 + 37 * step);
      all.insert(all.end(), out.begin(), out.end());
    }
    return all;
  };
  const std::vector<float> a = run(), b = run();
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0);
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "sound/sound_log.h"
#include "support/fake_sound_bank.h"

namespace kavrin {
namespace {

// A bank that keeps just what the log reads back: data, volume, status; it counts what reaches it.
class RecordingBank : public SoundBank {
 public:
  void SetWaveData(int ch, WavePtr w) override {
    if (!In(ch)) return;
    has[ch] = w && w->SampleRate > 0;
    volume[ch] = 0;
    status[ch] = 0;
  }
  bool HasWaveData(int ch) const override { return In(ch) && has[ch]; }
  void Play(int ch) override { ++calls; if (HasWaveData(ch)) status[ch] = 1; }
  void LoopPlay(int ch) override { ++calls; if (HasWaveData(ch)) status[ch] = 5; }
  void Stop(int ch) override { ++calls; if (HasWaveData(ch)) status[ch] = 0; }
  void SetVolume(int ch, int32_t v) override { ++calls; if (HasWaveData(ch)) volume[ch] = v; }
  int32_t Volume(int ch) const override { return HasWaveData(ch) ? volume[ch] : 0; }
  void SetFreqRate(int ch, double r) override { ++calls; lastRatio = r; (void)ch; }
  int GetStatus(int ch) const override { return HasWaveData(ch) ? status[ch] : 0; }
  void Advance(int64_t ms) override { advanced += ms; }
  bool Reset() override {
    has.fill(false);
    ++resets;
    return true;
  }

  static bool In(int ch) { return ch >= 0 && ch < ChannelCount; }
  std::array<bool, ChannelCount> has{};
  std::array<int32_t, ChannelCount> volume{};
  std::array<int, ChannelCount> status{};
  int calls = 0, resets = 0;
  int64_t advanced = 0;
  double lastRatio = 0;
};

WavePtr WaveAt(int rate) {
  auto w = std::make_shared<Wave>();
  w->SampleRate = rate;
  w->Samples.assign(100, 0.0f);
  return w;
}

TEST(SoundLog, WritesWhatChangesAndForwardsEverything) {
  RecordingBank bank;
  std::ostringstream csv;
  SoundLog log(bank, csv);
  log.SetWaveData(3, WaveAt(22050));
  log.SetWaveData(4, nullptr);

  log.SetTime(100);
  log.Stop(3);
  log.Play(3);
  log.SetVolume(3, 0);  // a fresh channel is at 0 already
  log.SetVolume(3, -602);
  log.SetVolume(3, -602);
  log.SetFreqRate(3, 1.0);      // 22050, as recorded
  log.SetFreqRate(3, 1.5);      // 33075
  log.SetFreqRate(3, 1.50001);  // 33075.22 truncates to the same
  log.SetFreqRate(3, 0.0);      // the slowest rate, not 0
  log.SetTime(233);
  log.LoopPlay(3);
  EXPECT_EQ(log.GetStatus(3), 5);
  // Nothing happens on these, so nothing is written.
  log.Play(4);
  log.SetVolume(4, -100);
  log.Play(-1);
  log.LoopPlay(320);
  log.SetFreqRate(400, 2.0);
  // New data: the channel starts again from volume 0 and its own recorded rate.
  log.SetTime(300);
  log.SetWaveData(3, WaveAt(44100));
  log.SetVolume(3, -602);
  log.SetFreqRate(3, 1.0);
  log.SetFreqRate(3, 0.5);
  log.Advance(40);
  EXPECT_TRUE(log.Reset());
  log.Play(3);

  EXPECT_EQ(csv.str(),
            "t_ms,op,channel,value\n"
            "100,play,3,\n"
            "100,volume,3,-602\n"
            "100,freq,3,33075\n"
            "100,freq,3,1\n"
            "233,loop,3,\n"
            "300,volume,3,-602\n"
            "300,freq,3,22050\n");
  EXPECT_EQ(bank.calls, 19);  // the stop of an idle channel reached it too, unwritten  // every operation reached the bank, logged or not
  EXPECT_EQ(bank.lastRatio, 0.5);
  EXPECT_EQ(bank.advanced, 40);
  EXPECT_EQ(bank.resets, 1);
}

TEST(SoundLog, AOneShotEndsWhereItsFramesRunOutAndOnlyPlayingChannelsStop) {
  test::FakeSoundBank bank;
  std::ostringstream csv;
  SoundLog log(bank, csv);
  log.SetWaveData(1, test::FakeSoundBank::WaveOf(1));
  log.SetWaveData(2, test::FakeSoundBank::WaveOf(1));
  log.Play(1);
  log.LoopPlay(2);
  log.SetTime(700);
  log.Advance(700);
  log.SetTime(1000);
  log.Advance(300);
  log.Stop(1);  // over already: nothing to stop
  log.Advance(5000);
  log.Stop(2);
  EXPECT_EQ(csv.str(),
            "t_ms,op,channel,value\n"
            "0,play,1,\n"
            "0,loop,2,\n"
            "1000,end,1,\n"
            "1000,stop,2,\n");
}

}  // namespace
}  // namespace kavrin

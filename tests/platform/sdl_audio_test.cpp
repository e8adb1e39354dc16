#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/openal_sound_bank.h"
#include "platform/sdl_audio_output.h"
#include "platform/sdl_wave_decoder.h"
#include "sound/wav_writer.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

TEST(SdlWaveDecoder, EveryPcmDepthAndFloatInOneOrTwoChannels) {
  test::TempDir dir;
  // Values every depth holds exactly, so the decoded floats must match to the bit.
  const std::vector<float> samples = {0.0f, 0.5f, -0.25f, -1.0f, 0.75f, 0.125f, -0.5f, 0.0078125f};
  struct Case {
    int bits;
    WavEncoding encoding;
  };
  const Case cases[] = {{8, WavEncoding::Pcm}, {16, WavEncoding::Pcm}, {24, WavEncoding::Pcm},
                        {32, WavEncoding::Pcm}, {32, WavEncoding::Float}};
  SdlWaveDecoder decoder;
  for (const auto& c : cases) {
    for (int channels : {1, 2}) {
      const std::string path = dir.str() + "w.wav";
      ASSERT_TRUE(WriteWav(path, 22050, channels, c.bits, samples, c.encoding));
      WavePtr wave = decoder.Decode(path);
      ASSERT_TRUE(wave) << c.bits << " bits, " << channels << " channels";
      EXPECT_EQ(wave->SampleRate, 22050);
      EXPECT_EQ(wave->Channels, channels);
      EXPECT_EQ(wave->Frames(), 8 / channels);
      EXPECT_EQ(wave->Samples, samples) << c.bits << " bits, " << channels << " channels";
    }
  }
}

std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

TEST(SdlWaveDecoder, ImaAdpcm) {
  // One 36-byte block: the header sample 1000, then 64 four-bit codes, the first one 4 (up by one
  // step) and the rest 0 (up by an eighth of a step while the step shrinks back to 7).
  std::string block = Le(1000, 2) + Le(0, 1) + Le(0, 1) + std::string(1, '\x04') + std::string(31, '\0');
  std::string fmt = Le(0x11, 2) + Le(1, 2) + Le(8000, 4) + Le(4431, 4) + Le(36, 2) + Le(4, 2) + Le(2, 2) + Le(65, 2);
  std::string bytes = "RIFF" + Le(4 + 8 + 20 + 8 + 36, 4) + "WAVE" + "fmt " + Le(20, 4) + fmt + "data" + Le(36, 4) + block;
  test::TempDir dir;
  WavePtr wave = SdlWaveDecoder().Decode(dir.Write("ima.wav", bytes));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->SampleRate, 8000);
  ASSERT_EQ(wave->Frames(), 65);
  const float expected[] = {1000, 1007, 1008, 1009, 1009};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(wave->Samples[i], expected[i] / 32768.0f) << i;
  EXPECT_EQ(wave->Samples[64], 1009 / 32768.0f);
}

TEST(SdlWaveDecoder, NothingForWhatIsNoPlayableWav) {
  test::TempDir dir;
  SdlWaveDecoder decoder;
  EXPECT_FALSE(decoder.Decode(dir.str() + "missing.wav"));
  EXPECT_FALSE(decoder.Decode(dir.Write("text.wav", "[DriveSound]\r\nbrake.wav\r\n")));
  std::string mp3 = "RIFF" + Le(4 + 8 + 16 + 8 + 4, 4) + "WAVE" + "fmt " + Le(16, 4) + Le(0x55, 2) + Le(1, 2) +
                    Le(22050, 4) + Le(4000, 4) + Le(1, 2) + Le(0, 2) + "data" + Le(4, 4) + "abcd";
  EXPECT_FALSE(decoder.Decode(dir.Write("mp3.wav", mp3)));
  std::string header = "RIFF" + Le(36, 4) + "WAVE" + "fmt " + Le(16, 4);  // cut inside the format
  EXPECT_FALSE(decoder.Decode(dir.Write("cut.wav", header)));
}

WavePtr Constant(int rate, int64_t frames) {
  auto w = std::make_shared<Wave>();
  w->SampleRate = rate;
  w->Samples.assign(static_cast<size_t>(frames), 0.1f);
  return w;
}

class ScopedAudioDriver {
 public:
  explicit ScopedAudioDriver(const char* driver) {
    if (const char* old = std::getenv("SDL_AUDIODRIVER")) old_ = old;
    setenv("SDL_AUDIODRIVER", driver, 1);
  }
  ~ScopedAudioDriver() {
    if (old_.empty()) unsetenv("SDL_AUDIODRIVER"); else setenv("SDL_AUDIODRIVER", old_.c_str(), 1);
  }

 private:
  std::string old_;
};

TEST(SdlAudioOutput, TheDevicePullsTheMixInItsOwnTime) {
  ScopedAudioDriver driver("dummy");  // no sound card here; SDL's dummy device keeps real time
  OpenAlSoundBank bank;
  bank.SetWaveData(0, Constant(22050, 22050 * 30));
  bank.SetWaveData(1, Constant(22050, 2205));
  {
    SdlAudioOutput output(bank);
    ASSERT_TRUE(output.Running());
    bank.Play(0);
    bank.Advance(60000);  // the device is the clock now
    EXPECT_EQ(bank.GetStatus(0), 1);
    bank.Play(1);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (bank.GetStatus(1) != 0 && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(bank.GetStatus(1), 0);  // 100 ms of sound ended on the device's pulls
  }
  bank.Play(1);
  bank.Advance(100);  // without the device, the caller's clock again
  EXPECT_EQ(bank.GetStatus(1), 0);
}

TEST(SdlAudioOutput, NoDeviceMeansOneWarningAndTheBankKeepsTime) {
  ScopedAudioDriver driver("no-such-driver");
  OpenAlSoundBank bank;
  bank.SetWaveData(0, Constant(22050, 2205));
  testing::internal::CaptureStderr();
  {
    SdlAudioOutput output(bank);
    EXPECT_FALSE(output.Running());
    bank.Play(0);
    bank.Advance(99);
    EXPECT_EQ(bank.GetStatus(0), 1);
    bank.Advance(1);
    EXPECT_EQ(bank.GetStatus(0), 0);
  }
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("no sound output"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace
}  // namespace kavrin

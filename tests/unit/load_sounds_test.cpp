#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/load_error.h"
#include "sound/load_sounds.h"
#include "sound/wav_writer.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

struct Fixture {
  test::TempDir dir;
  test::FakeSoundBank bank;
  test::FakeWaveDecoder decoder;
  std::unique_ptr<TVehicleTables> vehicle = std::make_unique<TVehicleTables>();
  std::unique_ptr<TRouteTables> route = std::make_unique<TRouteTables>();
  std::unique_ptr<TSoundState> out = std::make_unique<TSoundState>();
  std::vector<std::string> log;  // status texts and the moment the lengths are known

  // A WAV of `seconds` at 8000 bytes per second (8-bit mono).
  void Wav(const std::string& relative, int seconds) {
    std::vector<float> samples(static_cast<size_t>(seconds) * 8000, 0.0f);
    std::string path = dir.Write(relative, "");
    ASSERT_TRUE(WriteWav(path, 8000, 1, 8, samples));
  }
  std::string Path(const std::string& relative) { return dir.str() + relative; }

  void Load() {
    TSoundSources sources{*vehicle, dir.str() + "trains/", *route, dir.str()};
    LoadSounds(
        sources, bank, decoder, *out, [this](const char* text) { log.push_back(text); },
        [this] { log.push_back("lengths known"); });
  }
  std::string Failure() {
    try {
      Load();
    } catch (const LoadError& e) {
      return e.what();
    }
    return "(loaded)";
  }
  WavePtr Decoded(const std::string& relative) { return decoder.decoded.at(Path(relative)); }
};

TEST(LoadSounds, ChannelLayoutMovesWithTheCounts) {
  Fixture f;
  f.Wav("trains/drive.wav", 1);
  f.Wav("trains/motor.wav", 1);
  f.Wav("sound/first.wav", 3);
  f.Wav("sound/last.wav", 2);
  f.Wav("sound/mid.wav", 1);
  f.vehicle->DriveSoundCount = 12;
  for (int i = 0; i < 12; ++i) f.vehicle->DriveSound[i] = "drive.wav";
  f.vehicle->MotorSoundCount = 6;
  for (int i = 0; i < 6; ++i) f.vehicle->EngineSound1[i].index = "motor.wav";
  for (int i = 0; i < 30; ++i) f.route->SoundData.Add() = i == 0 ? "sound\\first.wav" : i == 29 ? "sound\\last.wav" : "sound\\mid.wav";
  f.route->SoundData[5] = "";  // an empty line keeps its place and its channel stays without data
  f.Load();

  const TChannelLayout& l = f.out->Layout;
  EXPECT_EQ(l.DriveSoundCount, 12);
  EXPECT_EQ(l.SoundDataCount, 30);
  EXPECT_EQ(l.EngineSound1Count, 6);
  EXPECT_EQ(l.EngineSound3Count, 0);
  EXPECT_EQ(l.KankoChannel(), 49);
  for (int c = 0; c < 12; ++c) EXPECT_EQ(f.bank.ch[c].wave, f.Decoded("trains/drive.wav")) << c;
  EXPECT_EQ(f.bank.ch[12].wave, f.Decoded("sound/first.wav"));
  EXPECT_EQ(f.bank.ch[41].wave, f.Decoded("sound/last.wav"));
  EXPECT_FALSE(f.bank.HasWaveData(12 + 5));
  for (int c = 42; c <= 47; ++c) EXPECT_EQ(f.bank.ch[c].wave, f.Decoded("trains/motor.wav")) << c;
  for (int c : {48, 49, 50}) EXPECT_FALSE(f.bank.HasWaveData(c)) << c;
  // Lengths of the route sounds, by route sound index.
  EXPECT_EQ(f.out->SoundSeconds[0], 3);
  EXPECT_EQ(f.out->SoundSeconds[1], 1);
  EXPECT_EQ(f.out->SoundSeconds[5], 0);
  EXPECT_EQ(f.out->SoundSeconds[29], 2);
  // A file named many times is decoded once.
  EXPECT_EQ(f.decoder.requests.size(), 5u);
  EXPECT_EQ(f.out->MotorRowLevel[0], 1.0L);
  EXPECT_EQ(f.out->HensokuLevel, 1.0L);
}

TEST(LoadSounds, StepsShowTheirTextsAndTheLengthsAreKnownBeforeTheCallingVoices) {
  Fixture f;
  f.Load();
  const std::vector<std::string> expected = {
      "DirectSoundオブジェクトを作成しています(走行音)", "DirectSoundオブジェクトを作成しています(環境音)",
      "lengths known", "DirectSoundオブジェクトを作成しています(喚呼)", "サウンドを読み込んでいます"};
  EXPECT_EQ(f.log, expected);
}

TEST(LoadSounds, CallingVoicesAreKeptOffTheChannelsAndEveryChannelEndsStopped) {
  Fixture f;
  for (const char* v : {"kanko/k0.wav", "kanko/k22.wav", "kanko/o1.wav", "kanko/l0.wav", "trains/gear.wav"}) f.Wav(v, 1);
  f.route->KankoSound1[0] = "kanko\\k0.wav";
  f.route->KankoSound2.Add() = Kanko{0, "kanko\\k22.wav"};
  f.route->KankoSound2.Add() = Kanko{1, ""};
  f.route->OtherKanko.Add() = "";
  f.route->OtherKanko.Add() = "kanko\\o1.wav";
  f.route->LimitKanko.Add() = "kanko\\l0.wav";
  f.vehicle->HensokuSoundCount = 1;
  f.vehicle->EngineSound3[0].index = "gear.wav";
  f.bank.SetWaveData(200, test::FakeSoundBank::WaveOf(5));
  f.bank.LoopPlay(200);
  f.Load();

  EXPECT_EQ(f.out->KankoVoices[0], f.Decoded("kanko/k0.wav"));
  EXPECT_EQ(f.out->KankoVoices[22], f.Decoded("kanko/k22.wav"));
  EXPECT_EQ(f.out->KankoVoices[1], nullptr);
  EXPECT_EQ(f.out->KankoVoices[23], nullptr);
  EXPECT_EQ(f.out->OtherKankoWaves[0], nullptr);
  EXPECT_EQ(f.out->OtherKankoWaves[1], f.Decoded("kanko/o1.wav"));
  EXPECT_EQ(f.out->LimitKankoWaves[0], f.Decoded("kanko/l0.wav"));
  // The gearbox sound follows the empty lists; the calling channel is one further on.
  EXPECT_EQ(f.bank.ch[0].wave, f.Decoded("trains/gear.wav"));
  EXPECT_EQ(f.out->Layout.KankoChannel(), 2);
  EXPECT_FALSE(f.bank.HasWaveData(2));
  for (int c = 0; c < SoundBank::ChannelCount; ++c) EXPECT_EQ(f.bank.GetStatus(c), 0) << c;
}

TEST(LoadSounds, AFileThatIsMissingOrNoWaveEndsTheLoadWithItsMessage) {
  struct Case {
    const char* name;
    void (*set)(TVehicleTables&, TRouteTables&, const std::string&);
    const char* file;  // as the data file names it
    const char* message;
  };
  const Case cases[] = {
      {"drive, missing", [](TVehicleTables& v, TRouteTables&, const std::string& n) { v.DriveSoundCount = 1; v.DriveSound[0] = n; },
       "none.wav", "none.wavが見つかりません"},
      {"drive, no wave", [](TVehicleTables& v, TRouteTables&, const std::string& n) { v.DriveSoundCount = 1; v.DriveSound[0] = n; },
       "bad.wav", "車両ファイルに誤りがあります[DriveSound]"},
      {"motor", [](TVehicleTables& v, TRouteTables&, const std::string& n) { v.MotorSoundCount = 1; v.EngineSound1[0].index = n; },
       "bad.wav", "車両ファイルに誤りがあります[EngineSound1]"},
      {"gear", [](TVehicleTables& v, TRouteTables&, const std::string& n) { v.HensokuSoundCount = 1; v.EngineSound3[0].index = n; },
       "bad.wav", "車両ファイルに誤りがあります[EngineSound3]"},
      {"route, missing", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.SoundData.Add() = n; },
       "sound\\none.wav", "sound\\none.wavが見つかりません"},
      {"route, no wave", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.SoundData.Add() = n; },
       "sound\\bad.wav", "路線ファイルに誤りがあります。[SoundData]:sound\\bad.wav"},
      {"fixed voice", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.KankoSound1[3] = n; },
       "sound\\bad.wav", "路線ファイルに誤りがあります。[KankoSound1]:sound\\bad.wav"},
      {"voice", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.KankoSound2.Add() = Kanko{0, n}; },
       "sound\\bad.wav", "路線ファイルに誤りがあります。[KankoSound2]:sound\\bad.wav"},
      {"other voice", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.OtherKanko.Add() = n; },
       "sound\\none.wav", "sound\\none.wavが見つかりません"},
      {"limit voice", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.LimitKanko.Add() = n; },
       "sound\\bad.wav", "路線ファイルに誤りがあります。[LimitKanko]:sound\\bad.wav"},
      // A route sound is looked for in the program folder, not the train's.
      {"route sound in the train folder", [](TVehicleTables&, TRouteTables& r, const std::string& n) { r.SoundData.Add() = n; },
       "good.wav", "good.wavが見つかりません"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.dir.Write("trains/bad.wav", "not a wave at all");
    f.dir.Write("sound/bad.wav", "RIFX");
    f.Wav("trains/good.wav", 1);
    c.set(*f.vehicle, *f.route, c.file);
    EXPECT_EQ(f.Failure(), c.message) << c.name;
  }
}

TEST(LoadSounds, ALayoutBeyondTheBankIsRefused) {
  auto fill = [](Fixture& f, int routeSounds) {
    f.Wav("trains/a.wav", 1);
    f.Wav("b.wav", 1);
    f.vehicle->DriveSoundCount = f.vehicle->MotorSoundCount = f.vehicle->HensokuSoundCount = 100;
    for (int i = 0; i < 100; ++i) {
      f.vehicle->DriveSound[i] = "a.wav";
      f.vehicle->EngineSound1[i].index = "a.wav";
      f.vehicle->EngineSound3[i].index = "a.wav";
    }
    for (int i = 0; i < routeSounds; ++i) f.route->SoundData.Add() = "b.wav";
  };
  Fixture fits;
  fill(fits, 18);
  fits.Load();
  EXPECT_EQ(fits.out->Layout.KankoChannel(), 319);
  EXPECT_TRUE(fits.bank.HasWaveData(317));  // the last gear sound
  EXPECT_FALSE(fits.bank.HasWaveData(318));

  Fixture over;
  fill(over, 19);
  over.route->SoundData[18] = "last.wav";
  EXPECT_EQ(over.Failure(), "路線ファイルに誤りがあります。[SoundData]:last.wav");
  EXPECT_FALSE(over.bank.HasWaveData(0));  // refused before any channel was bound
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <sstream>

#include "app/headless.h"
#include "app/simulator.h"
#include "core/key_value_store.h"
#include "platform/openal_sound_bank.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

WavePtr Tone(int rate, int frames) {
  auto w = std::make_shared<Wave>();
  w->SampleRate = rate;
  w->Samples.assign(static_cast<size_t>(frames), 0.25f);
  return w;
}

// Pause and resume against the real bank: what was playing starts again from its beginning.
TEST(RunWithOpenAl, PauseAndResumeRestartOnceAndLoopingChannels) {
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
  dir.Write("mascon.dat", "#\r\n");
  MemoryKeyValueStore store;
  OpenAlSoundBank bank;
  ASSERT_TRUE(bank.IsOpen());
  std::ostringstream messages;
  HeadlessUiHost ui(messages);
  test::FakePictureLoader pictures;
  test::FakeFilmSource film;
  auto sim = std::make_unique<Sim>();
  SimulatorRun run(*sim, RunServices{store, bank, ui, pictures, film}, kHeadlessIdleInterval);
  RunRequest rq;
  rq.ProgramFolder = dir.str();
  run.FormCreate(rq);

  bank.SetWaveData(0, Tone(48000, 48000));  // one second
  bank.SetWaveData(1, Tone(48000, 4800));
  bank.SetWaveData(2, Tone(48000, 4800));
  bank.Play(0);
  bank.LoopPlay(1);
  bank.Play(2);
  bank.Advance(500);  // channel 2 has ended, channel 0 is half-way
  ASSERT_EQ(bank.GetStatus(2), 0);
  run.start1Click();
  EXPECT_EQ(bank.GetStatus(0), 0);
  EXPECT_EQ(bank.GetStatus(1), 0);
  bank.Advance(2000);  // paused for a while
  run.start1Click();
  EXPECT_EQ(bank.GetStatus(0), 1);
  EXPECT_EQ(bank.GetStatus(1), 5);
  EXPECT_EQ(bank.GetStatus(2), 0);
  // From its start again: the one-second sound still plays after 990 ms and is over at 1000.
  bank.Advance(990);
  EXPECT_EQ(bank.GetStatus(0), 1);
  bank.Advance(10);
  EXPECT_EQ(bank.GetStatus(0), 0);
  EXPECT_EQ(bank.GetStatus(1), 5);
}

}  // namespace
}  // namespace kavrin

#pragma once
// A run with fakes for every service, over a program folder of its own: what the run tests load.
#include <memory>
#include <sstream>
#include <string>

#include "app/headless.h"
#include "app/simulator.h"
#include "core/key_value_store.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"
#include "support/temp_dir.h"

namespace kavrin::test {

struct RunRig {
  TempDir dir;
  MemoryKeyValueStore store;
  FakeSoundBank sound;
  std::ostringstream messages;
  HeadlessUiHost ui{messages};
  FakePictureLoader pictures;
  FakeWaveDecoder waves;
  FakeFilmSource film;
  std::unique_ptr<Sim> simPtr = std::make_unique<Sim>();
  Sim& sim = *simPtr;
  SimulatorRun run{sim, RunServices{store, sound, ui, pictures, waves, film}, kHeadlessIdleInterval};

  explicit RunRig(const std::string& ostrel) {
    dir.Write("ostrel.dat", ostrel);
    dir.Write("mascon.dat", "#\r\n");
  }
};

}  // namespace kavrin::test

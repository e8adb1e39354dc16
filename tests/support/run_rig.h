#pragma once
// A run with fakes for every service, over a program folder of its own: what the run tests load.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/headless.h"
#include "app/script.h"
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

// Runs `script` on a loaded run until `limitMs` of virtual time and returns the trace of
// `fields` after every 100 ms tick (empty without fields).
inline std::string DriveHeadless(SimulatorRun& run, HeadlessUiHost& ui, SoundBank& sound, const std::string& script,
                                 int64_t limitMs, std::vector<std::string> fields = {}) {
  std::ostringstream trace;
  HeadlessOptions o;
  o.limitMs = limitMs;
  if (!fields.empty()) o.trace = &trace;
  o.fields = std::move(fields);
  std::string err;
  EXPECT_TRUE(ParseScript(script, o.script, err)) << err;
  RunHeadless(run, ui, sound, o);
  return trace.str();
}

}  // namespace kavrin::test

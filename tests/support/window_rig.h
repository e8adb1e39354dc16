#pragma once
// What the window tests share: one QApplication for the whole test program and the fake
// services a simulator window is made with.
#include <QApplication>

#include "core/key_value_store.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"

namespace kavrin::test {

inline QApplication& App() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "kavrin_ui_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt's own statics go first at exit and would leave it dangling.
  return *new QApplication(argc, argv);
}

struct WindowFakes {
  MemoryKeyValueStore store;
  FakeSoundBank sound;
  FakePictureLoader pictures;
  FakeWaveDecoder waves;
  FakeFilmSource film;
};

}  // namespace kavrin::test

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>

#include "core/key_value_store.h"
#include "data/settings.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/temp_dir.h"
#include "ui/cab_view.h"
#include "ui/simulator_window.h"

namespace kavrin {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "kavrin_ui_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt's own statics go first at exit and would leave it dangling.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Lets the window's 1 ms timer run for `ms` of real time.
void Spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(SimulatorWindow, StartPauseResumeAndBack) {
  App();
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Start]\r\n開始\r\n");
  dir.Write("mascon.dat", "#\r\n");
  MemoryKeyValueStore store;
  test::FakeSoundBank sound;
  test::FakePictureLoader pictures;
  test::FakeFilmSource film;
  auto* w = new TForm1(store, sound, pictures, film);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  RunRequest rq;
  rq.ProgramFolder = dir.str();
  w->FormCreate(rq);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  EXPECT_TRUE(w->sim().run.running);
  EXPECT_EQ(w->startAction()->text(), "一時停止(&S)");
  EXPECT_EQ(w->windowTitle(), "鉄道運転シミュレータ");

  Spin(250);
  int32_t clock = w->sim().clock.ClockTime;
  EXPECT_GT(clock, 3);  // the 33 ms tick runs
  EXPECT_GT(sound.advanced, 200);  // no device: the window renders the bank itself

  w->startAction()->trigger();  // pause
  EXPECT_FALSE(w->sim().run.running);
  EXPECT_EQ(w->startAction()->text(), "運転再開(&S)");
  Spin(150);
  int32_t paused = w->sim().clock.ClockTime;
  Spin(100);
  EXPECT_EQ(w->sim().clock.ClockTime, paused);

  CabView* cab = w->cab();
  QTest::mouseClick(cab, Qt::LeftButton, {}, cab->SurfaceRect().center());  // resume
  EXPECT_TRUE(w->sim().run.running);
  QTest::mouseClick(cab, Qt::LeftButton, {}, cab->SurfaceRect().center());  // nothing while running
  EXPECT_TRUE(w->sim().run.running);

  QTest::mouseClick(cab, Qt::LeftButton, {}, cab->BackRect().center());
  EXPECT_EQ(w->sim().run.FadeOut, 1);
  QElapsedTimer t;
  t.start();
  while (w->isVisible() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(w->sim().run.RunEnded);
  EXPECT_EQ(sound.resets, 1);
  EXPECT_EQ(store.ReadInt(kSettingsKey, "Information"), 1);  // written at the close
  delete w;
}

TEST(SimulatorWindow, SurfaceKeepsItsAspectInAnyWindowSize) {
  App();
  CabView view;
  view.resize(1000, 440);
  QRect r = view.SurfaceRect();
  EXPECT_EQ(r.height(), 440);
  EXPECT_EQ(r.width(), 400);
  EXPECT_EQ(r.left(), 300);
  EXPECT_EQ(view.BackRect().bottomRight(), r.bottomRight());
}

}  // namespace
}  // namespace kavrin

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "core/key_value_store.h"
#include "data/settings.h"
#include "support/temp_dir.h"
#include "support/window_rig.h"
#include "ui/cab_view.h"
#include "ui/simulator_window.h"

namespace kavrin {
namespace {

// Lets the window's 1 ms timer run for `ms` of real time.
void Spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(SimulatorWindow, StartPauseResumeAndBack) {
  test::App();
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Start]\r\n開始\r\n");
  dir.Write("mascon.dat", "#\r\n");
  test::WindowFakes f;
  auto* w = new TForm1(f.store, f.sound, f.pictures, f.waves, f.film);
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
  EXPECT_GT(f.sound.advanced, 200);  // no device: the window renders the bank itself

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
  EXPECT_TRUE(w->sim().run.Closed);
  EXPECT_EQ(f.sound.resets, 1);
  EXPECT_EQ(f.store.ReadInt(kSettingsKey, "Information"), 1);  // written at the close
  delete w;
}

TEST(SimulatorWindow, TheMoveMenuListsTheStopsLastFirst) {
  test::App();
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Move]\r\n移動\r\n");
  dir.Write("mascon.dat", "#\r\n");
  dir.Write("line.dat",
            "[Station]\r\n"
            "東駅,0,0,300,0,0,0,1080000,90,0,0,0,0,0,0\r\n"
            "中駅,1,300,300,0,0,0,1081800,90,0,0,0,0,0,0\r\n"
            "西駅,2,600,300,0,0,0,1083600,90,0,0,0,0,0,0\r\n"
            "終点,0,900,300,0,0,0,1085400,90,0,0,0,0,0,0\r\n#\r\n");
  test::WindowFakes f;
  TForm1 w(f.store, f.sound, f.pictures, f.waves, f.film);
  RunRequest rq;
  rq.ProgramFolder = dir.str();
  rq.RouteFileName = "line.dat";
  w.FormCreate(rq);
  EXPECT_EQ(w.moveMenu()->title(), "移動");
  const QList<QAction*> items = w.moveMenu()->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), "西駅");
  EXPECT_EQ(items[0]->objectName(), "Sta2");
  EXPECT_EQ(items[1]->text(), "東駅");
  EXPECT_EQ(items[1]->objectName(), "Sta0");
  w.close();
}

TEST(SimulatorWindow, SurfaceKeepsItsAspectInAnyWindowSize) {
  test::App();
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

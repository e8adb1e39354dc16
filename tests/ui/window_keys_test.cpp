// The simulator window's keyboard and wheel reach the handle: a press is the key and its
// character, a held key lasts through the platform's repeat until it is let go, and each wheel
// notch is one step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include "core/key_value_store.h"
#include "support/temp_dir.h"
#include "support/window_rig.h"
#include "ui/simulator_window.h"

namespace kavrin {
namespace {

void Wheel(QWidget* target, int delta) {
  QPointF at(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &e);
}

TEST(WindowKeys, KeysAndWheelMoveTheHandle) {
  test::App();
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
  dir.Write("mascon.dat", "#\r\n");
  dir.Write("car.dat",
            "[Handle]\r\n0\r\n[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n4\r\n[Tons]\r\n36\r\n"
            "[Sound_Horn4]\r\n5\r\n6\r\n7\r\n8\r\n5\r\n0\r\n");
  test::WindowFakes f;
  auto* w = new TForm1(f.store, f.sound, f.pictures, f.waves, f.film);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  RunRequest rq;
  rq.ProgramFolder = dir.str();
  rq.VehicleFileName = "car.dat";
  w->FormCreate(rq);
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  Sim& sim = w->sim();
  ASSERT_EQ(sim.handle.BrakeNotch, -8);

  QTest::keyClick(w, Qt::Key_8);
  EXPECT_EQ(sim.handle.BrakeNotch, -7);
  QTest::keyClick(w, Qt::Key_2);
  EXPECT_EQ(sim.handle.BrakeNotch, -7);  // the highest service step
  QTest::keyClick(w, Qt::Key_5);
  EXPECT_EQ(sim.handle.BrakeNotch, 0);

  // The horn held through the platform's repeat.
  QTest::keyPress(w, Qt::Key_3);
  EXPECT_EQ(sim.keys.HornKey, 1);
  QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_3, Qt::NoModifier, "3", true);
  QApplication::sendEvent(w, &repeatUp);
  QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, "3", true);
  QApplication::sendEvent(w, &repeatDown);
  EXPECT_EQ(sim.keys.HornKey, 1);
  QTest::keyRelease(w, Qt::Key_3);
  EXPECT_EQ(sim.keys.HornKey, 0);

  QTest::keyPress(w, Qt::Key_F2, Qt::ShiftModifier);
  EXPECT_EQ(sim.keys.EngineSwitch, 2);
  QTest::keyRelease(w, Qt::Key_F2, Qt::ShiftModifier);
  EXPECT_EQ(sim.keys.EngineSwitch, 0);

  // The wheel (which the cab view leaves to the window): towards the driver is power, away the
  // brake; half notches add up.
  Wheel(w, -120);
  EXPECT_EQ(sim.handle.PowerNotch, 1);
  Wheel(w, 60);
  EXPECT_EQ(sim.handle.PowerNotch, 1);
  Wheel(w, 60);
  EXPECT_EQ(sim.handle.PowerNotch, 0);
  Wheel(w, 240);
  EXPECT_EQ(sim.handle.BrakeNotch, -2);

  w->close();
  delete w;
}

}  // namespace
}  // namespace kavrin

// The simulator window's "Controller(&C)" menu: its items in order, check marks that follow the
// run, the debug caption given back, and the serial port's settings dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include "core/key_value_store.h"
#include "platform/qt_serial_link.h"
#include "support/temp_dir.h"
#include "support/window_rig.h"
#include "ui/serial_settings_dialog.h"
#include "ui/simulator_window.h"

namespace kavrin {
namespace {

QAction* Item(TForm1& w, const char* name) {
  for (QAction* a : w.controllerMenu()->actions()) {
    if (a->objectName() == name) return a;
  }
  return nullptr;
}

std::string Marks(TForm1& w) {
  std::string marks;
  for (QAction* a : w.controllerMenu()->actions()) marks += a->isCheckable() ? (a->isChecked() ? 'x' : '-') : ' ';
  return marks;
}

TEST(ControllerMenu, ItemsChecksAndTheDebugCaption) {
  test::App();
  test::TempDir dir;
  dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n[Control]\r\nコントローラ(&C)\r\n");
  dir.Write("mascon.dat", "#\r\n");
  test::WindowFakes f;
  TForm1 w(f.store, f.sound, f.pictures, f.waves, f.film);
  RunRequest rq;
  rq.ProgramFolder = dir.str();
  w.FormCreate(rq);

  EXPECT_EQ(w.controllerMenu()->title(), "コントローラ(&C)");
  QStringList captions;
  for (QAction* a : w.controllerMenu()->actions()) captions << a->text();
  EXPECT_EQ(captions.join("|"),
            "標準/QZマスコン(&N)|Windows用電車でGO! コントローラ(&U)|PS用電車でGO! コントローラ(&M)|"
            "ワンハンドルコントローラ OHC-PC01(&O)|デバッグオプション(&D)|QZマスコン（設定）(&P)|QZマスコン（接続）(&C)");
  EXPECT_EQ(Marks(w), "x----  ");

  // Triggering a checked type item keeps its mark: the marks follow the controller type.
  Item(w, "UsbGo1")->trigger();
  Item(w, "UsbGo1")->trigger();
  EXPECT_EQ(Marks(w), "-x---  ");
  EXPECT_EQ(w.sim().controllers.ControllerType, 1);

  Item(w, "Debug1")->trigger();
  EXPECT_EQ(Marks(w), "-x--x  ");
  w.setWindowTitle("X:1 Y:2");
  Item(w, "Debug1")->trigger();
  EXPECT_EQ(Marks(w), "-x---  ");
  EXPECT_EQ(w.windowTitle(), "鉄道運転シミュレータ");
}

TEST(ControllerMenu, TheSettingsDialogSetsThePort) {
  test::App();
  QtSerialLink link;
  SerialSettingsDialog dialog(link);
  // The current port is offered even when the machine does not list it.
  EXPECT_EQ(dialog.ports()->currentText().toStdString(), link.PortName());
  dialog.ports()->setEditText("ttyUSB7");
  dialog.accept();
  EXPECT_EQ(link.PortName(), "ttyUSB7");
  EXPECT_FALSE(link.IsOpen());
}

}  // namespace
}  // namespace kavrin

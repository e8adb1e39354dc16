// The controllers' devices for real: a pseudo-terminal behind the QSerialPort link, and SDL's
// virtual joystick behind the game-controller poll, each driving a run.
#include <SDL.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "app/headless.h"
#include "app/simulator.h"
#include "core/key_value_store.h"
#include "platform/qt_serial_link.h"
#include "platform/sdl_gamepad.h"
#include "support/fake_film_source.h"
#include "support/fake_picture_loader.h"
#include "support/fake_sound_bank.h"
#include "support/fake_wave_decoder.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

QCoreApplication& App() {
  if (QCoreApplication* app = QCoreApplication::instance()) return *app;
  static int argc = 1;
  static char name[] = "kavrin_platform_tests";
  static char* argv[] = {name, nullptr};
  return *new QCoreApplication(argc, argv);
}

// Runs the event loop until `done` or two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

void Pump(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A run over a four-notch, eight-brake train with the controller commands of a serial master
// controller, on the devices given.
struct DeviceRun {
  test::TempDir dir;
  MemoryKeyValueStore store;
  test::FakeSoundBank sound;
  std::ostringstream messages;
  HeadlessUiHost ui{messages};
  test::FakePictureLoader pictures;
  test::FakeWaveDecoder waves;
  test::FakeFilmSource film;
  std::unique_ptr<Sim> sim = std::make_unique<Sim>();
  std::unique_ptr<SimulatorRun> run;

  DeviceRun(GamepadPoll& pad, SerialLink& serial) {
    dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
    dir.Write("mascon.dat", "TSP01\r\nTSP02\r\nTSP03\r\nTSP04\r\nTSP05\r\nTSP06\r\nTSN00\r\nTSB01\r\nTSB02\r\n"
                            "TSB03\r\nTSB04\r\nTSB05\r\nTSB06\r\nTSB07\r\nTSB08\r\nTSB09\r\nTSRF0\r\nTSRN0\r\nTSRB0\r\n#\r\n");
    dir.Write("car.dat", "[Handle]\r\n0\r\n[BrakeType]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n4\r\n[Engine_Type]\r\n1\r\n[Tons]\r\n36\r\n");
    run = std::make_unique<SimulatorRun>(*sim, RunServices{store, sound, ui, pictures, waves, film, pad, &serial},
                                         kHeadlessIdleInterval);
    RunRequest rq;
    rq.ProgramFolder = dir.str();
    rq.VehicleFileName = "car.dat";
    // A long film, and the train far from its ends: at frame 0 the least backward motion of
    // this handle-only train is the film's end, which stops it and takes the power off.
    rq.Frames = 100000;
    run->FormCreate(rq);
    StepFilmFrames(run->sim().film, 50000);
  }
  // Runs the ticks of the next `ms` of virtual time.
  void Advance(int64_t ms) { run->scheduler().AdvanceTo(run->scheduler().Now() + ms); }
};

struct Pty {
  int master = -1, slave = -1;
  std::string name;
  Pty() {
    char path[256] = {};
    if (openpty(&master, &slave, path, nullptr, nullptr) == 0) name = path;
  }
  ~Pty() {
    if (master >= 0) close(master);
    if (slave >= 0) close(slave);
  }
  void Write(std::string_view bytes) const { ASSERT_EQ(write(master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
};

TEST(SerialOverPty, MessagesArriveThroughTheRealPortOnceEach) {
  App();
  Pty pty;
  ASSERT_FALSE(pty.name.empty());
  QtSerialLink link;
  NullGamepad pad;
  DeviceRun r(pad, link);
  link.SetPortName(pty.name);
  r.run->HandleInput(MakeInput(InputKind::Menu, "ComConnect1"));
  ASSERT_TRUE(link.IsOpen()) << r.messages.str();
  const TControllerState& s = r.sim->controllers;

  // A message split over two writes is handled when its carriage return arrives.
  pty.Write("TSP");
  ASSERT_TRUE(PumpUntil([&] { return s.RxResult == "TSP"; })) << s.RxResult;
  Pump(50);
  EXPECT_EQ(s.ValueDisplayCaption, "");
  EXPECT_EQ(r.sim->handle.PowerNotch, 0);
  pty.Write("03\r");
  ASSERT_TRUE(PumpUntil([&] { return s.ValueDisplayCaption == "TSP03\r"; }));
  EXPECT_EQ(r.sim->handle.PowerNotch, 3);
  EXPECT_EQ(r.sim->handle.BrakeNotch, 0);
  EXPECT_EQ(s.RxResult, "");

  // Two messages in one write: both act.
  pty.Write("TSB02\rTSRB0\r");
  ASSERT_TRUE(PumpUntil([&] { return s.ValueDisplayCaption == "TSRB0\r"; }));
  EXPECT_EQ(r.sim->handle.BrakeNotch, -2);
  EXPECT_EQ(r.sim->handle.PowerNotch, 0);
  EXPECT_EQ(r.sim->handle.Reverser, -1);
  EXPECT_EQ(s.RxResult, "");

  // The connect item closes the port: nothing more arrives.
  r.run->HandleInput(MakeInput(InputKind::Menu, "ComConnect1"));
  EXPECT_FALSE(link.IsOpen());
  pty.Write("TSN00\r");
  Pump(100);
  EXPECT_EQ(r.sim->handle.BrakeNotch, -2);
}

TEST(SerialOverPty, APortThatGoesAwayClosesQuietlyAndTheRunGoesOn) {
  App();
  auto pty = std::make_unique<Pty>();
  ASSERT_FALSE(pty->name.empty());
  QtSerialLink link;
  link.SetPortName(pty->name);
  ASSERT_TRUE(link.Open());
  NullGamepad pad;
  DeviceRun r(pad, link);
  pty.reset();  // both ends gone, as when an adapter is pulled out
  EXPECT_TRUE(PumpUntil([&] { return !link.IsOpen(); }));
  EXPECT_EQ(r.messages.str(), "");
  r.Advance(300);
  EXPECT_TRUE(r.sim->run.running);
  // A port that does not exist is reported when connecting, and stays closed.
  link.SetPortName("/dev/kavrin-no-such-port");
  r.run->HandleInput(MakeInput(InputKind::Menu, "ComConnect1"));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(r.messages.str(), "シリアルポート kavrin-no-such-port を開けません\n");
}

// A virtual game controller with two axes and 16 buttons, plugged in while it lives.
struct VirtualPad {
  int index = -1;
  SDL_Joystick* joystick = nullptr;
  VirtualPad() {
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
    if (index >= 0) joystick = SDL_JoystickOpen(index);
  }
  ~VirtualPad() { Unplug(); }
  void Set(int16_t x, int16_t y, std::initializer_list<int> pressed) {
    SDL_JoystickSetVirtualAxis(joystick, 0, x);
    SDL_JoystickSetVirtualAxis(joystick, 1, y);
    for (int b = 0; b < 16; ++b) SDL_JoystickSetVirtualButton(joystick, b, SDL_RELEASED);
    for (int b : pressed) SDL_JoystickSetVirtualButton(joystick, b, SDL_PRESSED);
  }
  void Unplug() {
    if (joystick) SDL_JoystickClose(joystick);
    joystick = nullptr;
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    index = -1;
  }
};

TEST(SdlGamepad, AVirtualControllerDrivesTheScanAndMayBeUnpluggedMidRun) {
  SdlGamepad gamepad;
  ASSERT_TRUE(gamepad.Available()) << SDL_GetError();
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real game controller is plugged in";
  EXPECT_FALSE(gamepad.Poll());

  NullSerialLink serial;
  DeviceRun r(gamepad, serial);
  r.run->HandleInput(MakeInput(InputKind::Controller));  // the serial controller: no scan
  InputEvent windows = MakeInput(InputKind::Controller);
  windows.number = 1;

  auto pad = std::make_unique<VirtualPad>();
  ASSERT_GE(pad->index, 0) << SDL_GetError();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  pad->Set(5000, -13000, {4});
  r.Advance(200);
  EXPECT_EQ(r.sim->handle.PowerNotch, 0);  // no scan while the serial controller is chosen

  r.run->HandleInput(windows);
  r.Advance(100);
  EXPECT_EQ(r.sim->handle.PowerNotch, 3);
  EXPECT_EQ(r.sim->handle.BrakeNotch, -3);
  EXPECT_EQ(r.sim->controllers.LastReading, 5000 - 13000 + 1);
  auto reading = gamepad.Poll();
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->Buttons, 1u << 4);

  pad->Set(0, -1, {});
  r.Advance(100);
  EXPECT_EQ(r.sim->handle.PowerNotch, 1);
  EXPECT_EQ(r.sim->handle.BrakeNotch, 0);

  // Pulled out mid-run: the ticks go on, the handle stays where the controller left it.
  pad->Unplug();
  r.Advance(300);
  EXPECT_TRUE(r.sim->run.running);
  EXPECT_EQ(r.sim->handle.PowerNotch, 1);
  EXPECT_FALSE(gamepad.Poll());

  // Plugged in again: the scan picks it up.
  pad = std::make_unique<VirtualPad>();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  pad->Set(8001, 0, {});
  r.Advance(100);
  EXPECT_EQ(r.sim->handle.PowerNotch, 0);
  EXPECT_EQ(r.sim->handle.BrakeNotch, -5);
}

}  // namespace
}  // namespace kavrin

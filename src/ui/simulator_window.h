#pragma once
// The simulator window `TForm1`: the cab view under a menu bar, fed by a precise 1 ms timer that
// drives the run's scheduler. It keeps no run state of its own.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "app/script.h"
#include "app/simulator.h"
#include "app/ui_host.h"
#include "ui/cab_compositor.h"

class QAction;
class QLabel;
class QMenu;

namespace kavrin {

class CabView;
class QtSerialLink;
class SdlGamepad;

class TForm1 : public QMainWindow, public UiHost {
  Q_OBJECT
 public:
  TForm1(KeyValueStore& store, SoundBank& sound, PictureLoader& pictures, WaveDecoder& waves, FilmSource& film,
         QWidget* parent = nullptr);
  ~TForm1() override;

  // Loads the run (progress on a small status window) and starts it. Throws LoadError.
  void FormCreate(const RunRequest& request);
  // Plays input events at their times from the start of the run, as the driver would.
  void PlayScript(std::vector<ScriptEvent> events);
  // Composes the cab view of this pass and repaints it.
  void DrawCab();
  // What a paused run shows when the window is activated.
  void FormActivate();

  SimulatorRun& run() { return *run_; }
  Sim& sim() { return *sim_; }
  CabView* cab() { return cab_; }
  QAction* startAction() { return start1_; }
  QMenu* moveMenu() { return goTo1_; }
  QMenu* controllerMenu() { return controller1_; }
  QtSerialLink& serialLink() { return *serial_; }

  // UiHost
  void SetStatusText(const std::string& text) override;
  void SetStartCaption(const std::string& text) override;
  void SetWindowOpacity(int alpha) override;
  void CloseWindow() override;
  void ShowMessage(const std::string& text) override;
  void SetWindowCaption(const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  // The driver's keys and the wheel reach the run as the same inputs as the script's.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Pump();
  void BuildMenus();
  void BuildControllerMenu();
  void ShowControllerChecks();

  std::unique_ptr<Sim> sim_;
  SoundBank& sound_;
  // The controllers' devices outlive the run that reads them.
  std::unique_ptr<SdlGamepad> gamepad_;
  std::unique_ptr<QtSerialLink> serial_;
  std::unique_ptr<SimulatorRun> run_;
  CabView* cab_;
  QAction* start1_ = nullptr;
  QMenu* goTo1_ = nullptr;
  QMenu* show1_ = nullptr;
  QMenu* controller1_ = nullptr;
  QMenu* saveS1_ = nullptr;
  QTimer pump_;
  QElapsedTimer clock_;
  int64_t soundTime_ = 0;
  std::unique_ptr<QLabel> status_;
  bool closed_ = false;
  CabCompositor compositor_;
  CabOverlay overlay_;
  std::vector<ScriptEvent> script_;
  int wheelDelta_ = 0;  // eighths of a degree not yet turned into wheel steps
};

}  // namespace kavrin

#pragma once
// The simulator window's run: its creation (loading), the three loops, pause and resume, the
// fade-out and the orderly end. The Qt window and the headless harness both drive this object;
// neither keeps run state of its own.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/film_steps.h"
#include "app/input_event.h"
#include "app/scheduler.h"
#include "app/sim.h"
#include "app/ui_host.h"
#include "controls/controller_devices.h"
#include "controls/controller_menu.h"
#include "controls/controls.h"
#include "core/key_value_store.h"
#include "core/picture.h"
#include "dynamics/train_inputs.h"
#include "presentation/film_source.h"
#include "signalling/stations.h"
#include "sound/calling.h"
#include "sound/channel_requests.h"
#include "sound/sound_bank.h"

namespace kavrin {

// The external controllers' devices; a run without them goes on from the keyboard.
GamepadPoll& NoGamepad();

struct RunServices {
  KeyValueStore& store;
  SoundBank& sound;
  UiHost& ui;
  PictureLoader& pictures;
  WaveDecoder& waves;
  FilmSource& film;
  GamepadPoll& gamepad = NoGamepad();
  SerialLink* serial = nullptr;  // none: the run has a port of its own that never opens
};

// What the title screen hands over. Without a route and a vehicle the run goes over an empty
// train on an empty line (the program files are still read).
struct RunRequest {
  std::string ProgramFolder;
  std::string RouteFileName;    // relative to ProgramFolder
  std::string VehicleFileName;  // in VehicleFolder
  std::string VehicleFolder;    // relative to ProgramFolder or absolute; empty: ProgramFolder
  int32_t Station = 0;
  int32_t End = 999;
  int32_t Frames = -1;  // film length to use when there is no film (< 0: none)
};

class SimulatorRun {
 public:
  SimulatorRun(Sim& sim, RunServices services, int64_t idleInterval = 15);
  ~SimulatorRun();
  SimulatorRun(const SimulatorRun&) = delete;
  SimulatorRun& operator=(const SimulatorRun&) = delete;

  // Loads everything in its phases and starts the run. Throws LoadError with the message the
  // user must see; the caller then ends the program.
  void FormCreate(const RunRequest& request);

  void start1Click();
  void movieclick();
  void BackClick();
  // Any closing of the window; never refuses. Throws LoadError when the sound device cannot be
  // initialised again.
  void FormCloseQuery();

  // Every input of the driver and the menus, from the window or the script.
  void HandleInput(const InputEvent& event);

  void MMTimer1Timer();
  void Timer1Timer();
  void AppIdle(int elapsedMs);

  Scheduler& scheduler() { return scheduler_; }
  Sim& sim() { return sim_; }
  bool running() const { return sim_.run.running; }

  // Renders the sound bank up to a time where no device pulls it (headless, or no device).
  std::function<void(int64_t now)> advanceSound;
  // Called after every 33 ms and 100 ms tick (the trace).
  std::function<void()> afterPhysicsTick, afterLogicTick;
  // Called by the idle pass when it draws (the window repaints the cab view).
  std::function<void()> draw;
  // What the driver's keys do in the subsystems that own the state they act on.
  TKeyActions keyActions;
  // The keys and masconupdate over this run's state.
  TControls Controls();

 private:
  // The diesel engine's 100 ms step: gear selection and change, stall, the engine keys.
  void DieselLogicStep();
  // The running and equipment sounds (run_sounds.cpp).
  void SquealStep();
  void BrakeSoundsStep();
  void LineSoundsStep();
  void DopplerStep();
  void DriveSoundsStep();
  void HornBuzzerStep();

  struct Phase {
    const char* status;  // shown on the title screen's status label before the phase, or null
    std::function<void()> run;
  };
  std::vector<Phase> LoadPhases(const RunRequest& request);
  // `frames` >= 0 replaces the film's own length (the headless harness without a film).
  void OpenMainFilm(int32_t frames);
  // What the traction and brake steps read of the doors, protection, film, engine and keys.
  TTrainInputs TrainInputs() const;

  // The station logic and the calling voices (run_stations.cpp).
  TStationInputs StationInputs() const;
  TCallingInputs CallingInputs() const;
  // Carries out the channel requests of a station step and hands its calls to the queue.
  void StationRequests(TChannelRequests& ch);
  void StationsEarlyStep();
  void DoorClosedStep();
  void AnnouncementStep();
  // False when the tick ends after the station step.
  bool StationsStep();
  void ShowStations();
  void KankoQueueStep();
  void ConnectStationKeys();

  // The external controllers (run_controllers.cpp).
  void ControllerMenuClick(const TControllerMenuItem& item);
  void SerialReceived(std::string_view chars);
  void USBScanStep();
  void DeliverPostedKeys();

  Sim& sim_;
  RunServices sv_;
  Scheduler scheduler_;
  RunFilmHost filmHost_;
  // The input script's game-controller reading; once given it stands in for the device's.
  std::optional<TPadReading> scriptPad_;
  NullSerialLink noSerial_;
  // The Enter key as a station call presses it.
  std::function<void()> pressEnter_;
};

}  // namespace kavrin

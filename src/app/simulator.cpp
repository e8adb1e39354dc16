#include "app/simulator.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/initial_state.h"
#include "app/panel_steps.h"
#include "controls/handle_model.h"
#include "controls/keys.h"
#include "controls/mascon_update.h"
#include "core/load_error.h"
#include "core/paths.h"
#include "core/rounding.h"
#include "data/program_files.h"
#include "data/route_derivation.h"
#include "data/route_file.h"
#include "data/vehicle_file.h"
#include "dynamics/brakes.h"
#include "dynamics/diesel.h"
#include "dynamics/motion.h"
#include "dynamics/pneumatics.h"
#include "dynamics/traction.h"
#include "presentation/trackside_images.h"
#include "sound/load_sounds.h"

namespace kavrin {

namespace {
constexpr const char* kPauseCaption = "一時停止(&S)";
constexpr const char* kResumeCaption = "運転再開(&S)";
constexpr const char* kSoundInitError = "DirectSoundを初期化できませんでした。";

// The timetable card and the side picture. A route without "[Staf]" names no side picture;
// trying the bare program folder as a picture would only end every such run, so nothing is
// shown instead.
void LoadStafPictures(Sim& sim, PictureLoader& loader) {
  auto load = [&](const std::string& name, Picture& out) {
    if (name.empty()) return;
    std::optional<Picture> p = loader.Load(ResolveDataPath(sim.ProgramFolder, name));
    if (!p || p->Empty()) throw LoadError(name + "が見つかりません");
    out = std::move(*p);
  };
  sim.derived.StafLeft = sim.files.Strings.OverlayLeft;
  load(sim.route.StafImage, sim.derived.StafPicture);
  load(sim.route.SubImage, sim.derived.SubPicture);
  if (!sim.route.StartImage.empty()) {
    std::optional<Picture> still = loader.Load(ResolveDataPath(sim.ProgramFolder, sim.route.StartImage));
    if (still) sim.derived.StillPicture = std::move(*still);
  }
}
}  // namespace

SimulatorRun::SimulatorRun(Sim& sim, RunServices services, int64_t idleInterval)
    : sim_(sim),
      sv_(services),
      scheduler_(
          Scheduler::Handlers{
              [this](int64_t now) {
                if (advanceSound) advanceSound(now);
              },
              [this] { MMTimer1Timer(); },
              // Keys a controller posted during the tick come after it, as posted messages do.
              [this] {
                Timer1Timer();
                DeliverPostedKeys();
              },
              [this](int dt) { AppIdle(dt); },
          },
          idleInterval),
      filmHost_(sim_, sv_.sound, sv_.ui, sv_.film, scheduler_) {
  if (!sv_.serial) sv_.serial = &noSerial_;
  sv_.serial->onReceive = [this](std::string_view chars) { SerialReceived(chars); };
  keyActions.StepFilm = [this](int32_t frames, int32_t clock) {
    StepFilmFrames(sim_.film, frames);
    sim_.clock.ClockTime += clock;
  };
  keyActions.MovieJumpPastStop = [this] { MovieJumpPastStop(sim_.film, sim_.route, sim_.dynamics.Speed); };
  keyActions.JumpBeforeNextStop = [this] { JumpBeforeNextStop(sim_.film, sim_.route); };
  keyActions.ChangeSpeed = [this](long double delta) { sim_.dynamics.Speed += delta; };
  ConnectStationKeys();
}

// The creation of the simulator window, phase by phase. Each later subsystem puts its loader
// into its phase here, in the order the phases give.
std::vector<SimulatorRun::Phase> SimulatorRun::LoadPhases(const RunRequest& rq) {
  return {
      // Window placement and the timer resolution belong to the window itself.
      {nullptr, [this, rq] {
         sim_.ProgramFolder = rq.ProgramFolder;
         sim_.RouteFileName = rq.RouteFileName;
         sim_.VehicleFileName = rq.VehicleFileName;
         sim_.VehicleFolder = rq.VehicleFolder;
         sim_.StartStation = rq.Station;
         sim_.StationMenuEnd = rq.End;
       }},
      // Persisted settings and the controller map.
      {nullptr, [this] {
         sim_.files.Settings = ReadSettings(sv_.store);
         sim_.files.ControllerMap = ReadControllerMap(sv_.store);
       }},
      // The data files.
      {"設定ファイルを読み込んでいます", [this] {
         sim_.files.Mascon = LoadMasconFile(ResolveDataPath(sim_.ProgramFolder, kMasconFileName));
         sim_.files.Strings = LoadStringFile(ResolveDataPath(sim_.ProgramFolder, kStringFileName));
         if (!sim_.VehicleFileName.empty()) {
           std::string folder = ResolveDataPath(sim_.ProgramFolder, sim_.VehicleFolder);
           const std::string path = ResolveDataPath(folder, sim_.VehicleFileName);
           PanelImageMaker patterns({VehicleFolderOf(path), sv_.pictures, sim_.view, sim_.panelSprites});
           sim_.vehicle = LoadVehicleFile(path, &patterns);
           CheckTons(sim_.vehicle.veh);
         }
         if (!sim_.RouteFileName.empty()) {
           TRouteFileContext context;
           context.VehicleFileName = sim_.VehicleFileName;
           context.PreviousLabel = sim_.vehicle.LeftLabel;
           context.PreviousLine = sim_.vehicle.LeftLine;
           // The trackside pictures are made as their lines are read, in file order.
           const TStringFile& strings = sim_.files.Strings;
           TracksideImageReader images(sim_.ProgramFolder, strings.ScreenWidth, strings.ScreenHeight, sv_.pictures,
                                       sim_.view, sim_.trackside);
           context.Images = &images;
           sim_.route = LoadRouteFile(ResolveDataPath(sim_.ProgramFolder, sim_.RouteFileName), context);
         }
         CheckStartStation(sim_);
       }},
      // Cab drawing surfaces, panel images and trackside sprites; the "Move" menu, the
      // timetable card and the side picture.
      {"運転台を描画しています", [this] {
         if (!sim_.VehicleFileName.empty()) {
           TPanelPictures pictures{sim_.vehicle.VehicleFolder, sv_.pictures, sim_.view, sim_.panelSprites};
           MakePanelImages(sim_.vehicle.Panel, pictures);
         }
         sim_.derived.MoveMenu = BuildMoveMenu(sim_.route, sim_.StartStation, sim_.StationMenuEnd);
         LoadStafPictures(sim_, sv_.pictures);
       }},
      // The route's film. A film that cannot be opened is
      // reported and the run goes on over a black cab view.
      {nullptr, [this, rq] {
         OpenMainFilm(rq.Frames);
       }},
      // The sound bank; the start clock as soon as the route sounds' lengths are known.
      {nullptr, [this] {
         TSoundSources sources{sim_.vehicle.Tables, sim_.vehicle.VehicleFolder, sim_.route, sim_.ProgramFolder};
         LoadSounds(
             sources, sv_.sound, sv_.waves, sim_.sounds, [this](const char* text) { sv_.ui.SetStatusText(text); },
             [this] { sim_.clock.ClockTime = StartClock(sim_.route, sim_.StartStation, sim_.sounds.SoundSeconds); });
       }},
      // Distances, check points and the initial run state.
      {"環境をセットアップしています", [this] {
         std::vector<TCheckPointRec> points;
         ConvertFrames(sim_.route, points);
         sim_.derived.CheckPoints = BuildCheckPoints(std::move(points));
         if (!sim_.VehicleFileName.empty()) SetUpBrakeHandle(sim_.vehicle.veh);
         sim_.run = TRunState{};
         sim_.clock.LastSecond = -1;
         SetInitialState(sim_);
         TControls controls = Controls();
         masconupdate(controls);
       }},
      // The run starts.
      {nullptr, [this] { start1Click(); }},
  };
}

void SimulatorRun::OpenMainFilm(int32_t frames) {
  int32_t length = 0;
  if (!sim_.route.DataName.empty()) {
    std::string name = sim_.files.Strings.MoviePath + sim_.route.DataName + ".avi";
    std::string path = ResolveDataPath(sim_.ProgramFolder, name);
    int32_t code = sv_.film.AviOpen(path);
    if (code != FilmSource::Opened) {
      std::error_code ec;
      sv_.ui.ShowLoadMessage(AviOpenMessage(code, path), TLoadPlace{path, 0, {}, {}, !std::filesystem::exists(path, ec)});
    }
    length = sv_.film.FilmLength();
  }
  if (frames >= 0) length = frames;
  long double last = static_cast<long double>(length) * sim_.files.Strings.FrameCountFactor;
  sim_.film.FrameCount = last > 0 && last < 2147483647.0L ? static_cast<int32_t>(last) : 0;
}

void SimulatorRun::FormCreate(const RunRequest& request) {
  for (const Phase& phase : LoadPhases(request)) {
    if (phase.status) sv_.ui.SetStatusText(phase.status);
    phase.run();
  }
}

void SimulatorRun::start1Click() {
  SoundBank& bank = sv_.sound;
  if (sim_.run.running) {
    for (int i = 0; i < SoundBank::ChannelCount; ++i) {
      if (!bank.HasWaveData(i)) continue;
      int status = bank.GetStatus(i);
      sim_.run.ChannelResumeState[i] = status == SoundBank::StatusPlaying ? 1
                                       : status != 0                      ? 2
                                                                          : 0;
      if (status != 0) bank.Stop(i);
    }
    scheduler_.Stop();
    sim_.run.running = false;
    sv_.ui.SetStartCaption(kResumeCaption);
  } else {
    scheduler_.Start();
    sim_.run.running = true;
    sv_.ui.SetStartCaption(kPauseCaption);
    for (int i = 0; i < SoundBank::ChannelCount; ++i) {
      if (sim_.run.ChannelResumeState[i] == 1) {
        bank.Stop(i);
        bank.Play(i);
      } else if (sim_.run.ChannelResumeState[i] == 2) {
        bank.Stop(i);
        bank.LoopPlay(i);
      }
    }
  }
  --sim_.run.LastFrame;
}

void SimulatorRun::movieclick() {
  if (!sim_.run.running) start1Click();
}

void SimulatorRun::BackClick() { sim_.run.FadeOut = 1; }

TTrainInputs SimulatorRun::TrainInputs() const {
  TTrainInputs in;
  in.DispRate = sim_.files.Strings.DispRate;
  in.DoorState = sim_.station.DoorState;
  in.EmergencyTrip = sim_.protection.EmergencyTrip;
  in.ATSTrip = sim_.protection.ATSTrip;
  in.MovieState = sim_.film.MovieState;
  in.EngineRunning = sim_.diesel.EngineRunning;
  in.CurrentLimitAdd = sim_.keys.CurrentLimitAdd;
  in.Diesel = &sim_.diesel;
  return in;
}

// The 33 ms tick: numbers only, no drawing, sound or file. Each step is one call, in this order.
void SimulatorRun::MMTimer1Timer() {
  const TVehicleParams& veh = sim_.vehicle.veh;
  const TVehicleTables& tables = sim_.vehicle.Tables;
  const TTrainInputs in = TrainInputs();
  // Traction: the handle force of the applied notch (electric models or the diesel engine),
  //    then the reverser.
  TractionForce(sim_.traction, sim_.delayed, sim_.handle, sim_.dynamics.Speed, veh, tables, in);
  // Resistance-control step timer, the power-notch delay, MotorForce.
  PowerNotchDelay(sim_.traction, sim_.delayed, sim_.handle, veh, tables, in);
  // Shoe friction and brake force against the direction of motion.
  BrakeForceStep(sim_.brakes, sim_.traction, sim_.dynamics.Speed, veh);
  // Adhesion, gradient, tunnel, starting and running resistance; slip and slide.
  ApplyResistance(sim_.dynamics, sim_.traction, veh, sim_.route, sim_.delayed);
  // Holding brake and constant-speed control.
  ApplyHoldAndConstantSpeed(sim_.dynamics, sim_.traction, sim_.handle, sim_.film.MovieState);
  // Predicted speed, stop detection, the speed update.
  UpdateSpeed(sim_.dynamics, sim_.traction, sim_.brakes, veh);
  // Pneumatics of the vehicle's brake type; the main-reservoir leak.
  Pneumatics(sim_.brakes, sim_.delayed, sim_.handle, sim_.traction, veh, in);
  MainReservoirLeak(sim_.brakes, in.DispRate);
  // The brake, straight-air and dynamic-brake notch delays.
  BrakeNotchDelays(sim_.delayed, sim_.handle, sim_.brakes, sim_.dynamics.Speed, veh, in);
  // Diesel engine speed.
  if (veh.Engine_Type == 0) {
    UpdateEngineSpeed(sim_.diesel, tables, sim_.delayed.AppliedNotch, sim_.dynamics.Speed);
  }
  // Filmed-speed segment, preceding train, PositionStep, Position, RemainDist.
  FollowFilmSegment(sim_.dynamics, sim_.route, sim_.film.CurFrame);
  AdvancePosition(sim_.dynamics, sim_.station.NextStopPos);
  // The clock; the side film's frame counter.
  ++sim_.clock.ClockTime;
  CountInsertFrames(sim_.film, FilmInputs(sim_));
  // Ammeter smoothing and target; dynamic-brake current.
  TractionCurrent(sim_.traction, sim_.delayed, sim_.handle, sim_.dynamics.Speed, veh, tables, in);
  if (afterPhysicsTick) afterPhysicsTick();
}

// The 100 ms tick, in this order.
void SimulatorRun::Timer1Timer() {
  // Protection warning bell; the station maximum-speed section and its text.
  StationsEarlyStep();
  // Guarded from here on: texts, brake squeal, doors and departure, lamps, the clock,
  //    handle and brake sounds, the compressor, zone and route sounds, the passenger
  //    announcements, the per-car gradient.
  SquealStep();
  DoorClosedStep();
  PanelLampTick(sim_);
  timecalc(sim_.clock, sim_.clock.ClockTime, sim_.vehicle.Panel.ClockHand);
  PanelSmoothTick(sim_);
  BrakeSoundsStep();
  Compressor(sim_.brakes, sim_.vehicle.veh, sim_.vehicle.Tables, sim_.diesel.EngineRpm);
  PlaySoundRequests(sim_.brakes.CompressorSounds, sv_.sound);
  LineSoundsStep();
  AnnouncementStep();
  DopplerStep();
  SampleCarGradient(sim_.dynamics, sim_.vehicle.veh);
  // Signals, preceding train and limits (with the head gradient); train protection.
  ScanHeadGradient(sim_.dynamics, sim_.route, sim_.film.CurFrame);
  SetSpriteCell(sim_.view, sim_.trackside.Sprites.SlopeSign, sim_.dynamics.SlopeSignCell);
  // Stations, doors, timetable and the end of the run; the stop-approach alarm, the door
  //    pictures, the stop request, the automatic closing. The one-man arrival at the last stop
  //    ends the tick here.
  if (!StationsStep()) {
    if (afterLogicTick) afterLogicTick();
    return;
  }
  DriveSoundsStep();
  // Film switching.
  SwitchFilms(sim_.film, sim_.run.LastFrame, sim_.route, FilmInputs(sim_), sv_.film, filmHost_);
  // Diesel: automatic gear selection, gear shifting, stall, engine keys.
  DieselLogicStep();
  // Status texts, lamps, the value display.
  PanelOtherImagesTick(sim_);
  // Controller polling; one step of the announcement queue.
  USBScanStep();
  KankoQueueStep();
  // Cab text labels.
  if (afterLogicTick) afterLogicTick();
}

void SimulatorRun::DieselLogicStep() {
  const TVehicleParams& veh = sim_.vehicle.veh;
  const TVehicleTables& t = sim_.vehicle.Tables;
  const TPanelSprites& panel = sim_.panelSprites;
  if (veh.Engine_Type == 0) {
    const long double speed = sim_.dynamics.Speed;
    SelectGear(sim_.diesel, sim_.handle, t, speed);
    TGearShiftInputs in;
    in.AppliedNotch = sim_.delayed.AppliedNotch;
    in.DoorLock = veh.DoorLock;
    in.DoorsClosed = sim_.station.DoorState == 0;
    in.EmergencyTrip = sim_.protection.EmergencyTrip != 0;
    const bool cabChanged = ShiftGears(sim_.diesel, sim_.handle, in);
    SetSpriteCell(sim_.view, panel.LampGear, sim_.diesel.GearShown);
    if (cabChanged) {
      TControls controls = Controls();
      masconupdate(controls);
    }
    CheckEngineStall(sim_.diesel, sim_.handle, sim_.delayed, t, speed);
    OperateEngineKeys(sim_.diesel, sim_.keys.EngineSwitch, sim_.handle, t);
    PlaySoundRequests(sim_.diesel.EngineSounds, sv_.sound);
  }
  // The panel's engine picture follows the engine on every train.
  ShowSprite(sim_.view, panel.OtherImages[3], EnginePictureShown(sim_.diesel));
}

void SimulatorRun::AppIdle(int elapsedMs) {
  if (!sim_.run.running) return;
  sim_.run.Fps = static_cast<int32_t>(Round(1000.0L / elapsedMs));
  FilmIdlePass(sim_, elapsedMs, sv_.film, filmHost_, sv_.sound);
  PanelGaugePass(sim_);
  TracksideStep(sim_);
  HornBuzzerStep();
  if (draw) draw();
  if (sim_.run.FadeOut > 0) {
    if (sim_.files.Settings.TunnelSetting == 1) sim_.run.FadeOut = 256;
    sv_.ui.SetWindowOpacity(255 - std::min(sim_.run.FadeOut, 255));
    sim_.run.FadeOut += 5;
    if (sim_.run.FadeOut > 255) {
      sim_.run.FadeOut = 0;
      sv_.ui.CloseWindow();
    }
  }
}

void SimulatorRun::FormCloseQuery() {
  if (sim_.run.Closed) return;
  // The loops stop; the serial port closes.
  scheduler_.Stop();
  sim_.run.running = false;
  if (sv_.serial->IsOpen()) sv_.serial->Close();
  // Run state cleared; the sounds fall silent.
  for (int i = 0; i < SoundBank::ChannelCount; ++i) {
    if (sv_.sound.HasWaveData(i)) sv_.sound.Stop(i);
  }
  // Every sound released and the device made anew.
  if (!sv_.sound.Reset()) {
    sim_.run.Closed = true;
    throw LoadError(kSoundInitError);
  }
  // The settings persist.
  WriteSettings(sv_.store, sim_.files.Settings);
  // The window is closed as it stands: no fade left to finish.
  sim_.run.FadeOut = 0;
  sim_.run.Closed = true;
}

}  // namespace kavrin

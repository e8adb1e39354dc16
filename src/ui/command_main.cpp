#include "ui/command_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/check_dump.h"
#include "app/command_line.h"
#include "app/headless.h"
#include "app/program_folder.h"
#include "app/script.h"
#include "app/simulator.h"
#include "app/trace.h"
#include "core/load_error.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"
#include "platform/ffmpeg_film_source.h"
#include "platform/qimage_picture_loader.h"
#include "data/settings.h"
#include "platform/qsettings_store.h"
#include "platform/sound_system.h"
#include "sound/sound_log.h"
#include "ui/simulator_window.h"

namespace kavrin {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitLoadFailure = 1;
constexpr int kExitUsage = 2;

std::unique_ptr<KeyValueStore> MakeStore(const CommandLine& cl, bool window) {
  if (cl.hasSettingsDir) return std::make_unique<QSettingsStore>(cl.settingsDir);
  if (window) return std::make_unique<QSettingsStore>();
  return std::make_unique<MemoryKeyValueStore>();
}

bool ApplySets(const CommandLine& cl, KeyValueStore& store, std::string& error) {
  static const char* kNames[] = {"Kanko", "Information", "ATS", "Tunnel", "Moji"};
  for (const auto& [name, value] : cl.sets) {
    bool known = false;
    for (const char* n : kNames) known = known || name == n;
    if (!known || !ParseInt(value)) {
      error = "--set takes Kanko, Information, ATS, Tunnel or Moji with a whole number: " + name + "=" + value;
      return false;
    }
  }
  if (cl.sets.empty()) return true;
  // A setting given alone must not make the others unreadable (one missing value resets all
  // five), so the store is completed from what it holds first.
  WriteSettings(store, ReadSettings(store));
  for (const auto& [name, value] : cl.sets) store.WriteInt(kSettingsKey, name, *ParseInt(value));
  return true;
}

RunRequest Request(const CommandLine& cl, const std::string& exe) {
  RunRequest rq;
  rq.ProgramFolder = FindProgramFolder(cl.dataDir, exe);
  // Route and train names are relative to the data folder, as the title screen's lists are; a
  // train elsewhere keeps its own folder, as one chosen in the title screen's dialog does.
  rq.RouteFileName = cl.route;
  rq.VehicleFolder = SplitPath(cl.train, 0);
  rq.VehicleFileName = SplitPath(cl.train, 1);
  rq.Station = cl.station;
  rq.End = cl.end;
  rq.Frames = cl.frames;
  return rq;
}

int Check(const CommandLine& cl, const std::string& exe) {
  auto store = MakeStore(cl, false);
  std::string error;
  if (!ApplySets(cl, *store, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
  }
  SoundSystem sound = OpenSoundSystem(false);
  HeadlessUiHost ui(std::cerr);
  QImagePictureLoader pictures;
  // Only the film's length: its frames are never shown here.
  FfmpegFilmSource film({FfmpegFilmSource::Mode::HeaderOnly});
  auto sim = std::make_unique<Sim>();
  SimulatorRun run(*sim, RunServices{*store, sound.bank(), ui, pictures, film}, kHeadlessIdleInterval);
  try {
    run.FormCreate(Request(cl, exe));
  } catch (const LoadError& e) {
    std::cout << e.what() << "\n";
    return kExitLoadFailure;
  }
  std::cout << (cl.dump ? CheckDump(*sim) : std::string("OK")) << "\n";
  return kExitOk;
}

int Headless(const CommandLine& cl, const std::string& exe) {
  auto store = MakeStore(cl, false);
  std::string error;
  if (!ApplySets(cl, *store, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
  }
  HeadlessOptions o;
  if (!cl.script.empty()) {
    std::ifstream in(cl.script, std::ios::binary);
    if (!in) {
      std::cerr << "kavrin: cannot read the script " << cl.script << "\n";
      return kExitUsage;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!ParseScript(text.str(), o.script, error)) {
      std::cerr << "kavrin: " << error << "\n";
      return kExitUsage;
    }
  }
  StateProbe probe;
  if (!TraceWriter::ParseFields(probe, cl.fields.empty() ? "ClockTime" : cl.fields, o.fields, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
  }
  std::ofstream trace;
  if (!cl.trace.empty()) {
    trace.open(cl.trace, std::ios::binary | std::ios::trunc);
    if (!trace) {
      std::cerr << "kavrin: cannot write the trace " << cl.trace << "\n";
      return kExitUsage;
    }
    o.trace = &trace;
  }
  o.everyPhysics = cl.every == "physics";
  if (cl.seconds >= 0) o.limitMs = static_cast<int64_t>(cl.seconds * 1000.0 + 0.5);

  SoundSystem sound = OpenSoundSystem(false);
  std::ofstream soundLogFile;
  std::unique_ptr<SoundLog> soundLog;
  SoundBank* bank = &sound.bank();
  if (!cl.soundLog.empty()) {
    soundLogFile.open(cl.soundLog, std::ios::binary | std::ios::trunc);
    if (!soundLogFile) {
      std::cerr << "kavrin: cannot write the sound log " << cl.soundLog << "\n";
      return kExitUsage;
    }
    soundLog = std::make_unique<SoundLog>(sound.bank(), soundLogFile);
    bank = soundLog.get();
  }
  HeadlessUiHost ui(std::cerr);
  QImagePictureLoader pictures;
  // Only the film's length: its frames are never shown here.
  FfmpegFilmSource film({FfmpegFilmSource::Mode::HeaderOnly});
  auto sim = std::make_unique<Sim>();
  SimulatorRun run(*sim, RunServices{*store, *bank, ui, pictures, film}, kHeadlessIdleInterval);
  if (soundLog) soundLog->SetClock([&run] { return run.scheduler().Now(); });
  try {
    run.FormCreate(Request(cl, exe));
    RunHeadless(run, ui, *bank, o);
  } catch (const LoadError& e) {
    std::cout << e.what() << "\n";
    return kExitLoadFailure;
  }
  return kExitOk;
}

int Window(const CommandLine& cl, int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("鉄道運転シミュレータ");
  auto store = MakeStore(cl, true);
  SoundSystem sound = OpenSoundSystem(true);
  QImagePictureLoader pictures;
  FfmpegFilmSource film;
  TForm1 window(*store, sound.bank(), pictures, film);
  try {
    window.FormCreate(Request(cl, argv[0]));
  } catch (const LoadError& e) {
    QMessageBox::critical(nullptr, "鉄道運転シミュレータ", QString::fromStdString(e.what()));
    return kExitLoadFailure;
  }
  window.show();
  return app.exec();
}

}  // namespace

int CommandMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cl;
  std::string error;
  if (!ParseCommandLine(args, cl, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
  }
  if (cl.command == "check") {
    QCoreApplication app(argc, argv);
    return Check(cl, argv[0]);
  }
  if (cl.command == "headless") {
    QCoreApplication app(argc, argv);
    return Headless(cl, argv[0]);
  }
  if (cl.command.empty()) {
    std::cerr << "kavrin: the title screen is not built yet: opening the simulator window directly.\n"
                 "  Choose a route and a train with: kavrin run --data DIR --route FILE --train FILE\n";
  }
  return Window(cl, argc, argv);
}

}  // namespace kavrin

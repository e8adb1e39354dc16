#include "ui/command_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <algorithm>
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
#include "app/title_runs.h"
#include "app/trace.h"
#include "core/load_error.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/text.h"
#include "data/settings.h"
#include "platform/ffmpeg_film_source.h"
#include "platform/qimage_picture_loader.h"
#include "platform/qsettings_store.h"
#include "platform/quiet_start.h"
#include "platform/sound_system.h"
#include "sound/sound_log.h"
#include "ui/offscreen_cab.h"
#include "ui/simulator_window.h"

namespace kavrin {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitLoadFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLoadedWithProblems = 3;

int UsageError(const CommandLine& cl, const std::string& error) {
  std::cerr << "kavrin: " << error << "\n" << UsageText(cl.command);
  return kExitUsage;
}

// The settings of a run without a window: the folder given, or an empty store in memory, with
// the --set values written in before the load reads them.
std::unique_ptr<KeyValueStore> WindowlessStore(const CommandLine& cl, std::string& error) {
  std::unique_ptr<KeyValueStore> store;
  if (cl.hasSettingsDir) {
    store = std::make_unique<QSettingsStore>(cl.settingsDir);
  } else {
    store = std::make_unique<MemoryKeyValueStore>();
  }
  std::string names;
  for (const TSettingField& f : kSettingFields) names += (names.empty() ? "" : ", ") + std::string(f.Name);
  for (const auto& [name, value] : cl.sets) {
    bool known = false;
    for (const TSettingField& f : kSettingFields) known = known || name == f.Name;
    if (!known || !ParseInt(value)) {
      error = "--set takes " + names + " with a whole number: " + name + "=" + value;
      return nullptr;
    }
  }
  if (cl.sets.empty()) return store;
  // A setting given alone must not make the others unreadable (one missing value resets all
  // five), so the store is completed from what it holds first.
  WriteSettings(*store, ReadSettings(*store));
  for (const auto& [name, value] : cl.sets) store->WriteInt(kSettingsKey, name, *ParseInt(value));
  return store;
}

// What check and headless run on: the window's load and loops without a window, a silent sound
// bank that still keeps time, the film's header for its length only, and the window's messages
// on a stream.
struct WindowlessServices {
  WindowlessServices(KeyValueStore& store, std::ostream& messages,
                     FfmpegFilmSource::Mode filmMode = FfmpegFilmSource::Mode::HeaderOnly)
      : store(store), ui(messages), film({filmMode}) {}

  RunServices For(SoundBank& bank) { return RunServices{store, bank, ui, pictures, *sound.decoder, film}; }

  KeyValueStore& store;
  SoundSystem sound = OpenSoundSystem(false);
  HeadlessUiHost ui;
  QImagePictureLoader pictures;
  FfmpegFilmSource film;
};

// An input script from a file; false with the message to print.
bool ReadScript(const std::string& path, std::vector<ScriptEvent>& events, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the script " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return ParseScript(text.str(), events, error);
}

// The pictures --shot asks for: each the view composed by the first drawn pass at or after its
// time. They only read the run, so the trace is the same with them or without.
class Shots {
 public:
  Shots(const std::vector<std::pair<int64_t, std::string>>& shots, SimulatorRun& run) : run_(run) {
    for (const auto& s : shots) pending_.push_back(s);
    std::stable_sort(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  // Called by every drawn pass.
  void Pass() {
    const int64_t now = run_.scheduler().Now();
    if (next_ >= pending_.size() || pending_[next_].first > now) return;
    if (!cab_) cab_ = std::make_unique<OffscreenCab>();
    cab_->Compose(run_.sim());
    for (; next_ < pending_.size() && pending_[next_].first <= now; ++next_) {
      if (!cab_->SavePng(pending_[next_].second)) {
        std::cerr << "kavrin: cannot write the picture " << pending_[next_].second << "\n";
        failed_ = true;
      }
    }
  }
  bool Failed() const { return failed_; }

 private:
  SimulatorRun& run_;
  std::vector<std::pair<int64_t, std::string>> pending_;
  size_t next_ = 0;
  std::unique_ptr<OffscreenCab> cab_;
  bool failed_ = false;
};

RunRequest Request(const CommandLine& cl, const std::string& programFolder, const std::string& route,
                   const std::string& train) {
  RunRequest rq;
  rq.ProgramFolder = programFolder;
  // Route and train names are relative to the data folder, as the title screen's lists are; a
  // train elsewhere keeps its own folder, as one chosen in the title screen's dialog does.
  rq.RouteFileName = route;
  rq.VehicleFolder = SplitPath(train, 0);
  rq.VehicleFileName = SplitPath(train, 1);
  rq.Station = cl.station;
  rq.End = cl.end;
  rq.Frames = cl.frames;
  return rq;
}

RunRequest Request(const CommandLine& cl, const std::string& exe) {
  return Request(cl, FindProgramFolder(cl.dataDir, exe), cl.route, cl.train);
}

// One load as `check` sees it.
struct CheckedLoad {
  std::unique_ptr<LoadError> failure;
  std::vector<std::pair<std::string, TLoadPlace>> messages;  // shown without stopping the load
  std::string dump;
};

CheckedLoad CheckLoad(KeyValueStore& store, const RunRequest& rq, bool dump) {
  CheckedLoad out;
  // The messages are reported together at the end, not as they arise.
  std::ostringstream shown;
  WindowlessServices sv(store, shown);
  auto sim = std::make_unique<Sim>();
  SimulatorRun run(*sim, sv.For(sv.sound.bank()), kHeadlessIdleInterval);
  try {
    run.FormCreate(rq);
    if (dump) out.dump = CheckDump(*sim);
  } catch (const LoadError& e) {
    out.failure = std::make_unique<LoadError>(e);
    if (dump) out.dump = LoadFailureDump(e);
  }
  out.messages = std::move(sv.ui.messagesShown);
  return out;
}

int ExitCode(const CheckedLoad& load) {
  if (load.failure) return kExitLoadFailure;
  return load.messages.empty() ? kExitOk : kExitLoadedWithProblems;
}

// Any failure outweighs any problem.
int Worse(int a, int b) {
  auto rank = [](int code) { return code == kExitLoadFailure ? 2 : code == kExitLoadedWithProblems ? 1 : 0; };
  return rank(b) > rank(a) ? b : a;
}

// A message and, below it, where an author finds its cause.
void PrintMessage(std::ostream& out, const std::string& text, const TLoadPlace& place, const char* indent) {
  out << indent << text << "\n";
  std::string author = AuthorLine(place);
  if (!author.empty()) out << indent << author << "\n";
}

void PrintDetails(std::ostream& out, const CheckedLoad& load, const char* indent) {
  for (const auto& [text, place] : load.messages) PrintMessage(out, text, place, indent);
  if (load.failure) PrintMessage(out, load.failure->what(), load.failure->Place(), indent);
}

int CheckOne(const CommandLine& cl, KeyValueStore& store, const RunRequest& rq) {
  CheckedLoad load = CheckLoad(store, rq, cl.dump);
  PrintDetails(std::cout, load, "");
  const int code = ExitCode(load);
  if (code == kExitLoadedWithProblems) {
    std::cout << "読み込めましたが、問題が " << load.messages.size() << " 件あります\n";
  }
  if (cl.dump) {
    std::cout << load.dump << "\n";
  } else if (code == kExitOk) {
    std::cout << "OK\n";
  }
  return code;
}

// Every run the title screen offers, one line each, with the details of those that are not OK
// indented below.
int CheckTitleRuns(const CommandLine& cl, KeyValueStore& store, const std::string& exe) {
  const std::string folder = FindProgramFolder(cl.dataDir, exe);
  const std::vector<TTitleRun> runs = TitleRuns(folder);
  if (runs.empty()) {
    std::cout << folder << " にはタイトル画面で選べる路線と列車がありません（" << kTitleRouteFiles[0] << " などと "
              << kTitleTrains[0] << " / " << kTitleTrains[1] << "）。--route と --train で指定してください\n";
    return kExitLoadFailure;
  }
  int worst = kExitOk;
  for (const TTitleRun& r : runs) {
    CheckedLoad load = CheckLoad(store, Request(cl, folder, r.RouteFileName, r.VehicleFileName), false);
    const int code = ExitCode(load);
    std::cout << r.RouteFileName << " + " << r.VehicleFileName << ": "
              << (code == kExitOk                   ? std::string("OK")
                  : code == kExitLoadFailure        ? std::string("読み込めません")
                                                    : "問題が " + std::to_string(load.messages.size()) + " 件あります")
              << "\n";
    PrintDetails(std::cout, load, "  ");
    worst = Worse(worst, code);
  }
  return worst;
}

int Check(const CommandLine& cl, const std::string& exe) {
  std::string error;
  auto store = WindowlessStore(cl, error);
  if (!store) return UsageError(cl, error);
  if (cl.route.empty() && cl.train.empty()) {
    if (cl.dump) return UsageError(cl, "--dump needs --route and --train");
    return CheckTitleRuns(cl, *store, exe);
  }
  return CheckOne(cl, *store, Request(cl, exe));
}

int Headless(const CommandLine& cl, const std::string& exe) {
  std::string error;
  auto store = WindowlessStore(cl, error);
  if (!store) return UsageError(cl, error);
  HeadlessOptions o;
  if (!cl.script.empty() && !ReadScript(cl.script, o.script, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
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

  // Pictures need the frames themselves; the trace is the same either way.
  WindowlessServices sv(*store, std::cerr,
                        cl.shots.empty() ? FfmpegFilmSource::Mode::HeaderOnly : FfmpegFilmSource::Mode::Decode);
  std::ofstream soundLogFile;
  std::unique_ptr<SoundLog> soundLog;
  SoundBank* bank = &sv.sound.bank();
  if (!cl.soundLog.empty()) {
    soundLogFile.open(cl.soundLog, std::ios::binary | std::ios::trunc);
    if (!soundLogFile) {
      std::cerr << "kavrin: cannot write the sound log " << cl.soundLog << "\n";
      return kExitUsage;
    }
    soundLog = std::make_unique<SoundLog>(sv.sound.bank(), soundLogFile);
    bank = soundLog.get();
  }
  auto sim = std::make_unique<Sim>();
  SimulatorRun run(*sim, sv.For(*bank), kHeadlessIdleInterval);
  if (soundLog) soundLog->SetClock([&run] { return run.scheduler().Now(); });
  Shots shots(cl.shots, run);
  if (!cl.shots.empty()) run.draw = [&shots] { shots.Pass(); };
  try {
    run.FormCreate(Request(cl, exe));
    RunHeadless(run, sv.ui, *bank, o);
  } catch (const LoadError& e) {
    std::cout << e.what() << "\n";
    return kExitLoadFailure;
  }
  return shots.Failed() ? kExitUsage : kExitOk;
}

int Window(const CommandLine& cl, int argc, char** argv) {
  std::vector<ScriptEvent> script;
  std::string error;
  if (!cl.script.empty() && !ReadScript(cl.script, script, error)) {
    std::cerr << "kavrin: " << error << "\n";
    return kExitUsage;
  }
  QApplication app(argc, argv);
  app.setApplicationName("鉄道運転シミュレータ");
  std::unique_ptr<KeyValueStore> store = std::make_unique<QSettingsStore>();
  SoundSystem sound = OpenSoundSystem(true);
  QImagePictureLoader pictures;
  FfmpegFilmSource film;
  TForm1 window(*store, sound.bank(), pictures, *sound.decoder, film);
  try {
    window.FormCreate(Request(cl, argv[0]));
  } catch (const LoadError& e) {
    QMessageBox::critical(nullptr, "鉄道運転シミュレータ", QString::fromStdString(e.what()));
    return kExitLoadFailure;
  }
  window.PlayScript(std::move(script));
  window.show();
  return app.exec();
}

}  // namespace

int CommandMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cl;
  std::string error;
  if (!ParseCommandLine(args, cl, error)) return UsageError(cl, error);
  if (cl.help || cl.command == "help") {
    std::cout << HelpText(cl.help ? cl.command : cl.helpTopic);
    return kExitOk;
  }
  QuietLibraryChatter();
  if (cl.command == "check") {
    QCoreApplication app(argc, argv);
    return Check(cl, argv[0]);
  }
  if (cl.command == "headless") {
    if (cl.shots.empty()) {
      QCoreApplication app(argc, argv);
      return Headless(cl, argv[0]);
    }
    // Pictures are drawn offscreen, the same with a display or without.
    EnsureOffscreenGui();
    return Headless(cl, argv[0]);
  }
  if (cl.route.empty() && cl.train.empty()) {
    std::cerr << "kavrin: 路線と列車を指定していないので、空の運転画面を開きます。運転するには:\n"
                 "  kavrin run --data DIR --route FILE --train FILE（kavrin help run）\n";
  }
  return Window(cl, argc, argv);
}

}  // namespace kavrin

#include "ui/command_main.h"

#include <QCoreApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program_folder.h"
#include "core/load_error.h"
#include "core/numbers.h"
#include "data/program_files.h"
#include "data/settings.h"
#include "platform/qsettings_store.h"

namespace kavrin {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitLoadFailure = 1;
constexpr int kExitUsage = 2;

std::unique_ptr<KeyValueStore> MakeStore(const CommandLine& cl) {
  if (cl.hasSettingsDir) return std::make_unique<QSettingsStore>(cl.settingsDir);
  return std::make_unique<MemoryKeyValueStore>();
}

bool ApplySets(const CommandLine& cl, KeyValueStore& store, std::string& error) {
  static const char* kNames[] = {"Kanko", "Information", "ATS", "Tunnel", "Moji"};
  for (const auto& [name, value] : cl.sets) {
    bool known = false;
    for (const char* n : kNames) known = known || name == n;
    auto v = ParseInt(value);
    if (!known || !v) {
      error = "--set takes Kanko, Information, ATS, Tunnel or Moji with a whole number: " + name + "=" + value;
      return false;
    }
  }
  if (cl.sets.empty()) return true;
  // A setting given alone must not make the others unreadable (one missing value resets all
  // five), so the store is completed from what it holds first.
  TSettings s = ReadSettings(store);
  WriteSettings(store, s);
  for (const auto& [name, value] : cl.sets) store.WriteInt(kSettingsKey, name, *ParseInt(value));
  return true;
}

int Check(const CommandLine& cl, const std::string& exe) {
  auto store = MakeStore(cl);
  std::string error;
  if (!ApplySets(cl, *store, error)) {
    std::cerr << error << "\n";
    return kExitUsage;
  }
  std::string folder = FindProgramFolder(cl.dataDir, exe);
  try {
    TProgramFiles files = LoadProgramFiles(folder, *store);
    (void)files;
  } catch (const LoadError& e) {
    std::cout << e.what() << "\n";
    return kExitLoadFailure;
  }
  std::cout << "OK\n";
  return kExitOk;
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
  std::cerr << "kavrin: the windows are not built yet; `kavrin check --data DIR` loads the program files.\n";
  return kExitUsage;
}

}  // namespace kavrin

#pragma once
// The sub-commands for route authors, tests and automation. Without a sub-command the program
// opens its title screen.
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace kavrin {

struct CommandLine {
  std::string command;  // "", "run", "check" or "headless"
  std::string dataDir;
  std::string route, train;
  int station = 0;
  int end = 999;
  bool dump = false;
  std::vector<std::pair<std::string, std::string>> sets;  // --set NAME=VALUE in order
  std::string settingsDir;
  bool hasSettingsDir = false;
  // headless
  std::string script, trace, fields, soundLog;
  std::string every = "logic";
  double seconds = -1;  // < 0: until the run ends (at most an hour)
  int frames = -1;      // < 0: the film's own length
};

// Parses argv[1..]. On a usage error returns false with the message in `error`.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace kavrin

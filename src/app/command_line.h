#pragma once
// The sub-commands for route authors, tests and automation. Without a sub-command the program
// opens its window. Every option lives in one table that both the parser and the help read, so
// an option cannot be accepted without being explained.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavrin {

struct CommandLine {
  std::string command;  // "", "run", "check", "headless" or "help"
  bool help = false;    // -h or --help: explain `command` instead of running it
  std::string helpTopic;  // the command that "help" explains ("" for the program's own)
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
  std::vector<std::pair<int64_t, std::string>> shots;  // --shot MS:FILE in order
};

// The commands an option is accepted by, as a mask.
enum CommandBit : unsigned {
  kBareCommand = 1,  // no sub-command
  kRunCommand = 2,
  kCheckCommand = 4,
  kHeadlessCommand = 8,
  kHelpCommand = 16,
};

struct TCommandInfo {
  std::string_view name;   // as typed; "" for the program without a sub-command
  unsigned bit;
  std::string_view usage;  // one line
  std::string_view about;  // what the command does, a few lines
  std::string_view exits;  // its exit codes, one line each
};

struct TOptionInfo {
  std::string_view name;   // "--data"
  std::string_view alias;  // "-h", or empty
  std::string_view value;  // what follows it in the help ("DIR"); empty for a switch
  std::string_view help;   // one line
  unsigned commands;       // CommandBit mask
  // Stores the option; false with a message when its value is not usable.
  bool (*apply)(CommandLine& out, const std::string& value, std::string& error);
};

std::span<const TCommandInfo> Commands();
std::span<const TOptionInfo> CommandOptions();
// The command named `name`, or null.
const TCommandInfo* FindCommand(std::string_view name);

// Parses argv[1..]. On a usage error returns false with the message in `error`; `out.command`
// then still names the command that was given, for its usage line.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The usage line of a command and where its help is.
std::string UsageText(std::string_view command);
// The whole help of a command: usage, what it does, every option it takes, its exit codes and,
// for headless, the script. For "" the program's own help, listing every command.
std::string HelpText(std::string_view command);
// The example script of the headless help, as plain script text.
std::string_view ScriptHelpExample();

}  // namespace kavrin

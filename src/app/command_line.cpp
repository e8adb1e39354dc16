#include "app/command_line.h"

#include "core/numbers.h"

namespace kavrin {

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  size_t i = 0;
  if (i < args.size() && (args[i] == "run" || args[i] == "check" || args[i] == "headless")) {
    out.command = args[i++];
  }
  auto value = [&](const std::string& flag, std::string& into) {
    if (i + 1 >= args.size()) {
      error = flag + " needs a value";
      return false;
    }
    into = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    bool headless = out.command == "headless";
    if (a == "--data") {
      if (!value(a, out.dataDir)) return false;
    } else if (a == "--route" && !out.command.empty()) {
      if (!value(a, out.route)) return false;
    } else if (a == "--train" && !out.command.empty()) {
      if (!value(a, out.train)) return false;
    } else if ((a == "--station" || a == "--end") && !out.command.empty()) {
      if (!value(a, v)) return false;
      auto n = ParseInt(v);
      if (!n) {
        error = a + " needs a whole number";
        return false;
      }
      (a == "--station" ? out.station : out.end) = *n;
    } else if (a == "--dump" && out.command == "check") {
      out.dump = true;
    } else if (a == "--set" && (headless || out.command == "check")) {
      if (!value(a, v)) return false;
      size_t eq = v.find('=');
      if (eq == std::string::npos) {
        error = "--set needs NAME=VALUE";
        return false;
      }
      out.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    } else if (a == "--settings-dir" && (headless || out.command == "check")) {
      if (!value(a, out.settingsDir)) return false;
      out.hasSettingsDir = true;
    } else if (headless && a == "--script") {
      if (!value(a, out.script)) return false;
    } else if (headless && a == "--trace") {
      if (!value(a, out.trace)) return false;
    } else if (headless && a == "--fields") {
      if (!value(a, out.fields)) return false;
    } else if (headless && a == "--sound-log") {
      if (!value(a, out.soundLog)) return false;
    } else if (headless && a == "--every") {
      if (!value(a, out.every)) return false;
      if (out.every != "logic" && out.every != "physics") {
        error = "--every takes logic or physics";
        return false;
      }
    } else if (headless && a == "--seconds") {
      if (!value(a, v)) return false;
      auto s = ParseReal(v);
      if (!s || *s < 0) {
        error = "--seconds needs a number of seconds";
        return false;
      }
      out.seconds = static_cast<double>(*s);
    } else if (headless && a == "--frames") {
      if (!value(a, v)) return false;
      auto n = ParseInt(v);
      if (!n || *n < 0) {
        error = "--frames needs a whole number";
        return false;
      }
      out.frames = *n;
    } else {
      error = "unknown argument: " + a;
      return false;
    }
  }
  if (out.command == "run" && out.route.empty() != out.train.empty()) {
    error = "run needs both --route and --train";
    return false;
  }
  return true;
}

}  // namespace kavrin

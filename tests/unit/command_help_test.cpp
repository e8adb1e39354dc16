// The command line's parser and its help read one option table: every option a command accepts
// must be in its help, and none that it refuses.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/script.h"

namespace kavrin {
namespace {

// The option list of a help text.
std::string OptionsSection(const std::string& help) {
  const std::string head = "\nオプション:\n";
  const size_t from = help.find(head);
  if (from == std::string::npos) return {};
  const size_t to = help.find("\n\n", from + head.size());
  return help.substr(from + head.size(), to == std::string::npos ? std::string::npos : to - from - head.size());
}

// Every "--name" in a text.
std::vector<std::string> OptionWords(std::string_view text) {
  std::vector<std::string> words;
  for (size_t at = text.find("--"); at != std::string_view::npos; at = text.find("--", at + 2)) {
    size_t end = at + 2;
    while (end < text.size() && (std::isalpha(static_cast<unsigned char>(text[end])) || text[end] == '-')) ++end;
    words.emplace_back(text.substr(at, end - at));
    at = end - 2;
  }
  return words;
}

bool Mentions(const std::string& help, std::string_view option) {
  // As a word of its own: "--end" must not be found inside "--every".
  for (size_t at = help.find(option); at != std::string::npos; at = help.find(option, at + 1)) {
    const size_t after = at + option.size();
    if (after == help.size() || help[after] == ' ' || help[after] == '\n' || help[after] == ',') return true;
  }
  return false;
}

TEST(CommandHelp, EveryOptionACommandAcceptsIsInItsHelpAndNoOther) {
  for (const TCommandInfo& command : Commands()) {
    SCOPED_TRACE("command '" + std::string(command.name) + "'");
    const std::string whole = HelpText(command.name);
    ASSERT_EQ(whole.rfind("使い方: " + std::string(command.usage) + "\n", 0), 0u) << whole;
    EXPECT_NE(whole.find("終了コード"), std::string::npos);
    const std::string help = OptionsSection(whole);
    ASSERT_FALSE(help.empty()) << whole;
    // The usage line names only what the command takes.
    for (const std::string& word : OptionWords(command.usage)) {
      bool found = false;
      for (const TOptionInfo& option : CommandOptions()) found = found || (word == option.name && (option.commands & command.bit));
      EXPECT_TRUE(found) << word;
    }
    for (const TOptionInfo& option : CommandOptions()) {
      SCOPED_TRACE(std::string(option.name));
      EXPECT_FALSE(option.help.empty());
      EXPECT_EQ(option.help.find('\n'), std::string_view::npos);
      for (std::string_view spelling : {option.name, option.alias}) {
        if (spelling.empty()) continue;
        std::vector<std::string> args;
        if (!command.name.empty()) args.emplace_back(command.name);
        args.emplace_back(spelling);
        // A value that some options refuse; refused or not, the option itself is known.
        if (!option.value.empty()) args.emplace_back("1");
        CommandLine cl;
        std::string error;
        const bool parsed = ParseCommandLine(args, cl, error);
        const bool known = parsed || error.rfind("unknown argument", 0) != 0;
        const bool accepted = (option.commands & command.bit) != 0;
        EXPECT_EQ(known, accepted) << error;
        EXPECT_EQ(Mentions(help, spelling), accepted) << help;
      }
    }
  }
}

TEST(CommandHelp, HelpIsAskedForInThreeWays) {
  struct Case {
    std::vector<std::string> args;
    std::string command, topic;
    bool help;
  };
  const Case cases[] = {
      {{"--help"}, "", "", true},
      {{"-h"}, "", "", true},
      {{"check", "--help"}, "check", "", true},
      {{"headless", "--data", "x", "-h"}, "headless", "", true},
      {{"help"}, "help", "", false},
      {{"help", "run"}, "help", "run", false},
      // Help wins over what a command would otherwise refuse to start without.
      {{"run", "--route", "a.dat", "--help"}, "run", "", true},
  };
  for (const Case& c : cases) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(c.args, cl, error)) << c.args[0] << ": " << error;
    EXPECT_EQ(cl.command, c.command);
    EXPECT_EQ(cl.helpTopic, c.topic);
    EXPECT_EQ(cl.help, c.help);
  }
  CommandLine cl;
  std::string error;
  EXPECT_FALSE(ParseCommandLine({"help", "fly"}, cl, error));
  EXPECT_FALSE(ParseCommandLine({"check", "--bogus"}, cl, error));
  EXPECT_EQ(error, "unknown argument: --bogus");
  EXPECT_EQ(cl.command, "check");  // for its usage line
  EXPECT_NE(UsageText(cl.command).find("kavrin help check"), std::string::npos);
}

TEST(CommandHelp, TheProgramsHelpListsEveryCommand) {
  const std::string help = HelpText("");
  for (const TCommandInfo& command : Commands()) {
    if (!command.name.empty()) {
      EXPECT_NE(help.find(std::string(command.usage)), std::string::npos) << command.name;
    }
  }
}

TEST(CommandHelp, TheHeadlessExampleScriptIsAValidScript) {
  std::vector<ScriptEvent> events;
  std::string error;
  ASSERT_TRUE(ParseScript(ScriptHelpExample(), events, error)) << error;
  EXPECT_GE(events.size(), 3u);
  // The help shows it as written.
  std::string help = HelpText("headless");
  EXPECT_NE(help.find("  500 menu start1\n"), std::string::npos) << help;
  for (const char* verb : {"char", "keydown", "keyup", "wheel", "click", "menu", "ats", "engine", "controller",
                           "serial", "pad", "back"}) {
    EXPECT_NE(help.find(std::string("  ") + verb + " "), std::string::npos) << verb;
  }
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

TEST(CommandLineShots, EachShotIsATimeAndAFileInTheOrderGiven) {
  CommandLine cl;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"headless", "--shot", "60000:a.png", "--shot", "0:dir/b:c.png"}, cl, error)) << error;
  ASSERT_EQ(cl.shots.size(), 2u);
  EXPECT_EQ(cl.shots[0], (std::pair<int64_t, std::string>{60000, "a.png"}));
  EXPECT_EQ(cl.shots[1], (std::pair<int64_t, std::string>{0, "dir/b:c.png"}));  // the first colon splits
  for (const char* bad : {"60000", "60000:", "-5:a.png", "x:a.png", ":a.png"}) {
    CommandLine c;
    EXPECT_FALSE(ParseCommandLine({"headless", "--shot", bad}, c, error)) << bad;
    EXPECT_EQ(error, "--shot needs MS:FILE") << bad;
  }
  CommandLine run;
  EXPECT_TRUE(ParseCommandLine({"run", "--script", "drive.txt"}, run, error)) << error;
  EXPECT_EQ(run.script, "drive.txt");
  EXPECT_FALSE(ParseCommandLine({"run", "--shot", "1:a.png"}, run, error));
}

}  // namespace
}  // namespace kavrin

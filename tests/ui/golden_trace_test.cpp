// Short headless runs over the small data sets in tests/golden, traced after every tick and
// compared with the committed traces. The data sets have no film: they run on a film of 100000
// frames, so that the film's end does not stop the train at once. A change to a trace is
// reviewed like a change to code:
// regenerate on purpose with KAVRIN_UPDATE_GOLDEN=1 (see tests/golden/README.md).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

// A folder under tests/golden with its case.txt: "seconds N" and "fields A,B,...", one a line;
// "every logic" traces after every 100 ms tick instead of every 33 ms tick, and "sound" also
// compares the sound log with sound.csv.
struct GoldenRun {
  std::string name;
  std::string seconds;
  std::string fields;
  std::string every = "physics";
  bool sound = false;
};

void PrintTo(const GoldenRun& g, std::ostream* os) { *os << g.name; }

std::string Folder(const std::string& name) { return std::string(KAVRIN_SOURCE_DIR) + "/tests/golden/" + name + "/"; }

std::vector<GoldenRun> Runs() {
  std::vector<GoldenRun> runs;
  for (const auto& e : std::filesystem::directory_iterator(Folder(""))) {
    if (!std::filesystem::exists(e.path() / "case.txt")) continue;
    GoldenRun g{e.path().filename().string(), "", ""};
    for (const std::string& line : test::Lines(test::Slurp(e.path() / "case.txt"))) {
      const size_t space = line.find(' ');
      const std::string key = line.substr(0, space), value = space == std::string::npos ? "" : line.substr(space + 1);
      if (key == "seconds") g.seconds = value;
      if (key == "fields") g.fields = value;
      if (key == "every") g.every = value;
      if (key == "sound") g.sound = true;
    }
    runs.push_back(g);
  }
  std::sort(runs.begin(), runs.end(), [](const GoldenRun& a, const GoldenRun& b) { return a.name < b.name; });
  return runs;
}

class GoldenTrace : public testing::TestWithParam<GoldenRun> {};

// The produced file against the committed one, line by line; KAVRIN_UPDATE_GOLDEN writes it.
void ExpectSameLines(const std::string& actual, const std::string& golden) {
  ASSERT_FALSE(actual.empty());
  if (std::getenv("KAVRIN_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    GTEST_SKIP() << "wrote " << golden;
  }
  const std::vector<std::string> want = test::Lines(test::Slurp(golden));
  const std::vector<std::string> got = test::Lines(actual);
  ASSERT_FALSE(want.empty()) << golden << " is missing";
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << golden << ": first difference at line " << i + 1 << " (header: " << want[0] << ")";
  }
  EXPECT_EQ(got.size(), want.size()) << golden;
}

TEST_P(GoldenTrace, TraceMatches) {
  const GoldenRun& g = GetParam();
  ASSERT_FALSE(g.seconds.empty() || g.fields.empty()) << g.name << "/case.txt needs seconds and fields";
  const std::string folder = Folder(g.name);
  test::TempDir out;
  const std::string trace = out.str() + "trace.csv";
  const std::string sound = out.str() + "sound.csv";
  const std::string cmd = "ASAN_OPTIONS=detect_leaks=0 " + std::string(KAVRIN_BINARY_DIR) +
                          "/src/ui/kavrin headless --data " + folder + " --route route.dat --train train.dat --script " +
                          folder + "script.txt --seconds " + g.seconds + " --frames 100000 --every " + g.every + " --trace " + trace +
                          " --fields " + g.fields + (g.sound ? " --sound-log " + sound : std::string()) +
                          " > /dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
  ExpectSameLines(test::Slurp(trace), folder + "trace.csv");
  if (g.sound) ExpectSameLines(test::Slurp(sound), folder + "sound.csv");
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTrace, testing::ValuesIn(Runs()),
                         [](const testing::TestParamInfo<GoldenRun>& info) { return info.param.name; });

}  // namespace
}  // namespace kavrin

// Short headless runs over the small data sets in tests/golden, traced at every 33 ms tick and
// compared with the committed traces. A change to a trace is reviewed like a change to code:
// regenerate on purpose with KAVRIN_UPDATE_GOLDEN=1 (see tests/golden/README.md).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kavrin {
namespace {

struct GoldenRun {
  const char* name;  // folder under tests/golden
  int seconds;
  const char* extraFields;  // after the motion fields every run traces
};

void PrintTo(const GoldenRun& g, std::ostream* os) { *os << g.name; }

constexpr const char* kMotion =
    "Speed,Position,PositionStep,PredictedSpeed,TractiveForce,MotorForce,Resistance,Adhesion,AdhesionLimit,"
    "SlipText,PowerNotch,AppliedNotch,BrakeNotch,LastBrakeNotch,BrakeForce,ShoeFriction,BcPressT,BcPressM,"
    "SapPress,MrPress,AmMeterValue";

const GoldenRun kRuns[] = {
    {"notch_electric", 45, ""},
    {"current_step_electric", 50, ",NotchCurrent,CurrentStepIdx,EBrakeNotch,EBrakeCurrent,CurrentBIdx"},
    {"diesel_automatic", 78, ",Gear,GearLever,GearShiftState,ShiftTimer,EngineRpm,EngineRpmTarget,EngineRunning"},
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

class GoldenTrace : public testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenTrace, PhysicsTraceMatches) {
  const GoldenRun& g = GetParam();
  const std::string folder = std::string(KAVRIN_SOURCE_DIR) + "/tests/golden/" + g.name + "/";
  test::TempDir out;
  const std::string trace = out.str() + "trace.csv";
  const std::string cmd = "ASAN_OPTIONS=detect_leaks=0 " + std::string(KAVRIN_BINARY_DIR) +
                          "/src/ui/kavrin headless --data " + folder + " --route route.dat --train train.dat --script " +
                          folder + "script.txt --seconds " + std::to_string(g.seconds) + " --every physics --trace " +
                          trace + " --fields " + kMotion + g.extraFields + " > /dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
  const std::string actual = Slurp(trace);
  ASSERT_FALSE(actual.empty());

  const std::string golden = folder + "trace.csv";
  if (std::getenv("KAVRIN_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    GTEST_SKIP() << "wrote " << golden;
  }
  const std::vector<std::string> want = Lines(Slurp(golden));
  const std::vector<std::string> got = Lines(actual);
  ASSERT_FALSE(want.empty()) << golden << " is missing";
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << "first difference at line " << i + 1 << " (header: " << want[0] << ")";
  }
  EXPECT_EQ(got.size(), want.size());
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTrace, testing::ValuesIn(kRuns),
                         [](const testing::TestParamInfo<GoldenRun>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavrin

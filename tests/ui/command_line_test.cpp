#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/files.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

struct Result {
  int code = -1;
  std::string out;
};

std::string Program() { return std::string(KAVRIN_BINARY_DIR) + "/src/ui/kavrin"; }

// Runs the program with `args` (already quoted), standard error folded into the output.
Result Kavrin(const std::string& args) {
  Result r;
  std::string cmd = "ASAN_OPTIONS=detect_leaks=0 " + Program() + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

struct DataFolder {
  test::TempDir dir;
  DataFolder() {
    dir.Write("ostrel.dat", "[Disp]\r\n30,1\r\n0\r\n800\r\n600\r\n-\r\n");
    dir.Write("mascon.dat", "#\r\n");
  }
  std::string data() const { return "--data " + dir.str(); }
};

TEST(CommandLine, CheckPrintsOkOrTheMessageWithItsExitCode) {
  DataFolder d;
  Result ok = Kavrin("check " + d.data());
  EXPECT_EQ(ok.code, 0) << ok.out;
  EXPECT_NE(ok.out.find("OK"), std::string::npos);

  d.dir.Write("ostrel.dat", "[Disp]\r\n30\r\n");
  Result bad = Kavrin("check " + d.data());
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.out.find("stringファイルに誤りがあります"), std::string::npos) << bad.out;

  EXPECT_EQ(Kavrin("check --bogus").code, 2);
  EXPECT_EQ(Kavrin("headless " + d.data() + " --every sometimes").code, 2);
}

TEST(CommandLine, HeadlessTracesAreIdenticalFromRunToRun) {
  DataFolder d;
  d.dir.Write("script.txt", "500 menu start1\n900 click cab\n");
  std::string base = "headless " + d.data() + " --script " + d.dir.str() + "script.txt --seconds 3 " +
                     "--fields ClockTime,ClockText,running --every physics --trace ";
  Result a = Kavrin(base + d.dir.str() + "a.csv");
  Result b = Kavrin(base + d.dir.str() + "b.csv");
  ASSERT_EQ(a.code, 0) << a.out;
  ASSERT_EQ(b.code, 0) << b.out;
  std::string ta = test::Slurp(d.dir.str() + "a.csv");
  EXPECT_EQ(ta, test::Slurp(d.dir.str() + "b.csv"));
  EXPECT_EQ(ta.substr(0, ta.find('\n')), "t_ms,ClockTime,ClockText,running");
  EXPECT_NE(ta.find("\n33,1,"), std::string::npos);
}

TEST(CommandLine, HeadlessErrorsAreUsageErrors) {
  DataFolder d;
  Result field = Kavrin("headless " + d.data() + " --fields Nope --seconds 1");
  EXPECT_EQ(field.code, 2);
  EXPECT_NE(field.out.find("ClockTime"), std::string::npos) << field.out;  // the known names
  d.dir.Write("bad.txt", "100 char 8\n200 fly\n");
  Result script = Kavrin("headless " + d.data() + " --script " + d.dir.str() + "bad.txt");
  EXPECT_EQ(script.code, 2);
  EXPECT_NE(script.out.find("line 2"), std::string::npos) << script.out;
}

TEST(CommandLine, SettingsGoToTheSettingsFolderAtTheEndOfTheRun) {
  DataFolder d;
  std::string settings = d.dir.str() + "config";
  Result r = Kavrin("headless " + d.data() + " --seconds 1 --set Kanko=1 --settings-dir " + settings +
                 " --sound-log " + d.dir.str() + "sound.csv");
  ASSERT_EQ(r.code, 0) << r.out;
  std::string conf = test::Slurp(settings + "/Ostrel/Kavrin.conf");
  EXPECT_NE(conf.find("Kanko=1"), std::string::npos) << conf;
  EXPECT_NE(conf.find("Information=1"), std::string::npos) << conf;
  EXPECT_EQ(test::Slurp(d.dir.str() + "sound.csv").rfind("t_ms,op,channel,value", 0), 0u);
}

}  // namespace
}  // namespace kavrin

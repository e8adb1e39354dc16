#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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

// A small route that loads over an empty train: two stations and the frames between them.
std::string Route(const std::string& extra = "") {
  return "[LineName]\r\nテスト線\r\n" + extra +
         "[Station]\r\n"
         "A駅,0,0,300,0,1,0,1080000,90,1,0,0,0,0,0\r\n"
         "B駅,0,300,300,0,1,0,1081800,90,0,0,0,0,0,0\r\n"
         "#\r\n"
         "[SpeedUnit]\r\n0,300,36,36\r\n300,600,36,36\r\n#\r\n";
}

TEST(CommandLine, CheckTellsOkFailureUsageAndProblemsApart) {
  DataFolder d;
  d.dir.Write("good.dat", Route());
  d.dir.Write("nofilm.dat", Route("[DataName]\r\nfilm\r\n"));
  d.dir.Write("nosound.dat", Route("[SoundData]\r\nsound\\bell.wav\r\n#\r\n"));
  struct Case {
    std::string args;
    int code;
    std::vector<std::string> lines;  // each a whole line of the output
  };
  const Case cases[] = {
      {"--route good.dat", 0, {"OK"}},
      // The film's message as the window shows it, then the file it looked for.
      {"--route nofilm.dat", 3, {"オープンエラー", d.dir.str() + "film.aviが見つかりません", "読み込めましたが、問題が 1 件あります"}},
      {"--route nosound.dat", 1, {"sound\\bell.wavが見つかりません"}},
      {"--route good.dat --bogus", 2, {"kavrin: unknown argument: --bogus"}},
      {"--dump", 2, {"kavrin: --dump needs --route and --train"}},
  };
  for (const Case& c : cases) {
    Result r = Kavrin("check " + d.data() + " " + c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
    for (const std::string& line : c.lines) EXPECT_NE(("\n" + r.out).find("\n" + line + "\n"), std::string::npos) << c.args << ": " << line << "\n" << r.out;
    if (c.code != 0) EXPECT_EQ(r.out.find("OK"), std::string::npos) << c.args << "\n" << r.out;
  }
  d.dir.Write("ostrel.dat", "[Disp]\r\n30\r\n");
  Result bad = Kavrin("check " + d.data() + " --route good.dat");
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.out.find("stringファイルに誤りがあります\n" + d.dir.str() + "ostrel.dat:2: 30\n"), std::string::npos) << bad.out;
}

TEST(CommandLine, CheckNamesTheLineOfAFailureForTheAuthor) {
  DataFolder d;
  std::string route;
  for (int i = 1; i <= 54; ++i) route += "; 説明 " + std::to_string(i) + "\r\n";
  route += "[Station]\r\nA駅,0,0,300,0,1,0,1080000,90,1,0,0,0,0,0\r\nB駅,0,x,300,0,1,0,1081800,90,0,0,0,0,0,0\r\n#\r\n";
  d.dir.Write("route.dat", route);
  const std::string row = "B駅,0,x,300,0,1,0,1081800,90,0,0,0,0,0,0";
  Result r = Kavrin("check " + d.data() + " --route route.dat");
  EXPECT_EQ(r.code, 1);
  // The window's message, unchanged, and below it the line as a compiler would name it.
  EXPECT_EQ(r.out, "路線ファイルに誤りがあります。[Station]:" + row + "\n" + d.dir.str() + "route.dat:57: [Station]: " + row + "\n");

  Result dump = Kavrin("check --dump " + d.data() + " --route route.dat");
  EXPECT_EQ(dump.code, 1);
  const size_t brace = dump.out.find('{');
  ASSERT_NE(brace, std::string::npos) << dump.out;
  const nlohmann::json j = nlohmann::json::parse(dump.out.substr(brace));
  EXPECT_EQ(j["message"], "路線ファイルに誤りがあります。[Station]:" + row);
  EXPECT_EQ(j["file"], d.dir.str() + "route.dat");
  EXPECT_EQ(j["line"], 57);
  EXPECT_EQ(j["label"], "[Station]");
  EXPECT_EQ(j["text"], row);
}

TEST(CommandLine, CheckNamesAMissingFile) {
  DataFolder d;
  d.dir.Write("train.dat", "[Tons]\r\n30\r\n; 最後の行\r\n");
  Result route = Kavrin("check " + d.data() + " --route gone.dat --train train.dat");
  EXPECT_EQ(route.code, 1);
  // The message box keeps the group title and the line the train's reader left behind.
  EXPECT_EQ(route.out, "路線ファイルに誤りがあります。[Others]:; 最後の行\n" + d.dir.str() + "gone.datが見つかりません\n");
  Result train = Kavrin("check " + d.data() + " --route gone.dat --train none.dat");
  EXPECT_EQ(train.code, 1);
  EXPECT_EQ(train.out, "車両ファイルに誤りがあります\n" + d.dir.str() + "none.datが見つかりません\n");
}

TEST(CommandLine, CheckWithoutARouteChecksWhatTheTitleScreenOffers) {
  DataFolder d;
  // Nothing to offer is no success.
  Result none = Kavrin("check " + d.data());
  EXPECT_EQ(none.code, 1) << none.out;
  EXPECT_EQ(none.out.find("OK"), std::string::npos) << none.out;

  d.dir.Write("train_1000.dat", "[Tons]\r\n30\r\n");
  d.dir.Write("train_0.dat", "[Tons]\r\n30\r\n");
  d.dir.Write("line_1_down_day.dat", Route());
  d.dir.Write("line_1_down_day.dat0", Route("[DataName]\r\nfilm\r\n"));
  d.dir.Write("line_2_up_day.dat", Route());  // its .dat0 is missing: only the electric train runs it
  Result some = Kavrin("check " + d.data());
  EXPECT_EQ(some.code, 3) << some.out;
  EXPECT_EQ(some.out,
            "line_1_down_day.dat0 + train_0.dat: 問題が 1 件あります\n"
            "  オープンエラー\n"
            "  " + d.dir.str() + "film.aviが見つかりません\n"
            "line_1_down_day.dat + train_1000.dat: OK\n"
            "line_2_up_day.dat + train_1000.dat: OK\n");

  d.dir.Write("line_2_up_day.dat", "[StartPos]\r\nabc\r\n");
  Result failed = Kavrin("check " + d.data());
  EXPECT_EQ(failed.code, 1) << failed.out;
  EXPECT_NE(failed.out.find("line_2_up_day.dat + train_1000.dat: 読み込めません\n"
                            "  路線ファイルに誤りがあります。その他:abc\n"
                            "  " + d.dir.str() + "line_2_up_day.dat:2: その他: abc\n"),
            std::string::npos)
      << failed.out;
}

TEST(CommandLine, HelpAndUsage) {
  Result help = Kavrin("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("使い方: kavrin [--data DIR]\n", 0), 0u) << help.out;
  for (const char* command : {"run", "check", "headless"}) {
    Result a = Kavrin(std::string(command) + " --help");
    Result b = Kavrin(std::string("help ") + command);
    EXPECT_EQ(a.code, 0) << command;
    EXPECT_EQ(a.out, b.out) << command;
    EXPECT_EQ(a.out.rfind(std::string("使い方: kavrin ") + command, 0), 0u) << a.out;
  }
  Result unknown = Kavrin("headless --fly");
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.out.find("kavrin: unknown argument: --fly\n使い方: kavrin headless "), std::string::npos) << unknown.out;
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

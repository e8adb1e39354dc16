// The cab view of the demo as the headless harness composes it (--shot), compared with the
// pictures in tests/golden/cab_view: standing at 北浜 before the departure, running at line
// speed, and during the station film at 桜台. Regenerate on purpose with KAVRIN_UPDATE_GOLDEN=1.
// The films take the generator a minute or two, so the test uses a demo folder that a build
// already made and says so when there is none.
//
// The pictures must match exactly, except that a turned needle may differ by one step per
// channel inside its turning circle: the smoothing of a rotated picture is the one place where
// another machine's arithmetic may round differently.
#include <gtest/gtest.h>

#include <QImage>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/temp_dir.h"
#include "support/window_rig.h"

namespace kavrin {
namespace {

namespace fs = std::filesystem;

// The demo of this build (target demo), else the one scripts/run makes, else KAVRIN_DEMO_DIR.
std::string DemoFolder() {
  if (const char* d = std::getenv("KAVRIN_DEMO_DIR")) return std::string(d) + "/";
  const std::string own = std::string(KAVRIN_BINARY_DIR) + "/demo/";
  if (std::filesystem::exists(own + ".generated")) return own;
  return std::string(KAVRIN_SOURCE_DIR) + "/build/run/demo/";
}

std::string Golden(const std::string& name) {
  return std::string(KAVRIN_SOURCE_DIR) + "/tests/golden/cab_view/" + name + ".png";
}

int Shell(const std::string& command, std::string& out) {
  FILE* p = popen(("ASAN_OPTIONS=detect_leaks=0 " + command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Shot {
  const char* name;
  int ms;
};

// Where a turned needle can land: the circle about its centre through its corners.
std::vector<QRect> NeedleCircles(const std::string& demo) {
  std::string out;
  Shell(std::string(KAVRIN_BINARY_DIR) + "/src/ui/kavrin check --dump --data " + demo +
            " --route line_1_down_day.dat --train train_1000.dat",
        out);
  std::vector<QRect> rects;
  const size_t open = out.find('{');
  if (open == std::string::npos) return rects;
  const nlohmann::json dump = nlohmann::json::parse(out.substr(open), nullptr, false);
  if (dump.is_discarded()) return rects;
  for (const auto& s : dump["sprites"]) {
    const std::string picture = s["picture"];
    if (picture.rfind("img_Needle", 0) != 0) continue;
    const double w = s["Width"], h = s["Height"], x = s["X"], y = s["Y"];
    const double r = std::sqrt(w * w + h * h) / 2 + 1;
    const double cx = x + w / 2, cy = y + h / 2;
    rects.emplace_back(QPoint(static_cast<int>(cx - r), static_cast<int>(cy - r)),
                       QPoint(static_cast<int>(cx + r), static_cast<int>(cy + r)));
  }
  return rects;
}

TEST(CabViewGolden, DemoPicturesMatch) {
  const std::string demo = DemoFolder();
  bool films = false;
  if (fs::exists(demo)) {
    for (const auto& e : fs::recursive_directory_iterator(demo)) films = films || e.path().extension() == ".avi";
  }
  if (!films) GTEST_SKIP() << "no demo films in " << demo << " (cmake --build BUILD --target demo)";
  const Shot shots[] = {{"kitahama_standing", 20000}, {"running", 60000}, {"sakuradai_insert", 144000}};
  test::TempDir dir;
  std::string cmd = std::string(KAVRIN_BINARY_DIR) + "/src/ui/kavrin headless --data " + demo +
                    " --route line_1_down_day.dat --train train_1000.dat --script " + KAVRIN_SOURCE_DIR +
                    "/tests/ui/demo_drive/train_1000_down.txt --seconds 145";
  for (const Shot& s : shots) cmd += " --shot " + std::to_string(s.ms) + ":" + dir.str() + s.name + ".png";
  std::string out;
  ASSERT_EQ(Shell(cmd, out), 0) << cmd << "\n" << out;

  test::App();
  const std::vector<QRect> needles = NeedleCircles(demo);
  for (const Shot& s : shots) {
    SCOPED_TRACE(s.name);
    const QImage got(QString::fromStdString(dir.str() + s.name + ".png"));
    ASSERT_FALSE(got.isNull());
    EXPECT_EQ(got.size(), QSize(800, 880));
    if (std::getenv("KAVRIN_UPDATE_GOLDEN")) {
      fs::create_directories(fs::path(Golden(s.name)).parent_path());
      fs::copy_file(dir.str() + s.name + ".png", Golden(s.name), fs::copy_options::overwrite_existing);
      continue;
    }
    const QImage want(QString::fromStdString(Golden(s.name)));
    ASSERT_FALSE(want.isNull()) << Golden(s.name) << " is missing";
    ASSERT_EQ(got.size(), want.size());
    const QImage a = got.convertToFormat(QImage::Format_RGB32), b = want.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
        if (p == q) continue;
        bool nearNeedle = false;
        for (const QRect& r : needles) nearNeedle = nearNeedle || r.contains(x, y);
        const bool oneStep = std::abs(qRed(p) - qRed(q)) <= 1 && std::abs(qGreen(p) - qGreen(q)) <= 1 &&
                             std::abs(qBlue(p) - qBlue(q)) <= 1;
        if (nearNeedle && oneStep) continue;
        if (differing++ == 0) first = QPoint(x, y);
      }
    }
    EXPECT_EQ(differing, 0) << differing << " pixels differ, the first at (" << first.x() << ", " << first.y()
                            << ")";
  }
  if (std::getenv("KAVRIN_UPDATE_GOLDEN")) GTEST_SKIP() << "wrote the pictures in tests/golden/cab_view";
}

}  // namespace
}  // namespace kavrin

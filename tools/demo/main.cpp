// Makes the demo data folder: kavrin_demo FOLDER [--no-films] [--no-sounds] [--threads N]
// To look at the films without making everything: --still down|up FRAME FILE.png and
// --film-sample down|up FRAMES FILE.avi.
#include <QGuiApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "demo/film_render.h"
#include "demo/films.h"
#include "demo/generator.h"
#include "demo/line.h"

int main(int argc, char** argv) {
  // Pictures are drawn off screen; no display is needed or wanted.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // The toolkit wants a private runtime folder and complains in the build log without one.
    const std::string dir = (std::filesystem::temp_directory_path() / ("kavrin-demo-runtime-" + std::to_string(getuid()))).string();
    std::filesystem::create_directories(dir);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    qputenv("XDG_RUNTIME_DIR", dir.c_str());
  }
  QGuiApplication app(argc, argv);
  std::string folder;
  kavrin::demo::GenerateOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--no-films") options.films = false;
    else if (a == "--no-sounds") options.sounds = false;
    else if (a == "--threads" && i + 1 < argc) options.threads = std::atoi(argv[++i]);
    else if (a == "--film-sample" && i + 3 < argc) {
      // --film-sample down|up FRAMES FILE.avi: the first frames of a route's film, coded as the
      // generator codes it.
      const auto dir = std::string(argv[i + 1]) == "up" ? kavrin::demo::Dir::Up : kavrin::demo::Dir::Down;
      kavrin::demo::FilmCoding c;
      c.FrameLimit = std::atoi(argv[i + 2]);
      const auto route = kavrin::demo::BuildRoute(dir);
      const auto st = kavrin::demo::WriteRouteFilm(route, kavrin::demo::MakeSceneBoards(route), argv[i + 3], c);
      std::printf("%lld frames: render %.2f ms a frame, encode %.2f ms a frame\n", static_cast<long long>(st.Frames),
                  st.RenderSeconds * 1000 / st.Frames, st.EncodeSeconds * 1000 / st.Frames);
      return 0;
    }
    else if (a == "--still" && i + 3 < argc) {
      // --still down|up FRAME FILE.png: one frame of a film, to look at.
      const auto dir = std::string(argv[i + 1]) == "up" ? kavrin::demo::Dir::Up : kavrin::demo::Dir::Down;
      kavrin::demo::WriteStill(kavrin::demo::BuildRoute(dir), std::atoi(argv[i + 2]), argv[i + 3]);
      return 0;
    }
    else if (!a.empty() && a[0] != '-' && folder.empty()) folder = a;
    else {
      std::fprintf(stderr, "usage: kavrin_demo FOLDER [--no-films] [--no-sounds] [--threads N]\n");
      return 2;
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "usage: kavrin_demo FOLDER [--no-films] [--no-sounds] [--threads N]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  try {
    kavrin::demo::Generate(folder, options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kavrin_demo: %s\n", e.what());
    return 1;
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("kavrin_demo: %s written in %.1f s\n", folder.c_str(), s);
  return 0;
}

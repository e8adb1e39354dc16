// Makes the demo data folder: kavrin_demo FOLDER [--no-films] [--no-sounds] [--threads N]
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "demo/generator.h"

int main(int argc, char** argv) {
  // Pictures are drawn off screen; no display is needed or wanted.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::string folder;
  kavrin::demo::GenerateOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--no-films") options.films = false;
    else if (a == "--no-sounds") options.sounds = false;
    else if (a == "--threads" && i + 1 < argc) options.threads = std::atoi(argv[++i]);
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

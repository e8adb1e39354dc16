#include "demo/generator.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "demo/assets.h"
#include "demo/data_text.h"
#include "demo/film_render.h"
#include "demo/films.h"
#include "demo/line.h"
#include "demo/manifest.h"
#include "demo/program_texts.h"
#include "demo/route_pictures.h"
#include "demo/route_writer.h"
#include "demo/sounds.h"
#include "demo/title_pictures.h"
#include "demo/train_sounds.h"
#include "demo/trains.h"

namespace kavrin::demo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = "manifest.json";

void PrepareFolder(const fs::path& folder) {
  if (fs::exists(folder)) {
    if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + " is not a folder");
    if (!fs::is_empty(folder) && !fs::exists(folder / kMarker)) {
      throw std::runtime_error(folder.string() + " holds files that the demo generator did not make; not touching it");
    }
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
  }
  fs::create_directories(folder);
}

double Since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

void Generate(const std::string& folderName, const GenerateOptions& options) {
  const fs::path folder(folderName);
  PrepareFolder(folder);
  const std::string base = folder.string() + "/";
  auto at = [&](const std::string& relative) { return base + relative; };
  const auto start = std::chrono::steady_clock::now();

  std::vector<FilmRecord> films;
  std::vector<Route> routes;
  for (Dir d : {Dir::Down, Dir::Up}) {
    FilmRecord f;
    f.route = BuildRoute(d);
    for (bool diesel : {false, true}) {
      const std::string name = RouteFileName(d, diesel);
      RouteFileText(f.route, diesel).Write(at(name));
      f.routeFiles.push_back(name);
    }
    f.film = "move/" + FilmBaseName(d) + ".avi";
    routes.push_back(f.route);
    films.push_back(std::move(f));
  }

  // Written first: its presence marks a folder this generator may empty again, also after a
  // run that failed half-way.
  WriteBytes(at(kMarker), ManifestJson(films));

  StringFileText().Write(at("ostrel.dat"));
  MasconFileText().Write(at("mascon.dat"));
  OperationText().Write(at("operation.dat"));
  ReadmeHtml(routes).Write(at("readme.html"));
  ElectricTrainText().Write(at("train_1000.dat"));
  DieselTrainText().Write(at("train_0.dat"));
  WriteTrainPictures(base);
  for (const Route& r : routes) WriteRoutePictures(r, base);
  WriteTitlePictures(routes, base);
  std::printf("data files and pictures: %.1f s\n", Since(start));

  if (options.sounds) {
    const auto t = std::chrono::steady_clock::now();
    const SoundReport s = WriteSounds(AllLineSounds(routes), base);
    WriteTitleSounds(base);
    const int trainSounds = WriteTrainSounds(base);
    std::printf("sounds: %d files (%d spoken%s) in %.1f s\n", s.Files + 2 + trainSounds, s.Spoken,
                s.ToneVoices ? "; no speech synthesiser, voices are tone signals" : "", Since(t));
  }

  if (options.films) {
    const auto t = std::chrono::steady_clock::now();
    // The boards need the fonts and are drawn here; each film then renders on a thread of its
    // own, since the machine has cores to spare and films are most of the work.
    std::vector<SceneBoards> boards;
    for (const Route& r : routes) boards.push_back(MakeSceneBoards(r));
    std::vector<FilmStats> stats(films.size());
    std::vector<std::exception_ptr> errors(films.size());
    auto film = [&](size_t i) {
      try {
        stats[i] = WriteRouteFilm(films[i].route, boards[i], at(films[i].film), FilmCoding{});
      } catch (...) {
        errors[i] = std::current_exception();
      }
    };
    std::vector<std::thread> workers;
    const size_t threads = static_cast<size_t>(std::max(1, options.threads));
    for (size_t i = 1; i < films.size() && threads > 1; ++i) workers.emplace_back(film, i);
    film(0);
    if (threads <= 1) {
      for (size_t i = 1; i < films.size(); ++i) film(i);
    }
    for (std::thread& w : workers) w.join();
    for (const std::exception_ptr& e : errors) {
      if (e) std::rethrow_exception(e);
    }
    for (size_t i = 0; i < films.size(); ++i) {
      std::printf("%s: %lld frames, %.1f MB\n", films[i].film.c_str(), static_cast<long long>(stats[i].Frames),
                  static_cast<double>(fs::file_size(at(films[i].film))) / 1e6);
    }
    for (size_t i = 0; i < routes.size(); ++i) {
      for (const RouteInsert& in : routes[i].Inserts) {
        const std::string name = "move/" + InsertBaseName(routes[i], in) + ".avi";
        WriteInsertFilm(routes[i], boards[i], in, at(name));
        std::printf("%s: %d frames\n", name.c_str(), in.Frames);
      }
    }
    const FilmStats opening = WriteOpeningFilm(routes[0], at("move/opening.avi"));
    std::printf("move/opening.avi: %lld frames; films in %.1f s\n", static_cast<long long>(opening.Frames), Since(t));
  }
}

}  // namespace kavrin::demo

#include "demo/generator.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "demo/assets.h"
#include "demo/data_text.h"
#include "demo/films.h"
#include "demo/line.h"
#include "demo/manifest.h"
#include "demo/route_writer.h"

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

}  // namespace

void Generate(const std::string& folderName, const GenerateOptions& options) {
  const fs::path folder(folderName);
  PrepareFolder(folder);
  auto at = [&](const std::string& relative) { return (folder / relative).string(); };

  std::vector<FilmRecord> films;
  for (Dir d : {Dir::Down, Dir::Up}) {
    FilmRecord f;
    f.route = BuildRoute(d);
    for (bool diesel : {false, true}) {
      const std::string name = RouteFileName(d, diesel);
      RouteFileText(f.route, diesel).Write(at(name));
      f.routeFiles.push_back(name);
    }
    f.film = "move/" + FilmBaseName(d) + ".avi";
    films.push_back(std::move(f));
  }
  WriteBytes(at(kMarker), ManifestJson(films));
  if (options.films) {
    for (const FilmRecord& f : films) {
      const FilmStats st = WriteRouteFilm(f.route, at(f.film), FilmCoding{});
      std::printf("%s: %lld frames, render %.1f s, encode %.1f s\n", f.film.c_str(), static_cast<long long>(st.Frames),
                  st.RenderSeconds, st.EncodeSeconds);
    }
  }
}

}  // namespace kavrin::demo

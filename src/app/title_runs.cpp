#include "app/title_runs.h"

#include <filesystem>
#include <system_error>

#include "core/paths.h"

namespace kavrin {

std::string RouteFileForTrain(std::string_view route, std::string_view train) {
  if (train != "train_0.dat") return std::string(route);
  return std::string(route.substr(0, route.find('.'))) + ".dat0";
}

std::vector<TTitleRun> TitleRuns(const std::string& programFolder) {
  auto exists = [&](const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ResolveDataPath(programFolder, name), ec);
  };
  std::vector<TTitleRun> runs;
  for (const char* line : kTitleRouteFiles) {
    for (const char* train : kTitleTrains) {
      TTitleRun run{RouteFileForTrain(line, train), train};
      if (exists(run.RouteFileName) && exists(run.VehicleFileName)) runs.push_back(std::move(run));
    }
  }
  return runs;
}

}  // namespace kavrin

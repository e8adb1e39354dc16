#pragma once
// The runs the title screen offers: the route files of its six line pictures and its two
// trains, with the route file a train actually runs.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// In the order of the pictures line11 .. line14, line21, line22.
inline constexpr std::array<const char*, 6> kTitleRouteFiles = {
    "line_1_down_day.dat", "line_1_up_day.dat", "line_1_down_night.dat",
    "line_1_up_night.dat", "line_2_down_day.dat", "line_2_up_day.dat"};
// train1, train2.
inline constexpr std::array<const char*, 2> kTitleTrains = {"train_0.dat", "train_1000.dat"};

// With "train_0.dat" the route file's name up to its first "." followed by ".dat0"; with any
// other train the name unchanged.
std::string RouteFileForTrain(std::string_view route, std::string_view train);

struct TTitleRun {
  std::string RouteFileName;
  std::string VehicleFileName;
};

// Every line-and-train pair of the title whose route and train files are in the program folder,
// line by line and train by train. A pair the title would answer with "未実装です" is left out.
std::vector<TTitleRun> TitleRuns(const std::string& programFolder);

}  // namespace kavrin

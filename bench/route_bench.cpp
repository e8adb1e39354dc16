// Reading a large route: 30000 filming-speed rows and full tables elsewhere. The load of the
// simulator window has 200 ms for this and the frame-to-distance conversion together.
//
// The signals and limits stand between segment boundaries, so that each gives one check point
// and the 500 of them fit the table of 501.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>
#include <string>

#include <unistd.h>

#include "core/encoding.h"
#include "data/data_file.h"
#include "data/route_derivation.h"
#include "data/route_file.h"

namespace kavrin {
namespace {

std::string N(long v) { return std::to_string(v); }

std::string LargeRoute() {
  std::string t;
  t.reserve(2 << 20);
  auto rows = [&t](const char* key, int n, auto row) {
    t += key;
    t += "\r\n";
    for (int i = 0; i < n; ++i) t += row(i) + "\r\n";
    t += "#\r\n";
  };
  const int kOther = 500;
  t += "[LineName]\r\n長い路線 下り\r\n[StartPos]\r\n0\r\n[FrameRate]\r\n15\r\n[Friction]\r\n0.35\r\n";
  t += "[DataName]\r\nlong\r\n[Perspective]\r\n10\r\n240\r\n[OneMan]\r\n0\r\n0\r\n";
  rows("[MovieStop]", 100, [](int i) { return N(900000 + i); });
  rows("[MovieSwitch]", 100, [](int i) { return "0," + N(i * 1000) + "," + N(i * 1000 + 50) + ",ins" + N(i) + ",300,0,0,5,6"; });
  rows("[Speed_Signal]", 11, [](int i) { return N(i * 10); });
  t += "[Pre_Train]\r\n100,900000\r\n";
  for (int i = 0; i < kOther; ++i) t += N(i) + ",60," + N(1080000 + i * 900) + "\r\n";
  t += "#\r\n";
  rows("[SoundData]", 100, [](int i) { return "sound\\route_" + N(i) + ".wav"; });
  t += "[Announce]\r\n1,2\r\n";
  for (int i = 0; i < 98; ++i) t += N(i) + ",0," + N(i) + ",150\r\n";
  t += "#\r\n";
  t += "[KankoSound1]\r\n";
  for (int i = 0; i < 22; ++i) t += "kanko\\k" + N(i) + ".wav\r\n";
  rows("[KankoSound2]", 478, [](int i) { return "kanko\\s" + N(i) + ".wav"; });
  rows("[Sound]", kOther, [](int i) { return N(i % 100) + "," + N(i * 60) + "," + N(i * 60 + 40) + ",60,1,1,1,0,1"; });
  rows("[Sound2]", kOther, [](int i) { return N(i % 100) + "," + N(i) + "," + N(i + 1); });
  rows("[Doppler]", kOther, [](int i) { return N(i % 100) + "," + N(i * 1800) + ",8000,0,0"; });
  rows("[Tunnel]", kOther, [](int i) { return N(i * 1800) + "," + N(i * 1800 + 300) + ",128"; });
  rows("[Atten]", kOther, [](int i) { return N(i * 1800) + "," + N(i * 1800 + 300) + ",0,50"; });
  rows("[Station]", 500, [](int i) {
    return "駅" + N(i) + ",0," + N(i * 1800) + ",300,1,2,3," + N(1080000 + i * 900) + ",90,0,0,5,30,1,50";
  });
  rows("[StopSound]", kOther, [](int i) { return N(i % 100); });
  rows("[Signal]", 250, [](int i) {
    return "0,0,0,3," + N(i * 3600 - 285) + "," + N(i * 3600 + 15) + "," + N(i * 3600 - 185) + "," +
           N(i * 3600 - 85) + ",0,0,0,0,320,120,0,0,0,0,0,0,0,0,0";
  });
  rows("[TrafficSignal]", kOther, [](int i) {
    std::string r = N(i * 1800) + "," + N(i * 1800 - 100) + "," + N(i * 1800 + 100);
    for (int k = 0; k < 6; ++k) r += "," + N(k) + ",30,0";
    return r + "," + N(i * 1800 - 300) + "," + N(i * 1800 - 50) + ",1,2,0";
  });
  rows("[Slope]", kOther, [](int i) { return N(i % 25) + ".5," + N(i * 1800) + "," + N(i * 1800 + 1800); });
  rows("[Sign]", kOther, [](int i) { return N(i % 10) + "," + N(i * 1800) + "," + N(i * 1800 + 90) + ",0"; });
  rows("[Anim]", kOther, [](int i) { return N(i * 1800) + "," + N(i * 1800 + 90) + ",2,0"; });
  rows("[SignalKanko]", kOther, [](int i) { return N(i % 250) + ",0," + N(i % 22) + ",0"; });
  rows("[StationKanko]", kOther, [](int i) { return N(i) + ",1," + N(i % 22); });
  rows("[SpeedLimit]", 250, [](int i) { return "45,3,5," + N(i * 3600 + 915) + "," + N(i * 3600 + 1500) + ",1"; });
  rows("[SpeedCheck1]", kOther, [](int i) { return "45,50," + N(i * 1800) + ",0"; });
  rows("[SpeedCheck2]", kOther, [](int i) { return "45,50," + N(i * 1800) + "," + N(i * 1800 + 300); });
  rows("[SpeedCheck3]", kOther, [](int i) { return "45,50," + N(i * 1800) + "," + N(i * 1800 + 300); });
  rows("[OtherKanko]", kOther, [](int i) { return "kanko\\o" + N(i) + ".wav"; });
  rows("[LimitKanko]", kOther, [](int i) { return "kanko\\l" + N(i) + ".wav"; });
  rows("[SpeedUnit]", 30000, [](int i) {
    return N(i * 30) + "," + N(i * 30 + 30) + "," + N(40 + i % 50) + "." + N(i % 10) + "," + N(40 + (i + 1) % 50) +
           "." + N((i + 1) % 10);
  });
  rows("[Cross]", kOther, [](int i) { return "1,3," + N(i * 1800) + "," + N(i * 1800 + 300) + ",0"; });
  rows("[Time]", 100, [](int i) { return N(i * 1800) + "," + N(i * 1800 + 300) + "," + N(1080000 + i * 900); });
  rows("[Switch]", 496, [](int i) { return N(i * 1800) + ",1"; });
  return t;
}

void CheckLoaded(benchmark::State& state, const TRouteTables& r) {
  if (r.SpeedUnits.Count() != 30000 || r.Stations.Count() != 500 || r.Signals.Count() != 250 ||
      r.Switches.Count() != 496) {
    state.SkipWithError("the route did not load completely");
  }
}

// From decoded text: splitting into lines, the key tests and the row conversions.
void BM_RouteParse(benchmark::State& state) {
  const std::string text = LargeRoute();
  for (auto _ : state) {
    DataFile file(text);
    TRouteTables r = ReadRouteFile(file, {});
    benchmark::DoNotOptimize(r.SpeedUnits[29999].ToSpeed);
    CheckLoaded(state, r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_RouteParse)->Unit(benchmark::kMillisecond);

// The whole load from a Shift-JIS file on disk, as the simulator window does it.
void BM_RouteLoadFile(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("kavrin-route-bench-" + std::to_string(getpid()) + ".dat");
  {
    std::string bytes = EncodeCp932(LargeRoute());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  for (auto _ : state) {
    TRouteTables r = LoadRouteFile(path.string(), {});
    benchmark::DoNotOptimize(r.SpeedUnits[29999].ToSpeed);
    CheckLoaded(state, r);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_RouteLoadFile)->Unit(benchmark::kMillisecond);

// Every frame of the route turned into centimetres, and the check points sorted.
void BM_RouteConvertFrames(benchmark::State& state) {
  DataFile file(LargeRoute());
  const TRouteTables read = ReadRouteFile(file, {});
  auto r = std::make_unique<TRouteTables>();
  for (auto _ : state) {
    state.PauseTiming();
    *r = read;
    state.ResumeTiming();
    std::vector<TCheckPointRec> points;
    ConvertFrames(*r, points);
    TCheckPoints sorted = BuildCheckPoints(std::move(points));
    benchmark::DoNotOptimize(sorted[0].Pos);
    if (sorted.Count() != 500) state.SkipWithError("the check points are not one per signal and limit");
  }
}
BENCHMARK(BM_RouteConvertFrames)->Unit(benchmark::kMillisecond);

// The route's part of the load as the simulator window does it: the Shift-JIS file read, then
// converted.
void BM_RouteLoadAndConvert(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("kavrin-route-bench-" + std::to_string(getpid()) + "-convert.dat");
  {
    std::string bytes = EncodeCp932(LargeRoute());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  for (auto _ : state) {
    TRouteTables r = LoadRouteFile(path.string(), {});
    std::vector<TCheckPointRec> points;
    ConvertFrames(r, points);
    TCheckPoints sorted = BuildCheckPoints(std::move(points));
    benchmark::DoNotOptimize(sorted[0].Pos);
    CheckLoaded(state, r);
    if (sorted.Count() != 500 || r.SpeedUnits[29999].EndPos <= 0) state.SkipWithError("the route did not convert");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_RouteLoadAndConvert)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kavrin

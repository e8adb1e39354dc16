#include "sound/load_sounds.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/load_error.h"
#include "core/paths.h"
#include "data/route_file.h"
#include "data/vehicle_params.h"
#include "sound/wav_seconds.h"

namespace kavrin {

namespace {

// Decodes each file once: routes name the same calling voice or melody under several indices.
class WaveFiles {
 public:
  explicit WaveFiles(WaveDecoder& decoder) : decoder_(decoder) {}

  // `bad` is the message of a file that exists but is no wave that plays.
  WavePtr Load(const std::string& path, const std::string& name, const std::string& bad) {
    auto it = cache_.find(path);
    if (it != cache_.end()) return it->second;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw LoadError(name + kWaveMissing);
    WavePtr wave = decoder_.Decode(path);
    if (!wave || wave->SampleRate <= 0 || wave->Frames() <= 0) throw LoadError(bad);
    cache_.emplace(path, wave);
    return wave;
  }

 private:
  WaveDecoder& decoder_;
  std::map<std::string, WavePtr> cache_;
};

std::string VehicleMessage(const char* group) { return std::string(kVehicleFileError) + group; }

std::string RouteMessage(const char* label, const std::string& line) {
  return std::string(kRouteFileError) + label + ":" + line;
}

// The bank has 320 channels and the calling channel comes last. The vehicle's lists are kept
// within their capacities by its reader, so an overflow names the first route sound that finds
// no channel.
void CheckLayout(const TChannelLayout& l, const TRouteTables& route) {
  const int32_t vehicle = l.DriveSoundCount + l.EngineSound1Count + l.EngineSound3Count;
  if (vehicle + 1 >= SoundBank::ChannelCount) throw LoadError(VehicleMessage("[DriveSound]"));
  if (l.KankoChannel() >= SoundBank::ChannelCount) {
    const int32_t first = SoundBank::ChannelCount - 2 - vehicle;
    throw LoadError(RouteMessage("[SoundData]", route.SoundData[first]));
  }
}

}  // namespace

void LoadSounds(const TSoundSources& src, SoundBank& bank, WaveDecoder& decoder, TSoundState& out,
                const std::function<void(const char*)>& status, const std::function<void()>& soundSecondsKnown) {
  const TVehicleTables& v = src.Vehicle;
  const TRouteTables& r = src.Route;
  TChannelLayout& l = out.Layout;
  l.DriveSoundCount = std::min(v.DriveSoundCount, kDriveSoundRows);
  l.SoundDataCount = r.SoundData.Count();
  l.EngineSound1Count = std::min(v.MotorSoundCount, kMotorSoundRows);
  l.EngineSound3Count = std::min(v.HensokuSoundCount, kHensokuSoundRows);
  WaveFiles files(decoder);
  auto vehicleWave = [&](const std::string& name, const char* group) -> WavePtr {
    if (name.empty()) return nullptr;
    return files.Load(ResolveDataPath(src.VehicleFolder, name), name, VehicleMessage(group));
  };
  auto routeWave = [&](const std::string& name, const char* label) -> WavePtr {
    if (name.empty()) return nullptr;
    return files.Load(ResolveDataPath(src.ProgramFolder, name), name, RouteMessage(label, name));
  };

  // The vehicle's running and equipment sounds.
  status("DirectSoundオブジェクトを作成しています(走行音)");
  CheckLayout(l, r);
  std::vector<WavePtr> drive(static_cast<size_t>(l.DriveSoundCount));
  for (int32_t i = 0; i < l.DriveSoundCount; ++i) drive[i] = vehicleWave(v.DriveSound[i], "[DriveSound]");

  // The route's sounds and their lengths.
  status("DirectSoundオブジェクトを作成しています(環境音)");
  out.SoundSeconds = {};
  std::vector<WavePtr> route(static_cast<size_t>(l.SoundDataCount));
  for (int32_t i = 0; i < l.SoundDataCount; ++i) {
    const std::string& name = r.SoundData[i];
    route[i] = routeWave(name, "[SoundData]");
    if (!name.empty()) out.SoundSeconds[i] = WavSeconds(ResolveDataPath(src.ProgramFolder, name));
  }

  // The start clock can be set as soon as the route sounds' lengths are known.
  if (soundSecondsKnown) soundSecondsKnown();

  // Calling voices and engine sounds.
  status("DirectSoundオブジェクトを作成しています(喚呼)");
  out.KankoVoices.assign(kKankoVoiceCapacity, nullptr);
  out.OtherKankoWaves.assign(kOtherKankoCapacity, nullptr);
  out.LimitKankoWaves.assign(kLimitKankoCapacity, nullptr);
  for (size_t k = 0; k < r.KankoSound1.size(); ++k) out.KankoVoices[k] = routeWave(r.KankoSound1[k], "[KankoSound1]");
  for (int32_t i = kFirstKanko2; i < r.KankoCount() && i < kKankoVoiceCapacity; ++i) {
    const std::string& name = r.KankoSound2[i].filename;
    if (!name.empty()) out.KankoVoices[i] = routeWave(name, "[KankoSound2]");
  }
  for (int32_t i = 0; i < r.OtherKanko.Count() && i < kOtherKankoCapacity; ++i)
    out.OtherKankoWaves[i] = routeWave(r.OtherKanko[i], "[OtherKanko]");
  for (int32_t i = 0; i < r.LimitKanko.Count() && i < kLimitKankoCapacity; ++i)
    out.LimitKankoWaves[i] = routeWave(r.LimitKanko[i], "[LimitKanko]");
  std::vector<WavePtr> engine1(static_cast<size_t>(l.EngineSound1Count));
  std::vector<WavePtr> engine3(static_cast<size_t>(l.EngineSound3Count));
  for (int32_t i = 0; i < l.EngineSound1Count; ++i) engine1[i] = vehicleWave(v.EngineSound1[i].index, "[EngineSound1]");
  for (int32_t i = 0; i < l.EngineSound3Count; ++i) engine3[i] = vehicleWave(v.EngineSound3[i].index, "[EngineSound3]");

  // The channels; an empty entry leaves its channel without data.
  status("サウンドを読み込んでいます");
  for (int32_t i = 0; i < l.DriveSoundCount; ++i) bank.SetWaveData(i, drive[i]);
  for (int32_t i = 0; i < l.SoundDataCount; ++i) bank.SetWaveData(l.RouteChannel(i), route[i]);
  for (int32_t i = 0; i < l.EngineSound1Count; ++i) bank.SetWaveData(l.EngineChannel1(i), engine1[i]);
  for (int32_t i = 0; i < l.EngineSound3Count; ++i) bank.SetWaveData(l.EngineChannel3(i), engine3[i]);

  // Every motor and gearbox level starts at full.
  out.MotorRowLevel.fill(1.0L);
  out.HensokuRowLevel.fill(1.0L);
  out.MotorLevel = 1.0L;
  out.HensokuLevel = 1.0L;

  // Nothing plays before the run starts, whatever the bank did when given its data.
  for (int c = 0; c < SoundBank::ChannelCount; ++c) {
    if (bank.HasWaveData(c)) bank.Stop(c);
  }
}

}  // namespace kavrin

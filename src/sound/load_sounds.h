#pragma once
// The sounds of a run put into the channel bank. The channel number is the only handle the rest
// of the program has, and the layout moves with the data: the vehicle's sounds first, then the
// route's, the two engine-sound lists, one unused channel and the calling-voice channel.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/route_tables.h"
#include "data/vehicle_tables.h"
#include "sound/sound_bank.h"

namespace kavrin {

inline constexpr int32_t kRouteSoundCapacity = 100;
inline constexpr int32_t kKankoVoiceCapacity = 500;
inline constexpr int32_t kOtherKankoCapacity = 1000;
inline constexpr int32_t kLimitKankoCapacity = 1000;
inline constexpr int32_t kEngineSoundRows = 100;

// The four counts that fix the channel layout.
struct TChannelLayout {
  int32_t DriveSoundCount = 0;
  int32_t SoundDataCount = 0;
  int32_t EngineSound1Count = 0;
  int32_t EngineSound3Count = 0;

  // Route sound k, and the first of each engine-sound list.
  int32_t RouteChannel(int32_t k) const { return DriveSoundCount + k; }
  int32_t EngineChannel1(int32_t i) const { return DriveSoundCount + SoundDataCount + i; }
  int32_t EngineChannel3(int32_t i) const { return DriveSoundCount + SoundDataCount + EngineSound1Count + i; }
  // Every calling voice is put on this channel just before it plays.
  int32_t KankoChannel() const { return DriveSoundCount + SoundDataCount + EngineSound1Count + EngineSound3Count + 1; }
};

struct TSoundState {
  TChannelLayout Layout;
  // Length of each route sound in whole seconds; read through RouteWaveSeconds, which gives 0
  // for an index the route does not have.
  std::array<int32_t, kRouteSoundCapacity + 1> SoundSeconds{};
  // The calling voices, bound to the calling channel only when played; empty where the route
  // names no file.
  std::vector<WavePtr> KankoVoices = std::vector<WavePtr>(kKankoVoiceCapacity);
  std::vector<WavePtr> OtherKankoWaves = std::vector<WavePtr>(kOtherKankoCapacity);
  std::vector<WavePtr> LimitKankoWaves = std::vector<WavePtr>(kLimitKankoCapacity);
  // Fade levels of the engine-sound rows and of the two lists, all 1 at load.
  std::array<long double, kEngineSoundRows> MotorRowLevel{};
  std::array<long double, kEngineSoundRows> HensokuRowLevel{};
  long double MotorLevel = 0;
  long double HensokuLevel = 0;
};

// Where the sound files are named and where their names are resolved.
struct TSoundSources {
  const TVehicleTables& Vehicle;
  std::string VehicleFolder;  // the vehicle's sounds
  const TRouteTables& Route;
  std::string ProgramFolder;  // the route's sounds and calling voices
};

inline constexpr const char* kWaveMissing = "が見つかりません";  // after the file name

// Loads every wave, fills SoundSeconds, binds the channels as the layout says and leaves every
// channel stopped. `status` is shown before each step; `soundSecondsKnown` runs as soon as the
// route sounds' lengths are known (the start clock needs them). Throws LoadError: the file name
// followed by kWaveMissing for a file that does not exist, the vehicle or route file's message
// for one that is no wave it can play and for a layout beyond the bank's channels.
void LoadSounds(const TSoundSources& sources, SoundBank& bank, WaveDecoder& decoder, TSoundState& out,
                const std::function<void(const char*)>& status, const std::function<void()>& soundSecondsKnown);

}  // namespace kavrin

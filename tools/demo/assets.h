#pragma once
// What the route files refer to by index or by name: the route sounds, the calling voices and
// the pictures. The route writer and the makers of sounds and pictures both read these lists,
// so an index in a route file always finds the file it means.
#include <string>
#include <vector>

#include "demo/line.h"

namespace kavrin::demo {

// Route sounds ("[SoundData]"), the same layout for every route of the line.
enum RouteSound : int {
  kStartChime = 0,     // played once the train stands at its first station
  kMelodyFirst = 1,    // departure melody of the first station
  kMelodySecond = 2,   // and of the second
  kArrivalSecond = 3,  // platform announcement on arriving at the second station
  kArrivalLast = 4,    // and at the terminal
  kPlatform = 5,       // platform murmur near the stop position
  kTunnel = 6,         // the roar inside the tunnel
  kCountry = 7,        // birds and wind before the tunnel
  kCrossingBell = 8,   // the level crossing's bell, a moving source
  kPassBell = 9,       // the passing station's warning chime
  kNextSecond = 10,    // "next is ..." after leaving the first station
  kNextLast = 11,      // and after leaving the second
  kWelcome = 12,       // the welcome, once the train has left the first station
  kOverrun = 13,       // said when the doors open after the stop has been put right
  kCarHum = 14,        // the car's own hum between the first and the last station
  kSoonLast = 15,      // "we shall soon arrive at ..."
  kOverrunStop = 16,   // said when the train has stopped past the stop position
  kRouteSoundCount = 17,
};

struct SoundFile {
  std::string File;  // relative to the program folder, with slashes
  std::string Speech;  // kana for the speech synthesiser; empty for a made sound
  std::string Synth;   // the made sound's name
};

// The route sounds of a route, by index.
std::vector<SoundFile> RouteSounds(const Route& route);
// "[KankoSound1]": exactly 22 voices, each fixed in meaning by its index.
std::vector<SoundFile> FixedVoices();
// "[KankoSound2]" rows: signal names, block numbers and the level crossing.
std::vector<SoundFile> ExtraVoices();
inline constexpr int kVoiceFirstBlock = 22 + 4;  // "だいいち" as a calling-voice index
inline constexpr int kVoiceCrossing = 22 + 6;
std::vector<SoundFile> SignVoices();   // "[OtherKanko]", by sign cell
std::vector<SoundFile> LimitVoices();  // "[LimitKanko]", by board cell
// Everything above, without repeats.
std::vector<SoundFile> AllLineSounds(const std::vector<Route>& routes);

// Pictures the route files name (slashes; the writer turns them into backslashes).
struct RoutePictures {
  std::string Staf, Start, Sub;
  std::string StopMarker, StopLineS, StopLineM, StopLineE, Slope, Limit, Remain, Cross, Other;
  std::string Signal, SubS, SubL, SubR;
};
RoutePictures PicturesOf(const Route& route);
inline constexpr int kSignSize = 64;       // cells of the sign pictures
inline constexpr int kStopLineHeight = 4;  // the stop lines' strips
inline constexpr int kSignalCellW = 40, kSignalCellH = 112;
inline constexpr int kPlateW = 96, kPlateH = 24;
inline constexpr int kSignalCells = 43;  // the empty cell and pictures 1 to 42

// Cells of the sign pictures.
inline constexpr int kCrossNotWorking = 1, kCrossWorking = 2;

// File names of the routes and films.
std::string RouteFileName(Dir dir, bool diesel);
std::string FilmBaseName(Dir dir);  // "[DataName]": line_1_down
std::string InsertBaseName(const Route& route, const RouteInsert& insert);  // line_1_down_sakuradai

}  // namespace kavrin::demo

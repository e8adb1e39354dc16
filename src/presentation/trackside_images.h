#pragma once
// The route's trackside pictures: the stop-position target and lines, the gradient post, the
// limit board, the remaining-distance scale, the level-crossing lamps, a general sign, the signal
// with its three sub-signals and the train's monitor. They become named entries of the cab
// view's picture list and sprites with fixed places, depths and transparency; the tick logic
// later only shows, hides and moves them and picks their cells.
#include <cstdint>
#include <string>

#include "data/route_file.h"
#include "core/picture.h"
#include "presentation/picture_list.h"
#include "presentation/sprites.h"

namespace kavrin {

// kNoSprite for every picture the route does not name: the tick logic tests each before use.
struct TTracksideSprites {
  SpriteId StopMarker = kNoSprite;   // "img_unten_teimoku"
  SpriteId StopLineS = kNoSprite;    // "img_unten_teimokuS"
  SpriteId StopLineM = kNoSprite;    // "img_unten_teimokuM"
  SpriteId StopLineE = kNoSprite;    // "img_unten_teimokuE"
  SpriteId SlopeSign = kNoSprite;    // "img_unten_slope"
  SpriteId LimitSign = kNoSprite;    // "img_unten_limit"
  SpriteId RemainScale = kNoSprite;  // "img_unten_remain"
  SpriteId CrossLamp1 = kNoSprite;   // both on "img_unten_cross"
  SpriteId CrossLamp2 = kNoSprite;
  SpriteId OtherSign = kNoSprite;    // "img_unten_other"
  SpriteId SignalSprite = kNoSprite; // "img_unten_signal"
  SpriteId SubSignalS = kNoSprite;   // "img_unten_signal_S"
  SpriteId SubSignalL = kNoSprite;   // "img_unten_signal_L"
  SpriteId SubSignalR = kNoSprite;   // "img_unten_signal_R"
  SpriteId MonitorSprite = kNoSprite;  // "img_mon"
};

inline constexpr int32_t kAnimCellWidth = 100;
inline constexpr int32_t kAnimCellHeight = 75;

struct TTracksideImages {
  TTracksideSprites Sprites;
  // Added to each signal row's own coordinates when the signal and its sub-signals are placed.
  int32_t SignalOffsetX = 0;
  int32_t SignalOffsetY = 0;
  // Pictures of "[AnimImageList]" and "[TrafficSignalImageList]", in cells of 100 x 75. No
  // sprite draws from them.
  PictureList AnimImageList;
  PictureList TrafficsignalImageList;
};

// The trackside sprites as a run starts: the second level-crossing lamp shows the other cell, so
// the two alternate.
void StartTracksideSprites(TCabView& view, const TTracksideImages& trackside);

// Makes the pictures as the route reader meets their lines. Picture files are relative to the
// program folder; positions are fractions of the film picture's size.
class TracksideImageReader : public RouteImageReader {
 public:
  TracksideImageReader(std::string programFolder, int32_t screenWidth, int32_t screenHeight, PictureLoader& loader,
                       TCabView& view, TTracksideImages& out);

  // A line that fails (a picture that cannot be loaded, a size that is no number or is negative)
  // throws LoadError with that line's own message ("停目の生成エラー" ...).
  void SignImage(int line, const std::string& text) override;
  void SignalImage(int line, const std::string& text) override;
  // These throw ValueError, which the route reader turns into its own message.
  void Monitor(int32_t x, int32_t y, int32_t w, int32_t h, const std::string& file) override;
  void AnimImage(const std::string& file) override;
  void TrafficSignalImage(const std::string& file) override;

 private:
  void AppendCells(PictureList& list, const std::string& file);

  std::string folder_;
  int32_t width_, height_;
  PictureLoader& loader_;
  TCabView& view_;
  TTracksideImages& out_;
  // Entries of the picture lines: 9 sign lines, 4 signal lines, the monitor.
  int32_t signEntries_[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
  int32_t signalEntries_[4] = {-1, -1, -1, -1};
  int32_t monitorEntry_ = -1;
};

}  // namespace kavrin

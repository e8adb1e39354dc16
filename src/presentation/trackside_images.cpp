#include "presentation/trackside_images.h"

#include <optional>
#include <utility>

#include "core/load_error.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/rounding.h"
#include "core/text.h"
#include "data/data_file.h"

namespace kavrin {

namespace {

struct SignLine {
  const char* picture;
  const char* error;
};

// "[SignImageList]" lines 1 to 9.
constexpr SignLine kSignLines[9] = {
    {"img_unten_teimoku", "停目の生成エラー"},
    {"img_unten_teimokuS", "停止線Sの生成エラー"},
    {"img_unten_teimokuM", "停止線Mの生成エラー"},
    {"img_unten_teimokuE", "停止線Eの生成エラー"},
    {"img_unten_slope", "勾配標の生成エラー"},
    {"img_unten_limit", "制限標の生成エラー"},
    {"img_unten_remain", "残り距離表示の生成エラー"},
    {"img_unten_cross", "踏切表示灯の生成エラー"},
    {"img_unten_other", "その他標識の生成エラー"},
};

// "[SignalImageList]" lines 1 to 4.
constexpr SignLine kSignalLines[4] = {
    {"img_unten_signal", "信号機の生成エラー"},
    {"img_unten_signal_S", "サブ信号機0の生成エラー"},
    {"img_unten_signal_L", "サブ信号機1の生成エラー"},
    {"img_unten_signal_R", "サブ信号機2の生成エラー"},
};

// A size in pixels. A negative one would make a sprite of negative extent, which nothing can
// draw; it fails like a size that is no number.
std::optional<int32_t> Size(const std::string& field) {
  std::optional<int32_t> v = ParseInt(field);
  if (!v || *v < 0) return std::nullopt;
  return v;
}

// Places that are fractions of the film picture, halves to even.
double Fraction(int32_t size, long double f) { return static_cast<double>(Round(size * f)); }

TSprite SpriteAt(int32_t image, double x, double y, int32_t z, int32_t w, int32_t h) {
  TSprite s;
  s.Image = image;
  s.X = x;
  s.Y = y;
  s.Z = z;
  s.Width = w;
  s.Height = h;
  return s;
}

}  // namespace

TracksideImageReader::TracksideImageReader(std::string programFolder, int32_t screenWidth, int32_t screenHeight,
                                           PictureLoader& loader, TCabView& view, TTracksideImages& out)
    : folder_(std::move(programFolder)),
      width_(screenWidth),
      height_(screenHeight),
      loader_(loader),
      view_(view),
      out_(out) {}

void TracksideImageReader::SignImage(int line, const std::string& text) {
  if (line < 1 || line > 9) return;
  const SignLine& l = kSignLines[line - 1];
  const std::optional<int32_t> size = Size(CsvField(text, 2));
  if (!size) throw LoadError(l.error);
  const int32_t s = *size;
  const std::string path = ResolveDataPath(folder_, CsvField(text, 1));
  // The stop lines are drawn whole and unkeyed; the scale keeps the black key of a new entry.
  const bool stopLine = line >= 2 && line <= 4;
  const bool remain = line == 7;
  const int32_t cellW = stopLine ? 0 : s;
  const int32_t cellH = stopLine ? 0 : remain ? 2 * height_ : s;
  std::optional<TPictureEntry> entry = LoadPictureEntry(loader_, path, l.picture, !stopLine && !remain, cellW, cellH);
  if (!entry) throw LoadError(l.error);
  if (remain) {
    entry->Transparent = true;
    entry->TransparentColor = Rgb{};
  }
  const int32_t image = PutPictureEntry(view_, signEntries_[line - 1], std::move(*entry));

  TTracksideSprites& sp = out_.Sprites;
  const double lampY = Fraction(height_, 0.4L);
  switch (line) {
    case 1:
      PutSprite(view_, sp.StopMarker, SpriteAt(image, width_ - s, 0, 100, s, s));
      break;
    case 2:
    case 3:
    case 4: {
      TSprite stop = SpriteAt(image, 0, 0, 100, width_, s);
      stop.Alpha = 64;
      PutSprite(view_, line == 2 ? sp.StopLineS : line == 3 ? sp.StopLineM : sp.StopLineE, stop);
      break;
    }
    case 5:
      PutSprite(view_, sp.SlopeSign, SpriteAt(image, Fraction(width_, 0.825L), Fraction(height_, 0.55L), 100, s, s));
      break;
    case 6:
      PutSprite(view_, sp.LimitSign, SpriteAt(image, Fraction(width_, 0.825L), Fraction(height_, 0.35L), 100, s, s));
      break;
    case 7:
      PutSprite(view_, sp.RemainScale, SpriteAt(image, width_ - s, 0, 100, s, 2 * height_));
      break;
    case 8:
      PutSprite(view_, sp.CrossLamp1, SpriteAt(image, 0, lampY, 100, s, s));
      PutSprite(view_, sp.CrossLamp2, SpriteAt(image, 0, lampY, 100, s, s));
      break;
    case 9:
      PutSprite(view_, sp.OtherSign, SpriteAt(image, 0, lampY, 100, s, s));
      break;
  }
}

void TracksideImageReader::SignalImage(int line, const std::string& text) {
  if (line < 1 || line > 4) return;
  const SignLine& l = kSignalLines[line - 1];
  // Line 1 puts the signal's offset in front of the size and the file.
  const int first = line == 1 ? 3 : 1;
  std::optional<int32_t> offsetX, offsetY;
  if (line == 1) {
    offsetX = ParseInt(CsvField(text, 1));
    offsetY = ParseInt(CsvField(text, 2));
    if (!offsetX || !offsetY) throw LoadError(l.error);
  }
  const std::optional<int32_t> w = Size(CsvField(text, first));
  const std::optional<int32_t> h = Size(CsvField(text, first + 1));
  if (!w || !h) throw LoadError(l.error);
  std::optional<TPictureEntry> entry =
      LoadPictureEntry(loader_, ResolveDataPath(folder_, CsvField(text, first + 2)), l.picture, true, *w, *h);
  if (!entry) throw LoadError(l.error);
  const int32_t image = PutPictureEntry(view_, signalEntries_[line - 1], std::move(*entry));

  TTracksideSprites& sp = out_.Sprites;
  switch (line) {
    case 1:
      out_.SignalOffsetX = *offsetX;
      out_.SignalOffsetY = *offsetY;
      PutSprite(view_, sp.SignalSprite, SpriteAt(image, 0, 0, 100, *w, *h));
      break;
    case 2:
      PutSprite(view_, sp.SubSignalS, SpriteAt(image, 0, 0, 101, *w, *h));
      break;
    case 3:
      PutSprite(view_, sp.SubSignalL, SpriteAt(image, 0, 0, 100, *w, *h));
      break;
    case 4:
      PutSprite(view_, sp.SubSignalR, SpriteAt(image, 0, 0, 100, *w, *h));
      break;
  }
}

void TracksideImageReader::Monitor(int32_t x, int32_t y, int32_t w, int32_t h, const std::string& file) {
  if (file.empty()) return;
  std::optional<TPictureEntry> entry = LoadPictureEntry(loader_, ResolveDataPath(folder_, file), "img_mon", true, w, h);
  if (!entry) throw ValueError{};
  const int32_t image = PutPictureEntry(view_, monitorEntry_, std::move(*entry));
  const TPictureEntry* e = view_.ImageList1.Get(image);
  PutSprite(view_, out_.Sprites.MonitorSprite, SpriteAt(image, x, y, 51, e->CellWidth(), e->CellHeight()));
}

void TracksideImageReader::AppendCells(PictureList& list, const std::string& file) {
  std::optional<TPictureEntry> entry =
      LoadPictureEntry(loader_, ResolveDataPath(folder_, file), file, false, kAnimCellWidth, kAnimCellHeight);
  if (!entry) throw ValueError{};
  list.Add(std::move(*entry));
}

void TracksideImageReader::AnimImage(const std::string& file) { AppendCells(out_.AnimImageList, file); }

void TracksideImageReader::TrafficSignalImage(const std::string& file) {
  AppendCells(out_.TrafficsignalImageList, file);
}

void StartTracksideSprites(TCabView& view, const TTracksideImages& trackside) {
  if (TSprite* lamp = view.DXSpriteEngine1.Get(trackside.Sprites.CrossLamp2)) lamp->AnimStart = 1;
}

}  // namespace kavrin

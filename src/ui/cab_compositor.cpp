#include "ui/cab_compositor.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

// The window background of the clock picture; keyed out, so only the hands show.
const QColor kButtonFace(240, 240, 240);

QImage Keyed(const TPictureEntry& e) {
  QImage img = ToQImage(e.Bitmap).convertToFormat(QImage::Format_ARGB32);
  if (e.Transparent) {
    const QRgb key = qRgb(e.TransparentColor.R, e.TransparentColor.G, e.TransparentColor.B);
    for (int y = 0; y < img.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
      }
    }
  }
  return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

void CabOverlay::DrawOnFilm(QPainter&, const Sim&) {}

QImage ToQImage(const Picture& picture) {
  if (picture.Empty() ||
      picture.Rgba.size() != static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height) * 4) {
    return {};
  }
  return QImage(picture.Rgba.data(), picture.Width, picture.Height, picture.Width * 4, QImage::Format_RGBA8888)
      .copy();
}

const QImage& CabCompositor::Keyed(const PictureList& list, int32_t index) {
  // Entries are only appended, so the cache grows with the list.
  while (static_cast<int32_t>(keyed_.size()) < list.Count()) {
    keyed_.push_back(kavrin::Keyed(*list.Get(static_cast<int32_t>(keyed_.size()))));
  }
  static const QImage kNone;
  return index >= 0 && index < static_cast<int32_t>(keyed_.size()) ? keyed_[static_cast<size_t>(index)] : kNone;
}

const QImage& CabCompositor::Film(const Sim& sim) {
  const TFilmState& f = sim.film;
  if (f.PictureSerial != filmSerial_) {
    filmSerial_ = f.PictureSerial;
    const FilmFrame& fr = f.PictureBitmap;
    if (fr.Width > 0 && fr.Height > 0 && fr.Rgba.size() == static_cast<size_t>(fr.Width) * fr.Height * 4) {
      film_ = QImage(fr.Rgba.data(), fr.Width, fr.Height, fr.Width * 4, QImage::Format_RGBA8888)
                  .convertToFormat(QImage::Format_RGB32);
    } else {
      film_ = QImage();
    }
  }
  return film_;
}

void CabCompositor::DrawSprites(QPainter& p, const Sim& sim) {
  const PictureList& list = sim.view.ImageList1;
  const SpriteEngine& engine = sim.view.DXSpriteEngine1;
  for (SpriteId id : engine.DrawOrder()) {
    const TSprite& s = *engine.Get(id);
    if (!s.Visible || s.Alpha <= 0) continue;
    const TPictureEntry* e = list.Get(s.Image);
    if (!e) continue;
    const std::optional<CellRect> cell = e->Cell(s.AnimStart);
    if (!cell) continue;
    const QImage& img = Keyed(list, s.Image);
    if (img.isNull()) continue;
    const QRect src(cell->X, cell->Y, cell->Width, cell->Height);
    p.setOpacity(std::min(s.Alpha, 255) / 255.0);
    if (s.Angle == 0) {
      p.drawImage(QRectF(s.X, s.Y, s.Width, s.Height), img, src);
    } else {
      // Turned about the centre of its rectangle, the picture at its own size.
      p.save();
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.translate(s.X + s.Width / 2.0, s.Y + s.Height / 2.0);
      p.rotate(s.Angle * 360.0 / 1024.0);
      p.drawImage(QPointF(-cell->Width / 2.0, -cell->Height / 2.0), img, src);
      p.restore();
    }
  }
  p.setOpacity(1);
}

void CabCompositor::DrawClock(QPainter& p, const Sim& sim) {
  const TCabPanel& panel = sim.vehicle.Panel;
  if (!panel.DrawsClock()) return;
  const TClockState& c = sim.clock;
  if (clock_.isNull() || clockSecond_ != c.LastSecond) {
    clockSecond_ = c.LastSecond;
    QImage face(kClockSize, kClockSize, QImage::Format_ARGB32);
    face.fill(kButtonFace);
    {
      QPainter cp(&face);
      cp.setRenderHint(QPainter::Antialiasing, false);
      cp.setPen(QPen(Qt::black, 1));
      const QPointF centre(25, 25);
      for (const THandEnd& h : {c.HourHand, c.MinuteHand, c.SecondHand}) {
        cp.drawLine(centre, QPointF(static_cast<double>(h.X), static_cast<double>(h.Y)));
      }
    }
    // The face's own colour, read from its top-left pixel, is the key.
    const QRgb key = face.pixel(0, 0);
    for (int y = 0; y < face.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(face.scanLine(y));
      for (int x = 0; x < face.width(); ++x) {
        if (line[x] == key) line[x] = 0;
      }
    }
    clock_ = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  p.drawImage(QPoint(panel.ClockX, panel.ClockY), clock_);
}

void CabCompositor::Compose(QImage& surface, const Sim& sim, CabOverlay* overlay) {
  surface.fill(Qt::black);
  QPainter p(&surface);
  const QImage& film = Film(sim);
  if (!film.isNull()) p.drawImage(QPoint(0, 0), film);
  if (overlay) {
    p.save();
    p.setClipRect(QRect(QPoint(0, 0), film.isNull() ? surface.size() : film.size()));
    overlay->DrawOnFilm(p, sim);
    p.restore();
  }
  DrawSprites(p, sim);
  DrawClock(p, sim);
}

void CabCompositor::ComposeStill(QImage& surface, const Sim& sim) {
  if (!loaded_) {
    loaded_ = true;
    still_ = ToQImage(sim.derived.StillPicture);
  }
  surface.fill(Qt::black);
  QPainter p(&surface);
  DrawSprites(p, sim);
  if (!still_.isNull()) p.drawImage(QPoint(0, 0), still_);
}

QSize CabCompositor::CanvasSize(const Sim& sim) {
  const TLoadDerived& d = sim.derived;
  const int left = d.StafLeft;
  int w = kWidth, h = kHeight;
  if (!d.StafPicture.Empty()) w = std::max(w, left + d.StafPicture.Width);
  if (!d.SubPicture.Empty()) w = std::max(w, left + d.SubPicture.Width);
  h = std::max(h, std::max(d.StafPicture.Height, 0) + std::max(d.SubPicture.Height, 0));
  return {w, h};
}

void CabCompositor::ComposeCanvas(QImage& canvas, const QImage& surface, const Sim& sim) {
  const QSize size = CanvasSize(sim);
  if (canvas.size() != size) canvas = QImage(size, QImage::Format_RGB32);
  if (staf_.isNull() && sub_.isNull()) {
    staf_ = ToQImage(sim.derived.StafPicture);
    sub_ = ToQImage(sim.derived.SubPicture);
  }
  canvas.fill(Qt::black);
  QPainter p(&canvas);
  p.drawImage(QPoint(0, sim.keys.CabSurfaceTop), surface);
  const int left = sim.derived.StafLeft;
  if (!staf_.isNull()) p.drawImage(QPoint(left, 0), staf_);
  if (!sub_.isNull()) p.drawImage(QPoint(left, staf_.isNull() ? 0 : staf_.height()), sub_);
}

}  // namespace kavrin

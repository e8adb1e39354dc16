#pragma once
// Paints what a pass of the run built: the film picture, the sprites in depth order with their
// cells, alpha and angle, and the clock's hands, onto the 800 x 880 cab surface; and the window
// canvas around it. It holds no rules of its own: every position, cell, angle and visibility
// comes from the run's state.
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "app/sim.h"

namespace kavrin {

// Text and trackside items drawn on the film picture before the sprites.
class CabOverlay {
 public:
  virtual ~CabOverlay() = default;
  // `p` paints on the film picture, clipped to it.
  virtual void DrawOnFilm(QPainter& p, const Sim& sim);
};

class CabCompositor {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 880;
  static constexpr int kClockSize = 50;

  // One pass's view: black, the film picture opaque at (0, 0), the overlay on it, the visible
  // sprites in increasing Z, then the clock's hands.
  void Compose(QImage& surface, const Sim& sim, CabOverlay* overlay = nullptr);
  // What a paused run shows: black, the sprites, then the still picture over them.
  void ComposeStill(QImage& surface, const Sim& sim);

  // The window's canvas: the cab surface at (0, CabSurfaceTop), the timetable card at
  // (StafLeft, 0) and the side picture below it.
  static QSize CanvasSize(const Sim& sim);
  void ComposeCanvas(QImage& canvas, const QImage& surface, const Sim& sim);

  // The picture list's entries with their colour key as transparency, made once per entry.
  const QImage& Keyed(const PictureList& list, int32_t index);

 private:
  void DrawSprites(QPainter& p, const Sim& sim);
  void DrawClock(QPainter& p, const Sim& sim);
  const QImage& Film(const Sim& sim);

  std::vector<QImage> keyed_;
  QImage film_;
  int64_t filmSerial_ = -1;
  QImage clock_;
  int32_t clockSecond_ = -2;
  QImage still_, staf_, sub_;
  bool loaded_ = false;
};

// A picture of the core as an image that shares nothing with it.
QImage ToQImage(const Picture& picture);

}  // namespace kavrin

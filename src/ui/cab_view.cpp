#include "ui/cab_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kavrin {

namespace {

// A return arrow on a dark plate, drawn once.
QImage BackPicture() {
  QImage img(CabView::kBackSize, CabView::kBackSize, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(48, 48, 48));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(230, 230, 230), 2));
  QPainterPath arrow;
  arrow.moveTo(15, 6);
  arrow.lineTo(15, 13);
  arrow.lineTo(6, 13);
  p.drawPath(arrow);
  p.drawLine(6, 13, 9, 10);
  p.drawLine(6, 13, 9, 16);
  return img;
}

}  // namespace

CabView::CabView(QWidget* parent)
    : QWidget(parent), surface_(kWidth, kHeight, QImage::Format_RGB32), back_(BackPicture()) {
  surface_.fill(Qt::black);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 220);
  setFocusPolicy(Qt::StrongFocus);
}

QRect CabView::SurfaceRect() const {
  const QSize shown = canvas_.isNull() ? surface_.size() : canvas_.size();
  QSize scaled = shown.scaled(size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2), scaled);
}

QRect CabView::BackRect() const {
  QRect s = SurfaceRect();
  return QRect(s.right() - kBackSize + 1, s.bottom() - kBackSize + 1, kBackSize, kBackSize);
}

void CabView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(SurfaceRect(), canvas_.isNull() ? surface_ : canvas_);
  p.drawImage(BackRect().topLeft(), back_);
}

void CabView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (BackRect().contains(event->position().toPoint())) {
    if (onBackClick) onBackClick();
  } else if (SurfaceRect().contains(event->position().toPoint())) {
    if (onCabClick) onCabClick();
  }
}

}  // namespace kavrin

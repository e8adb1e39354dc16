#include "demo/pictures.h"

#include <QPainter>
#include <QPen>

#include <filesystem>
#include <stdexcept>

namespace kavrin::demo {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QFont DemoFont(double pixels, bool bold) {
  QFont f;
  f.setFamilies({"IPAexGothic", "IPAGothic", "Noto Sans CJK JP"});
  f.setPixelSize(std::max(1, static_cast<int>(pixels + 0.5)));
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

void DrawFitted(QPainter& p, const QRectF& rect, const QString& text, double pixels, const QColor& colour, bool bold,
                Qt::Alignment align) {
  QFont f = DemoFont(pixels, bold);
  p.setFont(f);
  const double w = p.fontMetrics().horizontalAdvance(text);
  if (w > rect.width() && w > 0) {
    f = DemoFont(pixels * rect.width() / w, bold);
    p.setFont(f);
  }
  p.setPen(colour);
  p.drawText(rect, static_cast<int>(align), text);
}

QImage TextBoard(int w, int h, const QString& line1, const QString& line2, const QColor& ink, const QColor& paper) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(paper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), std::max(2, w / 30)));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1, 1, w - 2, h - 2));
  if (line2.isEmpty()) {
    DrawFitted(p, QRectF(w * 0.08, h * 0.08, w * 0.84, h * 0.84), line1, h * 0.62, ink, true);
  } else {
    DrawFitted(p, QRectF(w * 0.08, h * 0.06, w * 0.84, h * 0.5), line1, h * 0.42, ink, true);
    DrawFitted(p, QRectF(w * 0.08, h * 0.55, w * 0.84, h * 0.38), line2, h * 0.3, ink, true);
  }
  return img;
}

void SavePicture(const QImage& image, const std::string& path) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  const std::string ext = p.extension().string();
  bool ok = false;
  if (ext == ".jpg") {
    ok = image.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(path), "JPG", 90);
  } else if (ext == ".bmp") {
    ok = image.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path), "BMP");
  } else {
    ok = image.save(QString::fromStdString(path), "PNG");
  }
  if (!ok) throw std::runtime_error("cannot write the picture " + path);
}

}  // namespace kavrin::demo

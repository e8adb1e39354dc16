// The boards that stand in the films, drawn once per route.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "demo/assets.h"
#include "demo/film_render.h"
#include "demo/pictures.h"

namespace kavrin::demo {

namespace {

QImage NameBoard(const Route& r, size_t i) {
  const RouteStation& s = r.Stations[i];
  QImage img(400, 120, QImage::Format_ARGB32);
  img.fill(QColor(252, 252, 250));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFitted(p, QRectF(0, 2, 400, 22), Q(s.Kana), 18, QColor(40, 40, 40));
  DrawFitted(p, QRectF(20, 18, 360, 52), Q(s.Name), 48, QColor(10, 10, 10), true);
  DrawFitted(p, QRectF(0, 68, 400, 18), Q(s.Roman), 16, QColor(60, 60, 60));
  p.fillRect(QRectF(0, 88, 400, 32), QColor(30, 90, 170));
  if (i > 0) DrawFitted(p, QRectF(8, 90, 180, 28), "← " + Q(r.Stations[i - 1].Name), 18, Qt::white, false, Qt::AlignLeft | Qt::AlignVCenter);
  if (i + 1 < r.Stations.size()) {
    DrawFitted(p, QRectF(212, 90, 180, 28), Q(r.Stations[i + 1].Name) + " →", 18, Qt::white, false, Qt::AlignRight | Qt::AlignVCenter);
  }
  p.setPen(QPen(QColor(90, 90, 90), 3));
  p.drawRect(QRectF(1, 1, 398, 118));
  return img;
}

QString Permille(double g) {
  const double a = std::fabs(g);
  QString n = std::fmod(a, 1.0) == 0 ? QString::number(static_cast<int>(a)) : QString::number(a, 'f', 1);
  return (g > 0 ? "上" : "下") + n + "‰";
}

QImage Hills() {
  const int w = 2048, h = 64;
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  auto ridge = [&](double base, double amp, double phase, const QColor& c) {
    QPainterPath path;
    path.moveTo(0, h);
    for (int x = 0; x <= w; x += 8) {
      const double t = x * 2 * M_PI / w;
      const double y = base - amp * (0.5 * std::sin(3 * t + phase) + 0.3 * std::sin(7 * t + 2 * phase) + 0.2 * std::sin(17 * t + phase));
      path.lineTo(x, y);
    }
    path.lineTo(w, h);
    path.closeSubpath();
    p.fillPath(path, c);
  };
  ridge(34, 26, 0.3, QColor(150, 172, 190));
  ridge(46, 16, 1.9, QColor(104, 130, 98));
  p.fillRect(QRectF(0, h - 8, w, 8), QColor(128, 150, 96));
  return img;
}

}  // namespace

SceneBoards MakeSceneBoards(const Route& r) {
  SceneBoards b;
  for (size_t i = 0; i < r.Stations.size(); ++i) b.NameBoards.push_back(NameBoard(r, i));
  b.StopBoard = TextBoard(100, 100, "停止", "位置", QColor(200, 20, 20));
  for (const RouteLimit& l : r.Limits) {
    b.LimitBoards[l.Board] = TextBoard(100, 100, QString::number(l.Speed), "", QColor(10, 10, 10));
    b.LimitBoards[l.Release] = TextBoard(100, 100, "解除", QString::number(l.Speed), QColor(10, 10, 10));
  }
  for (const RouteSlope& s : r.Slopes) b.GradientBoards.push_back(TextBoard(100, 72, Permille(s.Permille), "", QColor(10, 10, 10)));
  b.LevelBoard = TextBoard(100, 72, "L", "", QColor(10, 10, 10));
  for (const RouteSign& s : r.Signs) {
    b.SignBoards[s.Cell] = s.Cell == 1 ? TextBoard(100, 100, "汽笛", "", QColor(10, 10, 10))
                                       : TextBoard(100, 100, "停車場", "接近", QColor(10, 10, 10), QColor(250, 220, 60));
  }
  for (const KmPost& k : r.KmPosts) b.KmBoards.push_back(TextBoard(40, 48, Q(k.Text), "", QColor(10, 10, 10)));
  b.Hills = Hills();
  return b;
}

}  // namespace kavrin::demo

#include "demo/route_pictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <vector>

#include "demo/assets.h"
#include "demo/film_render.h"
#include "demo/pictures.h"

namespace kavrin::demo {

namespace {

// The colour that a picture's bottom-left pixel makes transparent. Magenta, since signal heads
// and the ink of boards are black.
const QColor kKey(255, 0, 255);
const QColor kInk(16, 16, 16);

// A strip of equal cells side by side, cell 0 left empty in the key colour.
QImage Cells(int w, int h, int count, const std::function<void(QPainter&, int, const QRectF&)>& draw, const QColor& key = kKey) {
  QImage img(w * count, h, QImage::Format_RGB32);
  img.fill(key);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 1; i < count; ++i) {
    p.save();
    draw(p, i, QRectF(i * w, 0, w, h));
    p.restore();
  }
  return img;
}

void Board(QPainter& p, const QRectF& r, const QColor& paper) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(paper);
  p.drawRoundedRect(r, 3, 3);
}

QString Permille(double g) {
  const double a = std::fabs(g);
  QString n = std::fmod(a, 1.0) == 0 ? QString::number(static_cast<int>(a)) : QString::number(a, 'f', 1);
  return n;
}

// A gradient post: a white arm tilted the way the line goes, with its figure.
void GradientPost(QPainter& p, const QRectF& c, double permille) {
  const double cx = c.center().x();
  p.fillRect(QRectF(cx - 3, c.top() + 30, 6, c.height() - 32), QColor(230, 230, 226));
  p.save();
  p.translate(cx, c.top() + 24);
  if (permille != 0) p.rotate(permille > 0 ? -14 : 14);
  Board(p, QRectF(-28, -12, 56, 24), QColor(250, 250, 246));
  DrawFitted(p, QRectF(-26, -11, 52, 22), permille == 0 ? QString("L") : Permille(permille), 20, kInk, true);
  p.restore();
}

QImage SignalPicture() {
  // 43 cells in rows of eight, every cell a head on the key colour. Lamps from the top:
  // three-lamp heads G Y R; four-lamp heads Y G R Y; five-lamp heads Y G Y R Y.
  enum L { Off = 0, R = 1, Y = 2, G = 3 };
  struct Head { int lamps; std::vector<int> lit; };  // lit: colour per lamp from the top
  auto three = [](int r, int y, int g) { return Head{3, {g ? G : Off, y ? Y : Off, r ? R : Off}}; };
  auto four = [](int y1, int g, int r, int y2) { return Head{4, {y1 ? Y : Off, g ? G : Off, r ? R : Off, y2 ? Y : Off}}; };
  auto five = [](int y1, int g, int y2, int r, int y3) {
    return Head{5, {y1 ? Y : Off, g ? G : Off, y2 ? Y : Off, r ? R : Off, y3 ? Y : Off}};
  };
  auto fourG = [](int g1, int y, int r, int g2) { return Head{4, {g1 ? G : Off, y ? Y : Off, r ? R : Off, g2 ? G : Off}}; };
  std::vector<Head> heads(kSignalCells);
  // 1 to 3: the repeater, drawn apart. 4 to 6: yellow, yellow-green, green.
  heads[4] = four(0, 0, 0, 1);
  heads[5] = four(1, 1, 0, 0);
  heads[6] = four(0, 1, 0, 0);
  heads[7] = three(1, 0, 0), heads[8] = three(0, 1, 0), heads[9] = three(0, 0, 1);
  heads[10] = three(1, 0, 0), heads[11] = three(0, 1, 0), heads[12] = three(0, 0, 1);
  heads[13] = four(0, 0, 1, 0), heads[14] = four(0, 0, 0, 1), heads[15] = four(1, 1, 0, 0), heads[16] = four(0, 1, 0, 0);
  heads[17] = four(0, 0, 1, 0), heads[18] = four(1, 0, 0, 1), heads[19] = four(0, 0, 0, 1), heads[20] = four(0, 1, 0, 0);
  heads[21] = five(0, 0, 0, 1, 0), heads[22] = five(1, 0, 0, 0, 1), heads[23] = five(0, 0, 1, 0, 0);
  heads[24] = five(1, 1, 0, 0, 0), heads[25] = five(0, 1, 0, 0, 0);
  heads[26] = fourG(0, 0, 1, 0), heads[27] = fourG(0, 1, 0, 0), heads[28] = fourG(1, 0, 0, 0), heads[29] = fourG(1, 0, 0, 1);
  heads[30] = fourG(0, 0, 1, 0), heads[31] = fourG(0, 1, 0, 0), heads[32] = Head{4, {Y, G, Off, Off}};
  heads[33] = fourG(1, 0, 0, 0), heads[34] = fourG(1, 0, 0, 1);
  const int w = kSignalCellW, h = kSignalCellH, perRow = 8;
  const int rows = (kSignalCells + perRow - 1) / perRow;
  QImage img(w * perRow, h * rows, QImage::Format_RGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  static const char* kCab[] = {"×", "15", "25", "45", "65", "75", "90", "110"};
  for (int i = 1; i < kSignalCells; ++i) {
    const QRectF c((i % perRow) * w, (i / perRow) * h, w, h);
    const double cx = c.center().x();
    if (i <= 3) {
      // A round black board with three white lamps in a row: flat stop, slanting restricted,
      // upright proceed.
      p.setPen(QPen(QColor(200, 200, 200), 2));
      p.setBrush(QColor(20, 20, 20));
      const QPointF mid(cx, c.top() + 24);
      p.drawEllipse(mid, 17, 17);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 250, 230));
      const double a = i == 1 ? 0 : i == 2 ? 45 : 90;
      for (int k = -1; k <= 1; ++k) {
        const double rad = a * M_PI / 180;
        p.drawEllipse(QPointF(mid.x() + k * 10 * std::cos(rad), mid.y() - k * 10 * std::sin(rad)), 3.5, 3.5);
      }
      p.fillRect(QRectF(cx - 2, c.top() + 42, 4, h - 44), QColor(90, 90, 90));
      continue;
    }
    if (i >= 35) {
      // A cab indication: a dark window with the permitted speed.
      p.setPen(QPen(QColor(160, 160, 160), 2));
      p.setBrush(QColor(12, 12, 12));
      p.drawRoundedRect(QRectF(c.left() + 3, c.top() + 8, w - 6, 34), 4, 4);
      DrawFitted(p, QRectF(c.left() + 4, c.top() + 10, w - 8, 30), kCab[i - 35], 20, i == 35 ? QColor(255, 60, 40) : QColor(60, 255, 120), true);
      continue;
    }
    const Head& hd = heads[static_cast<size_t>(i)];
    const double pitch = 18, top = c.top() + 6;
    const double height = hd.lamps * pitch + 6;
    p.setPen(QPen(QColor(110, 110, 110), 1.5));
    p.setBrush(QColor(22, 22, 22));
    p.drawRoundedRect(QRectF(cx - 14, top, 28, height), 5, 5);
    p.fillRect(QRectF(cx - 2, top + height, 4, h - height - 8), QColor(90, 90, 90));
    for (int k = 0; k < hd.lamps; ++k) {
      const int col = hd.lit[static_cast<size_t>(k)];
      const QColor lamp = col == R ? QColor(255, 50, 40) : col == Y ? QColor(255, 190, 40) : col == G ? QColor(40, 230, 130)
                                                                                                  : QColor(58, 58, 58);
      p.setPen(Qt::NoPen);
      p.setBrush(lamp);
      p.drawEllipse(QPointF(cx, top + 3 + pitch * (k + 0.5)), 7, 7);
    }
  }
  return img;
}

QImage RemainScale() {
  // Four cells one above the other's worth of height: a metre scale that scrolls up as the
  // stop comes nearer. Row H of a cell is the stop position, each metre H / 30 rows further
  // down; cell 2 counts down to the stop, cell 3 counts the overrun above it. Black is
  // transparent in this picture by rule.
  const int s = kSignSize, H = kFilmHeight;
  QImage img(s * 4, 2 * H, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int cell = 2; cell <= 3; ++cell) {
    const double x0 = cell * s;
    const QColor ink = cell == 2 ? QColor(255, 255, 255) : QColor(255, 80, 60);
    for (int m = 0; m <= 30; ++m) {
      const double y = cell == 2 ? H + H * m / 30.0 : H - H * m / 30.0;
      const bool major = m % 5 == 0;
      p.fillRect(QRectF(x0 + (major ? 4 : 30), y - 1, major ? s - 8 : s - 34, 2), ink);
      if (major && m > 0) DrawFitted(p, QRectF(x0 + 2, y - 20, s - 4, 18), QString::number(m) + "m", 14, ink, true);
    }
    if (cell == 2) DrawFitted(p, QRectF(x0 + 2, H - 22, s - 4, 20), "停止", 15, QColor(255, 220, 60), true);
    else DrawFitted(p, QRectF(x0 + 2, H + 4, s - 4, 20), "過走", 15, ink, true);
  }
  return img;
}

QImage StopLine(const QColor& c) {
  QImage img(kFilmWidth, kStopLineHeight, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// The timetable card beside the cab view.
QImage Staf(const Route& r) {
  const int w = 220, h = 40 + 34 * static_cast<int>(r.Stations.size()) + 92;
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(QColor(250, 248, 236));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRectF(0, 0, w, 34), QColor(40, 70, 120));
  DrawFitted(p, QRectF(6, 2, w - 12, 30), Q(std::string(kLineName) + " " + r.Name + " 時刻表"), 17, Qt::white, true);
  auto time = [](int32_t t) {
    const int s = t / 30;
    return QString("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
  };
  DrawFitted(p, QRectF(6, 36, 80, 18), "駅", 13, kInk, true, Qt::AlignLeft | Qt::AlignVCenter);
  DrawFitted(p, QRectF(80, 36, 66, 18), "着", 13, kInk, true);
  DrawFitted(p, QRectF(148, 36, 66, 18), "発", 13, kInk, true);
  for (size_t i = 0; i < r.Stations.size(); ++i) {
    const RouteStation& s = r.Stations[i];
    const double y = 56 + 34 * static_cast<double>(i);
    p.setPen(QPen(QColor(160, 150, 120), 1));
    p.drawLine(QPointF(4, y - 2), QPointF(w - 4, y - 2));
    DrawFitted(p, QRectF(6, y, 74, 30), Q(s.Name), 18, kInk, true, Qt::AlignLeft | Qt::AlignVCenter);
    const bool first = i == 0, last = i + 1 == r.Stations.size();
    if (s.TrnType == 1) {
      DrawFitted(p, QRectF(80, y, 134, 30), "通過 " + time(s.ArrTime), 15, QColor(90, 90, 90));
      continue;
    }
    if (!first) DrawFitted(p, QRectF(80, y, 66, 30), time(s.ArrTime), 14, kInk);
    if (!last) DrawFitted(p, QRectF(148, y, 66, 30), time(s.DepTime), 14, QColor(170, 20, 20), true);
  }
  const double y = 60 + 34 * static_cast<double>(r.Stations.size());
  DrawFitted(p, QRectF(6, y, w - 12, 18), "最高速度 80km/h", 13, kInk, false, Qt::AlignLeft);
  DrawFitted(p, QRectF(6, y + 20, w - 12, 18), "制限 45km/h・65km/h（曲線）", 13, kInk, false, Qt::AlignLeft);
  DrawFitted(p, QRectF(6, y + 40, w - 12, 18), "停車駅は赤字の時刻に発車", 12, QColor(90, 90, 90), false, Qt::AlignLeft);
  return img;
}

// The still shown over the cab view until the run starts: a frame of the film with the name.
QImage StartStill(const Route& r) {
  const SceneBoards boards = MakeSceneBoards(r);
  FilmRenderer renderer(r, boards);
  QImage img(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  renderer.Render(0, img);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRectF(0, 120, kFilmWidth, 200), QColor(0, 0, 0, 150));
  DrawFitted(p, QRectF(40, 130, 720, 56), Q(kLineName), 46, Qt::white, true);
  DrawFitted(p, QRectF(40, 190, 720, 40), Q(r.Name + "　" + r.Stations.front().Name + " → " + r.Stations.back().Name), 30, QColor(255, 236, 150), true);
  DrawFitted(p, QRectF(40, 250, 720, 30), "画面をクリックすると運転を始めます", 22, Qt::white);
  DrawFitted(p, QRectF(40, 284, 720, 26), "F1〜F12 と操作説明（表示メニュー）もご覧ください", 16, QColor(220, 220, 220));
  return img;
}

// A small map of the line, the stations in the order of the run.
QImage LineMap(const Route& r) {
  const int w = 240, h = 120;
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(QColor(244, 246, 240));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFitted(p, QRectF(4, 2, w - 8, 20), Q(std::string(kLineName) + " " + r.Name), 15, kInk, true);
  const double x0 = 24, x1 = w - 24, y = 64;
  p.setPen(QPen(QColor(40, 110, 200), 6));
  p.drawLine(QPointF(x0, y), QPointF(x1, y));
  const double length = r.LengthM();
  for (size_t i = 0; i < r.Stations.size(); ++i) {
    const RouteStation& s = r.Stations[i];
    const double x = x0 + (x1 - x0) * s.Stop.M() / length;
    p.setPen(QPen(QColor(40, 110, 200), 3));
    p.setBrush(s.TrnType == 0 ? QColor(255, 255, 255) : QColor(200, 200, 200));
    p.drawEllipse(QPointF(x, y), s.TrnType == 0 ? 7 : 4, s.TrnType == 0 ? 7 : 4);
    DrawFitted(p, QRectF(x - 30, i % 2 ? y + 10 : y - 34, 60, 22), Q(s.Name), 14, s.TrnType == 0 ? kInk : QColor(110, 110, 110),
               s.TrnType == 0);
  }
  const double t = r.Tunnels.front().From.M() / length, t2 = r.Tunnels.front().To.M() / length;
  p.setPen(QPen(QColor(80, 80, 80), 6));
  p.drawLine(QPointF(x0 + (x1 - x0) * t, y), QPointF(x0 + (x1 - x0) * t2, y));
  DrawFitted(p, QRectF(x0 + (x1 - x0) * t - 10, y + 30, 60, 18), "トンネル", 11, QColor(80, 80, 80));
  return img;
}

}  // namespace

void WriteRoutePictures(const Route& r, const std::string& folder) {
  const RoutePictures pic = PicturesOf(r);
  auto at = [&](const std::string& rel) { return folder + rel; };
  const int s = kSignSize;

  // Stop marker: cell i + 1 while the train is in station i's zone.
  SavePicture(Cells(s, s, static_cast<int>(r.Stations.size()) + 1,
                    [&](QPainter& p, int i, const QRectF& c) {
                      const RouteStation& st = r.Stations[static_cast<size_t>(i - 1)];
                      Board(p, c.adjusted(4, 4, -4, -4), QColor(255, 255, 255));
                      p.setPen(QPen(QColor(210, 30, 30), 3));
                      p.setBrush(Qt::NoBrush);
                      p.drawRect(c.adjusted(8, 8, -8, -8));
                      DrawFitted(p, QRectF(c.left() + 10, c.top() + 10, s - 20, 26), "停止位置", 14, QColor(210, 30, 30), true);
                      DrawFitted(p, QRectF(c.left() + 10, c.top() + 34, s - 20, 20), Q(st.Name), 16, kInk, true);
                    }),
              at(pic.StopMarker));
  SavePicture(StopLine(QColor(255, 210, 0)), at(pic.StopLineS));
  SavePicture(StopLine(QColor(255, 40, 30)), at(pic.StopLineM));
  SavePicture(StopLine(QColor(40, 120, 255)), at(pic.StopLineE));
  // Gradient post: cell 0 on the level, cell i + 1 for slope row i.
  {
    QImage img(s * (static_cast<int>(r.Slopes.size()) + 1), s, QImage::Format_RGB32);
    img.fill(kKey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    GradientPost(p, QRectF(0, 0, s, s), 0);
    for (size_t i = 0; i < r.Slopes.size(); ++i) GradientPost(p, QRectF(s * (i + 1.0), 0, s, s), r.Slopes[i].Permille);
    p.end();
    // The level post fills cell 0, so the bottom-left pixel must still be the key colour.
    img.setPixelColor(0, s - 1, kKey);
    SavePicture(img, at(pic.Slope));
  }
  // Limit boards: odd cells the limit, even cells its release.
  SavePicture(Cells(s, s, 5,
                    [&](QPainter& p, int i, const QRectF& c) {
                      const int speed = i <= 2 ? 45 : 65;
                      const bool release = i % 2 == 0;
                      Board(p, c.adjusted(6, 6, -6, -6), release ? QColor(255, 255, 255) : QColor(255, 214, 0));
                      if (release) {
                        DrawFitted(p, QRectF(c.left() + 8, c.top() + 9, s - 16, 22), "解除", 18, kInk, true);
                        DrawFitted(p, QRectF(c.left() + 8, c.top() + 31, s - 16, 22), QString::number(speed), 20, kInk, true);
                      } else {
                        DrawFitted(p, QRectF(c.left() + 8, c.top() + 10, s - 16, s - 20), QString::number(speed), 34, kInk, true);
                      }
                    }),
              at(pic.Limit));
  SavePicture(RemainScale(), at(pic.Remain));
  // Level crossing indicator: cell 1 not yet working, cell 2 working.
  SavePicture(Cells(s, s, 3,
                    [&](QPainter& p, int i, const QRectF& c) {
                      Board(p, c.adjusted(4, 4, -4, -4), QColor(30, 30, 30));
                      p.setPen(Qt::NoPen);
                      p.setBrush(i == 2 ? QColor(255, 250, 220) : QColor(70, 70, 70));
                      p.drawEllipse(QPointF(c.center().x(), c.top() + 24), 12, 12);
                      DrawFitted(p, QRectF(c.left() + 6, c.top() + 40, s - 12, 18), i == 2 ? "踏切" : "踏切×", 14,
                                 i == 2 ? QColor(255, 230, 120) : QColor(200, 200, 200), true);
                    }),
              at(pic.Cross));
  // General signs: cell 0 the time check, 1 the whistle board, 2 the station approach.
  {
    QImage img = Cells(s, s, 3, [&](QPainter& p, int i, const QRectF& c) {
      if (i == 1) {
        Board(p, c.adjusted(6, 6, -6, -6), QColor(255, 255, 255));
        DrawFitted(p, c.adjusted(8, 8, -8, -8), "汽笛", 24, kInk, true);
      } else {
        Board(p, c.adjusted(6, 6, -6, -6), QColor(255, 222, 60));
        DrawFitted(p, QRectF(c.left() + 8, c.top() + 10, s - 16, 22), "停車場", 16, kInk, true);
        DrawFitted(p, QRectF(c.left() + 8, c.top() + 32, s - 16, 22), "接近", 18, kInk, true);
      }
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Board(p, QRectF(6, 6, s - 12, s - 12), QColor(40, 110, 200));
    DrawFitted(p, QRectF(8, 12, s - 16, 22), "時刻", 20, Qt::white, true);
    DrawFitted(p, QRectF(8, 34, s - 16, 18), "確認", 16, Qt::white, true);
    p.end();
    img.setPixelColor(0, s - 1, kKey);
    SavePicture(img, at(pic.Other));
  }
  SavePicture(SignalPicture(), at(pic.Signal));
  SavePicture(Cells(kPlateW, kPlateH, static_cast<int>(r.Signals.size()) + 1,
                    [&](QPainter& p, int i, const QRectF& c) {
                      Board(p, c.adjusted(1, 1, -1, -1), QColor(255, 255, 255));
                      DrawFitted(p, c.adjusted(4, 2, -4, -2), Q(r.Signals[static_cast<size_t>(i - 1)].Plate), 16, kInk, true);
                    }),
              at(pic.SubS));
  for (int k = 0; k < 2; ++k) {
    const bool left = k == 0;
    const std::string& side = left ? pic.SubL : pic.SubR;
    SavePicture(Cells(kSignalCellW, kSignalCellW, 2,
                      [&](QPainter& p, int, const QRectF& c) {
                        Board(p, c.adjusted(3, 3, -3, -3), QColor(20, 20, 20));
                        DrawFitted(p, c.adjusted(5, 5, -5, -5), left ? "←" : "→", 24, QColor(255, 250, 230), true);
                      }),
                at(side));
  }
  SavePicture(Staf(r), at(pic.Staf));
  SavePicture(StartStill(r), at(pic.Start));
  SavePicture(LineMap(r), at(pic.Sub));
}

}  // namespace kavrin::demo

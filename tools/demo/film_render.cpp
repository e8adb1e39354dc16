#include "demo/film_render.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "demo/pictures.h"

namespace kavrin::demo {

namespace {

constexpr double kNear = 1.0;   // metres in front of the camera
constexpr double kFar = 700.0;  // nothing further is drawn
constexpr double kFocal = kPerspectiveScale * kPerspective / kCameraHeight;  // pixels
constexpr double kHorizon = kFilmHeight - kPerspectiveScale;

// Lateral places, metres from the line centre, to the right positive.
constexpr double kOwn = -kTrackOffset, kOther = kTrackOffset;
constexpr double kHalfGauge = 0.5335;
constexpr double kBedHalf = 4.7;
constexpr double kPlatformEdge = 3.45, kPlatformBack = 7.2, kPlatformTop = 1.1;
constexpr double kMast = 5.4;
constexpr double kSignalMast = -4.3;
constexpr double kTunnelHalf = 4.8, kTunnelWall = 4.4, kTunnelCrown = 7.0;

const QColor kSkyTop(96, 150, 214), kSkyLow(205, 224, 240);
const QColor kGroundFar(128, 150, 96), kGroundNear(98, 122, 70);
const QColor kBallast(138, 130, 116), kSleeper(96, 92, 86), kRailTop(205, 205, 200), kRailSide(95, 90, 85);
const QColor kMastColour(112, 112, 108), kWire(50, 50, 50);
const QColor kPlatformSide(128, 128, 124), kPlatformTopC(182, 178, 168), kEdgeWhite(240, 240, 235),
    kTactile(226, 196, 60);
const QColor kRoad(92, 92, 96), kRoadLine(230, 230, 230);
const QColor kHill(70, 104, 60), kPortal(150, 148, 140), kTunnelDark(26, 26, 28), kTunnelWallC(44, 43, 42);

QColor Mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor(static_cast<int>(a.red() + (b.red() - a.red()) * t), static_cast<int>(a.green() + (b.green() - a.green()) * t),
                static_cast<int>(a.blue() + (b.blue() - a.blue()) * t));
}

QColor Rgb(uint32_t c) { return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff); }

enum class Kind { Pole, Signal, PlatformChunk, NameBoard, StopBoard, Board, Building, CrossingFurniture, KmPost };

struct Item {
  double U;  // route metres: the nearest point of the object, for drawing far to near
  Kind What;
  int Index;  // into the route's table of that kind
  int Side = 0;
  double A = 0, B = 0;  // extent for platform chunks
  const QImage* Image = nullptr;
  double Lateral = 0, Bottom = 0, Width = 0, Height = 0;  // boards
};

}  // namespace

struct FilmRenderer::Impl {
  const Route& r;
  const SceneBoards& boards;
  std::vector<Item> items;
  QImage background;
  double tunnelIn = 0, tunnelOut = 0;
  double crossingU = 0;
  int32_t frame = 0;

  // The camera of this frame: where it stands on the plan, where it looks (tx, ty) and its
  // right hand (nx, ny).
  double uc = 0, cx = 0, cy = 0, tx = 0, ty = 0, nx = 0, ny = 0, hc = 0, grade = 0, headingAbs = 0;

  QPainter* p = nullptr;

  Impl(const Route& route, const SceneBoards& b) : r(route), boards(b) {
    tunnelIn = r.Tunnels.front().From.M();
    tunnelOut = r.Tunnels.front().To.M();
    crossingU = r.Crossings.front().At.M();
    BuildItems();
    BuildBackground();
  }

  // ---- Scene ----

  void BuildItems() {
    for (size_t i = 0; i < r.Poles.size(); ++i) items.push_back({r.Poles[i], Kind::Pole, static_cast<int>(i)});
    for (size_t i = 0; i < r.Signals.size(); ++i) {
      items.push_back({r.Signals[i].At.M(), Kind::Signal, static_cast<int>(i)});
    }
    for (size_t i = 0; i < r.Stations.size(); ++i) {
      const RouteStation& s = r.Stations[i];
      const double chunk = 5;
      for (int side = -1; side <= 1; side += 2) {
        for (double u = s.PlatformFrom; u < s.PlatformTo - 0.01; u += chunk) {
          Item it{u, Kind::PlatformChunk, static_cast<int>(i), side};
          it.A = u;
          it.B = std::min(u + chunk, s.PlatformTo);
          items.push_back(it);
        }
      }
      const double mid = (s.PlatformFrom + s.PlatformTo) / 2;
      for (int side = -1; side <= 1; side += 2) {
        Item nb{mid + side * 20, Kind::NameBoard, static_cast<int>(i), side};
        items.push_back(nb);
      }
      if (s.TrnType == 0) items.push_back({s.Stop.M(), Kind::StopBoard, static_cast<int>(i)});
    }
    auto board = [&](double u, const QImage* img, double lateral, double bottom, double w, double h) {
      Item it{u, Kind::Board, 0};
      it.Image = img;
      it.Lateral = lateral;
      it.Bottom = bottom;
      it.Width = w;
      it.Height = h;
      items.push_back(it);
    };
    for (const RouteLimit& l : r.Limits) {
      board(l.From.M(), &boards.LimitBoards.at(l.Board), -4.1, 1.8, 0.7, 0.7);
      board(l.To.M(), &boards.LimitBoards.at(l.Release), -4.1, 1.8, 0.7, 0.7);
    }
    for (size_t i = 0; i < r.Slopes.size(); ++i) {
      const RouteSlope& s = r.Slopes[i];
      board(s.From.M(), &boards.GradientBoards[i], -3.7, 1.0, 0.5, 0.36);
      const bool joined = i + 1 < r.Slopes.size() && r.Slopes[i + 1].From.Frame == s.To.Frame;
      if (!joined) board(s.To.M(), &boards.LevelBoard, -3.7, 1.0, 0.5, 0.36);
    }
    for (const RouteSign& s : r.Signs) board(s.At.M(), &boards.SignBoards.at(s.Cell), -4.1, 1.9, 0.7, 0.7);
    for (size_t i = 0; i < r.KmPosts.size(); ++i) {
      const double u = r.KmPosts[i].M;
      bool onPlatform = false;
      for (const RouteStation& s : r.Stations) onPlatform = onPlatform || (u > s.PlatformFrom - 5 && u < s.PlatformTo + 5);
      if (onPlatform || (u > tunnelIn - 5 && u < tunnelOut + 5)) continue;
      Item it{u, Kind::KmPost, static_cast<int>(i)};
      items.push_back(it);
    }
    for (size_t i = 0; i < r.Buildings.size(); ++i) {
      const Building& b = r.Buildings[i];
      items.push_back({b.M - b.Width / 2, Kind::Building, static_cast<int>(i)});
    }
    items.push_back({crossingU - 4, Kind::CrossingFurniture, 0, -1});
    items.push_back({crossingU + 4, Kind::CrossingFurniture, 0, 1});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.U < b.U; });
  }

  void BuildBackground() {
    background = QImage(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
    QPainter g(&background);
    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyLow);
    g.fillRect(QRectF(0, 0, kFilmWidth, kHorizon), sky);
    QLinearGradient ground(0, kHorizon, 0, kFilmHeight);
    ground.setColorAt(0, kGroundFar);
    ground.setColorAt(1, kGroundNear);
    g.fillRect(QRectF(0, kHorizon, kFilmWidth, kFilmHeight - kHorizon), ground);
  }

  // ---- Camera and projection ----

  void SetCamera(int32_t f) {
    frame = f;
    uc = static_cast<double>(r.Film.Cm(f) / 100.0L) - kPerspective;
    const Route::PlanPoint c = r.At(uc, kOwn);
    cx = c.x;
    cy = c.y;
    headingAbs = r.HeadingAt(uc);
    tx = std::cos(headingAbs);
    ty = std::sin(headingAbs);
    nx = ty;
    ny = -tx;
    hc = r.HeightAt(uc);
    grade = r.HeightAt(uc + 0.5) - r.HeightAt(uc - 0.5);
  }

  double Depth(double u, double l) const {
    const Route::PlanPoint w = r.At(u, l);
    return (w.x - cx) * tx + (w.y - cy) * ty;
  }
  QPointF At(double u, double l, double h) const {
    const Route::PlanPoint w = r.At(u, l);
    const double dz = std::max((w.x - cx) * tx + (w.y - cy) * ty, 0.05);
    const double x = (w.x - cx) * nx + (w.y - cy) * ny;
    const double y = r.HeightAt(u) + h - (hc + kCameraHeight) - grade * dz;
    return {kFilmWidth / 2.0 + kFocal * x / dz, kHorizon - kFocal * y / dz};
  }
  double Scale(double u) const { return kFocal / std::max(Depth(u, 0), 0.05); }  // pixels per metre

  void Poly(std::initializer_list<QPointF> pts, const QColor& c) {
    p->setPen(Qt::NoPen);
    p->setBrush(c);
    QPointF a[8];
    int n = 0;
    for (const QPointF& q : pts) a[n++] = q;
    p->drawPolygon(a, n);
  }
  // A face across the line at u: lateral l0..l1, height h0..h1.
  void Face(double u, double l0, double l1, double h0, double h1, const QColor& c) {
    const QPointF a = At(u, l0, h0), b = At(u, l1, h1);
    p->fillRect(QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())), QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y()))), c);
  }
  // A face along the line at lateral l from u0 to u1, height h0..h1.
  void Side(double u0, double u1, double l, double h0, double h1, const QColor& c) {
    Poly({At(u0, l, h0), At(u1, l, h0), At(u1, l, h1), At(u0, l, h1)}, c);
  }
  // A level surface from u0 to u1, lateral l0..l1, at height h.
  void Flat(double u0, double u1, double l0, double l1, double h, const QColor& c) {
    Poly({At(u0, l0, h), At(u1, l0, h), At(u1, l1, h), At(u0, l1, h)}, c);
  }
  void Picture(double u, double l, double bottom, double w, double h, const QImage& img) {
    const QPointF a = At(u, l - w / 2, bottom + h), b = At(u, l + w / 2, bottom);
    const QRectF rect(a, b);
    if (rect.width() < 0.5 || rect.right() < 0 || rect.left() > kFilmWidth) return;
    p->drawImage(rect, img);
  }

  // Depths for strips along the line: fine near the camera, coarse far off.
  std::vector<double> Depths(double from, double to) const {
    std::vector<double> u;
    double dz = std::max(from - uc, kNear);
    const double end = to - uc;
    while (dz < end) {
      u.push_back(uc + dz);
      dz = dz < 10 ? dz + 1.0 : dz * 1.08;
    }
    u.push_back(to);
    return u;
  }

  // A strip along the line between two lateral places, at height h.
  void Strip(const std::vector<double>& us, double l0, double l1, double h, const QColor& c) {
    QPolygonF poly;
    for (double u : us) poly << At(u, l0, h);
    for (auto it = us.rbegin(); it != us.rend(); ++it) poly << At(*it, l1, h);
    p->setPen(Qt::NoPen);
    p->setBrush(c);
    p->drawPolygon(poly);
  }
  void Line(const std::vector<double>& us, double l, double h, const QColor& c) {
    QPolygonF poly;
    for (double u : us) poly << At(u, l, h);
    p->setPen(QPen(c, 1));
    p->setBrush(Qt::NoBrush);
    p->drawPolyline(poly);
  }

  // ---- Ground layers: bed, sleepers, rails, wires ----

  void Track(double from, double to, bool inTunnel) {
    if (to <= from) return;
    const std::vector<double> us = Depths(from, to);
    Strip(us, -kBedHalf, kBedHalf, -0.05, inTunnel ? QColor(52, 49, 45) : kBallast);
    // Sleepers only where they still show as more than a line. At speed they pass by faster
    // than their spacing each frame and a camera sees a blur: the band takes their mean colour
    // and the sleepers fade into it, which is also what keeps the film small.
    const double sleeperTo = std::min(to, uc + 40);
    const QColor ballast = inTunnel ? QColor(52, 49, 45) : kBallast;
    const QColor sleeper = inTunnel ? QColor(40, 38, 36) : kSleeper;
    const QColor mean = Mix(ballast, sleeper, 0.22 / 0.6);
    const double perFrame = r.Film.Speed(frame) / 3.6 / kFilmFps;  // metres
    const double blur = std::clamp(perFrame / 0.45, 0.0, 1.0);
    if (blur > 0 && sleeperTo > from) {
      const std::vector<double> band = Depths(from, sleeperTo);
      for (double t : {kOwn, kOther}) Strip(band, t - 1.05, t + 1.05, -0.02, Mix(ballast, mean, blur));
    }
    if (blur < 1) {
      const QColor c = Mix(sleeper, mean, blur);
      for (double u = std::ceil(std::max(from, uc + kNear) / 0.6) * 0.6; u < sleeperTo; u += 0.6) {
        for (double t : {kOwn, kOther}) Flat(u, u + 0.22, t - 1.05, t + 1.05, 0.0, c);
      }
    }
    if (!inTunnel && crossingU > from && crossingU < to) {
      Flat(crossingU - 3, crossingU + 3, -60, 60, 0.02, kRoad);
      Flat(crossingU - 3, crossingU - 2.85, -60, -kBedHalf, 0.03, kRoadLine);
      Flat(crossingU + 2.85, crossingU + 3, kBedHalf, 60, 0.03, kRoadLine);
    }
    const QColor top = inTunnel ? QColor(120, 118, 112) : kRailTop;
    const QColor side = inTunnel ? QColor(50, 48, 46) : kRailSide;
    const double nearTo = std::min(to, uc + 35);
    std::vector<double> nearUs, farUs;
    for (double u : us) {
      if (u <= nearTo) nearUs.push_back(u);
      if (u >= nearTo) farUs.push_back(u);
    }
    if (nearUs.size() >= 2 && nearUs.back() < nearTo) nearUs.push_back(nearTo);
    for (double t : {kOwn, kOther}) {
      for (double s : {-1.0, 1.0}) {
        const double l = t + s * kHalfGauge;
        if (nearUs.size() >= 2) {
          Strip(nearUs, l - 0.05, l + 0.05, 0.0, side);
          Strip(nearUs, l - 0.035, l + 0.035, 0.16, top);
        }
        if (farUs.size() >= 2) Line(farUs, l, 0.16, top);
      }
    }
  }

  void Wires(double from, double to) {
    if (to <= from) return;
    const std::vector<double> us = Depths(std::max(from, uc + 4), to);
    if (us.size() < 2) return;
    for (double t : {kOwn, kOther}) {
      Line(us, t, 5.1, kWire);
      Line(us, t, 6.1, QColor(70, 70, 70));
    }
  }

  // ---- Objects ----

  void DrawPole(double u) {
    const double fog = (u - uc) / kFar;
    const QColor c = Mix(kMastColour, kSkyLow, fog * 0.8);
    for (double s : {-1.0, 1.0}) Side(u, u + 0.3, s * kMast, 0, 7.8, c), Face(u, s * kMast - 0.15, s * kMast + 0.15, 0, 7.8, c);
    Face(u, -kMast, kMast, 7.1, 7.35, c);
    // Cantilevers out to the two wires.
    Face(u, -kMast, kOwn, 6.1, 6.16, c);
    Face(u, kOther, kMast, 6.1, 6.16, c);
  }

  void DrawSignal(const RouteSignal& s) {
    const double u = s.At.M();
    const double fog = (u - uc) / kFar;
    const QColor mast = Mix(QColor(60, 60, 58), kSkyLow, fog * 0.7);
    const int lamps = s.Type == 0 ? 3 : s.Type == 2 ? 3 : 4;
    const double bottom = 3.4, pitch = 0.32;
    const double top = bottom + lamps * pitch + 0.16;
    Face(u, kSignalMast - 0.08, kSignalMast + 0.08, 0, top + 0.2, mast);
    if (s.Type == 0) {
      // A repeater: a round black board with white lamp places in a row.
      const QPointF a = At(u, kSignalMast - 0.45, 3.9), b = At(u, kSignalMast + 0.45, 3.0);
      p->setPen(Qt::NoPen);
      p->setBrush(Mix(QColor(20, 20, 20), kSkyLow, fog));
      p->drawEllipse(QRectF(a, b));
      const double k = Scale(u);
      p->setBrush(Mix(QColor(150, 150, 140), kSkyLow, fog));
      for (int i = -1; i <= 1; ++i) {
        const QPointF c = At(u, kSignalMast + i * 0.26, 3.45);
        p->drawEllipse(c, 0.08 * k, 0.08 * k);
      }
      return;
    }
    Face(u, kSignalMast - 0.28, kSignalMast + 0.28, bottom, top, Mix(QColor(18, 18, 18), kSkyLow, fog));
    // The lamps are dark: what they show is the simulator's to say, and it draws the aspect
    // beside the picture.
    const double k = Scale(u);
    if (k * 0.1 < 0.7) return;
    p->setPen(Qt::NoPen);
    for (int i = 0; i < lamps; ++i) {
      const QPointF c = At(u, kSignalMast, bottom + 0.16 + pitch * (i + 0.5));
      p->setBrush(QColor(55, 58, 60));
      p->drawEllipse(c, 0.11 * k, 0.11 * k);
      p->setBrush(QColor(30, 32, 34));
      p->drawEllipse(c, 0.08 * k, 0.08 * k);
    }
  }

  void DrawPlatformChunk(const Item& it) {
    const RouteStation& s = r.Stations[static_cast<size_t>(it.Index)];
    const double side = it.Side;
    const double edge = side * kPlatformEdge, back = side * kPlatformBack;
    const double u0 = it.A, u1 = it.B;
    const double fog = (u0 - uc) / kFar;
    if (u0 == s.PlatformFrom) {
      Face(u0, std::min(edge, back), std::max(edge, back), 0, kPlatformTop, Mix(kPlatformSide.darker(115), kSkyLow, fog));
    }
    Side(u0, u1, edge, 0, kPlatformTop, Mix(kPlatformSide, kSkyLow, fog));
    Flat(u0, u1, edge, back, kPlatformTop, Mix(kPlatformTopC, kSkyLow, fog));
    Flat(u0, u1, edge, edge + side * 0.12, kPlatformTop + 0.005, Mix(kEdgeWhite, kSkyLow, fog));
    Flat(u0, u1, edge + side * 0.8, edge + side * 1.1, kPlatformTop + 0.005, Mix(kTactile, kSkyLow, fog));
    // A canopy over the middle of the platform, on columns.
    const double mid = (s.PlatformFrom + s.PlatformTo) / 2;
    if (u0 >= mid - 40 && u1 <= mid + 40) {
      const double front = side * (kPlatformEdge + 1.0);
      Flat(u0, u1, front, back, 3.3, Mix(QColor(70, 72, 76), kSkyLow, fog));
      Side(u0, u1, front, 3.3, 3.55, Mix(QColor(200, 200, 196), kSkyLow, fog));
      if (std::fmod(u0 - s.PlatformFrom, 10.0) < 0.01) {
        Face(u0, side * 6.2 - 0.12, side * 6.2 + 0.12, kPlatformTop, 3.3, Mix(QColor(150, 150, 150), kSkyLow, fog));
      }
    }
  }

  void DrawNameBoard(const Item& it) {
    const double side = it.Side;
    const double l = side * 5.5;
    if (side < 0) {
      Picture(it.U, l, 2.3, 2.2, 0.66, boards.NameBoards[static_cast<size_t>(it.Index)]);
    } else {
      Face(it.U, l - 1.1, l + 1.1, 2.3, 2.96, QColor(190, 190, 186));  // the back of the other side's board
    }
    Face(it.U, l - 0.9, l - 0.85, 2.96, 3.3, QColor(90, 90, 90));
    Face(it.U, l + 0.85, l + 0.9, 2.96, 3.3, QColor(90, 90, 90));
  }

  void DrawBoard(const Item& it) {
    const double fog = (it.U - uc) / kFar;
    Face(it.U, it.Lateral - 0.04, it.Lateral + 0.04, 0, it.Bottom, Mix(QColor(235, 235, 230), kSkyLow, fog));
    Picture(it.U, it.Lateral, it.Bottom, it.Width, it.Height, *it.Image);
  }

  void DrawKmPost(const Item& it) {
    Face(it.U, -3.5, -3.3, 0, 0.55, QColor(225, 225, 220));
    Picture(it.U, -3.4, 0.25, 0.18, 0.22, boards.KmBoards[static_cast<size_t>(it.Index)]);
  }

  void DrawBuilding(const Building& b) {
    const double u0 = b.M - b.Width / 2, u1 = b.M + b.Width / 2;
    const double fog = (u0 - uc) / kFar;
    const QColor base = Mix(Rgb(b.Colour), kSkyLow, fog * 0.9);
    if (b.Tree) {
      const double k = Scale(b.M);
      Face(b.M, b.Lateral - 0.2, b.Lateral + 0.2, 0, b.Height * 0.4, Mix(QColor(92, 70, 50), kSkyLow, fog));
      const QPointF c = At(b.M, b.Lateral, b.Height * 0.62);
      p->setPen(Qt::NoPen);
      p->setBrush(base);
      p->drawEllipse(c, b.Width * 0.55 * k, b.Height * 0.42 * k);
      return;
    }
    const double near = b.Lateral > 0 ? b.Lateral - b.Depth / 2 : b.Lateral + b.Depth / 2;
    const double far = b.Lateral > 0 ? b.Lateral + b.Depth / 2 : b.Lateral - b.Depth / 2;
    // Roof first when we look down on it, then the wall toward the line, then the end wall.
    if (b.Height < kCameraHeight) Flat(u0, u1, near, far, b.Height, base.lighter(108));
    Side(u0, u1, near, 0, b.Height, base.darker(118));
    Face(u0, std::min(near, far), std::max(near, far), 0, b.Height, base);
    // A row of windows on the wall toward the line.
    if (Scale(b.M) * 1.0 > 3) {
      const QColor glass = Mix(QColor(70, 84, 96), kSkyLow, fog);
      for (double w = u0 + 1.0; w + 1.2 < u1; w += 2.4) {
        for (double y = 1.2; y + 1.0 < b.Height; y += 3.0) Side(w, w + 1.2, near, y, y + 0.9, glass);
      }
    }
    // A pitched roof on low houses.
    if (b.Height < 8) {
      const QPointF a = At(u0, near, b.Height), c = At(u0, far, b.Height), top = At(u0, b.Lateral, b.Height + 2.0);
      Poly({a, top, c}, Mix(QColor(86, 70, 64), kSkyLow, fog));
      Poly({At(u0, near, b.Height), At(u1, near, b.Height), At(u1, b.Lateral, b.Height + 2.0), At(u0, b.Lateral, b.Height + 2.0)},
           Mix(QColor(110, 88, 78), kSkyLow, fog));
    }
  }

  void DrawCrossingFurniture(const Item& it) {
    const double u = it.U;
    const double s = it.Side;
    const double l = s * 5.6;
    Face(u, l - 0.07, l + 0.07, 0, 3.4, QColor(30, 30, 30));
    // The cross-buck.
    const double k = Scale(u);
    const QPointF c = At(u, l, 3.05);
    p->save();
    p->translate(c);
    p->setPen(Qt::NoPen);
    for (double angle : {35.0, -35.0}) {
      p->save();
      p->rotate(angle);
      p->setBrush(QColor(240, 200, 30));
      p->drawRect(QRectF(-0.55 * k, -0.07 * k, 1.1 * k, 0.14 * k));
      p->setBrush(QColor(20, 20, 20));
      for (int i = -2; i <= 2; i += 2) p->drawRect(QRectF((i * 0.18 - 0.05) * k, -0.07 * k, 0.1 * k, 0.14 * k));
      p->restore();
    }
    p->restore();
    // Two lamps flashing in turn while the train comes.
    const bool phase = (frame / 18) % 2 == 0;
    for (int i = 0; i < 2; ++i) {
      const QPointF lamp = At(u, l + (i == 0 ? -0.28 : 0.28), 2.45);
      const bool lit = (i == 0) == phase;
      p->setBrush(lit ? QColor(255, 40, 30) : QColor(70, 20, 20));
      p->drawEllipse(lamp, 0.13 * k, 0.13 * k);
    }
    // The barrier, down, striped yellow and black along the road.
    for (int i = 0; i < 8; ++i) {
      const double a = l + s * (0.3 + i * 0.9), b = l + s * (0.3 + (i + 1) * 0.9);
      Face(u, std::min(a, b), std::max(a, b), 0.85, 0.95, i % 2 ? QColor(20, 20, 20) : QColor(240, 200, 30));
    }
    // A car waiting beyond the barrier.
    const double carL = s * 11.5;
    Face(u - s * 1.5, carL - 0.9, carL + 0.9, 0.3, 1.5, s < 0 ? QColor(180, 40, 40) : QColor(60, 90, 160));
    Face(u - s * 1.5, carL - 0.7, carL + 0.7, 1.0, 1.4, QColor(60, 70, 80));
  }

  void DrawItem(const Item& it) {
    switch (it.What) {
      case Kind::Pole: DrawPole(it.U); break;
      case Kind::Signal: DrawSignal(r.Signals[static_cast<size_t>(it.Index)]); break;
      case Kind::PlatformChunk: DrawPlatformChunk(it); break;
      case Kind::NameBoard: DrawNameBoard(it); break;
      case Kind::StopBoard: {
        Face(it.U, -3.72, -3.64, kPlatformTop, 2.3, QColor(200, 200, 196));
        Picture(it.U, -3.68, 2.3, 0.5, 0.5, boards.StopBoard);
        break;
      }
      case Kind::Board: DrawBoard(it); break;
      case Kind::Building: DrawBuilding(r.Buildings[static_cast<size_t>(it.Index)]); break;
      case Kind::CrossingFurniture: DrawCrossingFurniture(it); break;
      case Kind::KmPost: DrawKmPost(it); break;
    }
  }

  // ---- The tunnel ----

  QPainterPath Arch(double u, double half, double wall, double crown) const {
    QPainterPath path;
    path.moveTo(At(u, -half, 0));
    path.lineTo(At(u, -half, wall));
    const int n = 12;
    for (int i = 1; i <= n; ++i) {
      const double a = M_PI * i / n;
      path.lineTo(At(u, -half * std::cos(a), wall + (crown - wall) * std::sin(a)));
    }
    path.lineTo(At(u, half, 0));
    path.closeSubpath();
    return path;
  }

  void TunnelInside(double from) {
    // The way out: daylight, overexposed as a camera sees it from the dark.
    const double exitDz = tunnelOut - uc;
    if (exitDz < kFar) {
      const QPainterPath exit = Arch(tunnelOut, kTunnelHalf, kTunnelWall, kTunnelCrown);
      const double glare = std::clamp(1.0 - exitDz / 400.0, 0.0, 1.0);
      p->setPen(Qt::NoPen);
      p->setBrush(Mix(QColor(250, 252, 255), QColor(214, 228, 236), glare));
      p->drawPath(exit);
    }
    const std::vector<double> us = Depths(from, std::min(tunnelOut, uc + kFar));
    // The side walls; the vault stays dark.
    QPolygonF left, right;
    for (double u : us) left << At(u, -kTunnelHalf, 0);
    for (auto it = us.rbegin(); it != us.rend(); ++it) left << At(*it, -kTunnelHalf, kTunnelWall);
    for (double u : us) right << At(u, kTunnelHalf, 0);
    for (auto it = us.rbegin(); it != us.rend(); ++it) right << At(*it, kTunnelHalf, kTunnelWall);
    p->setPen(Qt::NoPen);
    p->setBrush(kTunnelWallC);
    p->drawPolygon(left);
    p->drawPolygon(right);
    Track(from, std::min(tunnelOut, uc + kFar), true);
    Wires(from, std::min(tunnelOut, uc + kFar));
    // Lamps every 25 m on both walls: what the driver sees moving in a tunnel.
    p->setPen(Qt::NoPen);
    for (double u = tunnelIn + 12.5; u < tunnelOut; u += 25) {
      if (u < from || u - uc > kFar) continue;
      for (double s : {-1.0, 1.0}) {
        const QPointF a = At(u, s * (kTunnelHalf - 0.05), 3.3), b = At(u + 1.2, s * (kTunnelHalf - 0.05), 3.45);
        p->setBrush(QColor(255, 226, 160));
        p->drawRect(QRectF(a, b).normalized().adjusted(0, 0, 1, 1));
      }
    }
  }

  void Portal() {
    // The hill, the portal wall round the mouth, and the dark inside.
    const double u = tunnelIn;
    QPolygonF hill;
    hill << At(u, -90, 0) << At(u, -45, 9) << At(u, -18, 15) << At(u, 8, 17) << At(u, 35, 12) << At(u, 90, 0);
    p->setPen(Qt::NoPen);
    p->setBrush(Mix(kHill, kSkyLow, (u - uc) / kFar * 0.7));
    p->drawPolygon(hill);
    Face(u, -kTunnelHalf - 1.6, kTunnelHalf + 1.6, 0, kTunnelCrown + 1.5, Mix(kPortal, kSkyLow, (u - uc) / kFar * 0.7));
    p->setBrush(kTunnelDark);
    p->drawPath(Arch(u, kTunnelHalf, kTunnelWall, kTunnelCrown));
    TunnelInside(u);
  }

  // ---- The frame ----

  void DrawFigure(const FilmRenderer::Figure& fig) {
    const double k = Scale(fig.U);
    if (Depth(fig.U, fig.Lateral) < 1.5) return;
    const double swing = std::sin(fig.Stride * 2 * M_PI) * 0.12;
    const double h = kPlatformTop;
    // Legs, coat, head: a person is about 1.65 m tall.
    const QColor legs(40, 40, 50);
    Face(fig.U, fig.Lateral - 0.14 + swing, fig.Lateral - 0.02 + swing, h, h + 0.8, legs);
    Face(fig.U, fig.Lateral + 0.02 - swing, fig.Lateral + 0.14 - swing, h, h + 0.8, legs);
    Face(fig.U, fig.Lateral - 0.22, fig.Lateral + 0.22, h + 0.75, h + 1.42, Rgb(fig.Coat));
    p->setPen(Qt::NoPen);
    p->setBrush(QColor(230, 196, 170));
    p->drawEllipse(At(fig.U, fig.Lateral, h + 1.54), 0.11 * k, 0.13 * k);
    p->setBrush(QColor(30, 24, 20));
    p->drawEllipse(At(fig.U, fig.Lateral, h + 1.62), 0.11 * k, 0.06 * k);
  }

  void Render(int32_t f, QImage& out, const std::vector<FilmRenderer::Figure>& people) {
    SetCamera(f);
    // The sky and the ground, copied whole: far cheaper than painting them.
    std::memcpy(out.bits(), background.constBits(), static_cast<size_t>(background.sizeInBytes()));
    QPainter painter(&out);
    p = &painter;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    const bool inside = uc + kNear >= tunnelIn && uc < tunnelOut;
    if (inside) {
      painter.fillRect(QRectF(0, 0, kFilmWidth, kFilmHeight), kTunnelDark);
      TunnelInside(uc + kNear);
      p = nullptr;
      return;
    }
    // The skyline pans as the line curves and dips as it climbs.
    if (!boards.Hills.isNull()) {
      const int w = boards.Hills.width();
      // Turning right lowers the heading and brings the skyline on from the right.
      const double pan = kFocal * headingAbs;
      int x = static_cast<int>(std::floor(std::fmod(pan, static_cast<double>(w))));
      if (x > 0) x -= w;
      const int y = static_cast<int>(kHorizon - boards.Hills.height() + 6 + kFocal * grade);
      for (; x < kFilmWidth; x += w) painter.drawImage(x, y, boards.Hills);
    }
    const bool portalAhead = tunnelIn > uc && tunnelIn - uc < kFar;
    const double far = portalAhead ? tunnelIn : uc + kFar;
    // Things far off first, so that near ones cover them; the ground goes down before any of
    // them, since nothing stands below it.
    auto first = std::lower_bound(items.begin(), items.end(), uc + kNear, [](const Item& it, double u) { return it.U < u; });
    auto last = std::lower_bound(first, items.end(), far, [](const Item& it, double u) { return it.U < u; });
    // Buildings stand apart from the line, so they all go behind the track furniture.
    for (auto it = last; it != first;) {
      --it;
      if (it->What == Kind::Building) DrawItem(*it);
    }
    Track(uc + kNear, far, false);
    if (portalAhead) Portal();
    Wires(uc + kNear, far);
    for (auto it = last; it != first;) {
      --it;
      if (it->What != Kind::Building) DrawItem(*it);
    }
    // People last: they stand on the platforms, in front of all but the nearest masts.
    std::vector<FilmRenderer::Figure> order(people);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.U > b.U; });
    for (const auto& fig : order) DrawFigure(fig);
    p = nullptr;
  }
};

FilmRenderer::FilmRenderer(const Route& route, const SceneBoards& boards) : impl_(new Impl(route, boards)) {}
FilmRenderer::~FilmRenderer() { delete impl_; }
void FilmRenderer::Render(int32_t frame, QImage& out, const std::vector<Figure>& people) { impl_->Render(frame, out, people); }

}  // namespace kavrin::demo

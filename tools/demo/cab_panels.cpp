#include "demo/cab_panels.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <string>
#include <vector>

#include "demo/pictures.h"

namespace kavrin::demo {

namespace {

// The film fills the top of the 800 x 880 cab view; the desk takes the rest.
constexpr int kDeskTop = 450;
constexpr int kDeskWidth = 800, kDeskHeight = 430;

// Transparent in every picture of the desk: magenta, which nothing on a desk is.
const QColor kKey(255, 0, 255);
const QColor kDesk(54, 60, 66);
const QColor kDeskEdge(34, 38, 42);
const QColor kLightFace(236, 234, 226);
const QColor kDarkFace(22, 24, 26);

// A round gauge. Angles are degrees clockwise from straight up, as the needle law turns them:
// zero + value x one, with the first 10 units at c degrees each when c is not 0.
struct Dial {
  int Cx, Cy, R;  // cab coordinates
  int Zero;
  double One, C;
  double Min, Max, Major, Minor;
  int LabelEvery;  // label every n-th major tick
  QString Unit, Title;
  bool Dark;
  double Angle(double v) const {
    if (C != 0) return std::fabs(v) < 10 ? Zero + std::fabs(v) * C : Zero + v * One - (One - C) * 10;
    return Zero + v * One;
  }
  QColor Face() const { return Dark ? kDarkFace : kLightFace; }
};

enum class NeedleKey { Speed, BC, MR, BP, ER, I, V };

struct Needle {
  NeedleKey Key;
  int DialIndex;
  const char* File;
  QColor Colour;
  double Length;  // of the radius
};

struct LampSpec {
  const char* Key;   // "[Lamp_Door]"; empty for a picture of "[Others]"
  const char* File;
  QString Label;
  int X, Y, W, H;
  QColor Lit;
};

// One pattern image: a strip of cells, one per state.
struct Strip {
  const char* Key;
  const char* File;
  int X, Y, CellW, CellH;
  std::vector<QString> Cells;
  QColor Lit;
  bool Lamps;  // a row of lamps lit up to the cell's number; otherwise a text window
  int LampCount;
};

struct Desk {
  Train Which;
  std::vector<Dial> Dials;
  std::vector<Needle> Needles;
  std::vector<LampSpec> Lamps;   // lit pictures over the dark lamps of the panel
  std::vector<LampSpec> Others;  // "[Others]" in row order
  std::vector<Strip> Strips;
  int ClockX, ClockY, ClockHand;
  QRect DigiSpeed;  // cell size and place of the digital speed
};

const QColor kAmber(255, 170, 40), kGreen(90, 230, 110), kRed(255, 60, 50), kWhite(245, 245, 235), kYellow(250, 225, 60),
    kBlue(90, 170, 255);

// Lamps sit in a grid at the right of the desk.
constexpr int kLampW = 56, kLampH = 30, kLampX0 = 478, kLampY0 = 474, kLampDX = 62, kLampDY = 38;
LampSpec GridLamp(const char* key, const char* file, const QString& label, int col, int row, QColor lit) {
  return {key, file, label, kLampX0 + col * kLampDX, kLampY0 + row * kLampDY, kLampW, kLampH, lit};
}

Desk ElectricDesk() {
  Desk d;
  d.Which = Train::Electric;
  // The speedometer stretches its first 10 km/h, where a driver creeps up to the stop mark.
  d.Dials.push_back({150, 662, 118, -135, 2.0909, 4, 0, 120, 10, 2, 2, "km/h", "速度計", true});
  d.Dials.push_back({368, 592, 80, -135, 0.27, 0, 0, 1000, 100, 20, 2, "kPa", "空気圧力計", false});
  d.Dials.push_back({368, 782, 72, -45, 0.15, 0, -600, 1200, 200, 50, 3, "A", "電流計", false});
  d.Dials.push_back({536, 792, 54, -120, 0.12, 0, 0, 2000, 500, 100, 1, "V", "電圧計", false});
  d.Needles = {{NeedleKey::Speed, 0, "needle_speed.png", QColor(250, 250, 250), 0.86},
               {NeedleKey::MR, 1, "needle_mr.png", QColor(30, 30, 30), 0.84},
               {NeedleKey::BC, 1, "needle_bc.png", QColor(210, 30, 30), 0.78},
               {NeedleKey::I, 2, "needle_i.png", QColor(30, 30, 30), 0.84},
               {NeedleKey::V, 3, "needle_v.png", QColor(30, 30, 30), 0.82}};
  d.Lamps = {GridLamp("[Lamp_Door]", "lamp_door.png", "戸閉", 0, 0, kAmber),
             GridLamp("[Lamp_Power]", "lamp_power.png", "力行", 1, 0, kGreen),
             GridLamp("[Lamp_Gen]", "lamp_gen.png", "回生", 2, 0, kBlue),
             GridLamp("[Lamp_Air]", "lamp_air.png", "空制", 3, 0, kAmber),
             GridLamp("[Lamp_EB]", "lamp_eb.png", "EB", 4, 0, kRed),
             GridLamp("[Lamp_Ele]", "lamp_ele.png", "主回路", 0, 1, kWhite),
             GridLamp("[Lamp_Ats1]", "lamp_ats1.png", "ATS", 1, 1, kWhite),
             GridLamp("[Lamp_Ats2]", "lamp_ats2.png", "ATS", 2, 1, kRed),
             GridLamp("[Lamp_ATSP1]", "lamp_atsp1.png", "P接近", 3, 1, kYellow),
             GridLamp("[Lamp_ATSP2]", "lamp_atsp2.png", "ブレーキ", 4, 1, kAmber),
             GridLamp("[Lamp_Fwd]", "lamp_fwd.png", "前", 0, 2, kWhite),
             GridLamp("[Lamp_Back]", "lamp_back.png", "後", 1, 2, kWhite),
             GridLamp("[Lamp_Stop]", "lamp_stop.png", "停車", 2, 2, kYellow)};
  d.Others = {GridLamp("", "other_door_l.png", "左戸開", 3, 2, kAmber),
              GridLamp("", "other_door_r.png", "右戸開", 4, 2, kAmber),
              GridLamp("", "other_side.png", "扉選択", 3, 3, kWhite),
              GridLamp("", "other_pantograph.png", "架線", 0, 3, kGreen),
              GridLamp("", "other_request.png", "つぎ停車", 1, 3, kYellow),
              GridLamp("", "other_atsp.png", "ATS-P", 2, 3, kGreen),
              {"", "other_plate.png", "1000形", 596, 846, 92, 26, kWhite}};
  d.Strips.push_back({"[NotchImageP]", "notch_p.png", 470, 648, 300, 34,
                      {"", "P1", "P2", "P3", "P4", "S1", "S2"}, kGreen, true, 4});
  d.Strips.push_back({"[NotchImageB]", "notch_b.png", 470, 690, 300, 34,
                      {"", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "EB"}, kAmber, true, 8});
  d.Strips.push_back({"[NotchImageB2]", "brake_command.png", 626, 740, 132, 38,
                      {"緩め", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "非常", "ATS常用", "ATS非常"}, kAmber, false, 0});
  d.ClockX = 690;
  d.ClockY = 786;
  d.ClockHand = 20;
  d.DigiSpeed = QRect(116, 706, 68, 28);
  return d;
}

Desk DieselDesk() {
  Desk d;
  d.Which = Train::Diesel;
  d.Dials.push_back({150, 662, 118, -135, 2.25, 0, 0, 120, 10, 2, 2, "km/h", "速度計", true});
  d.Dials.push_back({368, 592, 80, -135, 0.27, 0, 0, 1000, 100, 20, 2, "kPa", "元空気溜・釣合", false});
  d.Dials.push_back({368, 782, 72, -135, 0.27, 0, 0, 1000, 100, 20, 2, "kPa", "ブレーキ管・BC", false});
  d.Needles = {{NeedleKey::Speed, 0, "needle_speed.png", QColor(250, 250, 250), 0.86},
               {NeedleKey::MR, 1, "needle_mr.png", QColor(210, 30, 30), 0.84},
               {NeedleKey::ER, 1, "needle_er.png", QColor(30, 30, 30), 0.78},
               {NeedleKey::BP, 2, "needle_bp.png", QColor(30, 30, 30), 0.84},
               {NeedleKey::BC, 2, "needle_bc.png", QColor(210, 30, 30), 0.78}};
  d.Lamps = {GridLamp("[Lamp_Door]", "lamp_door.png", "戸閉", 0, 0, kAmber),
             GridLamp("[Lamp_Power]", "lamp_power.png", "力行", 1, 0, kGreen),
             GridLamp("[Lamp_Air]", "lamp_air.png", "ブレーキ", 2, 0, kAmber),
             GridLamp("[Lamp_EB]", "lamp_eb.png", "EB", 4, 0, kRed),
             GridLamp("[Lamp_Ats1]", "lamp_ats1.png", "ATS", 0, 1, kWhite),
             GridLamp("[Lamp_Ats2]", "lamp_ats2.png", "ATS", 1, 1, kRed),
             GridLamp("[Lamp_Ats3]", "lamp_ats3.png", "確認", 2, 1, kGreen),
             GridLamp("[Lamp_Fwd]", "lamp_fwd.png", "前", 0, 2, kWhite),
             GridLamp("[Lamp_Back]", "lamp_back.png", "後", 1, 2, kWhite),
             GridLamp("[Lamp_Stop]", "lamp_stop.png", "停車", 2, 2, kYellow)};
  d.Others = {GridLamp("", "other_door_l.png", "左戸開", 3, 2, kAmber),
              GridLamp("", "other_door_r.png", "右戸開", 4, 2, kAmber),
              GridLamp("", "other_side.png", "扉選択", 3, 3, kWhite),
              GridLamp("", "other_engine.png", "機関運転", 3, 0, kGreen),
              GridLamp("", "other_request.png", "つぎ停車", 1, 3, kYellow),
              GridLamp("", "other_atsp.png", "ATS-P", 2, 3, kGreen),
              {"", "other_plate.png", "キハ0形", 596, 846, 92, 26, kWhite}};
  d.Strips.push_back({"[NotchImageP]", "notch_p.png", 470, 648, 300, 34, {"", "1", "2", "3", "4", "5"}, kGreen, true, 5});
  d.Strips.push_back({"[NotchImageB]", "brake_handle.png", 470, 690, 148, 38, {"運転", "保ち", "重なり", "常用", "非常"},
                      kAmber, false, 0});
  d.Strips.push_back({"[GearImageList]", "gear.png", 626, 690, 132, 38, {"中立", "変速", "直結"}, kGreen, false, 0});
  d.Strips.push_back({"[GearImageList2]", "gear_lever.png", 626, 740, 132, 38, {"レバー 中立", "レバー 変速", "レバー 直結"},
                      kWhite, false, 0});
  d.ClockX = 690;
  d.ClockY = 786;
  d.ClockHand = 20;
  d.DigiSpeed = QRect(116, 706, 68, 28);
  return d;
}

Desk DeskOf(Train t) { return t == Train::Electric ? ElectricDesk() : DieselDesk(); }

const char* NeedleKeyText(NeedleKey k) {
  switch (k) {
    case NeedleKey::Speed: return "[Needle_Speed]";
    case NeedleKey::BC: return "[Needle_BC]";
    case NeedleKey::MR: return "[Needle_MR]";
    case NeedleKey::BP: return "[Needle_BP]";
    case NeedleKey::ER: return "[Needle_ER]";
    case NeedleKey::I: return "[Needle_I]";
    case NeedleKey::V: return "[Needle_V]";
  }
  return "";
}

const char* NeedleGroup(NeedleKey k) {
  switch (k) {
    case NeedleKey::Speed: return "- 速度計";
    case NeedleKey::BC: return "- BC圧力計";
    case NeedleKey::MR: return "- MR圧力計";
    case NeedleKey::BP: return "- BP圧力計";
    case NeedleKey::ER: return "- ER圧力計";
    case NeedleKey::I: return "- 電流計";
    case NeedleKey::V: return "- 電圧計";
  }
  return "";
}

// A needle picture is a square centred on its dial, so that turning it about its own centre
// turns it about the dial's.
int NeedleSize(const Dial& d) { return 2 * d.R - 8; }

std::string File(Train t, const char* name) { return DataText::WinPath(TrainFolder(t) + "/" + name); }

// Drawn with smooth edges on a transparent ground, then flattened onto the colour it will sit
// on, with the key colour wherever nothing was drawn: the edges then blend into the right
// colour and not into magenta.
QImage Flatten(const QImage& argb, const QColor& matte) {
  QImage out(argb.size(), QImage::Format_RGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const QColor c = QColor::fromRgba(in[x]);
      const int a = c.alpha();
      if (a == 0) {
        o[x] = kKey.rgb();
        continue;
      }
      // ARGB32 (not premultiplied): blend over the matte.
      auto mix = [&](int v, int m) { return (v * a + m * (255 - a) + 127) / 255; };
      QRgb rgb = qRgb(mix(c.red(), matte.red()), mix(c.green(), matte.green()), mix(c.blue(), matte.blue()));
      if (rgb == kKey.rgb()) rgb = qRgb(254, 0, 255);
      o[x] = rgb;
    }
  }
  return out;
}

QImage Transparent(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

// The bottom-left pixel names the key; a picture whose corner was drawn on gets it back.
void KeyCorner(QImage& img) { img.setPixel(0, img.height() - 1, kKey.rgb()); }

QPointF OnDial(double cx, double cy, double r, double degrees) {
  const double a = degrees * M_PI / 180.0;
  return {cx + r * std::sin(a), cy - r * std::cos(a)};
}

void DrawDial(QPainter& p, const Dial& d, int dy) {
  const QPointF c(d.Cx, d.Cy + dy);
  // Bezel and face.
  QRadialGradient rim(c, d.R + 8);
  rim.setColorAt(0.85, QColor(150, 154, 158));
  rim.setColorAt(1.0, QColor(70, 74, 78));
  p.setPen(Qt::NoPen);
  p.setBrush(rim);
  p.drawEllipse(c, d.R + 8, d.R + 8);
  p.setBrush(d.Face());
  p.drawEllipse(c, d.R, d.R);
  const QColor ink = d.Dark ? QColor(240, 240, 236) : QColor(20, 20, 20);
  // A red band above the working range of the air gauges and the top of the speed scale.
  if (d.Unit == "kPa" || d.Unit == "km/h") {
    const double from = d.Unit == "kPa" ? 900 : 100;
    QPen band(QColor(200, 40, 40), d.R * 0.07);
    band.setCapStyle(Qt::FlatCap);
    p.setPen(band);
    p.setBrush(Qt::NoBrush);
    const double r = d.R * 0.9;
    const double a0 = d.Angle(from), a1 = d.Angle(d.Max);
    // QPainter's arcs run anticlockwise from three o'clock in sixteenths of a degree.
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), static_cast<int>((90 - a0) * 16), static_cast<int>(-(a1 - a0) * 16));
  }
  // Ticks and numbers.
  int major = 0;
  for (double v = d.Min; v <= d.Max + 1e-9; v += d.Minor) {
    const bool isMajor = std::fabs(std::remainder(v - d.Min, d.Major)) < 1e-6;
    const double a = d.Angle(v);
    p.setPen(QPen(ink, isMajor ? 2.6 : 1.2));
    p.drawLine(OnDial(c.x(), c.y(), d.R * (isMajor ? 0.8 : 0.87), a), OnDial(c.x(), c.y(), d.R * 0.95, a));
    if (isMajor) {
      if (major % d.LabelEvery == 0) {
        const QPointF at = OnDial(c.x(), c.y(), d.R * 0.64, a);
        const double size = std::max(9.0, d.R * 0.15);
        DrawFitted(p, QRectF(at.x() - size * 1.6, at.y() - size * 0.7, size * 3.2, size * 1.4),
                   QString::number(static_cast<int>(std::lround(v))), size, ink, true);
      }
      ++major;
    }
  }
  DrawFitted(p, QRectF(c.x() - d.R * 0.5, c.y() - d.R * 0.42, d.R, d.R * 0.16), d.Unit, d.R * 0.13, ink);
  // The title under the gauge.
  DrawFitted(p, QRectF(c.x() - d.R, c.y() + d.R + 8, 2 * d.R, 14), d.Title, 12, QColor(210, 214, 218));
}

QImage NeedlePicture(const Dial& d, const Needle& n) {
  const int s = NeedleSize(d);
  QImage img = Transparent(s, s);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const double c = s / 2.0, len = d.R * n.Length, tail = d.R * 0.2;
  QPainterPath path;
  path.moveTo(c - 1.2, c - len);
  path.lineTo(c + 1.2, c - len);
  path.lineTo(c + 3.6, c + tail);
  path.lineTo(c - 3.6, c + tail);
  path.closeSubpath();
  p.setPen(QPen(n.Colour.darker(160), 0.8));
  p.setBrush(n.Colour);
  p.drawPath(path);
  p.setBrush(QColor(60, 60, 60));
  p.setPen(QPen(QColor(20, 20, 20), 1));
  p.drawEllipse(QPointF(c, c), 6.5, 6.5);
  p.end();
  return Flatten(img, d.Face());
}

void DrawLampShape(QPainter& p, const QRectF& r, const QColor& fill, const QColor& ink, const QString& label) {
  p.setPen(QPen(QColor(18, 18, 18), 1.5));
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, fill.lighter(125));
  g.setColorAt(1, fill.darker(115));
  p.setBrush(g);
  p.drawRoundedRect(r, 4, 4);
  DrawFitted(p, r.adjusted(3, 2, -3, -2), label, r.height() * 0.5, ink, true);
}

QColor Unlit(const QColor& lit) { return QColor(lit.red() / 6 + 20, lit.green() / 6 + 20, lit.blue() / 6 + 20); }

QImage LampPicture(const LampSpec& l) {
  QImage img = Transparent(l.W, l.H);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  DrawLampShape(p, QRectF(1, 1, l.W - 2, l.H - 2), l.Lit, QColor(30, 20, 10), l.Label);
  p.end();
  QImage out = Flatten(img, kDesk);
  KeyCorner(out);
  return out;
}

// Lamps lit up to the cell's number, or one text window per cell. Cell 0 of a lamp strip is
// all dark: the handle is off.
QImage StripPicture(const Strip& s) {
  const int columns = 1;
  QImage img = Transparent(s.CellW * columns, s.CellH * static_cast<int>(s.Cells.size()));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (size_t i = 0; i < s.Cells.size(); ++i) {
    const QRectF cell(1, s.CellH * static_cast<double>(i) + 1, s.CellW - 2, s.CellH - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 12, 12));
    p.drawRoundedRect(cell, 3, 3);
    if (s.Lamps) {
      // Lamps of the strip; cells past the lamp count (a second power mode) count from 1 again.
      const int n = static_cast<int>(i);
      const int lit = n <= s.LampCount ? n : n - s.LampCount;
      const QColor colour = n <= s.LampCount ? s.Lit : kAmber;
      const double w = (cell.width() - 6) / s.LampCount;
      for (int k = 0; k < s.LampCount; ++k) {
        const bool on = k < lit;
        const bool last = std::string(s.Key) == "[NotchImageB]" && k + 1 == s.LampCount;
        const QColor fill = on ? (last ? kRed : colour) : Unlit(last ? kRed : colour);
        QString label = QString::number(k + 1);
        if (std::string(s.Key) == "[NotchImageB]") label = last ? "EB" : "B" + label;
        else label = (n > s.LampCount && on ? "S" : "P") + label;
        DrawLampShape(p, QRectF(cell.x() + 3 + k * w, cell.y() + 3, w - 3, cell.height() - 6), fill,
                      on ? QColor(20, 20, 20) : QColor(90, 90, 90), label);
      }
    } else {
      const QColor ink = s.Cells[i].contains("非常") || s.Cells[i].contains("ATS") ? kRed : s.Lit;
      DrawFitted(p, cell.adjusted(6, 3, -6, -3), s.Cells[i], cell.height() * 0.56, ink, true);
    }
  }
  p.end();
  QImage out = Flatten(img, kDesk);
  KeyCorner(out);
  return out;
}

// One cell per km/h from 0 to 199: green digits of a speed display.
QImage DigiSpeedPicture(const QRect& r) {
  constexpr int kColumns = 10, kCells = 200;
  QImage img = Transparent(r.width() * kColumns, r.height() * (kCells / kColumns));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int v = 0; v < kCells; ++v) {
    const QRectF cell((v % kColumns) * r.width() + 1, (v / kColumns) * r.height() + 1, r.width() - 2, r.height() - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(6, 20, 10));
    p.drawRoundedRect(cell, 3, 3);
    DrawFitted(p, cell.adjusted(4, 1, -4, -1), QString::number(v), cell.height() * 0.82, QColor(120, 255, 140), true,
               Qt::AlignRight | Qt::AlignVCenter);
  }
  p.end();
  QImage out = Flatten(img, kDarkFace);
  KeyCorner(out);
  return out;
}

QImage PanelPicture(const Desk& d) {
  QImage img(kDeskWidth, kDeskHeight, QImage::Format_RGB32);
  img.fill(kDesk);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const int dy = -kDeskTop;
  // The lower edge of the windscreen and the shelf of the desk.
  QLinearGradient shelf(0, 0, 0, 18);
  shelf.setColorAt(0, QColor(20, 22, 24));
  shelf.setColorAt(1, kDeskEdge);
  p.fillRect(QRect(0, 0, kDeskWidth, 18), shelf);
  p.setPen(QPen(QColor(90, 96, 102), 1));
  p.drawLine(0, 18, kDeskWidth, 18);
  // Instrument panels a shade darker than the desk.
  p.setPen(QPen(QColor(30, 33, 36), 2));
  p.setBrush(QColor(44, 49, 54));
  p.drawRoundedRect(QRectF(14, 30, 440, 390), 10, 10);
  p.drawRoundedRect(QRectF(462, 30, 324, 390), 10, 10);
  for (const Dial& dial : d.Dials) DrawDial(p, dial, dy);
  // The lamps as they look when dark.
  auto dark = [&](const LampSpec& l) {
    DrawLampShape(p, QRectF(l.X + 1, l.Y + dy + 1, l.W - 2, l.H - 2), Unlit(l.Lit), QColor(105, 105, 100), l.Label);
  };
  for (const LampSpec& l : d.Lamps) dark(l);
  for (size_t k = 0; k + 1 < d.Others.size(); ++k) dark(d.Others[k]);
  // Behind the indicator strips and the speed display.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(12, 12, 12));
  for (const Strip& s : d.Strips) p.drawRoundedRect(QRectF(s.X, s.Y + dy, s.CellW, s.CellH), 3, 3);
  p.setBrush(QColor(6, 20, 10));
  p.drawRoundedRect(QRectF(d.DigiSpeed.x(), d.DigiSpeed.y() + dy, d.DigiSpeed.width(), d.DigiSpeed.height()), 3, 3);
  // The clock face; its hands are drawn over everything by the program.
  const QPointF cc(d.ClockX + 25, d.ClockY + 25 + dy);
  p.setBrush(QColor(120, 124, 128));
  p.drawEllipse(cc, 29, 29);
  p.setBrush(kLightFace);
  p.drawEllipse(cc, 25, 25);
  for (int h = 0; h < 12; ++h) {
    p.setPen(QPen(QColor(20, 20, 20), h % 3 == 0 ? 2.2 : 1.0));
    p.drawLine(OnDial(cc.x(), cc.y(), 20, h * 30), OnDial(cc.x(), cc.y(), 24, h * 30));
  }
  p.end();
  KeyCorner(img);
  return img;
}

}  // namespace

std::string TrainFolder(Train train) { return train == Train::Electric ? "train/1000" : "train/0"; }

void PanelKeys(DataText& t, Train train) {
  const Desk d = DeskOf(train);
  const auto I = [](int v) { return std::to_string(v); };
  t.Line("- アナログ時計");
  t.Line("[Clock]").Line(I(d.ClockX)).Line(I(d.ClockY)).Line(I(d.ClockHand));
  t.Line("- 運転台パネル");
  t.Line("[Panel]").Line(File(train, "panel.png")).Line("0").Line(I(kDeskTop));
  t.Line("- 運転台パネル2");
  for (const LampSpec& l : d.Lamps) {
    t.Line(l.Key).Line(File(train, l.File)).Line(I(l.X)).Line(I(l.Y));
  }
  for (const Needle& n : d.Needles) {
    const Dial& dial = d.Dials[static_cast<size_t>(n.DialIndex)];
    const int s = NeedleSize(dial);
    t.Line(NeedleGroup(n.Key));
    t.Line(NeedleKeyText(n.Key)).Line(File(train, n.File)).Line(I(dial.Cx - s / 2)).Line(I(dial.Cy - s / 2)).Line(I(s)).Line(I(s));
    t.Line(I(dial.Zero)).Line(DataText::Num(dial.One, 4));
    if (n.Key == NeedleKey::Speed) t.Line(DataText::Num(dial.C, 4));
    if (n.Key == NeedleKey::I) t.Line("0");  // signed: braking current swings below zero
  }
  for (const Strip& s : d.Strips) {
    t.Line(s.Key).Line(I(s.X)).Line(I(s.Y)).Line(I(s.CellW)).Line(I(s.CellH)).Line(File(train, s.File));
  }
  t.Line("[Digi_Speed]").Line(I(d.DigiSpeed.x())).Line(I(d.DigiSpeed.y())).Line(I(d.DigiSpeed.width()));
  t.Line(I(d.DigiSpeed.height())).Line(File(train, "digi_speed.png"));
  t.Line("; 戸開(左), 戸開(右), 扉選択, 機関・架線, 停車要求, ATS-P, 形式");
  t.Line("[Others]");
  for (const LampSpec& o : d.Others) t.Line(File(train, o.File)).Line(I(o.X)).Line(I(o.Y));
  t.Line("#");
}

void WritePanelPictures(Train train, const std::string& folder) {
  const Desk d = DeskOf(train);
  const std::string base = folder + TrainFolder(train) + "/";
  SavePicture(PanelPicture(d), base + "panel.png");
  for (const LampSpec& l : d.Lamps) SavePicture(LampPicture(l), base + l.File);
  for (const LampSpec& o : d.Others) SavePicture(LampPicture(o), base + o.File);
  for (const Needle& n : d.Needles) {
    QImage needle = NeedlePicture(d.Dials[static_cast<size_t>(n.DialIndex)], n);
    KeyCorner(needle);
    SavePicture(needle, base + n.File);
  }
  for (const Strip& s : d.Strips) SavePicture(StripPicture(s), base + s.File);
  SavePicture(DigiSpeedPicture(d.DigiSpeed), base + "digi_speed.png");
}

}  // namespace kavrin::demo

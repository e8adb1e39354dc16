#include "demo/title_pictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "demo/film_render.h"
#include "demo/pictures.h"
#include "authoring/avi_writer.h"

namespace kavrin::demo {

namespace {

const char* kTitle = "鉄道運転シミュレータ";

QImage Frame(const Route& r, const SceneBoards& boards, int32_t frame) {
  FilmRenderer renderer(r, boards);
  QImage img(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  renderer.Render(frame, img);
  return img;
}

// A film frame above, the title in a band below: 800 x 600.
QImage TitlePicture(const QImage& scene, const QString& caption, const QColor& band) {
  QImage img(800, 600, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(0, 0, 800, 450), scene);
  QLinearGradient g(0, 450, 0, 600);
  g.setColorAt(0, band);
  g.setColorAt(1, band.darker(160));
  p.fillRect(QRectF(0, 450, 800, 150), g);
  // The title with a shadow, as the cab texts are drawn.
  DrawFitted(p, QRectF(3, 463, 800, 70), kTitle, 58, QColor(0, 0, 0, 160), true);
  DrawFitted(p, QRectF(0, 460, 800, 70), kTitle, 58, Qt::white, true);
  DrawFitted(p, QRectF(0, 532, 800, 30), caption, 22, QColor(255, 236, 170));
  DrawFitted(p, QRectF(0, 566, 800, 24), "画面をクリックしてください", 16, QColor(230, 230, 230));
  return img;
}

QImage MenuPicture(const QImage& scene) {
  QImage img(800, 600, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(0, 0, 800, 600), scene);
  p.fillRect(QRectF(0, 0, 800, 600), QColor(10, 20, 40, 170));
  DrawFitted(p, QRectF(20, 20, 760, 60), kTitle, 44, Qt::white, true);
  p.fillRect(QRectF(20, 96, 760, 3), QColor(255, 220, 120));
  DrawFitted(p, QRectF(40, 120, 340, 40), "路線を選んでください", 24, QColor(255, 236, 170), true, Qt::AlignLeft | Qt::AlignVCenter);
  DrawFitted(p, QRectF(430, 330, 340, 40), "列車を選んでください", 24, QColor(255, 236, 170), true, Qt::AlignLeft | Qt::AlignVCenter);
  DrawFitted(p, QRectF(430, 520, 340, 50), "右クリックで別の列車データも選べます", 15, QColor(220, 220, 220), false, Qt::AlignLeft | Qt::AlignVCenter);
  return img;
}

QImage LinePicture(const QString& name, const QString& detail, bool ready) {
  QImage img(300, 44, QImage::Format_RGB32);
  img.fill(QColor(20, 30, 50));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(ready ? QColor(255, 210, 90) : QColor(120, 120, 120), 2));
  p.setBrush(ready ? QColor(30, 80, 150) : QColor(60, 64, 70));
  p.drawRoundedRect(QRectF(2, 2, 296, 40), 8, 8);
  DrawFitted(p, QRectF(12, 3, 276, 22), name, 18, ready ? Qt::white : QColor(190, 190, 190), true, Qt::AlignLeft | Qt::AlignVCenter);
  DrawFitted(p, QRectF(12, 23, 276, 18), detail, 13, ready ? QColor(255, 236, 170) : QColor(170, 170, 170), false,
             Qt::AlignLeft | Qt::AlignVCenter);
  return img;
}

// A side view of a car: the electric one with a pantograph, the diesel one with an exhaust.
void DrawCar(QPainter& p, const QRectF& body, const QColor& main, const QColor& stripe, bool electric) {
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(main);
  p.drawRoundedRect(body, 6, 6);
  p.fillRect(QRectF(body.left(), body.top() + body.height() * 0.62, body.width(), body.height() * 0.12), stripe);
  p.setBrush(QColor(60, 80, 100));
  const double wy = body.top() + body.height() * 0.18, wh = body.height() * 0.3;
  for (double x = body.left() + 16; x + 14 < body.right() - 8; x += 22) p.drawRect(QRectF(x, wy, 14, wh));
  p.setBrush(QColor(30, 30, 30));
  for (double x : {body.left() + 22, body.left() + 40, body.right() - 40, body.right() - 22}) {
    p.drawEllipse(QPointF(x, body.bottom() + 5), 6, 6);
  }
  p.setPen(QPen(QColor(40, 40, 40), 2));
  if (electric) {
    const double cx = body.center().x();
    p.drawLine(QPointF(cx - 14, body.top()), QPointF(cx, body.top() - 14));
    p.drawLine(QPointF(cx + 14, body.top()), QPointF(cx, body.top() - 14));
    p.drawLine(QPointF(cx - 10, body.top() - 14), QPointF(cx + 10, body.top() - 14));
  } else {
    p.fillRect(QRectF(body.right() - 30, body.top() - 8, 8, 8), QColor(50, 50, 50));
  }
}

QImage TrainPicture(bool electric) {
  QImage img(240, 90, QImage::Format_RGB32);
  img.fill(QColor(20, 30, 50));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRectF(0, 66, 240, 3), QColor(120, 120, 120));
  const QColor main = electric ? QColor(220, 226, 232) : QColor(236, 222, 180);
  const QColor stripe = electric ? QColor(30, 110, 200) : QColor(200, 60, 40);
  DrawCar(p, QRectF(6, 26, 112, 34), main, stripe, electric);
  DrawCar(p, QRectF(122, 26, 112, 34), main, stripe, false);
  DrawFitted(p, QRectF(4, 0, 232, 22), electric ? "電車 1000形（4両）" : "気動車 キハ0形（2両）", 16, Qt::white, true);
  DrawFitted(p, QRectF(4, 70, 232, 18), electric ? "train_1000.dat" : "train_0.dat", 12, QColor(190, 200, 210));
  return img;
}

}  // namespace

void WriteTitlePictures(const std::vector<Route>& routes, const std::string& folder) {
  const Route& down = routes[0];
  const Route& up = routes[1];
  const SceneBoards downBoards = MakeSceneBoards(down);
  const SceneBoards upBoards = MakeSceneBoards(up);
  const std::string t = folder + "image/title/";
  // Four views of the line: the first station, the level crossing, the tunnel mouth and the
  // curve seen going up.
  const int32_t crossing = down.Crossings.front().At.Frame - 60;
  const int32_t tunnel = down.Tunnels.front().From.Frame - 150;
  const int32_t curve = up.Limits.back().From.Frame + 60;
  SavePicture(TitlePicture(Frame(down, downBoards, 0), "しらさぎ線 北浜 → 南港", QColor(30, 70, 140)), t + "title01.jpg");
  SavePicture(TitlePicture(Frame(down, downBoards, crossing), "桜台第1踏切", QColor(120, 40, 40)), t + "title02.jpg");
  SavePicture(TitlePicture(Frame(down, downBoards, tunnel), "トンネルを抜けると終点 南港", QColor(40, 90, 50)), t + "title03.jpg");
  SavePicture(TitlePicture(Frame(up, upBoards, curve), "上り 南港 → 北浜", QColor(90, 60, 120)), t + "title04.jpg");
  SavePicture(MenuPicture(Frame(up, upBoards, up.Stations[2].Stop.Frame)), t + "title2.jpg");

  const QString line = Q(kLineName);
  SavePicture(LinePicture(line + " 下り（昼）", Q(down.Stations.front().Name + " → " + down.Stations.back().Name), true), t + "line11.bmp");
  SavePicture(LinePicture(line + " 上り（昼）", Q(up.Stations.front().Name + " → " + up.Stations.back().Name), true), t + "line12.bmp");
  SavePicture(LinePicture(line + " 下り（夜）", "準備中", false), t + "line13.bmp");
  SavePicture(LinePicture(line + " 上り（夜）", "準備中", false), t + "line14.bmp");
  SavePicture(LinePicture("みなと線 下り", "準備中", false), t + "line21.bmp");
  SavePicture(LinePicture("みなと線 上り", "準備中", false), t + "line22.bmp");
  SavePicture(TrainPicture(false), t + "train1.bmp");
  SavePicture(TrainPicture(true), t + "train2.bmp");
}

FilmStats WriteOpeningFilm(const Route& route, const std::string& path) {
  // The title screen plays it in 640 x 360.
  constexpr int kW = 640, kH = 360, kFrames = 240;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  const SceneBoards boards = MakeSceneBoards(route);
  FilmRenderer renderer(route, boards);
  AviWriter writer;
  AviWriterOptions o;
  o.Codec = FilmCodec::Mpeg4;
  o.Width = kW;
  o.Height = kH;
  o.FrameRate = kFilmFps;
  o.KeyInterval = 30;
  o.Quality = 5;
  if (!writer.Open(path, o)) throw std::runtime_error(path + ": " + writer.Error());
  QImage scene(kFilmWidth, kFilmHeight, QImage::Format_RGBA8888);
  QImage frame(kW, kH, QImage::Format_RGBA8888);
  FilmStats stats;
  // From a running start before the crossing, so that the line moves from the first picture.
  const int32_t start = route.Crossings.front().At.Frame - 600;
  for (int i = 0; i < kFrames; ++i) {
    renderer.Render(start + i * 2, scene);
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, kW, kH), scene);
    const double fade = std::clamp((i - 40) / 60.0, 0.0, 1.0);
    if (fade > 0) {
      p.fillRect(QRectF(0, 120, kW, 120), QColor(0, 0, 0, static_cast<int>(140 * fade)));
      const QColor ink(255, 255, 255, static_cast<int>(255 * fade));
      DrawFitted(p, QRectF(0, 130, kW, 64), kTitle, 48, ink, true);
      DrawFitted(p, QRectF(0, 196, kW, 32), Q(std::string(kLineName) + " 北浜 — 南港"), 24, QColor(255, 236, 170, ink.alpha()));
    }
    p.end();
    if (!writer.WriteFrame(frame.constBits())) throw std::runtime_error(path + ": " + writer.Error());
    ++stats.Frames;
  }
  if (!writer.Close()) throw std::runtime_error(path + ": " + writer.Error());
  return stats;
}

}  // namespace kavrin::demo

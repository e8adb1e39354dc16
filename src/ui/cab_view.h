#pragma once
// The cab view `untendai`: the 800 x 880 drawing surface and the window canvas that holds it with
// the timetable card and the side picture, scaled into the widget as a whole with its aspect
// kept, and the small back button at the bottom right.
#include <QImage>
#include <QWidget>
#include <functional>

namespace kavrin {

class CabView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 880;
  static constexpr int kBackSize = 20;

  explicit CabView(QWidget* parent = nullptr);

  QImage& surface() { return surface_; }
  // What is shown; until a pass composes it, the surface alone.
  QImage& canvas() { return canvas_; }
  // Where the canvas lands in the widget.
  QRect SurfaceRect() const;
  QRect BackRect() const;

  std::function<void()> onCabClick;
  std::function<void()> onBackClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage surface_;
  QImage canvas_;
  QImage back_;
};

}  // namespace kavrin

#pragma once
// The cab view `untendai`: the 800 x 880 drawing surface, scaled into the widget with its aspect
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
  // Where the surface lands in the widget.
  QRect SurfaceRect() const;
  QRect BackRect() const;

  std::function<void()> onCabClick;
  std::function<void()> onBackClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage surface_;
  QImage back_;
};

}  // namespace kavrin

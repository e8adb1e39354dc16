#include "ui/offscreen_cab.h"

#include <QGuiApplication>
#include <QImage>

#include "ui/cab_compositor.h"

namespace kavrin {

struct OffscreenCab::Parts {
  CabCompositor compositor;
  CabOverlay overlay;
  QImage surface{CabCompositor::kWidth, CabCompositor::kHeight, QImage::Format_RGB32};
};

OffscreenCab::OffscreenCab() : parts_(std::make_unique<Parts>()) { parts_->surface.fill(Qt::black); }

OffscreenCab::~OffscreenCab() = default;

void OffscreenCab::Compose(const Sim& sim) { parts_->compositor.Compose(parts_->surface, sim, &parts_->overlay); }

bool OffscreenCab::SavePng(const std::string& path) const {
  return parts_->surface.save(QString::fromStdString(path), "PNG");
}

void EnsureOffscreenGui() {
  if (QGuiApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kavrin";
  static char* argv[] = {name, nullptr};
  // Kept for the rest of the process, as the application object of a program is.
  new QGuiApplication(argc, argv);
}

}  // namespace kavrin

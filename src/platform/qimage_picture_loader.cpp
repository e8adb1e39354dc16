#include "platform/qimage_picture_loader.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstring>

namespace kavrin {

std::optional<Picture> QImagePictureLoader::Load(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);
  // Pictures keep their stored orientation; the data files' authors drew them as they are.
  reader.setAutoTransform(false);
  QImage image;
  if (!reader.read(&image) || image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_RGBA8888);
  if (image.isNull()) return std::nullopt;

  Picture p;
  p.Width = image.width();
  p.Height = image.height();
  const size_t row = static_cast<size_t>(p.Width) * 4;
  p.Rgba.resize(row * static_cast<size_t>(p.Height));
  for (int y = 0; y < p.Height; ++y)
    std::memcpy(p.Rgba.data() + row * static_cast<size_t>(y), image.constScanLine(y), row);
  return p;
}

}  // namespace kavrin

#pragma once
// Pictures of the data files (BMP, JPEG, PNG) decoded by Qt's image readers.
#include <optional>
#include <string>

#include "core/picture.h"

namespace kavrin {

class QImagePictureLoader : public PictureLoader {
 public:
  // The format is taken from the file's content, not its extension: data sets name JPEG files
  // ".bmp" often enough.
  std::optional<Picture> Load(const std::string& path) override;
};

}  // namespace kavrin

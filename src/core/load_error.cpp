#include "core/load_error.h"

namespace kavrin {

std::string AuthorLine(const TLoadPlace& place) {
  if (place.File.empty()) return {};
  if (place.Missing) return place.File + "が見つかりません";
  std::string out = place.File;
  if (place.Line == 0) return out;
  out += ":" + std::to_string(place.Line) + ": ";
  if (!place.Label.empty()) out += place.Label + ": ";
  return out + place.Text;
}

}  // namespace kavrin

#include "ui/japanese_font.h"

#include <QStringList>

namespace kavrin {

QFont JapaneseFont(int pointSize, bool bold, bool italic) {
  QFont f;
  f.setFamilies({"IPAexGothic", "Noto Sans CJK JP", "IPAGothic", "VL Gothic", "Meiryo"});
  f.setPointSize(pointSize);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

}  // namespace kavrin

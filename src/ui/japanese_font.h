#pragma once
#include <QFont>

namespace kavrin {

// A Japanese Gothic font named outright: a fontconfig match for the Windows names would land on
// a Latin font and mix two fonts in one string.
QFont JapaneseFont(int pointSize, bool bold = false, bool italic = false);

}  // namespace kavrin

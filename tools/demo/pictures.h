#pragma once
// Drawing helpers shared by every picture the generator makes: the Japanese font, boards with
// text, and writing pictures in the formats data sets use.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <string>

class QPainter;

namespace kavrin::demo {

// IPAexGothic by name: a fontconfig match for some other name lands on a Latin font and mixes
// two fonts in one line.
QFont DemoFont(double pixels, bool bold = false);

// Text centred in a rectangle, shrunk to fit its width.
void DrawFitted(QPainter& p, const QRectF& rect, const QString& text, double pixels, const QColor& colour,
                bool bold = false, Qt::Alignment align = Qt::AlignCenter);

// A white board with a dark border and up to two lines of text.
QImage TextBoard(int w, int h, const QString& line1, const QString& line2, const QColor& ink,
                 const QColor& paper = QColor(250, 250, 246));

// Writes a picture as PNG, JPEG (quality 90) or 24-bit BMP by the file's extension, making the
// folders on the way. Throws std::runtime_error.
void SavePicture(const QImage& image, const std::string& path);

QString Q(const std::string& utf8);

}  // namespace kavrin::demo

#include "eq/ui/response_graph.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "eq/ui/eq_box.h"

namespace k7310 {
namespace {

const QColor kBackground(20, 20, 20);
const QColor kFrame(128, 128, 128);
const QColor kGridLine(64, 64, 64);
const QColor kLabelText(255, 255, 255);
const QColor kLabelBox(4, 2, 4);
const QColor kCurve(255, 0, 0);

struct Label {
  int x, y;
  const char* text;
};
constexpr Label kLevelLabels[] = {{4, 10, "+15dB"}, {4, 33, "+10dB"},  {8, 56, "+5dB"},   {12, 79, "0dB"},
                                  {9, 102, "-5dB"}, {6, 126, "-10dB"}, {6, 149, "-15dB"}, {6, 172, "-20dB"},
                                  {6, 195, "-25dB"}, {6, 218, "-30dB"}};
constexpr Label kFreqLabels[] = {{90, 226, "20Hz"},   {166, 226, "50Hz"}, {222, 226, "100Hz"}, {280, 226, "200Hz"},
                                 {357, 226, "500Hz"}, {417, 226, "1KHz"}, {475, 226, "2KHz"},  {552, 226, "5KHz"},
                                 {607, 226, "10KHz"}, {666, 226, "20KHz"}};

// Text as the canvas writes it: top-left at (x, y), aliased, in one colour; on a filled box or transparent.
void Text(QImage& image, int x, int y, const QString& text, const QFont& font, QColor colour, const QColor* box) {
  QPainter p(&image);
  QFont f = font;
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  const QFontMetrics m(f);
  const QRect r(x, y, m.horizontalAdvance(text), m.height());
  if (box) p.fillRect(r, *box);
  p.setPen(colour);
  p.drawText(r, Qt::AlignLeft | Qt::AlignTop, text);
}

void Put(QImage& image, int x, int y, QRgb c) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
  reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c;
}

}  // namespace

ResponseGraph::ResponseGraph(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image5"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResponseGraph::Line(QImage& image, QPoint from, QPoint to, QColor colour) {
  // Bresenham from the first point towards the second, which is left out.
  const QRgb c = colour.rgb();
  int x = from.x(), y = from.y();
  const int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
  const int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
  int err = dx + dy;
  while (x != to.x() || y != to.y()) {
    Put(image, x, y, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void ResponseGraph::FillRect(QImage& image, QPoint topLeft, QPoint bottomRight, QColor colour) {
  const QRgb c = colour.rgb();
  for (int y = topLeft.y(); y < bottomRight.y(); ++y)
    for (int x = topLeft.x(); x < bottomRight.x(); ++x) Put(image, x, y, c);
}

void ResponseGraph::DrawGraphGrid(int width, int height) {
  grid_ = QImage(width, height, QImage::Format_RGB32);
  setFixedSize(width, height);
  for (int y = 0; y <= height; ++y) Line(grid_, {0, y}, {width, y}, kBackground);
  const QPoint corners[] = {{41, 17}, {width - 6, 17}, {width - 6, height - 24}, {41, height - 24}, {41, 17}};
  for (int i = 0; i + 1 < 5; ++i) Line(grid_, corners[i], corners[i + 1], kFrame);
  for (int j = 1; j <= 8; ++j) {
    const int y = static_cast<int>((height - 40) / 9.0 * j) + 17;
    Line(grid_, {42, y}, {width - 6, y}, kGridLine);
  }
  GraphLeftInset = static_cast<int>((width - 46) * 0.09);
  GraphRightInset = static_cast<int>((width - 46) * 0.05);
  const double span = width - 47 - GraphLeftInset - GraphRightInset;
  // 20, 30 .. 90, 100, 200 .. 900, 1000, 2000 .. 9000, 10000 Hz: 27 lines.
  for (int f = 20; f <= 10000; f += f < 100 ? 10 : f < 1000 ? 100 : 1000) {
    const int x = static_cast<int>(std::log(f / 20.0) / std::log(10.0) * span / 3) + GraphLeftInset + 41;
    Line(grid_, {x, 18}, {x, height - 24}, kGridLine);
  }
  Line(grid_, {GraphLeftInset + 41, 18}, {GraphLeftInset + 41, height - 24}, kGridLine);
  Line(grid_, {width - GraphRightInset - 6, 18}, {width - GraphRightInset - 6, height - 24}, kGridLine);
  // "Arial" 8 pt at 96 dpi: 11 pixels, in pixels like the window font.
  QFont arial(QStringLiteral("Arial"));
  arial.setPixelSize(11);
  arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  for (const Label& l : kLevelLabels) Text(grid_, l.x, l.y, QString::fromLatin1(l.text), arial, kLabelText, &kLabelBox);
  for (const Label& l : kFreqLabels) Text(grid_, l.x, l.y, QString::fromLatin1(l.text), arial, kLabelText, &kLabelBox);
  CopyGrid();
}

void ResponseGraph::CopyGrid() {
  // Into the image already there: a drag redraws many times a second.
  if (canvas_.size() != grid_.size() || canvas_.format() != grid_.format())
    canvas_ = grid_.copy();
  else
    std::memcpy(canvas_.bits(), grid_.constBits(), static_cast<std::size_t>(grid_.sizeInBytes()));
  update();
}

void ResponseGraph::DrawResponseCurve(std::span<const double> sums) {
  const int h = grid_.height();
  QPoint at;
  for (std::size_t k = 0; k < sums.size(); ++k) {
    const int x = 42 + static_cast<int>(k);
    const int y = static_cast<int>((15 - sums[k]) / 45 * (h - 38) + 16);
    if (k == 0)
      at = {x, y};
    else {
      Line(canvas_, at, {x, y}, kCurve);
      at = {x, y};
    }
  }
  update();
}

void ResponseGraph::DrawBandMarkers(const std::array<QPoint, 6>& markers) {
  for (std::size_t b = 0; b < markers.size(); ++b) {
    const QPoint m = markers[b];
    FillRect(canvas_, {m.x() - 4, m.y() - 4}, {m.x() + 4, m.y() + 4}, kBandColors[b]);
  }
  const QRgb white = QColor(Qt::white).rgb();
  for (std::size_t b = 0; b < markers.size(); ++b) {
    const QPoint m = markers[b];
    const QPoint at(m.x() - 2, m.y() < 117 ? m.y() - 18 : m.y() + 4);
    for (const QPoint& p : NumberPixels(static_cast<int>(b) + 1)) Put(canvas_, at.x() + p.x(), at.y() + p.y(), white);
  }
  update();
}

const std::vector<QPoint>& ResponseGraph::NumberPixels(int number) {
  std::vector<QPoint>& pixels = numberPixels_[static_cast<std::size_t>(number - 1)];
  if (!pixels.empty()) return pixels;
  // Drawn once on a black image with the same text routine; every white pixel is the number's.
  QImage scratch(40, 40, QImage::Format_RGB32);
  scratch.fill(Qt::black);
  Text(scratch, 0, 0, QString::number(number), font(), Qt::white, nullptr);
  for (int y = 0; y < scratch.height(); ++y)
    for (int x = 0; x < scratch.width(); ++x)
      if (scratch.pixel(x, y) == QColor(Qt::white).rgb()) pixels.emplace_back(x, y);
  return pixels;
}

void ResponseGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_);
}

void ResponseGraph::mousePressEvent(QMouseEvent* event) {
  if (onPress) onPress(event->position().toPoint());
}

void ResponseGraph::mouseMoveEvent(QMouseEvent* event) {
  if (onMove) onMove(event->position().toPoint());
}

void ResponseGraph::mouseReleaseEvent(QMouseEvent*) {
  if (onRelease) onRelease();
}

}  // namespace k7310

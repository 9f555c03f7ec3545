// The response graph Image5: a dark grid with level and frequency labels, the summed response of one output as a red
// curve, and six coloured square markers. It paints into an image of its own, the way the program's canvas draws:
// aliased, lines up to but not including their end point, filled rectangles without their right and bottom edge. The
// grid is painted once into GridBitmap and copied before every redraw; the widget repaints through update(), so
// repaints coalesce while a marker is dragged. Presses, moves and releases go to whoever drives the graph.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <span>
#include <vector>

namespace k7310 {

class ResponseGraph : public QWidget {
 public:
  explicit ResponseGraph(QWidget* parent);

  // Creates and paints GridBitmap for a graph of the given size; sets the insets.
  void DrawGraphGrid(int width, int height);
  // Copies GridBitmap onto the graph, wiping the curve and the markers.
  void CopyGrid();
  // The red curve: sums[k] is the level (in the graph's unit) of column 42 + k.
  void DrawResponseCurve(std::span<const double> sums);
  // The six markers of one channel, with their numbers.
  void DrawBandMarkers(const std::array<QPoint, 6>& markers);

  const QImage& Canvas() const { return canvas_; }
  const QImage& GridBitmap() const { return grid_; }
  int GraphLeftInset = 0;
  int GraphRightInset = 0;

  std::function<void(QPoint)> onPress;
  std::function<void(QPoint)> onMove;
  std::function<void()> onRelease;

  // Pixel primitives of the program's canvas, on any image.
  static void Line(QImage& image, QPoint from, QPoint to, QColor colour);  // without its end point
  static void FillRect(QImage& image, QPoint topLeft, QPoint bottomRight, QColor colour);  // without right/bottom

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The white pixels of each marker number "1" .. "6", relative to the text's top-left, made once from the font.
  const std::vector<QPoint>& NumberPixels(int number);

  std::array<std::vector<QPoint>, 6> numberPixels_;
  QImage grid_;
  QImage canvas_;
};

}  // namespace k7310

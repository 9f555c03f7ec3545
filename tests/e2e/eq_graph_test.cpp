// The response graph's pixels: the grid painted once, the curve and the markers drawn the way the canvas draws.
#include <gtest/gtest.h>

#include <QApplication>

#include <vector>

#include "eq/response.h"
#include "eq/ui/eq_box.h"
#include "eq/ui/response_graph.h"
#include "tests/qt_print.h"

namespace k7310 {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_eq_graph";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

class Graph : public ::testing::Test {
 protected:
  Graph() : graph((App(), nullptr)) { graph.DrawGraphGrid(720, 249); }
  ResponseGraph graph;
};

TEST_F(Graph, GridBackgroundFrameLinesAndLabels) {
  const QImage& g = graph.GridBitmap();
  ASSERT_EQ(g.size(), QSize(720, 249));
  EXPECT_EQ(graph.GraphLeftInset, 60);
  EXPECT_EQ(graph.GraphRightInset, 33);
  const struct {
    int x, y;
    QColor colour;
  } pixels[] = {
      {0, 0, {20, 20, 20}},      {719, 248, {20, 20, 20}},  // background, to the last row and column
      {41, 17, {128, 128, 128}}, {714, 17, {128, 128, 128}}, {714, 225, {128, 128, 128}}, {41, 225, {128, 128, 128}},
      {200, 40, {64, 64, 64}},   {200, 202, {64, 64, 64}},  // level lines
      {42, 86, {64, 64, 64}},    {713, 86, {64, 64, 64}},   {714, 86, {128, 128, 128}},
      {429, 18, {64, 64, 64}},   {429, 224, {64, 64, 64}},  {429, 225, {128, 128, 128}},  // 1000 Hz at column 429
      {430, 100, {20, 20, 20}},  {428, 100, {20, 20, 20}},
      {101, 100, {64, 64, 64}},  {681, 100, {64, 64, 64}},  // the two inset lines
      {12, 79, {4, 2, 4}},                                  // the box behind "0dB"
  };
  for (const auto& p : pixels) EXPECT_EQ(At(g, p.x, p.y), p.colour) << p.x << "," << p.y;
  // A label's text is white inside its box.
  bool white = false;
  for (int y = 79; y < 92; ++y)
    for (int x = 12; x < 32; ++x) white |= At(g, x, y) == QColor(255, 255, 255);
  EXPECT_TRUE(white);
}

TEST_F(Graph, FlatCurveMarkersAndNumbers) {
  graph.CopyGrid();
  const std::vector<double> flat(672, 0.0);  // columns 42 .. 713
  graph.DrawResponseCurve(flat);
  const QImage& c = graph.Canvas();
  EXPECT_EQ(At(c, 42, 86), QColor(255, 0, 0));
  EXPECT_EQ(At(c, 712, 86), QColor(255, 0, 0));
  EXPECT_EQ(At(c, 713, 86), QColor(64, 64, 64));  // a line leaves out its end point
  EXPECT_EQ(At(c, 100, 85), QColor(20, 20, 20));

  std::array<QPoint, 6> markers{QPoint(101, 86), QPoint(177, 86), QPoint(236, 86),
                                QPoint(294, 86), QPoint(371, 86), QPoint(429, 117)};
  graph.DrawBandMarkers(markers);
  // 8 x 8 pixels: x - 4 .. x + 3, y - 4 .. y + 3, in the band's colour.
  for (int y = 82; y <= 89; ++y)
    for (int x = 97; x <= 104; ++x) EXPECT_EQ(At(c, x, y), QColor(255, 252, 0)) << x << "," << y;
  EXPECT_NE(At(c, 105, 86), QColor(255, 252, 0));
  EXPECT_NE(At(c, 101, 90), QColor(255, 252, 0));
  EXPECT_EQ(At(c, 429, 117), QColor(0, 0, 255));
  // Numbers: above a marker at row 86 (from row 68), below one at row 117 (from row 121).
  auto whiteIn = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (At(c, x, y) == QColor(255, 255, 255)) return true;
    return false;
  };
  EXPECT_TRUE(whiteIn(99, 68, 110, 82));
  EXPECT_FALSE(whiteIn(99, 90, 110, 110));
  EXPECT_TRUE(whiteIn(427, 121, 440, 140));
  EXPECT_FALSE(whiteIn(427, 95, 440, 113));
  // The next redraw starts from the grid again.
  graph.CopyGrid();
  EXPECT_EQ(At(graph.Canvas(), 101, 86), QColor(64, 64, 64));
}

// A +12 dB peak with Q 1 at 1000 Hz: level 11.974 at column 430, drawn at row Trunc((15 - 11.974) / 45 * 211 + 16).
TEST_F(Graph, ThePeakExampleIsDrawnAtItsRow) {
  ParameterModel m;
  m.EqFreqIndex[0] = 136;     // 1000 Hz
  m.EqPeakGainIndex[0] = 180;  // +12 dB
  m.EqQIndex[0] = 4;           // Q 1
  EqCurves curves;
  ASSERT_TRUE(UpdateBand(curves, m, 0, 0));
  const ResponseArray sum = CompositeCurve(curves, 0);
  graph.CopyGrid();
  graph.DrawResponseCurve(std::span<const double>(sum.data() + 1, 672));
  const int row = static_cast<int>((15 - sum[430 - 41]) / 45 * 211 + 16);
  EXPECT_EQ(row, 30);
  EXPECT_EQ(At(graph.Canvas(), 430, 30), QColor(255, 0, 0));
  EXPECT_EQ(At(graph.Canvas(), 42, 86), QColor(255, 0, 0));  // far from the band: 0 dB
}

}  // namespace
}  // namespace k7310

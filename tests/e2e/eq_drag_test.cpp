// The marker drag's rules, in the real window without a unit: which marker a press picks, the drag's bounds, the
// row-to-gain mapping, and that a drag without a link changes the model and the graph but queues nothing.
#include "tests/e2e/rig.h"
#include "tests/e2e/user_input.h"

#include <QMouseEvent>

#include "eq/scales.h"
#include "eq/ui/response_graph.h"

namespace k7310::test {
namespace {


class Drag : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    rig = std::make_unique<Rig>(QStringList{}, false);
    rig->form.GroupBox1->show();
    rig->form.GroupBox1->RzButton41->click();  // High EQ
    graph = rig->form.RzGroupBox8->Image5;
  }
  EqController& Eq() { return rig->app.eq; }
  std::unique_ptr<Rig> rig;
  ResponseGraph* graph = nullptr;
};

TEST_F(Drag, APressPicksWithinSevenPixelsAndTheLowestBandWins) {
  // Start markers of High: columns 101, 177, 236, 294, 371, 429 on row 86.
  const struct {
    QPoint at;
    int picked;  // -1: none
  } cases[] = {{{101 + 7, 86 + 7}, 0}, {{101 - 7, 86 - 7}, 0}, {{101 + 8, 86}, -1}, {{101, 86 - 8}, -1},
               {{177, 86}, 1},         {{429 + 7, 86}, 5},     {{600, 86}, -1}};
  for (const auto& c : cases) {
    Eq().SelectedBand = -1;
    Mouse(graph, QEvent::MouseButtonPress, c.at);
    EXPECT_EQ(Eq().Dragging(), c.picked >= 0) << c.at.x() << "," << c.at.y();
    if (c.picked >= 0) {
      EXPECT_EQ(Eq().SelectedBand, c.picked) << c.at.x() << "," << c.at.y();
    }
    Mouse(graph, QEvent::MouseButtonRelease, c.at);
  }
  // Two markers on one spot: the lower band number is taken.
  Eq().curves.BandMarker[3] = Eq().curves.BandMarker[4] = {300, 100};
  Mouse(graph, QEvent::MouseButtonPress, {300, 100});
  EXPECT_EQ(Eq().SelectedBand, 3);
  Mouse(graph, QEvent::MouseButtonRelease, {300, 100});
}

TEST_F(Drag, BoundsKeepEachCoordinateOnItsOwnAndRow86GivesIndex121) {
  const ParameterModel& m = rig->app.backend.Session().model;
  Mouse(graph, QEvent::MouseButtonPress, {177, 86});
  ASSERT_TRUE(Eq().Dragging());
  const int freqBefore = GraphXToFreqIndex(Eq().curves.BandMarker[1].x);
  Mouse(graph, QEvent::MouseMove, {50, 86});  // left of 97: the column stays, the row follows
  EXPECT_EQ(m.EqFreqIndex[1], freqBefore);
  EXPECT_EQ(m.EqPeakGainIndex[1], 121);  // row 86 is +0.2 dB
  EXPECT_EQ(Eq().curves.BandMarker[1].y, 85);  // redrawn on the row of +0.2 dB
  Mouse(graph, QEvent::MouseMove, {97, 32});
  EXPECT_EQ(m.EqFreqIndex[1], 0);      // 19.7 Hz
  EXPECT_EQ(m.EqPeakGainIndex[1], 180);  // +12.0 dB
  Mouse(graph, QEvent::MouseMove, {689, 198});
  EXPECT_EQ(m.EqFreqIndex[1], 243);  // 21900 Hz
  EXPECT_EQ(m.EqPeakGainIndex[1], 0);  // -24.0 dB
  Mouse(graph, QEvent::MouseMove, {700, 220});  // beyond both bounds: nothing moves
  EXPECT_EQ(m.EqFreqIndex[1], 243);
  EXPECT_EQ(m.EqPeakGainIndex[1], 0);
  Mouse(graph, QEvent::MouseButtonRelease, {700, 220});
  Mouse(graph, QEvent::MouseMove, {300, 100});  // no drag after the release
  EXPECT_EQ(m.EqFreqIndex[1], 243);
  // Without a link nothing is queued, but the graph shows the band.
  EXPECT_FALSE(rig->app.backend.Session().commandSlots.AnyPending());
}

}  // namespace
}  // namespace k7310::test

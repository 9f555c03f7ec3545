// The EQ panel against the simulator: a marker drag goes out as the band's frame through its slot, the band's edits
// follow it, and a unit whose active group has a shaped band shows that curve right after connecting.
#include "tests/e2e/rig.h"
#include "tests/e2e/user_input.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "eq/number_text.h"
#include "eq/scales.h"
#include "eq/ui/eq_box.h"
#include "eq/ui/response_graph.h"
#include "protocol/catalogue.h"

namespace k7310::test {
namespace {



// Some pixel of the column is the curve's red, away from the 0 dB row.
bool CurveLeavesZeroAt(const QImage& canvas, int column) {
  for (int y = 18; y < 225; ++y)
    if (std::abs(y - 86) > 3 && canvas.pixelColor(column, y) == QColor(255, 0, 0)) return true;
  return false;
}

TEST(Eq, DraggingTheThirdHighMarkerSendsItsBandAndTheCurveSurvivesAReconnect) {
  App();
  Sim sim({"--ids", "1"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ConnectAndPoll();
  Pump(600);
  const std::size_t before = sim.Received().size();

  rig.form.GroupBox1->RzButton41->click();  // High EQ
  ASSERT_TRUE(rig.form.RzGroupBox8->isVisible());
  EXPECT_EQ(rig.form.RzGroupBox8->RzLabel19->text(), QStringLiteral("High--EQ"));
  ResponseGraph* graph = rig.form.RzGroupBox8->Image5;
  EXPECT_FALSE(CurveLeavesZeroAt(graph->Canvas(), 300));

  // The unit's group has every band at the lowest frequency: band 3 is typed to 500 Hz first.
  TypeAndEnter(rig.form.RzGroupBox8->RzEdit96, QStringLiteral("500"));
  // Press 7 pixels from marker 3 (flat band 2), move in many small steps, release.
  const MarkerPoint start = rig.app.eq.curves.BandMarker[2];
  ASSERT_EQ(start.x, FreqToGraphX(FreqTable[static_cast<std::size_t>(rig.app.backend.Session().model.EqFreqIndex[2])]));
  Mouse(graph, QEvent::MouseButtonPress, {start.x + 7, start.y - 7});
  ASSERT_TRUE(rig.app.eq.Dragging());
  EXPECT_EQ(rig.app.eq.SelectedBand, 2);
  for (int step = 1; step <= 40; ++step) {
    Mouse(graph, QEvent::MouseMove, {start.x + 2 * step, start.y - step});
    Pump(5);
  }
  const QPoint end(start.x + 80, start.y - 40);
  Mouse(graph, QEvent::MouseButtonRelease, end);
  EXPECT_FALSE(rig.app.eq.Dragging());
  const ParameterModel& m = rig.app.backend.Session().model;
  EXPECT_EQ(m.EqFreqIndex[2], GraphXToFreqIndex(end.x()));
  EXPECT_EQ(m.EqPeakGainIndex[2], GraphYToGainIndex(end.y()));
  EXPECT_EQ(m.EqQIndex[2], 4);  // a drag never changes Q or type
  EXPECT_EQ(m.EqType[2], 0);
  // The band's row shows where it went; the curve rises there.
  EXPECT_EQ(rig.form.RzGroupBox8->RzEdit96->text().toStdString(),
            GeneralNumberText(FreqTable[static_cast<std::size_t>(m.EqFreqIndex[2])]));
  EXPECT_EQ(rig.form.RzGroupBox8->RzEdit108->text().toStdString(),
            GeneralNumberText(EqGainTable[static_cast<std::size_t>(m.EqPeakGainIndex[2])]));
  EXPECT_TRUE(CurveLeavesZeroAt(graph->Canvas(), rig.app.eq.curves.BandMarker[2].x + 12));

  // On the wire: the band's frames through its slot, far fewer than the moves, the last one for the final place.
  const std::string last = ToHexText(WriteEqBand(m, 0, 2));
  ASSERT_TRUE(WaitUntil([&] {
    const auto rx = sim.Received();
    return !rx.empty() && rx.back().hex == last;
  }, 3000));
  int bandFrames = 0;
  auto rx = sim.Received();
  for (std::size_t i = before; i < rx.size(); ++i)
    if (rx[i].hex.substr(0, 20) == "A5A5A500A10000050008") ++bandFrames;  // High, record 5: band 3
  EXPECT_GE(bandFrames, 1);
  EXPECT_LE(bandFrames, 3);
  EXPECT_EQ(last.size(), 40u);

  // Disconnect and connect again: the unit's active group carries the band, and the curve shows it at once.
  rig.ClickConnect();
  ASSERT_FALSE(rig.app.backend.LinkOpen());
  rig.app.eq.curves = EqCurves{};
  Pump(2100);  // the button rests for two seconds
  rig.ConnectAndPoll();
  EXPECT_EQ(rig.app.backend.Session().model.EqFreqIndex[2], GraphXToFreqIndex(end.x()));
  rig.form.GroupBox1->RzButton41->click();
  EXPECT_TRUE(CurveLeavesZeroAt(graph->Canvas(), rig.app.eq.curves.BandMarker[2].x + 12));
}

TEST(Eq, TypedValuesSnapAndGoOutThroughTheBandsSlot) {
  App();
  Sim sim({"--ids", "1"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ConnectAndPoll();
  Pump(600);
  rig.form.GroupBox1->RzButton41->click();  // High EQ
  const std::size_t before = sim.Received().size();
  EqBox& box = *rig.form.RzGroupBox8;
  TypeAndEnter(box.RzEdit94, QStringLiteral("1015"));  // halfway between 1000 and 1030: the lower one
  EXPECT_EQ(box.RzEdit94->text(), QStringLiteral("1000"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(box.RzEdit94, &enter);  // a second Enter without typing sends nothing
  TypeAndEnter(box.RzEdit106, QStringLiteral("-30"));  // clamped to -24
  EXPECT_EQ(box.RzEdit106->text(), QStringLiteral("-24"));
  const ParameterModel& m = rig.app.backend.Session().model;
  EXPECT_EQ(m.EqFreqIndex[0], 136);
  EXPECT_EQ(m.EqPeakGainIndex[0], 0);
  const std::string last = ToHexText(WriteEqBand(m, 0, 0));
  ASSERT_TRUE(WaitUntil([&] {
    const auto rx = sim.Received();
    return !rx.empty() && rx.back().hex == last;
  }, 3000));
  Pump(700);
  int bandFrames = 0;
  const auto rx = sim.Received();
  for (std::size_t i = before; i < rx.size(); ++i)
    if (rx[i].hex.substr(0, 20) == "A5A5A500A10000030008") ++bandFrames;  // High, record 3: band 1
  // The frequency commit and the gain commit; the scan may take the slot before the second, or carry both in one.
  EXPECT_GE(bandFrames, 1);
  EXPECT_LE(bandFrames, 2);
  EXPECT_EQ(last.substr(20, 2), "88");  // frequency index 136
}

}  // namespace
}  // namespace k7310::test

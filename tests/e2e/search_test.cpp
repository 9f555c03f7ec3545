// The full device search, and its cancel.
#include "tests/e2e/rig.h"

#include "protocol/catalogue.h"

namespace k7310::test {
namespace {

TEST(FullSearch, FindsTheUnitsAndCancelStopsIt) {
  App();
  Sim sim({"--ids", "1,3"});
  const QString port = sim.paths.value(0);
  Rig rig({port});
  rig.SkipStartupSweep();
  const std::size_t before = sim.Received().size();

  // The search runs on after the click, with the window free; cancel once index 5 has been probed.
  rig.form.GroupBox3->Button8->click();
  EXPECT_TRUE(rig.app.search.full.Running());
  EXPECT_TRUE(rig.form.RzGroupBox3->isVisible());
  EXPECT_FALSE(rig.form.GroupBox1->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return rig.app.search.full.ProbedIndex() >= 5; }, 5000));
  rig.form.RzGroupBox3->Button2->click();
  ASSERT_TRUE(WaitUntil([&] { return !rig.app.search.full.Running(); }, 2000));

  EXPECT_FALSE(rig.form.RzGroupBox3->isVisible());
  EXPECT_TRUE(rig.form.GroupBox1->isEnabled());
  EXPECT_TRUE(rig.form.RzGroupBox2->isVisible());
  EXPECT_EQ(rig.form.Panels.PanelKind, Panel::kSearchResult);
  EXPECT_EQ(rig.form.RzGroupBox2->Memo1->toPlainText(),
            QStringLiteral("COM%1--Device ID1 , COM%1--Device ID3 , ").arg(port));
  EXPECT_FALSE(rig.app.backend.Session().LinkOpen);

  // Probes 0, 1, 2, ... 100 ms apart; the cancel stops the sweep after the current probe.
  auto rx = sim.Received();
  rx.erase(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(before));
  ASSERT_GE(rx.size(), 6u);
  ASSERT_LE(rx.size(), 8u);
  for (std::size_t j = 0; j < rx.size(); ++j) EXPECT_EQ(rx[j].hex, ToHexText(QueryStatus(static_cast<std::uint8_t>(j))));
  Pump(400);
  EXPECT_EQ(sim.Received().size(), before + rx.size());
}

TEST(FullSearch, RefusedWhileLinked) {
  App();
  Sim sim({"--ids", "1"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ConnectAndPoll();
  rig.form.GroupBox3->Button8->click();
  EXPECT_TRUE(rig.warning.isVisible());
  EXPECT_TRUE(rig.app.backend.Session().LinkOpen);
}

}  // namespace
}  // namespace k7310::test

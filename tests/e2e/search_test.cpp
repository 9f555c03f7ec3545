// The full device search, and its cancel.
#include "tests/e2e/rig.h"

#include <QElapsedTimer>

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

  // The program's own sends, timed where they leave, and the index each answer was credited to.
  QElapsedTimer clock;
  clock.start();
  std::vector<std::pair<int, qint64>> probes;
  std::vector<int> credited;
  QObject::connect(&rig.app.backend, &DeviceBackend::Sent, [&](const Bytes& f) { probes.push_back({f[3], clock.elapsed()}); });
  QObject::connect(&rig.app.backend, &DeviceBackend::StatusReceived, [&] {
    if (rig.app.search.full.Running()) credited.push_back(rig.app.search.full.ProbedIndex());
  });

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
  EXPECT_FALSE(rig.app.backend.Session().LinkOpen);

  // Probes 0, 1, 2, ... at least 100 ms apart; the cancel stops the search after the probe already due.
  ASSERT_GE(probes.size(), 6u);
  ASSERT_LE(probes.size(), 8u);
  for (std::size_t j = 0; j < probes.size(); ++j) {
    EXPECT_EQ(probes[j].first, static_cast<int>(j));
    if (j > 0) {
      EXPECT_GE(probes[j].second - probes[j - 1].second, 99) << j;
    }
  }
  // The simulator took those, in order, and nothing after the end. The close that ends a cancelled search follows
  // the last probe at once and purges the port, so that probe may never reach the line.
  WaitUntil([&] { return sim.Received().size() >= before + probes.size(); }, 500);
  auto rx = sim.Received();
  rx.erase(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(before));
  ASSERT_GE(rx.size() + 1, probes.size());
  ASSERT_LE(rx.size(), probes.size());
  for (std::size_t j = 0; j < rx.size(); ++j) EXPECT_EQ(rx[j].hex, ToHexText(QueryStatus(static_cast<std::uint8_t>(j))));
  Pump(400);
  EXPECT_EQ(sim.Received().size(), before + rx.size());

  // Units 1 and 3 answered. An answer counts for the index probed last: in time, that is its own probe; on a
  // machine so loaded that it came after the next probe had left, the next one. The listing shows the credits.
  ASSERT_EQ(credited.size(), 2u);
  EXPECT_TRUE(credited[0] == 0 || credited[0] == 1) << credited[0];
  EXPECT_TRUE(credited[1] == 2 || credited[1] == 3) << credited[1];
  EXPECT_EQ(rig.form.RzGroupBox2->Memo1->toPlainText(),
            QStringLiteral("COM%1--Device ID%2 , COM%1--Device ID%3 , ").arg(port).arg(credited[0] + 1).arg(credited[1] + 1));
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

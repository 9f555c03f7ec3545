// The start-up sweep over the listed ports, against two simulated units.
#include "tests/e2e/rig.h"

#include <QElapsedTimer>

namespace k7310::test {
namespace {

TEST(StartupSweep, FindsIdsOneThreeAndTenAndListsThem) {
  App();
  // ID 10 answers the last probe of the port: its answer still counts.
  Sim sim({"--ids", "1,3,10,11"});
  ASSERT_EQ(sim.paths.size(), 1);
  const QString port = sim.paths[0];
  QElapsedTimer clock;
  clock.start();
  std::vector<qint64> sentAt;
  Rig rig({port}, false);
  QObject::connect(&rig.app.backend, &DeviceBackend::Sent, [&] { sentAt.push_back(clock.elapsed()); });
  rig.app.Start();
  // Created state: only the ID check box shows.
  EXPECT_FALSE(rig.form.GroupBox1->isVisible());
  EXPECT_TRUE(rig.form.RzGroupBox3->isVisible());
  ASSERT_TRUE(WaitUntil([&] { return rig.form.GroupBox1->isVisible(); }, 15000));

  EXPECT_TRUE(rig.form.GroupBox2->isVisible());
  EXPECT_TRUE(rig.form.GroupBox3->isVisible());
  EXPECT_FALSE(rig.form.RzGroupBox3->isVisible());
  EXPECT_TRUE(rig.form.RzGroupBox2->isVisible());
  EXPECT_TRUE(rig.form.N112->isVisible());
  EXPECT_EQ(rig.form.Panels.PanelKind, Panel::kSearchResult);
  EXPECT_EQ(rig.form.RzGroupBox2->RzLabel6->text().toStdString(), "search result :     ");
  EXPECT_TRUE(rig.form.RzGroupBox2->Memo1->isVisible());
  EXPECT_EQ(rig.form.RzGroupBox2->Memo1->toPlainText(),
            QStringLiteral("COM%1--Device ID1 , COM%1--Device ID3 , COM%1--Device ID10 , ").arg(port));
  EXPECT_FALSE(rig.app.backend.Session().LinkOpen);

  // On the wire: status queries to device indices 0..9, in order; they leave the program half a second apart.
  const auto rx = sim.Received();
  ASSERT_EQ(rx.size(), 10u);
  for (std::size_t j = 0; j < rx.size(); ++j) EXPECT_EQ(rx[j].hex, ToHexText(QueryStatus(static_cast<std::uint8_t>(j)))) << j;
  ASSERT_EQ(sentAt.size(), 10u);
  for (std::size_t j = 1; j < sentAt.size(); ++j) EXPECT_GE(sentAt[j] - sentAt[j - 1], 499) << j;
}

TEST(StartupSweep, WithoutPortsEndsAtOnceWithNone) {
  App();
  Rig rig({});
  ASSERT_TRUE(WaitUntil([&] { return rig.form.GroupBox1->isVisible(); }, 2000));
  EXPECT_EQ(rig.form.RzGroupBox2->RzLabel6->text().toStdString(), "search result :none     ");
  EXPECT_FALSE(rig.form.RzGroupBox2->Memo1->isVisible());
  // Connecting without a port: "No port.", the caption stays.
  rig.dialogs.ExpectMessage(QStringLiteral("No port."));
  rig.ClickConnect();
  EXPECT_FALSE(rig.dialogs.Pending());
  EXPECT_EQ(rig.form.GroupBox2->Button3->text(), QStringLiteral("Disconnect"));
  EXPECT_EQ(rig.app.backend.Ports().PortNumber, 0);
}

}  // namespace
}  // namespace k7310::test

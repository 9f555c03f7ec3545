// The port list upkeep: refreshed every 3 s while unlinked, frozen while linked; the COM menu; the hidden
// disconnect item.
#include "tests/e2e/rig.h"

#include "app/connection.h"

namespace k7310::test {
namespace {

TEST(Ports, ListFreezesWhileLinkedAndCatchesUpAfterTheDisconnect) {
  App();
  Sim sim({"--ids", "1", "--ports", "2"});
  ASSERT_EQ(sim.paths.size(), 2);
  QStringList offered{sim.paths[0]};
  Rig rig({}, false);
  rig.app.backend.Ports().source = [&offered] { return offered; };
  rig.app.Start();
  rig.SkipStartupSweep();
  QComboBox* list = rig.form.GroupBox2->RzComboBox1;
  ASSERT_EQ(list->count(), 1);
  rig.ConnectAndPoll();
  offered << sim.paths[1];
  Pump(3300);
  EXPECT_EQ(list->count(), 1);  // linked: no refresh
  EXPECT_TRUE(rig.app.backend.Session().LinkOpen);
  rig.ClickConnect();  // the button is enabled again by now
  ASSERT_FALSE(rig.app.backend.Session().LinkOpen);
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 2; }, 3500));
  EXPECT_EQ(list->currentIndex(), 1);  // the last entry is preselected
  EXPECT_EQ(rig.app.backend.Ports().PortNumbers().size(), 2u);
  EXPECT_NE(rig.app.backend.Ports().PortNumbers()[0], rig.app.backend.Ports().PortNumbers()[1]);
}

TEST(Ports, ComMenuItemsFollowTheListAndChooseAPort) {
  App();
  Sim sim({"--ids", "1", "--ports", "2"});
  Rig rig({sim.paths[0], sim.paths[1]});
  rig.SkipStartupSweep();
  TForm1& f = rig.form;
  ASSERT_EQ(f.GroupBox2->RzComboBox1->count(), 2);
  EXPECT_TRUE(f.ComItems[0]->isVisible());
  EXPECT_TRUE(f.ComItems[1]->isVisible());
  EXPECT_FALSE(f.ComItems[2]->isVisible());
  // The closed list shows the short name ("pts/7"); the open list, its tooltip, the menu and the status bar show
  // the full path.
  const QString path = rig.app.backend.Ports().Paths()[0];
  QComboBox* list = f.GroupBox2->RzComboBox1;
  EXPECT_EQ(list->itemText(0), path.mid(5));
  EXPECT_EQ(list->itemData(0, Qt::ToolTipRole).toString(), path);
  EXPECT_EQ(f.ComItems[0]->text(), path);
  f.ComItems[0]->trigger();
  EXPECT_EQ(rig.app.backend.Ports().PortNumber, rig.app.backend.Ports().PortNumbers()[0]);
  EXPECT_EQ(f.ComItems[0]->text(), QStringLiteral("\u221A") + path);
  EXPECT_EQ(f.StatusPanel0->text(), QStringLiteral("  Connect ") + path);
  // The same item again changes nothing.
  f.StatusPanel0->setText(QStringLiteral("x"));
  f.ComItems[0]->trigger();
  EXPECT_EQ(f.StatusPanel0->text(), QStringLiteral("x"));
}

TEST(Ports, HiddenDisconnectItemKeepsTheCaption) {
  App();
  Sim sim({"--ids", "1"});
  Rig rig({sim.paths[0]});
  rig.SkipStartupSweep();
  rig.ConnectAndPoll();
  rig.form.N8->trigger();
  EXPECT_FALSE(rig.app.backend.Session().LinkOpen);
  EXPECT_FALSE(rig.app.backend.Timer(TimerId::Timer1).Enabled());
  EXPECT_EQ(rig.form.StatusPanel0->text(), QStringLiteral("  Disconnect"));
  EXPECT_EQ(rig.form.GroupBox2->Button3->text(), QStringLiteral("Connect"));
  Pump(2600);
  EXPECT_FALSE(rig.warning.isVisible());
}

}  // namespace
}  // namespace k7310::test

// Connecting, polling, the scheduler on the wire, and every way the link ends.
#include "tests/e2e/rig.h"

#include "protocol/catalogue.h"
#include "app/connection.h"
#include "protocol/scheduler.h"

namespace k7310::test {
namespace {

std::vector<std::string> Hexes(const std::vector<WireLine>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(l.hex);
  return out;
}

class Connect : public ::testing::Test {
 protected:
  void Open(const QStringList& args) {
    App();
    sim = std::make_unique<Sim>(args);
    ASSERT_EQ(sim->paths.size(), 1);
    rig = std::make_unique<Rig>(QStringList{sim->paths[0]});
    rig->SkipStartupSweep();
    skipped = sim->Received().size();
  }
  std::vector<WireLine> AfterSweep() const {
    auto rx = sim->Received();
    rx.erase(rx.begin(), rx.begin() + static_cast<std::ptrdiff_t>(skipped));
    return rx;
  }
  void TearDown() override {
    rig.reset();
    sim.reset();
  }
  std::unique_ptr<Sim> sim;
  std::unique_ptr<Rig> rig;
  std::size_t skipped = 0;
};

TEST_F(Connect, ReachesPollingAndShowsTheUnit) {
  Open({"--ids", "1,3"});
  sim->Command("temp 3 3037");
  sim->Command("atten 3 6");
  rig->ChooseDevice(3);
  EXPECT_EQ(rig->app.backend.Session().DeviceIndex, 2);
  EXPECT_EQ(rig->form.GroupBox2->RzEdit2->text(), QStringLiteral("3"));
  rig->ConnectAndPoll();
  TForm1& f = rig->form;
  EXPECT_EQ(f.GroupBox2->Button3->text(), QStringLiteral("Connect"));
  EXPECT_EQ(f.StatusPanel0->text(), QStringLiteral("  Connect ") + sim->paths[0]);
  EXPECT_FALSE(f.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_FALSE(f.GroupBox2->RzComboBox6->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return f.GroupBox3->RzLabel32->text() == QLatin1String("6 dB"); }, 3000));
  EXPECT_EQ(f.GroupBox3->RzLabel29->text(), QStringLiteral("34 \u00B0C"));
  // The names reply fills the group list; the settings reply the last-load label and the temperature list.
  ASSERT_EQ(f.GroupBox2->RzGroupBox4->RzComboBox10->count(), 8);
  EXPECT_EQ(f.GroupBox2->RzGroupBox4->RzComboBox10->itemText(0), QStringLiteral("Usr0:Usr Group 1"));
  EXPECT_EQ(f.GroupBox2->RzGroupBox4->RzComboBox10->itemText(7), QStringLiteral("Pre7:Pre Group 8"));
  EXPECT_EQ(f.GroupBox2->RzGroupBox4->RzEdit1->text(), QStringLiteral("Usr Group 1"));
  EXPECT_EQ(f.GroupBox2->RzGroupBox4->RzLabel14->text(), QStringLiteral("The last load group:Usr0         "));
  EXPECT_EQ(f.RzGroupBox13->RzComboBox9->currentIndex(), 0);
  // The neutral block of the unit: volume 301 shows 0.0 dB, polarity "+".
  EXPECT_EQ(f.GroupBox1->Label1->text(), QStringLiteral("0.0 dB"));
  EXPECT_EQ(f.GroupBox1->TrackBar1->value(), 301);
  EXPECT_EQ(f.GroupBox1->RzButton1->text(), QStringLiteral("+"));
  // The lamp follows the link within a second.
  const QImage on = f.LampOnBitmap.copy(0, 0, 25, 25).toImage();
  EXPECT_TRUE(WaitUntil([&] { return f.GroupBox2->Image15->pixmap().toImage() == on; }, 1500));

  // On the wire, to index 2: block query, names query, settings query, then status polls.
  const auto rx = Hexes(AfterSweep());
  ASSERT_GE(rx.size(), 4u);
  EXPECT_EQ(rx[0], ToHexText(QueryCurrentBlock(2)));
  EXPECT_EQ(rx[1], ToHexText(QueryGroupNames(2)));
  EXPECT_EQ(rx[2], ToHexText(QueryDeviceSettings(2)));
  EXPECT_EQ(rx[3], ToHexText(QueryStatus(2)));

  // The user's disconnect: no warning, captions back.
  Pump(2100);  // the connect button is disabled for two seconds after a click
  rig->ClickConnect();
  EXPECT_EQ(f.GroupBox2->Button3->text(), QStringLiteral("Disconnect"));
  EXPECT_EQ(f.StatusPanel0->text(), QStringLiteral("  Disconnect"));
  EXPECT_TRUE(f.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  Pump(2500);
  EXPECT_FALSE(rig->warning.isVisible());
}

TEST_F(Connect, TwoEditsLeaveInSlotOrderWithTheSchedulersSpacing) {
  Open({"--ids", "1"});
  rig->ConnectAndPoll();
  ASSERT_TRUE(WaitUntil([&] { return !rig->form.GroupBox3->RzLabel32->text().isEmpty() &&
                                     rig->app.backend.Session().model.TempThreshold == 0; }, 3000));
  Pump(600);
  DeviceSession& s = rig->app.backend.Session();
  s.model.TempThreshold = 7;
  QueueDeviceSettings(s);  // slot 29
  s.model.LimThreshold[0] = 12;
  QueueCommand(s, LimiterSlot(0));  // slot 3
  const Bytes limiter = WriteLimiter(s.model, 0, 0);
  const Bytes settings = WriteDeviceSettings(s.model, 0);
  Pump(1500);
  const auto rx = AfterSweep();
  std::size_t a = rx.size(), b = rx.size();
  for (std::size_t i = 0; i < rx.size(); ++i) {
    if (rx[i].hex == ToHexText(limiter)) a = i;
    if (rx[i].hex == ToHexText(settings)) b = i;
  }
  ASSERT_LT(a, rx.size());
  ASSERT_LT(b, rx.size());
  EXPECT_EQ(b, a + 1);  // slot 3 first, slot 29 next, nothing between them
  EXPECT_GE(rx[b].t - rx[a].t, 480);
  EXPECT_LE(rx[b].t - rx[a].t, 700);
  // The unit keeps the new threshold: the next settings reply shows it.
  QueueCommand(s, kQueryDeviceSettingsSlot);
  s.model.TempThreshold = 0;
  EXPECT_TRUE(WaitUntil([&] { return rig->form.RzGroupBox13->RzComboBox9->currentIndex() == 7; }, 3000));
}

TEST_F(Connect, SilentUnitEndsTheLinkWithTheWarning) {
  Open({"--ids", "1"});
  rig->ConnectAndPoll();
  Pump(700);
  QElapsedTimer clock;
  clock.start();
  sim->Command("silent 1");
  ASSERT_TRUE(WaitUntil([&] { return rig->warning.isVisible(); }, 5000));
  // 2000 ms after the first poll that drew no answer, which left at most 500 ms after the unit fell silent.
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_LE(clock.elapsed(), 3500);
  EXPECT_EQ(rig->form.GroupBox2->Button3->text(), QStringLiteral("Disconnect"));
  EXPECT_EQ(rig->form.StatusPanel0->text(), QStringLiteral("  Disconnect"));
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  EXPECT_EQ(rig->warning.lbl1->text(), QStringLiteral("Connection has been disconnedted!!"));
  // The next connect closes the warning.
  sim->Command("talk 1");
  Pump(2100);
  rig->ConnectAndPoll();
  EXPECT_FALSE(rig->warning.isVisible());
}

TEST_F(Connect, UnitWithoutNamesReplyEndsTheLinkAfter2500ms) {
  Open({"--ids", "1", "--no-names", "1"});
  QElapsedTimer clock;
  clock.start();
  rig->ClickConnect();
  ASSERT_TRUE(WaitUntil([&] { return rig->warning.isVisible(); }, 5000));
  EXPECT_GE(clock.elapsed(), 2400);
  EXPECT_LE(clock.elapsed(), 3300);
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  EXPECT_FALSE(rig->app.backend.Timer(TimerId::Timer1).Enabled());
  const auto rx = Hexes(AfterSweep());
  ASSERT_EQ(rx.size(), 2u);  // the block query and the names query, nothing else
  EXPECT_EQ(rx[1], ToHexText(QueryGroupNames(0)));
}

TEST_F(Connect, DisconnectDuringTheHandshakeLeavesNoWatchdogBehind) {
  Open({"--ids", "1", "--no-names", "1"});
  rig->ClickConnect();
  // The button comes back after two seconds, before the names watchdog would fire at 2500 ms.
  ASSERT_TRUE(WaitUntil([&] { return rig->form.GroupBox2->Button3->isEnabled(); }, 2400));
  rig->ClickConnect();
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  const std::size_t sent = AfterSweep().size();
  Pump(1500);
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);  // no connect of its own
  EXPECT_FALSE(rig->warning.isVisible());
  EXPECT_EQ(AfterSweep().size(), sent);
}

TEST_F(Connect, HangUpGivesNoPortAndACleanDisconnect) {
  Open({"--ids", "1"});
  rig->ConnectAndPoll();
  rig->dialogs.ExpectMessage(QStringLiteral("No port."));
  sim->Command("hangup");
  ASSERT_TRUE(WaitUntil([&] { return !rig->dialogs.Pending(); }, 5000));
  EXPECT_EQ(rig->form.GroupBox2->Button3->text(), QStringLiteral("Disconnect"));
  EXPECT_EQ(rig->form.StatusPanel0->text(), QStringLiteral("  Disconnect"));
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  // No storm of errors, no second message, no warning window: the disconnect was clean.
  Pump(3500);
  EXPECT_FALSE(rig->warning.isVisible());
  EXPECT_EQ(rig->dialogs.Shown().size(), 1u);
}

TEST_F(Connect, BroadcastAsksItsQuestionAndNoDisconnects) {
  Open({"--ids", "1"});
  rig->dialogs.ExpectMessage(QStringLiteral("The broadcast mode has been opened."));
  rig->form.GroupBox2->RzButton8->click();
  EXPECT_EQ(rig->app.backend.Session().DeviceIndex, 255);
  rig->dialogs.ExpectQuestion(
      QStringLiteral("Notice"),
      QStringLiteral("In broadcast mode must put all equipment unified data, otherwise cannot broadcast mode."), false);
  rig->ClickConnect();
  EXPECT_FALSE(rig->dialogs.Pending());
  EXPECT_EQ(rig->form.GroupBox2->Button3->text(), QStringLiteral("Disconnect"));
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  EXPECT_TRUE(rig->form.GroupBox2->RzComboBox1->isEnabled());
  EXPECT_TRUE(rig->form.N112->isEnabled());
  Pump(300);
  EXPECT_TRUE(AfterSweep().empty());  // nothing was sent
}

TEST_F(Connect, BroadcastYesOpensTheInitialDataBoxAndNoWatchdogEndsIt) {
  Open({"--ids", "1"});
  rig->dialogs.ExpectMessage(QStringLiteral("The broadcast mode has been opened."));
  rig->form.GroupBox2->RzButton8->click();
  rig->dialogs.ExpectQuestion(
      QStringLiteral("Notice"),
      QStringLiteral("In broadcast mode must put all equipment unified data, otherwise cannot broadcast mode."), true);
  rig->ClickConnect();
  EXPECT_TRUE(rig->app.backend.Session().LinkOpen);
  EXPECT_TRUE(rig->form.RzGroupBox16->isVisible());
  EXPECT_FALSE(rig->form.GroupBox1->isEnabled());
  EXPECT_FALSE(rig->form.N112->isEnabled());
  Pump(3000);
  EXPECT_TRUE(rig->app.backend.Session().LinkOpen);
  EXPECT_FALSE(rig->warning.isVisible());
  EXPECT_TRUE(AfterSweep().empty());
  // In broadcast mode the top bar is disabled with the working controls; the initial-data box ends the link
  // through the connect button's handler.
  EXPECT_FALSE(rig->form.GroupBox2->isEnabled());
  rig->app.connection.Button3Click();
  EXPECT_FALSE(rig->app.backend.Session().LinkOpen);
  EXPECT_FALSE(rig->form.RzGroupBox16->isVisible());
  EXPECT_TRUE(rig->form.N112->isEnabled());
}

}  // namespace
}  // namespace k7310::test

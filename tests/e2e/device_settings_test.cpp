// Device settings against the simulator: a unit's new ID on the wire and the polls that follow it, the ID edit's
// checks and keys, and the controls without a link.
#include "tests/e2e/rig.h"

#include <QKeyEvent>

#include "protocol/catalogue.h"
#include "protocol/frame.h"

namespace k7310::test {
namespace {

void Key(QWidget* w, int key, const QString& text) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &e);
}

// Frames the simulator took after the first `from`.
std::vector<std::string> HexesSince(const Sim& sim, std::size_t from) {
  std::vector<std::string> out;
  const auto rx = sim.Received();
  for (std::size_t i = from; i < rx.size(); ++i) out.push_back(rx[i].hex);
  return out;
}

TEST(DeviceId, AUnitAtTwoBecomesFiveAndAnswersThePollsThere) {
  App();
  Sim sim({"--ids", "2"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ChooseDevice(2);
  rig.ConnectAndPoll();
  Pump(300);
  const std::size_t before = sim.Received().size();

  QLineEdit* edit = rig.form.GroupBox2->RzEdit2;
  EXPECT_EQ(edit->text(), QStringLiteral("2"));
  edit->setText(QStringLiteral("5"));
  rig.dialogs.ExpectMessage(QStringLiteral("DeviceID change to 5"));
  Key(edit, Qt::Key_Return, QStringLiteral("\r"));  // Enter does what OK does

  // The frame goes to the old index with the new ID in its payload; the program moves to the new index at once.
  ParameterModel m = rig.app.backend.Session().model;
  EXPECT_EQ(m.NewDeviceId, 5);
  EXPECT_EQ(rig.app.backend.Session().DeviceIndex, 4);
  EXPECT_EQ(rig.form.GroupBox2->RzComboBox6->currentText(), QStringLiteral("5"));
  const std::string write = ToHexText(WriteDeviceSettings(m, 1));
  EXPECT_EQ(write.substr(6, 2), "01");
  EXPECT_EQ(write.substr(26, 2), "05");  // payload byte 3
  ASSERT_TRUE(WaitUntil([&] { return !rig.dialogs.Pending(); }, 3000)) << "no confirmation";

  // The polls after the write go to index 4 and the unit answers them (the link stays up).
  Pump(1500);
  const std::vector<std::string> sent = HexesSince(sim, before);
  const auto at = std::find(sent.begin(), sent.end(), write);
  ASSERT_NE(at, sent.end());
  const std::string poll5 = ToHexText(QueryStatus(4));
  EXPECT_GE(std::count(at, sent.end(), poll5), 2);
  EXPECT_EQ(std::count(at, sent.end(), ToHexText(QueryStatus(1))), 0);
  EXPECT_TRUE(rig.Connected());
  EXPECT_FALSE(rig.warning.isVisible());
  const auto tx = sim.Wire();
  EXPECT_TRUE(std::any_of(tx.begin(), tx.end(),
                          [](const WireLine& l) { return l.dir == "TX" && l.hex.substr(0, 8) == "A5A5A504"; }))
      << "no reply under index 4";
}

TEST(DeviceId, BadIdsAreRefusedAndTheEditRestored) {
  App();
  Sim sim({"--ids", "3"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ChooseDevice(3);
  rig.ConnectAndPoll();
  Pump(300);
  const std::size_t before = sim.Received().size();
  QLineEdit* edit = rig.form.GroupBox2->RzEdit2;
  for (const char* text : {"0", "256", ""}) {
    edit->setText(QString::fromLatin1(text));
    rig.dialogs.ExpectMessage(QStringLiteral("Please input 1~255 number."));
    rig.form.GroupBox2->Button1->click();
    EXPECT_FALSE(rig.dialogs.Pending()) << text;
    EXPECT_EQ(edit->text(), QStringLiteral("3")) << text;
  }
  Pump(300);
  for (const std::string& hex : HexesSince(sim, before))
    EXPECT_FALSE(hex.substr(8, 2) == "A1" && hex.substr(12, 2) == "21") << "a settings write went out: " << hex;
  EXPECT_EQ(rig.app.backend.Session().DeviceIndex, 2);
}

TEST(DeviceId, TheEditTakesDigitsOnlyAndWithoutALinkShowsTheWarning) {
  App();
  Rig rig({}, false);
  QLineEdit* edit = rig.form.GroupBox2->RzEdit2;
  edit->setText(QString());
  for (const char* typed : {"1", "a", "-", ".", "7"}) Key(edit, 0, QString::fromLatin1(typed));
  EXPECT_EQ(edit->text(), QStringLiteral("17"));
  Key(edit, Qt::Key_Backspace, QStringLiteral("\b"));
  EXPECT_EQ(edit->text(), QStringLiteral("1"));

  ASSERT_FALSE(rig.app.backend.LinkOpen());
  Key(edit, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_TRUE(rig.warning.isVisible());
  EXPECT_EQ(rig.app.backend.Session().model.NewDeviceId, 1);
  EXPECT_FALSE(rig.app.backend.Session().flags.AwaitIdAck);
}

}  // namespace
}  // namespace k7310::test

// Device settings against the simulator: a unit's new ID on the wire and the polls that follow it, the ID edit's
// checks and keys, and the controls without a link.
#include "tests/e2e/rig.h"

#include <QKeyEvent>

#include "app/kit/button_color.h"
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

// Waits until the simulator took `frame` after the first `from` frames.
bool Took(const Sim& sim, std::size_t from, const Bytes& frame) {
  const std::string hex = ToHexText(frame);
  return WaitUntil(
      [&] {
        const std::vector<std::string> sent = HexesSince(sim, from);
        return std::find(sent.begin(), sent.end(), hex) != sent.end();
      },
      3000);
}

void PickThreshold(TForm1& form, int item) {
  form.RzGroupBox13->RzComboBox9->setCurrentIndex(item);
  emit form.RzGroupBox13->RzComboBox9->activated(item);
}

bool MidRowShown(TForm1& f) { return f.GroupBox1->RzButton51->isVisibleTo(f.GroupBox1); }
bool HighRowShown(TForm1& f) { return f.GroupBox1->RzButton45->isVisibleTo(f.GroupBox1); }

TEST(DeviceSettings, BtlModesThresholdAndRecoupOnTheWire) {
  App();
  Sim sim({"--ids", "1"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.ConnectAndPoll();
  Pump(300);
  TForm1& f = rig.form;
  const ParameterModel& m = rig.app.backend.Session().model;

  // No to the question leaves everything as it was.
  rig.dialogs.ExpectQuestion(QStringLiteral("Notice"), QStringLiteral("Want to set BTL mode?"), false);
  f.GroupBox1->RzButton7->click();
  EXPECT_FALSE(f.rzgrpbx_btl->isVisible());
  rig.dialogs.ExpectQuestion(QStringLiteral("Notice"), QStringLiteral("Want to set BTL mode?"), true);
  f.GroupBox1->RzButton7->click();
  ASSERT_TRUE(f.rzgrpbx_btl->isVisible());
  EXPECT_EQ(f.rzgrpbx_btl->pos(), QPoint(7, 232));
  EXPECT_EQ(ButtonColor(f.rzgrpbx_btl->btn_btl0), kButtonRed);

  std::size_t before = sim.Received().size();
  f.rzgrpbx_btl->btn_btl3->click();  // "High-Mid BTL-One Ch Mode"
  EXPECT_FALSE(MidRowShown(f));
  EXPECT_FALSE(HighRowShown(f));
  EXPECT_EQ(ButtonColor(f.GroupBox1->RzButton7), kButtonGreen);
  EXPECT_EQ(ButtonColor(f.rzgrpbx_btl->btn_btl3), kButtonRed);
  EXPECT_EQ(ButtonColor(f.rzgrpbx_btl->btn_btl0), kButtonNormal);
  EXPECT_TRUE(f.rzgrpbx_btl->isVisible());
  EXPECT_TRUE(Took(sim, before, WriteMainSettings(m, 0)));
  EXPECT_EQ(ToHexText(WriteMainSettings(m, 0)).substr(34, 2), "03");  // BtlMode, the record's last byte
  before = sim.Received().size();
  f.rzgrpbx_btl->btn_btl0->click();  // "No BTL"
  EXPECT_TRUE(MidRowShown(f));
  EXPECT_TRUE(HighRowShown(f));
  EXPECT_EQ(ButtonColor(f.GroupBox1->RzButton7), kButtonNormal);
  EXPECT_TRUE(Took(sim, before, WriteMainSettings(m, 0)));
  EXPECT_EQ(ToHexText(WriteMainSettings(m, 0)).substr(34, 2), "00");
  f.rzgrpbx_btl->btn1->click();
  EXPECT_FALSE(f.rzgrpbx_btl->isVisible());

  // "50 °C" is item 10; ">=70 °C" item 0.
  f.GroupBox1->RzButton11->click();
  ASSERT_TRUE(f.RzGroupBox13->isVisible());
  EXPECT_EQ(f.RzGroupBox13->RzComboBox9->itemText(10), QStringLiteral("50 \u00B0C"));
  for (int item : {10, 0}) {
    before = sim.Received().size();
    PickThreshold(f, item);
    EXPECT_EQ(m.TempThreshold, item);
    EXPECT_TRUE(Took(sim, before, WriteDeviceSettings(m, 0))) << item;
    EXPECT_EQ(std::stoi(ToHexText(WriteDeviceSettings(m, 0)).substr(30, 2), nullptr, 16), item);  // payload byte 5
  }
  EXPECT_EQ(rig.app.backend.Session().DeviceIndex, 0);

  // Recoup twice: 1, then 0, and the button red and back.
  for (int recoup : {1, 0}) {
    before = sim.Received().size();
    f.GroupBox1->RzButton98->click();
    EXPECT_EQ(m.Recoup, recoup);
    EXPECT_EQ(ButtonColor(f.GroupBox1->RzButton98), recoup ? kButtonRed : kButtonNormal);
    EXPECT_TRUE(Took(sim, before, WriteMainSettings(m, 0))) << recoup;
    EXPECT_EQ(ToHexText(WriteMainSettings(m, 0)).substr(20, 2), recoup ? "01" : "00");
  }
}

TEST(DeviceSettings, WithoutALinkTheControlsChangeTheModelAndTheStripOnly) {
  App();
  Rig rig({}, false);
  TForm1& f = rig.form;
  const DeviceSession& s = rig.app.backend.Session();
  rig.dialogs.ExpectQuestion(QStringLiteral("Notice"), QStringLiteral("Want to set BTL mode?"), true);
  f.GroupBox1->RzButton7->click();
  f.rzgrpbx_btl->btn_btl2->click();
  EXPECT_EQ(s.model.BtlMode, 2);
  EXPECT_FALSE(MidRowShown(f));
  EXPECT_TRUE(HighRowShown(f));
  PickThreshold(f, 4);
  EXPECT_EQ(s.model.TempThreshold, 4);
  f.GroupBox1->RzButton98->click();
  EXPECT_EQ(s.model.Recoup, 1);
  EXPECT_EQ(ButtonColor(f.GroupBox1->RzButton98), kButtonRed);
  EXPECT_FALSE(s.commandSlots.AnyPending());
}

// A settings write to every unit would give them all one ID: in broadcast mode the threshold stays in the model
// and the user is told to set it unit by unit.
TEST(DeviceSettings, BroadcastModeSendsNoThreshold) {
  App();
  Sim sim({"--ids", "1,2"});
  Rig rig({sim.paths.value(0)});
  rig.SkipStartupSweep();
  rig.dialogs.ExpectMessage(QStringLiteral("The broadcast mode has been opened."));
  rig.form.GroupBox2->RzButton8->click();
  rig.dialogs.ExpectQuestion(
      QStringLiteral("Notice"),
      QStringLiteral("In broadcast mode must put all equipment unified data, otherwise cannot broadcast mode."), true);
  rig.ClickConnect();
  ASSERT_TRUE(rig.app.backend.LinkOpen());
  const std::size_t before = sim.Received().size();
  rig.dialogs.ExpectMessage(QStringLiteral(
      "The temperature threshold is not sent in broadcast mode.\nSet it on each device by its own ID."));
  rig.app.deviceSettings.RzComboBox9Change(10);
  EXPECT_EQ(rig.app.backend.Session().model.TempThreshold, 10);
  EXPECT_EQ(rig.app.backend.Session().DeviceIndex, kBroadcastIndex);
  Pump(500);
  for (const std::string& hex : HexesSince(sim, before))
    EXPECT_FALSE(hex.substr(8, 2) == "A1" && hex.substr(12, 2) == "21") << "a settings write went out: " << hex;
  rig.app.connection.Button3Click();
}

}  // namespace
}  // namespace k7310::test

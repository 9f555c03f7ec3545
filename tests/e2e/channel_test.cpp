// The channel controls against the simulator: mute, polarity, the master volume, the limiter lists and the delay
// bar go out as their records through the channel's slot; with no link they change the model and send nothing.
#include "tests/e2e/rig.h"
#include "tests/e2e/user_input.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/kit/button_color.h"
#include "app/kit/pictures.h"
#include "channel/ui/gain_controller.h"
#include "eq/scales.h"
#include "protocol/catalogue.h"

namespace k7310::test {
namespace {

std::string Hex(const Bytes& frame) { return ToHexText(frame); }

// The first ten bytes name the command, the device and the record: frames with the same head write the same thing.
std::string Head(const Bytes& frame) { return Hex(frame).substr(0, 20); }

int CountSince(const Sim& sim, std::size_t from, const std::string& head) {
  const auto rx = sim.Received();
  int n = 0;
  for (std::size_t i = from; i < rx.size(); ++i)
    if (rx[i].hex.substr(0, 20) == head) ++n;
  return n;
}

bool LastIs(const Sim& sim, const std::string& hex) {
  return WaitUntil([&] {
    const auto rx = sim.Received();
    return !rx.empty() && rx.back().hex == hex;
  }, 3000);
}



// The knob picture stands at (73, top) of the fader.
bool KnobDrawnAt(const QImage& canvas, int top, const QPixmap& knob) {
  const QImage k = knob.toImage().convertToFormat(canvas.format());
  return canvas.copy(73, top, k.width(), k.height()) == k;
}


class ChannelTest : public ::testing::Test {
 protected:
  ChannelTest() : sim({"--ids", "1"}) {
    App();
    rig = std::make_unique<Rig>(QStringList{sim.paths.value(0)});
  }
  void Connect() {
    rig->SkipStartupSweep();
    rig->ConnectAndPoll();
    Pump(600);
  }
  ParameterModel& Model() { return rig->app.backend.Session().model; }
  std::uint8_t Device() { return rig->app.backend.Session().DeviceIndex; }

  Sim sim;
  std::unique_ptr<Rig> rig;
};

TEST_F(ChannelTest, MuteTwiceSendsOffThenOnAndPolarityFlipsItsOwnRecord) {
  Connect();
  ChannelStrip& strip = *rig->form.GroupBox1;
  ASSERT_EQ(Model().OutOn[1], 1);
  const std::size_t before = sim.Received().size();

  strip.RzButton52->click();  // Mid mute
  EXPECT_EQ(ButtonColor(strip.RzButton52), kButtonRed);
  EXPECT_EQ(Model().OutOn[1], 0);
  ASSERT_TRUE(LastIs(sim, Hex(WriteChannelSettings(Model(), Device(), 1))));
  strip.RzButton52->click();
  EXPECT_EQ(ButtonColor(strip.RzButton52), kButtonNormal);
  EXPECT_EQ(Model().OutOn[1], 1);
  const Bytes on = WriteChannelSettings(Model(), Device(), 1);
  ASSERT_TRUE(LastIs(sim, Hex(on)));
  EXPECT_EQ(CountSince(sim, before, Head(on)), 2);
  EXPECT_EQ(Hex(on).substr(22, 2), "01");  // OutOn, the record's second byte

  // A quick double click: the scheduler may carry both marks in one frame, which then says "on".
  const std::size_t quick = sim.Received().size();
  strip.RzButton52->click();
  strip.RzButton52->click();
  ASSERT_TRUE(LastIs(sim, Hex(on)));
  Pump(700);
  EXPECT_EQ(CountSince(sim, quick, Head(on)), 1);

  // Polarity: the Low row writes Low's settings, the Main button the Main record; captions follow.
  strip.RzButton3->click();
  EXPECT_EQ(strip.RzButton3->text(), QStringLiteral("-"));
  ASSERT_TRUE(LastIs(sim, Hex(WriteChannelSettings(Model(), Device(), 2))));
  strip.RzButton6->click();
  EXPECT_EQ(strip.RzButton6->text(), QStringLiteral("-"));
  EXPECT_EQ(Model().OutPolarity[3], 1);
  ASSERT_TRUE(LastIs(sim, Hex(WriteMainSettings(Model(), Device()))));
  strip.RzButton6->click();
  EXPECT_EQ(strip.RzButton6->text(), QStringLiteral("+"));
  ASSERT_TRUE(LastIs(sim, Hex(WriteMainSettings(Model(), Device()))));
}

TEST_F(ChannelTest, VolumeAtZeroShowsMuteAndStillSends) {
  Connect();
  ChannelStrip& strip = *rig->form.GroupBox1;
  strip.TrackBar1->setValue(300);
  strip.TrackBar1->setValue(301);
  EXPECT_EQ(strip.Label1->text(), QStringLiteral("0.0 dB"));
  ASSERT_TRUE(LastIs(sim, Hex(WriteMainSettings(Model(), Device()))));
  strip.TrackBar1->setValue(1);
  EXPECT_EQ(strip.Label1->text(), QStringLiteral("-60.0 dB"));
  strip.TrackBar1->setValue(0);
  EXPECT_EQ(strip.Label1->text(), QStringLiteral("Mute"));
  EXPECT_EQ(Model().MasterVolume, 0);
  const std::string main = Hex(WriteMainSettings(Model(), Device()));
  ASSERT_TRUE(LastIs(sim, main));
  EXPECT_EQ(main.substr(24, 4), "0000");  // MasterVolume, little-endian in bytes 2 and 3 of the record

  // Showing a received block moves the bar without sending.
  const std::size_t before = sim.Received().size();
  Model().MasterVolume = 150;
  rig->app.view.ShowModel();
  EXPECT_EQ(strip.Label1->text(), QStringLiteral("-30.2 dB"));
  Pump(700);
  EXPECT_EQ(CountSince(sim, before, main.substr(0, 20)), 0);
}

TEST_F(ChannelTest, LimiterPickWritesOnlyTheSelectedOutput) {
  Connect();
  ChannelStrip& strip = *rig->form.GroupBox1;
  LimiterPanel& panel = *rig->form.RzGroupBox7;
  Model().LimAttack[1] = 3;
  Model().LimRelease[0] = 6;
  strip.RzButton49->click();  // Mid limiter
  ASSERT_TRUE(panel.isVisible());
  EXPECT_EQ(panel.RzLabel5->text(), QStringLiteral("Mid--Limiter"));
  EXPECT_EQ(panel.RzComboBox3->currentIndex(), 3);
  ASSERT_EQ(panel.RzComboBox2->count(), 20);
  EXPECT_EQ(panel.RzComboBox2->itemText(19), QStringLiteral("0dBu"));
  EXPECT_EQ(panel.RzComboBox3->itemText(0), QStringLiteral("0.5 ms"));
  EXPECT_EQ(panel.RzComboBox5->itemText(6), QStringLiteral("5000ms"));
  EXPECT_FALSE(panel.RzComboBox4->isVisible());
  const std::size_t before = sim.Received().size();

  Choose(panel.RzComboBox2, 19);
  EXPECT_EQ(Model().LimThreshold[1], 19);
  const Bytes mid = WriteLimiter(Model(), Device(), 1);
  ASSERT_TRUE(LastIs(sim, Hex(mid)));
  EXPECT_EQ(Hex(mid).substr(20, 4), "1303");  // threshold 19, the attack as it was
  Pump(700);
  EXPECT_EQ(CountSince(sim, before, Head(mid)), 1);
  EXPECT_EQ(CountSince(sim, before, Head(WriteLimiter(Model(), Device(), 0))), 0);
  EXPECT_EQ(CountSince(sim, before, Head(WriteLimiter(Model(), Device(), 2))), 0);

  // Reopening for High shows High's choices.
  strip.RzButton43->click();
  EXPECT_EQ(panel.RzLabel5->text(), QStringLiteral("High--Limiter"));
  EXPECT_EQ(panel.RzComboBox2->currentIndex(), Model().LimThreshold[0]);
  EXPECT_EQ(panel.RzComboBox5->currentIndex(), 6);
  // A block applied while it is open (a recall) refills it, and refilling sends nothing.
  const std::size_t beforeRefill = sim.Received().size();
  Model().LimThreshold[0] = 5;
  emit rig->app.backend.ModelApplied();
  EXPECT_EQ(panel.RzComboBox2->currentIndex(), 5);
  Pump(700);
  EXPECT_EQ(CountSince(sim, beforeRefill, Head(WriteLimiter(Model(), Device(), 0))), 0);
}

TEST_F(ChannelTest, MainDelayShowsItsReadoutsAndWritesTheMainRecord) {
  Connect();
  ChannelStrip& strip = *rig->form.GroupBox1;
  DelayPanel& panel = *rig->form.RzGroupBox6;
  Model().OutDelay[3] = 100;
  const std::size_t before = sim.Received().size();
  const std::string mainHead = Head(WriteMainSettings(Model(), Device()));
  strip.RzButton5->click();  // Main delay
  ASSERT_TRUE(panel.isVisible());
  EXPECT_EQ(panel.RzLabel4->text(), QStringLiteral("Mian--Delay"));
  EXPECT_EQ(panel.ScrollBar1->value(), 100);
  EXPECT_EQ(panel.RzEdit18->text(), QStringLiteral("2.100 Ms"));
  EXPECT_EQ(panel.RzLabel3->text(), QStringLiteral("0.723 Mm"));
  EXPECT_EQ(panel.RzLabel20->text(), QStringLiteral("2.373 Ft"));
  Pump(700);
  EXPECT_EQ(CountSince(sim, before, mainHead), 0);  // opening sends nothing

  panel.ScrollBar1->setValue(412);
  EXPECT_EQ(panel.RzEdit18->text(), QStringLiteral("8.652 Ms"));
  EXPECT_EQ(panel.RzLabel3->text(), QStringLiteral("2.980 Mm"));
  EXPECT_EQ(panel.RzLabel20->text(), QStringLiteral("9.777 Ft"));
  EXPECT_EQ(Model().OutDelay[3], 412);
  const std::string main = Hex(WriteMainSettings(Model(), Device()));
  ASSERT_TRUE(LastIs(sim, main));
  EXPECT_EQ(main.substr(28, 4), "9C01");  // bytes 4 and 5 of the record, low byte first
  EXPECT_EQ(CountSince(sim, before, Head(WriteChannelSettings(Model(), Device(), 0))), 0);

  // The time edit only displays: a typed value is put back on Enter.
  QLineEdit* time = panel.RzEdit18;
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(time, &in);
  time->selectAll();
  QKeyEvent five(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("5"));
  QApplication::sendEvent(time, &five);
  EXPECT_EQ(time->text(), QStringLiteral("5"));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(time, &enter);
  EXPECT_EQ(time->text(), QStringLiteral("8.652 Ms"));
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(time, &out);
  EXPECT_EQ(Model().OutDelay[3], 412);

  // An output's delay writes its own channel settings.
  strip.RzButton56->click();  // Low delay
  EXPECT_EQ(panel.RzLabel4->text(), QStringLiteral("Low--Delay"));
  panel.ScrollBar1->setValue(7);
  EXPECT_EQ(Model().OutDelay[2], 7);
  EXPECT_EQ(Model().OutDelay[3], 412);
  ASSERT_TRUE(LastIs(sim, Hex(WriteChannelSettings(Model(), Device(), 2))));
}

TEST_F(ChannelTest, WithoutALinkEveryControlChangesTheModelAndNothingGoesOut) {
  rig->SkipStartupSweep();
  ChannelStrip& strip = *rig->form.GroupBox1;
  ASSERT_FALSE(rig->app.backend.LinkOpen());
  strip.RzButton46->click();
  strip.RzButton1->click();
  strip.TrackBar1->setValue(77);
  strip.RzButton55->click();
  Choose(rig->form.RzGroupBox7->RzComboBox5, 4);
  strip.RzButton44->click();
  rig->form.RzGroupBox6->ScrollBar1->setValue(20);
  const ParameterModel& m = Model();
  EXPECT_EQ(m.OutOn[0], 0);
  EXPECT_EQ(ButtonColor(strip.RzButton46), kButtonRed);
  EXPECT_EQ(m.OutPolarity[0], 1);
  EXPECT_EQ(m.MasterVolume, 77);
  EXPECT_EQ(strip.Label1->text(), QStringLiteral("-44.8 dB"));
  EXPECT_EQ(m.LimRelease[2], 4);
  EXPECT_EQ(m.OutDelay[0], 20);
  EXPECT_EQ(rig->form.RzGroupBox6->RzEdit18->text(), QStringLiteral("0.420 Ms"));
  Pump(700);
  // The unit's block after a connect replaces the model, and the panel shows the unit's value.
  rig->ConnectAndPoll();
  Pump(600);
  ASSERT_NE(Model().OutDelay[0], 20);
  strip.RzButton44->click();
  EXPECT_EQ(rig->form.RzGroupBox6->ScrollBar1->value(), Model().OutDelay[0]);
  const std::uint8_t d = Device();
  for (const std::string& head : {Head(WriteChannelSettings(m, d, 0)), Head(WriteMainSettings(m, d)),
                                  Head(WriteLimiter(m, d, 2))})
    EXPECT_EQ(CountSince(sim, 0, head), 0) << head;
}

TEST_F(ChannelTest, GainEditStripsTheUnitClampsAndSnaps) {
  rig->SkipStartupSweep();
  ChannelStrip& strip = *rig->form.GroupBox1;
  GainPanel& panel = *rig->form.RzGroupBox5;
  struct Case {
    int channel;
    const char* typed;
    int index;
    const char* shown;
  };
  const Case cases[] = {
      {0, "7", 250, "5.0 dB"},      {2, "7", 200, "0.0 dB"},       {1, "-30", 0, "-20.0 dB"},
      {0, "4.95", 249, "4.9 dB"},   {0, "0.05", 200, "0.0 dB"},    {2, "-3.04", 170, "-3.0 dB"},
      {1, "-12.0", 80, "-12.0 dB"}, {0, "--", 200, "0.0 dB"},  // not a number: the text on entry
  };
  for (const Case& k : cases) {
    strip.GainButtons[static_cast<std::size_t>(k.channel)]->click();
    ASSERT_TRUE(panel.isVisible());
    TypeAndLeave(panel.RzEdit17, QString::fromLatin1(k.typed));
    EXPECT_EQ(Model().OutGainIndex[static_cast<std::size_t>(k.channel)], k.index) << k.typed;
    EXPECT_EQ(panel.RzEdit17->text(), QString::fromLatin1(k.shown)) << k.typed;
    EXPECT_EQ(rig->app.gain.KnobTop(k.channel), FaderKnobTop(ChannelGainTable[static_cast<std::size_t>(k.index)]));
  }
  // The text as shown, unit and all, reads back as the same gain.
  TypeAndLeave(panel.RzEdit17, QStringLiteral("-6.5dB"));
  EXPECT_EQ(Model().OutGainIndex[0], 135);
}

TEST_F(ChannelTest, FaderDrawsTheKnobAndItsDragMarksTheCommand) {
  Connect();
  ChannelStrip& strip = *rig->form.GroupBox1;
  GainPanel& panel = *rig->form.RzGroupBox5;
  GainController& gain = rig->app.gain;
  EXPECT_EQ(FaderKnobTop(5.0), 21);
  EXPECT_EQ(FaderKnobTop(0.0), 56);
  EXPECT_EQ(FaderKnobTop(-20.0), 200);

  Model().OutGainIndex[2] = 200;  // Low at 0.0 dB: the knob at 56
  strip.RzButton57->click();
  EXPECT_EQ(panel.RzLabel2->text(), QStringLiteral("Low--Gain"));
  EXPECT_EQ(panel.RzEdit17->text(), QStringLiteral("0.0 dB"));
  ASSERT_EQ(gain.KnobTop(2), 56);
  EXPECT_TRUE(KnobDrawnAt(gain.Canvas(), 56, FaderKnobPicture()));

  // The hit box is strict: its edge does nothing, its inside takes the knob and draws it hot.
  Mouse(panel.Image2, QEvent::MouseButtonPress, {73, 60});
  EXPECT_FALSE(gain.Dragging());
  Mouse(panel.Image2, QEvent::MouseButtonPress, {78, 60});
  ASSERT_TRUE(gain.Dragging());
  EXPECT_TRUE(KnobDrawnAt(gain.Canvas(), 56, FaderKnobHotPicture()));

  // Above row 62 the Low knob stays, yet every move marks Low's settings.
  const std::size_t before = sim.Received().size();
  const std::string head = Head(WriteChannelSettings(Model(), Device(), 2));
  Mouse(panel.Image2, QEvent::MouseMove, {78, 40});
  EXPECT_EQ(gain.KnobTop(2), 56);
  EXPECT_EQ(Model().OutGainIndex[2], 200);
  ASSERT_TRUE(WaitUntil([&] { return CountSince(sim, before, head) == 1; }, 3000));
  Pump(700);
  Mouse(panel.Image2, QEvent::MouseMove, {78, 30});
  ASSERT_TRUE(WaitUntil([&] { return CountSince(sim, before, head) == 2; }, 3000));

  // In range the knob follows and the gain is the shown one: row 105 is -6.0 dB.
  Mouse(panel.Image2, QEvent::MouseMove, {78, 105});
  EXPECT_EQ(gain.KnobTop(2), 100);
  EXPECT_EQ(panel.RzEdit17->text(), QStringLiteral("-6.0 dB"));
  EXPECT_EQ(Model().OutGainIndex[2], 140);
  EXPECT_TRUE(KnobDrawnAt(gain.Canvas(), 100, FaderKnobHotPicture()));
  Mouse(panel.Image2, QEvent::MouseButtonRelease, {78, 105});
  EXPECT_FALSE(gain.Dragging());
  EXPECT_TRUE(KnobDrawnAt(gain.Canvas(), 100, FaderKnobPicture()));
  ASSERT_TRUE(LastIs(sim, Hex(WriteChannelSettings(Model(), Device(), 2))));

  // Up at +5.0 dB (High) does nothing; down steps one entry and sends.
  Model().OutGainIndex[0] = 250;
  strip.RzButton45->click();
  Pump(700);
  const std::size_t atTop = sim.Received().size();
  const std::string highHead = Head(WriteChannelSettings(Model(), Device(), 0));
  panel.SpinButton1->UpRight->click();
  Pump(700);
  EXPECT_EQ(CountSince(sim, atTop, highHead), 0);
  EXPECT_EQ(Model().OutGainIndex[0], 250);
  panel.SpinButton1->DownLeft->click();
  EXPECT_EQ(panel.RzEdit17->text(), QStringLiteral("4.9 dB"));
  EXPECT_EQ(gain.KnobTop(0), FaderKnobTop(4.9));
  ASSERT_TRUE(LastIs(sim, Hex(WriteChannelSettings(Model(), Device(), 0))));
}

}  // namespace
}  // namespace k7310::test

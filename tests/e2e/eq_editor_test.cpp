// The band table and the crossover controls of the real window, offscreen, with the shared edit commit. Frames
// queue without a link (the scheduler does not run here), so each case reads the slots it raised.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/kit/edit_commit.h"
#include "eq/number_text.h"
#include "eq/scales.h"
#include "eq/ui/band_editor.h"
#include "eq/ui/crossover_editor.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"
#include "tests/e2e/scripted_dialogs.h"
#include "tests/e2e/user_input.h"

namespace k7310 {
namespace {

using test::Choose;
using test::Focus;
using test::Leave;
using test::PressEnter;
using test::TypeAndEnter;
using test::TypeOver;

// The application ends with the tests, before the exit handlers: the key events made here register Qt's keyboard
// device, whose destruction among the exit handlers would touch Qt's statics after they are gone.
class AppEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { app.reset(); }
  QApplication& Get() {
    static int argc = 1;
    static char name[] = "test_eq_editor";
    static char* argv[] = {name, nullptr};
    if (!app) app = std::make_unique<QApplication>(argc, argv);
    return *app;
  }

 private:
  std::unique_ptr<QApplication> app;
};
AppEnvironment* const kAppEnvironment =
    static_cast<AppEnvironment*>(::testing::AddGlobalTestEnvironment(new AppEnvironment));

QApplication& App() { return kAppEnvironment->Get(); }


class EqEditorTest : public ::testing::Test {
 protected:
  EqEditorTest() {
    App();
    form = std::make_unique<TForm1>(dialogs);
    box = form->RzGroupBox8;
    backend.Session().LinkOpen = true;
    backend.Session().DeviceIndex = 4;
    bands = std::make_unique<EqBandEditor>(
        *box, backend, snapshot, form->RzGroupBox1, form->RzGroupBox1->RzProgressBar1, form->regions,
        [this] { return channel; }, [this](int k) { updated.push_back(k); });
    crossover = std::make_unique<CrossoverEditor>(
        *box, backend, snapshot, [this] { return channel; }, [this](int c) { crossed.push_back(c); });
    bands->FillEqPanel(channel);
    crossover->Fill(channel);
  }
  ~EqEditorTest() override { dialogs.Verify(); }

  ParameterModel& Model() { return backend.Session().model; }

  // The slots raised since the last call; each must carry the frame of the model as it is now.
  std::set<int> TakeQueued() {
    DeviceSession& s = backend.Session();
    std::set<int> raised;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      if (!s.commandSlots.IsPending(slot)) continue;
      raised.insert(slot);
      EXPECT_EQ(s.commandSlots.FrameFor(slot, s.DeviceIndex), BuildSlotFrame(slot, s.model, s.DeviceIndex))
          << "slot " << slot;
    }
    s.commandSlots.ClearAllSlots();
    return raised;
  }
  std::vector<int> TakeUpdated() { return std::exchange(updated, {}); }
  std::vector<int> TakeCrossed() { return std::exchange(crossed, {}); }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  EqBox* box = nullptr;
  DeviceBackend backend;
  EditSnapshot snapshot;
  int channel = kMid;
  std::vector<int> updated;
  std::vector<int> crossed;
  std::unique_ptr<EqBandEditor> bands;
  std::unique_ptr<CrossoverEditor> crossover;
};

TEST_F(EqEditorTest, TypedValuesAreClampedAndSnappedToTheTables) {
  using C = EqBandEditor::Column;
  const struct {
    C column;
    const char* typed;
    const char* shown;
  } cases[] = {
      {C::kFreq, "50", "49.6"},    {C::kFreq, "100", "99.2"},   {C::kFreq, "1015", "1000"},
      {C::kFreq, "99999", "21900"}, {C::kFreq, "5", "19.7"},    {C::kFreq, "21900", "21900"},
      {C::kQ, "0.3", "0.2"},       {C::kQ, "0.5", "0.4"},       {C::kQ, "50", "36"},
      {C::kQ, "0", "0.2"},         {C::kGain, "-30", "-24"},    {C::kGain, "7.1", "7"},
      {C::kGain, "7.3", "7.2"},    {C::kGain, "-0.1", "-0.2"},  {C::kGain, "0.1", "0"},
      {C::kGain, "99", "12"},
  };
  const int b = 2, k = 6 * kMid + b;
  EqBandRow& row = box->Bands[b];
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " -> " + c.shown);
    QLineEdit* edit = c.column == C::kFreq ? row.freq : c.column == C::kQ ? row.q : row.gain;
    // Start each case from a value the typed text differs from.
    Model().EqFreqIndex[k] = 100, Model().EqQIndex[k] = 100, EqBandEditor::GainInEffect(Model(), k) = 100;
    bands->FillEqPanel(channel);
    TypeAndEnter(edit, QString::fromLatin1(c.typed));
    EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
    const double* table = c.column == C::kFreq ? FreqTable.data() : c.column == C::kQ ? QTable.data()
                                                                                     : EqGainTable.data();
    const int index = c.column == C::kFreq ? Model().EqFreqIndex[k]
                      : c.column == C::kQ  ? Model().EqQIndex[k]
                                           : EqBandEditor::GainInEffect(Model(), k);
    EXPECT_EQ(GeneralNumberText(table[index]), c.shown);
    EXPECT_EQ(TakeUpdated(), std::vector<int>{k});
    EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
    Leave(edit);
    EXPECT_TRUE(TakeQueued().empty());
  }
  // 49.6 Hz is entry 32 of the frequency table.
  TypeAndEnter(row.freq, QStringLiteral("50"));
  EXPECT_EQ(Model().EqFreqIndex[k], 32);
}

TEST_F(EqEditorTest, KeyFilterAndNotANumber) {
  QLineEdit* freq = box->RzEdit95;
  QLineEdit* gain = box->RzEdit107;
  Focus(freq);
  TypeOver(freq, QStringLiteral("1a2-, 3"));
  EXPECT_EQ(freq->text(), QStringLiteral("123"));  // frequencies take no minus and no letters
  Leave(freq);
  TakeQueued();
  TakeUpdated();
  Focus(gain);
  TypeOver(gain, QStringLiteral("-4.5x"));
  EXPECT_EQ(gain->text(), QStringLiteral("-4.5"));
  Leave(gain);
  TakeQueued();
  TakeUpdated();

  // 1.2.3 is put back to the text on entry; nothing changes, nothing is sent.
  const ParameterModel before = Model();
  const QString entry = box->RzEdit103->text();
  Focus(box->RzEdit103);
  TypeOver(box->RzEdit103, QStringLiteral("1.2.3"));
  Leave(box->RzEdit103);
  EXPECT_EQ(box->RzEdit103->text(), entry);
  EXPECT_EQ(Model().EqQIndex, before.EqQIndex);
  EXPECT_TRUE(TakeQueued().empty());
  EXPECT_TRUE(TakeUpdated().empty());
}

TEST_F(EqEditorTest, EnterTwiceSendsOnceAndLeavingAfterwardsSendsNothing) {
  QLineEdit* freq = box->RzEdit97;
  const int k = 6 * kMid + 3;
  TypeAndEnter(freq, QStringLiteral("1000"));
  EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
  PressEnter(freq);
  EXPECT_TRUE(TakeQueued().empty());
  Leave(freq);
  EXPECT_TRUE(TakeQueued().empty());
  // Leaving an edit that was entered and not changed sends nothing either.
  Focus(box->RzEdit104);
  Leave(box->RzEdit104);
  EXPECT_TRUE(TakeQueued().empty());
  EXPECT_EQ(TakeUpdated(), std::vector<int>{k});
  // Without Enter, leaving a changed edit commits.
  Focus(box->RzEdit109);
  TypeOver(box->RzEdit109, QStringLiteral("3"));
  Leave(box->RzEdit109);
  EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
  EXPECT_EQ(EqGainTable[static_cast<std::size_t>(Model().EqPeakGainIndex[k])], 3.0);
}

TEST_F(EqEditorTest, PeqAndShelvesKeepTheirOwnGain) {
  const int b = 1, k = 6 * kMid + b;
  QComboBox* type = box->RzComboBox67;
  QLineEdit* gain = box->RzEdit107;
  TypeAndEnter(gain, QStringLiteral("6"));
  Leave(gain);
  TakeQueued();
  Choose(type, 1);  // LS: a fresh band's shelf gain is 0 dB
  EXPECT_EQ(Model().EqType[k], 1);
  EXPECT_EQ(gain->text(), QStringLiteral("0"));
  EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
  TypeAndEnter(gain, QStringLiteral("-3"));
  Leave(gain);
  Choose(type, 2);  // HS shares the shelf gain
  EXPECT_EQ(gain->text(), QStringLiteral("-3"));
  Choose(type, 0);
  EXPECT_EQ(gain->text(), QStringLiteral("6"));
  EXPECT_EQ(Model().EqPeakGainIndex[k], NearestIndex(EqGainTable, 6.0));
  EXPECT_EQ(Model().EqShelfGainIndex[k], NearestIndex(EqGainTable, -3.0));
  EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
}

TEST_F(EqEditorTest, SpinsStepByOneEntryAndDoNothingAtTheEnds) {
  using C = EqBandEditor::Column;
  const int b = 5, k = 6 * kMid + b;
  const struct {
    C column;
    QLineEdit* edit;
    SpinButtons* spin;
    int maxIndex;
  } cases[] = {
      {C::kFreq, box->RzEdit111, box->RzSpinButtons87, kMaxFreqIndex},
      {C::kQ, box->RzEdit112, box->RzSpinButtons88, kMaxQIndex},
      {C::kGain, box->RzEdit113, box->RzSpinButtons89, kMaxEqGainIndex},
  };
  auto index = [&](C column) -> int& {
    return column == C::kFreq ? Model().EqFreqIndex[k] : column == C::kQ ? Model().EqQIndex[k]
                                                                        : Model().EqPeakGainIndex[k];
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edit->objectName().toStdString());
    for (const int end : {0, c.maxIndex}) {
      index(c.column) = end;
      bands->FillEqPanel(channel);
      const QString shown = c.edit->text();
      (end == 0 ? c.spin->DownLeft : c.spin->UpRight)->click();
      EXPECT_EQ(index(c.column), end);
      EXPECT_EQ(c.edit->text(), shown);
      EXPECT_TRUE(TakeQueued().empty());
      EXPECT_TRUE(TakeUpdated().empty());
      // One step back inside the range.
      (end == 0 ? c.spin->UpRight : c.spin->DownLeft)->click();
      EXPECT_EQ(index(c.column), end == 0 ? 1 : end - 1);
      EXPECT_NE(c.edit->text(), shown);
      EXPECT_EQ(TakeQueued(), std::set<int>{EqBandSlot(k)});
      EXPECT_EQ(TakeUpdated(), std::vector<int>{k});
    }
  }
}

TEST_F(EqEditorTest, ZeroDbFlattensTheSixBandsOnlyWhileLinked) {
  channel = kMain;
  for (int b = 0; b < 6; ++b) {
    Model().EqPeakGainIndex[18 + b] = 150;
    Model().EqShelfGainIndex[18 + b] = 60;
  }
  Model().EqType[18 + 3] = 1;  // one shelf band
  bands->FillEqPanel(channel);
  const ParameterModel before = Model();

  backend.Session().LinkOpen = false;
  box->RzButton97->click();
  EXPECT_EQ(Model().EqPeakGainIndex, before.EqPeakGainIndex);
  EXPECT_EQ(Model().EqShelfGainIndex, before.EqShelfGainIndex);
  EXPECT_FALSE(form->RzGroupBox1->isVisibleTo(form.get()));
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(backend.Session().ProgressSends);
  EXPECT_TRUE(TakeUpdated().empty());
  EXPECT_EQ(box->RzEdit106->text(), QStringLiteral("6"));

  backend.Session().LinkOpen = true;
  form->RzGroupBox1->RzProgressBar1->setValue(80);
  box->RzButton97->click();
  EXPECT_TRUE(form->RzGroupBox1->isVisibleTo(form.get()));
  EXPECT_EQ(form->RzGroupBox1->pos(), QPoint(208, 512));
  EXPECT_EQ(form->RzGroupBox1->RzProgressBar1->value(), 0);
  for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(form->GroupBox1),
                     static_cast<QWidget*>(form->GroupBox2), static_cast<QWidget*>(form->GroupBox3)})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(backend.Session().ProgressSends);
  EXPECT_EQ(backend.Session().ProgressCount, 0);
  EXPECT_EQ(TakeUpdated(), (std::vector<int>{18, 19, 20, 21, 22, 23}));
  std::set<int> six;
  for (int k = 18; k < 24; ++k) six.insert(EqBandSlot(k));
  EXPECT_EQ(TakeQueued(), six);
  for (int k = 18; k < 24; ++k) {
    EXPECT_EQ(EqBandEditor::GainInEffect(Model(), k), 120);
    // The gain of the other kind is kept.
    EXPECT_EQ(k == 21 ? Model().EqPeakGainIndex[k] : Model().EqShelfGainIndex[k], k == 21 ? 150 : 60);
  }
  for (const EqBandRow& row : box->Bands) EXPECT_EQ(row.gain->text(), QStringLiteral("0"));
  EXPECT_EQ(Model().EqPeakGainIndex[0], before.EqPeakGainIndex[0]);  // other channels untouched
}

TEST_F(EqEditorTest, FillAndDragRewriteShowTheModel) {
  channel = kLow;
  const int k = 6 * kLow + 4;
  Model().EqFreqIndex[k] = 0, Model().EqQIndex[k] = 179, Model().EqType[k] = 2, Model().EqShelfGainIndex[k] = 0;
  Model().HpfFreqIndex[kLow] = 243, Model().HpfType[kLow] = 8;
  Model().LpfFreqIndex[kLow] = 0, Model().LpfType[kLow] = 4;
  bands->FillEqPanel(channel);
  crossover->Fill(channel);
  EXPECT_EQ(box->RzEdit98->text(), QStringLiteral("19.7"));
  EXPECT_EQ(box->RzEdit105->text(), QStringLiteral("36"));
  EXPECT_EQ(box->RzEdit110->text(), QStringLiteral("-24"));
  EXPECT_EQ(box->RzComboBox74->currentIndex(), 2);
  EXPECT_EQ(box->RzEdit205->text(), QStringLiteral("21900"));
  EXPECT_EQ(box->RzComboBox69->currentText(), QStringLiteral("24db-Bessel"));
  EXPECT_EQ(box->RzEdit206->text(), QStringLiteral("19.7"));
  EXPECT_EQ(box->RzComboBox71->currentIndex(), 4);
  EXPECT_TRUE(TakeQueued().empty());
  EXPECT_TRUE(TakeUpdated().empty());
  EXPECT_TRUE(TakeCrossed().empty());

  // The drag moves a band: its frequency and gain edits follow the model.
  Model().EqFreqIndex[k] = 32, Model().EqShelfGainIndex[k] = 150;
  bands->ShowBandPosition(k);
  EXPECT_EQ(box->RzEdit98->text(), QStringLiteral("49.6"));
  EXPECT_EQ(box->RzEdit110->text(), QString::fromStdString(GeneralNumberText(EqGainTable[150])));
  EXPECT_TRUE(TakeQueued().empty());
}

TEST_F(EqEditorTest, CrossoverEditsQueueTheChannelsCrossover) {
  const struct {
    QLineEdit* edit;
    const char* typed;
    const char* shown;
    int index;
  } cases[] = {
      {box->RzEdit205, "5", "19.7", 0},    {box->RzEdit206, "30000", "21900", 243},
      {box->RzEdit205, "20", "19.7", 0},   {box->RzEdit206, "20.1", "20.3", 1},
      {box->RzEdit205, "1000", "1000", -1},
  };
  const int expectedSlot[] = {2, 5, 8, 36};
  for (int c = 0; c < kChannelCount; ++c) {
    channel = c;
    for (const auto& t : cases) {
      SCOPED_TRACE(std::to_string(c) + ": " + t.typed);
      const bool high = t.edit == box->RzEdit205;
      Model().HpfFreqIndex[c] = 100, Model().LpfFreqIndex[c] = 100;
      crossover->Fill(c);
      TypeAndEnter(t.edit, QString::fromLatin1(t.typed));
      EXPECT_EQ(t.edit->text(), QString::fromLatin1(t.shown));
      const int stored = high ? Model().HpfFreqIndex[c] : Model().LpfFreqIndex[c];
      if (t.index >= 0) {
        EXPECT_EQ(stored, t.index);
      }
      EXPECT_EQ(GeneralNumberText(FreqTable[static_cast<std::size_t>(stored)]), t.shown);
      EXPECT_EQ((high ? Model().LpfFreqIndex : Model().HpfFreqIndex)[c], 100);
      EXPECT_EQ(TakeQueued(), std::set<int>{expectedSlot[c]});
      EXPECT_EQ(TakeCrossed(), std::vector<int>{c});
      PressEnter(t.edit);
      Leave(t.edit);
      EXPECT_TRUE(TakeQueued().empty());
    }
  }
  // The frame carries the channel's indices and types.
  channel = kMain;
  Choose(box->RzComboBox71, 7);
  EXPECT_EQ(Model().LpfType[kMain], 7);
  EXPECT_EQ(TakeQueued(), std::set<int>{kMainCrossoverSlot});
  Choose(box->RzComboBox69, 3);
  const Bytes frame = WriteCrossover(Model(), 4, kMain);
  EXPECT_EQ(backend.Session().commandSlots.FrameFor(kMainCrossoverSlot, 4), frame);
  const ParameterRecord record = CrossoverRecord(Model(), kMain);
  EXPECT_EQ(record[1], 3);
  EXPECT_EQ(record[5], 7);
}

TEST_F(EqEditorTest, CrossoverSpinsAndKeys) {
  channel = kHigh;
  Model().HpfFreqIndex[kHigh] = 0, Model().LpfFreqIndex[kHigh] = 243;
  crossover->Fill(channel);
  box->RzSpinButtons181->DownLeft->click();
  box->RzSpinButtons182->UpRight->click();
  EXPECT_TRUE(TakeQueued().empty());
  EXPECT_TRUE(TakeCrossed().empty());
  box->RzSpinButtons181->UpRight->click();
  EXPECT_EQ(Model().HpfFreqIndex[kHigh], 1);
  EXPECT_EQ(box->RzEdit205->text(), QString::fromStdString(GeneralNumberText(FreqTable[1])));
  box->RzSpinButtons182->DownLeft->click();
  EXPECT_EQ(Model().LpfFreqIndex[kHigh], 242);
  EXPECT_EQ(TakeQueued(), std::set<int>{CrossoverSlot(kHigh)});
  EXPECT_EQ(TakeCrossed(), (std::vector<int>{kHigh, kHigh}));

  // Cutoffs take no minus; 1.2.3 is put back.
  const QString entry = box->RzEdit206->text();
  Focus(box->RzEdit206);
  TypeOver(box->RzEdit206, QStringLiteral("-1.2.3"));
  EXPECT_EQ(box->RzEdit206->text(), QStringLiteral("1.2.3"));
  Leave(box->RzEdit206);
  EXPECT_EQ(box->RzEdit206->text(), entry);
  EXPECT_TRUE(TakeQueued().empty());
  EXPECT_EQ(Model().LpfFreqIndex[kHigh], 242);
}

}  // namespace
}  // namespace k7310

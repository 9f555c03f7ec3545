#include "eq/ui/band_editor.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include "eq/number_text.h"
#include "eq/scales.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"

namespace k7310 {
namespace {

// One column of the band table: its value table, its limits and how a clamped value is written back.
struct ColumnSpec {
  const double* table;
  int maxIndex;
  double low, high;
  const char* lowText;
  const char* highText;
  unsigned accepts;
  QLineEdit* EqBandRow::*edit;
  SpinButtons* EqBandRow::*spin;
};

const ColumnSpec kColumns[] = {
    {FreqTable.data(), static_cast<int>(kFreqCount) - 1, 19.7, 21900.0, "19.7", "21900.0", kAcceptPoint,
     &EqBandRow::freq, &EqBandRow::freqSpin},
    {QTable.data(), static_cast<int>(kQCount) - 1, 0.2, 36.0, "0.20", "36.00", kAcceptPoint, &EqBandRow::q,
     &EqBandRow::qSpin},
    {EqGainTable.data(), static_cast<int>(kEqGainCount) - 1, -24.0, 12.0, "-24.0", "12.0",
     kAcceptPoint | kAcceptMinus, &EqBandRow::gain, &EqBandRow::gainSpin},
};

// "0 dB": gain index 120 is 0.0 dB.
constexpr int kFlatGainIndex = 120;
constexpr int kProgressX = 208, kProgressY = 512;

int& ModelField(ParameterModel& m, EqBandEditor::Column column, int k) {
  switch (column) {
    case EqBandEditor::kFreq:
      return m.EqFreqIndex[static_cast<std::size_t>(k)];
    case EqBandEditor::kQ:
      return m.EqQIndex[static_cast<std::size_t>(k)];
    case EqBandEditor::kGain:
      break;
  }
  return EqBandEditor::GainInEffect(m, k);
}

QString NumberText(double v) { return QString::fromStdString(GeneralNumberText(v)); }

}  // namespace

EqBandEditor::EqBandEditor(EqBox& box, DeviceBackend& backend, EditSnapshot& snapshot, QWidget* progressBox,
                           QProgressBar* progressBar, const Regions& regions, std::function<int()> selectedChannel,
                           std::function<void(int flatBand)> updateBand, QObject* parent)
    : QObject(parent),
      box_(box),
      backend_(backend),
      progressBox_(progressBox),
      progressBar_(progressBar),
      regions_(regions),
      selectedChannel_(std::move(selectedChannel)),
      updateBand_(std::move(updateBand)) {
  for (int b = 0; b < kBandsPerChannel; ++b) {
    EqBandRow& row = box_.Bands[static_cast<std::size_t>(b)];
    for (const Column column : {kFreq, kQ, kGain}) {
      const ColumnSpec& desc = kColumns[column];
      QLineEdit* edit = row.*desc.edit;
      SpinButtons* spin = row.*desc.spin;
      // Clamping rewrites the edit with the limit's text, which is read again like a typed value. The edits may
      // outlive the editor (a focused edit leaves as the window closes).
      EditCommit::Number(edit, snapshot, desc.accepts, [self = QPointer(this), column, b, edit](double v) {
        if (!self) return;
        const ColumnSpec& s = kColumns[column];
        if (v > s.high || v < s.low) {
          edit->setText(QString::fromLatin1(v > s.high ? s.highText : s.lowText));
          v = ParseNumberText(edit->text().toStdString()).value_or(v);
        }
        self->CommitValue(column, b, v);
      });
      connect(spin->DownLeft, &QToolButton::clicked, this, [this, column, b] { SpinDown(column, b); });
      connect(spin->UpRight, &QToolButton::clicked, this, [this, column, b] { SpinUp(column, b); });
    }
    connect(row.type, &QComboBox::activated, this, [this, b](int item) { TypeChange(b, item); });
  }
  connect(box_.RzButton97, &QPushButton::clicked, this, [this] { RzButton97Click(); });
}

int& EqBandEditor::GainInEffect(ParameterModel& m, int flatBand) {
  const auto k = static_cast<std::size_t>(flatBand);
  return m.EqType[k] == 0 ? m.EqPeakGainIndex[k] : m.EqShelfGainIndex[k];
}

int EqBandEditor::FlatBand(int b) const {
  const int c = selectedChannel_ ? selectedChannel_() : -1;
  if (c < 0 || c >= kChannelCount) return -1;
  return kBandsPerChannel * c + b;
}

void EqBandEditor::ShowValue(Column column, int b, int index) {
  const ColumnSpec& desc = kColumns[column];
  (box_.Bands[static_cast<std::size_t>(b)].*desc.edit)->setText(NumberText(desc.table[index]));
}

void EqBandEditor::UpdateBand(int flatBand) {
  if (updateBand_) updateBand_(flatBand);
}

void EqBandEditor::SendEqBand(int flatBand) { backend_.QueueCommand(EqBandSlot(flatBand)); }

void EqBandEditor::FillEqPanel(int channel) {
  if (channel < 0 || channel >= kChannelCount) return;
  ParameterModel& m = backend_.Session().model;
  for (int b = 0; b < kBandsPerChannel; ++b) {
    const int k = kBandsPerChannel * channel + b;
    for (const Column column : {kFreq, kQ, kGain}) ShowValue(column, b, ModelField(m, column, k));
    box_.Bands[static_cast<std::size_t>(b)].type->setCurrentIndex(m.EqType[static_cast<std::size_t>(k)]);
  }
}

void EqBandEditor::ShowBandPosition(int flatBand) {
  if (flatBand < 0 || flatBand >= kBandCount) return;
  ParameterModel& m = backend_.Session().model;
  const int b = flatBand % kBandsPerChannel;
  ShowValue(kGain, b, ModelField(m, kGain, flatBand));
  ShowValue(kFreq, b, ModelField(m, kFreq, flatBand));
}

void EqBandEditor::CommitValue(Column column, int b, double v) {
  const int k = FlatBand(b);
  if (k < 0) return;
  const ColumnSpec& desc = kColumns[column];
  const int i = NearestIndex(desc.table, static_cast<std::size_t>(desc.maxIndex) + 1, v);
  ModelField(backend_.Session().model, column, k) = i;
  // The gain edit shows its value after the send, the others before; the result is the same.
  if (column != kGain) ShowValue(column, b, i);
  UpdateBand(k);
  SendEqBand(k);
  if (column == kGain) ShowValue(column, b, i);
}

void EqBandEditor::Step(Column column, int b, int delta) {
  const int k = FlatBand(b);
  if (k < 0) return;
  int& index = ModelField(backend_.Session().model, column, k);
  const int next = index + delta;
  if (next < 0 || next > kColumns[column].maxIndex) return;
  index = next;
  ShowValue(column, b, next);
  UpdateBand(k);
  SendEqBand(k);
}

void EqBandEditor::SpinDown(Column column, int b) { Step(column, b, -1); }
void EqBandEditor::SpinUp(Column column, int b) { Step(column, b, +1); }

void EqBandEditor::TypeChange(int b, int item) {
  const int k = FlatBand(b);
  if (k < 0 || item < 0 || item > kMaxEqType) return;
  ParameterModel& m = backend_.Session().model;
  m.EqType[static_cast<std::size_t>(k)] = item;
  // PEQ and the shelves each keep their own gain: the edit shows the one the new type brings back.
  ShowValue(kGain, b, GainInEffect(m, k));
  UpdateBand(k);
  SendEqBand(k);
}

void EqBandEditor::RzButton97Click() {
  if (!backend_.LinkOpen()) return;
  const int channel = selectedChannel_ ? selectedChannel_() : -1;
  if (channel < 0 || channel >= kChannelCount) return;

  progressBox_->move(kProgressX, kProgressY);
  progressBar_->setValue(0);
  progressBox_->show();
  progressBox_->raise();
  for (QWidget* w : {regions_.RzGroupBox8, regions_.GroupBox1, regions_.GroupBox2, regions_.GroupBox3})
    if (w) w->setEnabled(false);
  DeviceSession& session = backend_.Session();
  session.ProgressSends = true;
  session.ProgressCount = 0;

  for (int b = 0; b < kBandsPerChannel; ++b) {
    const int k = kBandsPerChannel * channel + b;
    GainInEffect(session.model, k) = kFlatGainIndex;
    UpdateBand(k);
    SendEqBand(k);
  }
  for (EqBandRow& row : box_.Bands) row.gain->setText(QStringLiteral("0"));
}

}  // namespace k7310

#include "eq/ui/crossover_editor.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include <array>

#include "eq/number_text.h"
#include "eq/scales.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"

namespace k7310 {
namespace {

using ChannelField = std::array<int, kChannelCount> ParameterModel::*;

struct FilterSpec {
  QLineEdit* EqBox::*edit;
  SpinButtons* EqBox::*spin;
  QComboBox* EqBox::*type;
  ChannelField freqIndex;
  ChannelField filterType;
};

const FilterSpec kFilters[] = {
    {&EqBox::RzEdit205, &EqBox::RzSpinButtons181, &EqBox::RzComboBox69, &ParameterModel::HpfFreqIndex,
     &ParameterModel::HpfType},
    {&EqBox::RzEdit206, &EqBox::RzSpinButtons182, &EqBox::RzComboBox71, &ParameterModel::LpfFreqIndex,
     &ParameterModel::LpfType},
};

constexpr double kLowestFreq = 19.7, kHighestFreq = 21900.0;

QString FreqText(int index) {
  return QString::fromStdString(GeneralNumberText(FreqTable[static_cast<std::size_t>(index)]));
}

}  // namespace

CrossoverEditor::CrossoverEditor(EqBox& box, DeviceBackend& backend, EditSnapshot& snapshot,
                                 std::function<int()> selectedChannel,
                                 std::function<void(int channel)> crossoverChanged, QObject* parent)
    : QObject(parent),
      box_(box),
      backend_(backend),
      selectedChannel_(std::move(selectedChannel)),
      crossoverChanged_(std::move(crossoverChanged)) {
  for (const Filter filter : {kHighPass, kLowPass}) {
    const FilterSpec& desc = kFilters[filter];
    QLineEdit* edit = box_.*desc.edit;
    // Clamping rewrites the edit with the limit's text, which is read again like a typed value. The edits may
    // outlive the editor (a focused edit leaves as the window closes).
    EditCommit::Number(edit, snapshot, kAcceptPoint, [self = QPointer(this), filter, edit](double v) {
      if (!self) return;
      if (v > kHighestFreq || v < kLowestFreq) {
        edit->setText(v > kHighestFreq ? QStringLiteral("21900.0") : QStringLiteral("19.7"));
        v = ParseNumberText(edit->text().toStdString()).value_or(v);
      }
      self->CommitCrossoverFreq(filter, v);
    });
    SpinButtons* spin = box_.*desc.spin;
    connect(spin->DownLeft, &QToolButton::clicked, this, [this, filter] { SpinDown(filter); });
    connect(spin->UpRight, &QToolButton::clicked, this, [this, filter] { SpinUp(filter); });
    // A pick-list: the item index is always one of the nine types.
    QComboBox* type = box_.*desc.type;
    type->setEditable(false);
    connect(type, &QComboBox::activated, this, [this, filter](int item) { TypeChange(filter, item); });
  }
}

int CrossoverEditor::Channel() const {
  const int c = selectedChannel_ ? selectedChannel_() : -1;
  return c >= 0 && c < kChannelCount ? c : -1;
}

void CrossoverEditor::Fill(int channel) {
  if (channel < 0 || channel >= kChannelCount) return;
  const ParameterModel& m = backend_.Session().model;
  const auto c = static_cast<std::size_t>(channel);
  for (const FilterSpec& desc : kFilters) {
    (box_.*desc.edit)->setText(FreqText((m.*desc.freqIndex)[c]));
    (box_.*desc.type)->setCurrentIndex((m.*desc.filterType)[c]);
  }
}

void CrossoverEditor::Update(int channel) {
  if (crossoverChanged_) crossoverChanged_(channel);
  backend_.QueueCommand(CrossoverSlot(channel));  // WriteCrossover
}

void CrossoverEditor::CommitCrossoverFreq(Filter filter, double v) {
  const int c = Channel();
  if (c < 0) return;
  const FilterSpec& desc = kFilters[filter];
  const int i = NearestIndex(FreqTable, v);
  (backend_.Session().model.*desc.freqIndex)[static_cast<std::size_t>(c)] = i;
  (box_.*desc.edit)->setText(FreqText(i));
  Update(c);
}

void CrossoverEditor::SpinDown(Filter filter) {
  const int c = Channel();
  if (c < 0) return;
  const FilterSpec& desc = kFilters[filter];
  int& index = (backend_.Session().model.*desc.freqIndex)[static_cast<std::size_t>(c)];
  if (index <= 0) return;
  --index;
  (box_.*desc.edit)->setText(FreqText(index));
  Update(c);
}

void CrossoverEditor::SpinUp(Filter filter) {
  const int c = Channel();
  if (c < 0) return;
  const FilterSpec& desc = kFilters[filter];
  int& index = (backend_.Session().model.*desc.freqIndex)[static_cast<std::size_t>(c)];
  if (index >= kMaxFreqIndex) return;
  ++index;
  (box_.*desc.edit)->setText(FreqText(index));
  Update(c);
}

void CrossoverEditor::TypeChange(Filter filter, int item) {
  const int c = Channel();
  if (c < 0 || item < 0 || item > kMaxFilterType) return;
  (backend_.Session().model.*kFilters[filter].filterType)[static_cast<std::size_t>(c)] = item;
  Update(c);
}

}  // namespace k7310

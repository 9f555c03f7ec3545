#include "channel/ui/channel_controller.h"

#include <QComboBox>

#include <array>
#include <cstddef>
#include <utility>

#include "app/kit/button_color.h"
#include "app/kit/panel_frame.h"
#include "app/kit/ui_text.h"
#include "channel/ui/channel_strip.h"
#include "channel/ui/delay_panel.h"
#include "channel/ui/limiter_panel.h"
#include "eq/scales.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

std::size_t U(int i) { return static_cast<std::size_t>(i); }

}  // namespace

QString VolumeText(int position) {
  if (position == 0) return Ui(Texts().VolumeMute);
  // Exact tenths: position x 0.2 - 60.2 dB.
  const int tenths = position * 2 - 602;
  return QString::number(tenths / 10.0, 'f', 1) + QStringLiteral(" dB");
}

ChannelController::ChannelController(DeviceBackend& backend, ChannelStrip& strip, LimiterPanel& limiter,
                                     DelayPanel& delay, PanelFrame& panels, EditSnapshot& snapshot,
                                     std::function<bool()> applyingModel, QObject* parent)
    : QObject(parent),
      backend_(backend),
      strip_(strip),
      limiter_(limiter),
      delay_(delay),
      panels_(panels),
      applyingModel_(std::move(applyingModel)) {
  for (int c = 0; c < kOutputCount; ++c)
    connect(strip_.MuteButtons[U(c)], &QPushButton::clicked, this, [this, c] { MuteClick(c); });
  for (int c = 0; c < kChannelCount; ++c)
    connect(strip_.PolarityButtons[U(c)], &QPushButton::clicked, this, [this, c] { PolarityClick(c); });
  connect(strip_.TrackBar1, &QSlider::valueChanged, this, [this](int p) { TrackBar1Change(p); });

  // activated: only the user's pick; selecting an item from the model raises nothing.
  const std::array<QComboBox*, 3> lists = {limiter_.RzComboBox2, limiter_.RzComboBox3, limiter_.RzComboBox5};
  for (int field = 0; field < 3; ++field)
    connect(lists[U(field)], &QComboBox::activated, this, [this, field](int i) { LimiterPick(field, i); });
  panels_.SetFill(Panel::kLimiter, [this](int c) { FillLimiter(c); });

  connect(delay_.ScrollBar1, &QScrollBar::valueChanged, this, [this](int p) { ScrollBar1Change(p); });
  panels_.SetFill(Panel::kDelay, [this](int c) { FillDelay(c); });
  // A received block refills the open panel (filling sends nothing).
  connect(&backend_, &DeviceBackend::ModelApplied, this, [this] {
    if (panels_.PanelKind == Panel::kLimiter) FillLimiter(panels_.SelectedChannel);
    if (panels_.PanelKind == Panel::kDelay) FillDelay(panels_.SelectedChannel);
  });
  // The time edit only displays: whatever was typed, Enter and leaving put the remembered text back.
  EditSnapshot* shared = &snapshot;
  QLineEdit* time = delay_.RzEdit18;
  new EditCommit(time, snapshot, kAcceptPoint, [time, shared](const QString&) { time->setText(shared->EditTextOnEntry); });
}

void ChannelController::QueueSettings(int c) {
  backend_.QueueCommand(c == kMain ? kMainSettingsSlot : ChannelSettingsSlot(c));
}

void ChannelController::MuteClick(int c) {
  int& on = backend_.Session().model.OutOn[U(c)];
  if (on == 1) {
    SetButtonColor(strip_.MuteButtons[U(c)], kButtonRed);
    on = 0;
  } else {
    SetButtonColor(strip_.MuteButtons[U(c)], kButtonNormal);
    on = 1;
  }
  QueueSettings(c);
}

void ChannelController::PolarityClick(int c) {
  int& polarity = backend_.Session().model.OutPolarity[U(c)];
  const UiTexts& t = Texts();
  if (polarity == 1) {
    strip_.PolarityButtons[U(c)]->setText(Ui(t.PolarityPlus));
    polarity = 0;
  } else {
    strip_.PolarityButtons[U(c)]->setText(Ui(t.PolarityMinus));
    polarity = 1;
  }
  QueueSettings(c);
}

void ChannelController::TrackBar1Change(int position) {
  if (applyingModel_ && applyingModel_()) return;
  strip_.Label1->setText(VolumeText(position));
  backend_.Session().model.MasterVolume = position;
  backend_.QueueCommand(kMainSettingsSlot);
}

void ChannelController::FillLimiter(int c) {
  if (!IsOutputChannel(c)) return;
  const ParameterModel& m = backend_.Session().model;
  limiter_.RzComboBox2->setCurrentIndex(m.LimThreshold[U(c)]);
  limiter_.RzComboBox3->setCurrentIndex(m.LimAttack[U(c)]);
  limiter_.RzComboBox5->setCurrentIndex(m.LimRelease[U(c)]);
}

void ChannelController::LimiterPick(int field, int index) {
  const int c = panels_.SelectedChannel;
  if (!IsOutputChannel(c) || index < 0) return;
  ParameterModel& m = backend_.Session().model;
  std::array<std::array<int, kOutputCount>*, 3> fields = {&m.LimThreshold, &m.LimAttack, &m.LimRelease};
  (*fields[U(field)])[U(c)] = index;
  backend_.QueueCommand(LimiterSlot(c));
}

void ChannelController::ShowDelay(int steps) {
  delay_.RzEdit18->setText(QString::number(DelayStepsToMs(steps), 'f', 3) + QStringLiteral(" Ms"));
  delay_.RzLabel3->setText(QString::number(DelayStepsToMetres(steps), 'f', 3) + QStringLiteral(" Mm"));
  delay_.RzLabel20->setText(QString::number(DelayStepsToFeet(steps), 'f', 3) + QStringLiteral(" Ft"));
}

void ChannelController::FillDelay(int c) {
  if (c < 0 || c >= kChannelCount) return;
  const int steps = backend_.Session().model.OutDelay[U(c)];
  fillingDelay_ = true;
  delay_.ScrollBar1->setValue(steps);
  ShowDelay(steps);
  fillingDelay_ = false;
}

void ChannelController::ScrollBar1Change(int position) {
  const int c = panels_.SelectedChannel;
  if (fillingDelay_ || c < 0 || c >= kChannelCount) return;
  backend_.Session().model.OutDelay[U(c)] = position;
  ShowDelay(position);
  QueueSettings(c);
}

}  // namespace k7310

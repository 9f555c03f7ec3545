#include "channel/ui/gain_controller.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <optional>

#include "app/kit/panel_frame.h"
#include "app/kit/pictures.h"
#include "channel/ui/gain_panel.h"
#include "eq/number_text.h"
#include "eq/scales.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"

namespace k7310 {
namespace {

constexpr int kKnobX = 73;
constexpr int kKnobW = 12;
constexpr int kKnobH = 13;
constexpr int kTopRow = 26;
constexpr int kLowTopRow = 62;  // the Low output stops at 0 dB
constexpr int kBottomRow = 205;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// "0.0 dB"; a negative zero shows as 0.0.
QString GainText(double db) { return QString::number(db + 0.0, 'f', 1) + QStringLiteral(" dB"); }

}  // namespace

int FaderKnobTop(double db) { return static_cast<int>(std::trunc((5.0 - db) * 179.0 / 25.0 + 26.0)) - 5; }

GainController::GainController(DeviceBackend& backend, GainPanel& panel, PanelFrame& panels, EditSnapshot& snapshot,
                               QObject* parent)
    : QObject(parent),
      backend_(backend),
      panel_(panel),
      panels_(panels),
      snapshot_(snapshot),
      back_(FaderBackPicture()),
      knob_(FaderKnobPicture()),
      hotKnob_(FaderKnobHotPicture()) {
  panel_.Image2->installEventFilter(this);
  connect(panel_.SpinButton1->UpRight, &QToolButton::clicked, this, [this] { SpinButton1UpClick(); });
  connect(panel_.SpinButton1->DownLeft, &QToolButton::clicked, this, [this] { SpinButton1DownClick(); });
  new EditCommit(panel_.RzEdit17, snapshot_, kAcceptPoint | kAcceptMinus, [this](const QString& t) { CommitText(t); });
  panels_.SetFill(Panel::kGain, [this](int c) { Fill(c); });
  // A received block refills the open panel (filling sends nothing).
  connect(&backend_, &DeviceBackend::ModelApplied, this, [this] {
    if (panels_.PanelKind == Panel::kGain && !dragging_) Fill(panels_.SelectedChannel);
  });
}

int GainController::Channel() const {
  const int c = panels_.SelectedChannel;
  return IsOutputChannel(c) ? c : -1;
}

void GainController::DrawFader() {
  const int c = Channel();
  const int top = c < 0 ? kLowTopRow : knobTop_[U(c)];
  QPixmap picture = back_;
  {
    QPainter g(&picture);
    g.drawPixmap(kKnobX, top, dragging_ ? hotKnob_ : knob_);
  }
  canvas_ = picture.toImage();
  panel_.Image2->setPixmap(picture);
}

void GainController::Fill(int c) {
  if (!IsOutputChannel(c)) return;
  const double db = ChannelGainTable[U(backend_.Session().model.OutGainIndex[U(c)])];
  knobTop_[U(c)] = FaderKnobTop(db);
  DrawFader();
  panel_.RzEdit17->setText(GainText(db));
}

void GainController::ShowGainIndex(int c) {
  const double db = ChannelGainTable[U(backend_.Session().model.OutGainIndex[U(c)])];
  panel_.RzEdit17->setText(GainText(db));
  knobTop_[U(c)] = FaderKnobTop(db);
  DrawFader();
  backend_.QueueCommand(ChannelSettingsSlot(c));
}

void GainController::Image2MouseDown(int x, int y) {
  const int c = Channel();
  if (c < 0) return;
  const int top = knobTop_[U(c)];
  if (!(kKnobX < x && x < kKnobX + kKnobW && top < y && y < top + kKnobH)) return;
  dragging_ = true;
  DrawFader();
}

void GainController::Image2MouseMove(int y) {
  const int c = Channel();
  if (!dragging_ || c < 0) return;
  const int first = c == kLow ? kLowTopRow : kTopRow;
  if (y >= first && y <= kBottomRow) {
    knobTop_[U(c)] = y - 5;
    DrawFader();
    panel_.RzEdit17->setText(GainText(FaderPixelToDb(y)));
    // The index is the table entry equal to the number shown, if one is.
    const QString shown = panel_.RzEdit17->text();
    if (const std::optional<double> v = ParseNumberText(shown.left(shown.size() - 3).toStdString())) {
      for (std::size_t i = 0; i < ChannelGainTable.size(); ++i) {
        if (ChannelGainTable[i] == *v) {
          backend_.Session().model.OutGainIndex[U(c)] = static_cast<int>(i);
          break;
        }
      }
    }
  }
  backend_.QueueCommand(ChannelSettingsSlot(c));
}

void GainController::Image2MouseUp() {
  if (!dragging_) return;
  dragging_ = false;
  DrawFader();
}

void GainController::SpinButton1UpClick() {
  const int c = Channel();
  if (c < 0) return;
  int& index = backend_.Session().model.OutGainIndex[U(c)];
  if (index >= MaxOutGainIndex(c)) return;
  ++index;
  ShowGainIndex(c);
}

void GainController::SpinButton1DownClick() {
  const int c = Channel();
  if (c < 0) return;
  int& index = backend_.Session().model.OutGainIndex[U(c)];
  if (index <= 0) return;
  --index;
  ShowGainIndex(c);
}

void GainController::CommitText(const QString& text) {
  const int c = Channel();
  if (c < 0) return;
  QString number = text;
  if (number.endsWith(QStringLiteral(" dB")))
    number.chop(3);
  else if (number.endsWith(QStringLiteral("dB")))
    number.chop(2);
  std::optional<double> v = ParseNumberText(number.toStdString());
  if (!v) {
    panel_.RzEdit17->setText(snapshot_.EditTextOnEntry);
    return;
  }
  const double highest = c == kLow ? 0.0 : 5.0;
  if (*v > highest) *v = highest;
  if (*v < -20.0) *v = -20.0;
  backend_.Session().model.OutGainIndex[U(c)] = NearestIndex(ChannelGainTable, *v);
  ShowGainIndex(c);
  snapshot_.EditTextOnEntry = panel_.RzEdit17->text();
}

bool GainController::eventFilter(QObject* watched, QEvent* event) {
  if (watched != panel_.Image2) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      Image2MouseDown(e->position().toPoint().x(), e->position().toPoint().y());
      return true;
    }
    case QEvent::MouseMove:
      Image2MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().y());
      return true;
    case QEvent::MouseButtonRelease:
      Image2MouseUp();
      return true;
    default:
      return false;
  }
}

}  // namespace k7310

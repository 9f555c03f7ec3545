#include "app/panel_frame.h"

#include "app/button_color.h"
#include "app/channel_strip.h"
#include "app/ui_text.h"
#include "channel/delay_panel.h"
#include "channel/gain_panel.h"
#include "channel/limiter_panel.h"
#include "device/btl_box.h"
#include "device/search_boxes.h"
#include "device/temperature_panel.h"
#include "eq/eq_box.h"
#include "presets/groups_box.h"
#include "texts/texts.h"

namespace k7310 {
namespace {

// The editing area below the strip, where the EQ, temperature and search result boxes stand.
constexpr int kAreaX = 7;
constexpr int kAreaY = 232;

}  // namespace

PanelFrame::PanelFrame(const PanelWidgets& widgets) : w_(widgets) {}

QPushButton* PanelFrame::OpenButton(Panel kind, int channel) const {
  const ChannelStrip* s = w_.strip;
  const bool output = channel >= 0 && channel < 3;
  const bool any = channel >= 0 && channel < 4;
  switch (kind) {
    case Panel::kEq: return any ? s->EqButtons[channel] : nullptr;
    case Panel::kLimiter: return output ? s->LimiterButtons[channel] : nullptr;
    case Panel::kDelay: return any ? s->DelayButtons[channel] : nullptr;
    case Panel::kGain: return output ? s->GainButtons[channel] : nullptr;
    case Panel::kTemperature: return s->RzButton11;  // whatever the channel
    default: return nullptr;
  }
}

PanelFrame::Fill& PanelFrame::FillOf(Panel kind) { return fills_[static_cast<int>(kind)]; }

void PanelFrame::SetFill(Panel kind, Fill fill) {
  if (kind == Panel::kNone) return;
  FillOf(kind) = std::move(fill);
}

void PanelFrame::ClosePanel() {
  switch (PanelKind) {
    case Panel::kEq:
      if (!KeepEqBox) w_.eq->hide();
      break;
    case Panel::kLimiter: w_.limiter->hide(); break;
    case Panel::kDelay: w_.delay->hide(); break;
    case Panel::kGain: w_.gain->hide(); break;
    case Panel::kSearchResult: w_.searchResult->hide(); break;
    case Panel::kTemperature: w_.temperature->hide(); break;
    default: break;
  }
  if (QPushButton* button = OpenButton(PanelKind, SelectedChannel)) SetButtonColor(button, kButtonNormal);
  KeepEqBox = false;
  SelectedChannel = -1;
  PanelKind = Panel::kNone;
}

void PanelFrame::OpenPanel(Panel kind, int channel, QPushButton* button, const Fill& fill) {
  if (kind == Panel::kNone) return;
  if (kind == Panel::kSearchResult) {
    ShowSearchResult();
    return;
  }
  const UiTexts& t = Texts();
  const bool eq = kind == Panel::kEq;

  // An EQ button keeps the shared EQ box up while the previous channel's panel closes.
  if (eq) KeepEqBox = true;
  if (PanelKind != kind || SelectedChannel != channel) ClosePanel();
  if (eq) KeepEqBox = false;
  if (eq || kind == Panel::kGain) w_.btl->hide();

  PanelKind = kind;
  SelectedChannel = channel;
  if (button) SetButtonColor(button, kButtonOpen);

  QWidget* panel = nullptr;
  const std::size_t c = static_cast<std::size_t>(channel);
  const bool titled = channel >= 0 && channel < 4;
  switch (kind) {
    case Panel::kEq:
      panel = w_.eq;
      if (titled) {
        w_.eq->RzLabel19->setText(Ui(t.EqTitle[c]));
        w_.eq->RzLabel18->setText(Ui(t.CrossoverTitle[c]));
      }
      w_.eq->RzGroupBox35->show();
      break;
    case Panel::kLimiter:
      panel = w_.limiter;
      if (titled) w_.limiter->RzLabel5->setText(Ui(t.LimiterTitle[c]));
      break;
    case Panel::kDelay:
      panel = w_.delay;
      if (titled) w_.delay->RzLabel4->setText(Ui(t.DelayTitle[c]));
      break;
    case Panel::kGain:
      panel = w_.gain;
      if (titled) w_.gain->RzLabel2->setText(Ui(t.GainTitle[c]));
      break;
    case Panel::kTemperature: panel = w_.temperature; break;
    default: return;
  }

  const Fill& hook = fill ? fill : FillOf(kind);
  if (hook) hook(channel);

  const bool beside = kind == Panel::kGain || kind == Panel::kLimiter || kind == Panel::kDelay;
  if (beside && button) {
    // Just below and right of the pressed button.
    panel->move(w_.strip->x() + button->x() + button->width(), w_.strip->y() + button->y() + button->height());
  } else if (!beside) {
    panel->move(kAreaX, kAreaY);
  }
  panel->show();
  panel->raise();
}

void PanelFrame::ShowSearchResult() {
  if (PanelKind != Panel::kSearchResult) ClosePanel();
  PanelKind = Panel::kSearchResult;
  w_.searchResult->move(kAreaX, kAreaY);
  w_.searchResult->show();
  w_.searchResult->raise();
}

void PanelFrame::CornerClose() {
  KeepEqBox = false;
  ClosePanel();
}

void PanelFrame::WireButtons() {
  ChannelStrip* s = w_.strip;
  auto wire = [this](QPushButton* button, Panel kind, int channel) {
    QObject::connect(button, &QPushButton::clicked, button, [this, button, kind, channel] {
      OpenPanel(kind, channel, button);
    });
  };
  for (int c = 0; c < 4; ++c) {
    wire(s->EqButtons[c], Panel::kEq, c);
    wire(s->DelayButtons[c], Panel::kDelay, c);
  }
  for (int c = 0; c < 3; ++c) {
    wire(s->GainButtons[c], Panel::kGain, c);
    wire(s->LimiterButtons[c], Panel::kLimiter, c);
  }
  wire(s->RzButton11, Panel::kTemperature, 0);

  for (QToolButton* corner : {w_.gain->SpeedButton17, w_.delay->SpeedButton18, w_.limiter->SpeedButton21,
                              w_.temperature->SpeedButton4, w_.eq->SpeedButton22, w_.searchResult->SpeedButton1,
                              w_.groups->SpeedButton2}) {
    QObject::connect(corner, &QToolButton::clicked, corner, [this] { CornerClose(); });
  }
  QObject::connect(w_.btl->btn1, &QToolButton::clicked, w_.btl, [this] {
    CornerClose();
    w_.btl->hide();
  });
}

}  // namespace k7310

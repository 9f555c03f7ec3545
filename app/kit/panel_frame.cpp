#include "app/kit/panel_frame.h"

#include "app/kit/button_color.h"
#include "app/kit/ui_text.h"

namespace k7310 {

void PanelFrame::Add(PanelRow row) { rows_.push_back(std::move(row)); }

PanelRow* PanelFrame::Row(Panel kind) {
  for (PanelRow& r : rows_)
    if (r.kind == kind) return &r;
  return nullptr;
}

void PanelFrame::SetFill(Panel kind, PanelRow::Fill fill) {
  if (PanelRow* r = Row(kind)) r->fill = std::move(fill);
}

QPushButton* PanelFrame::OpenButton(const PanelRow& row, int channel) const {
  if (row.soleOpener) return row.soleOpener;
  return channel >= 0 && channel < 4 ? row.openers[static_cast<std::size_t>(channel)] : nullptr;
}

void PanelFrame::ClosePanel() {
  if (const PanelRow* row = Row(PanelKind)) {
    if (!(row->sharedByChannels && KeepEqBox)) row->box->hide();
    if (QPushButton* button = OpenButton(*row, SelectedChannel)) SetButtonColor(button, kButtonNormal);
  }
  KeepEqBox = false;
  SelectedChannel = -1;
  PanelKind = Panel::kNone;
}

void PanelFrame::OpenPanel(Panel kind, int channel, QPushButton* button) {
  if (kind == Panel::kSearchResult) {
    ShowSearchResult();
    return;
  }
  PanelRow* row = Row(kind);
  if (!row) return;

  // A button of a shared box keeps it up while the previous channel's panel closes.
  if (row->sharedByChannels) KeepEqBox = true;
  if (PanelKind != kind || SelectedChannel != channel) ClosePanel();
  if (row->sharedByChannels) KeepEqBox = false;
  if (row->hidesBtl && btl_) btl_->hide();

  PanelKind = kind;
  SelectedChannel = channel;
  if (button) SetButtonColor(button, kButtonOpen);

  if (channel >= 0 && channel < 4)
    for (const auto& [label, texts] : row->titles)
      if (!(*texts)[static_cast<std::size_t>(channel)].empty()) label->setText(Ui((*texts)[static_cast<std::size_t>(channel)]));
  if (row->onOpen) row->onOpen();
  if (row->fill) row->fill(channel);

  QWidget* panel = row->box;
  if (row->place == PanelRow::Place::BesideButton) {
    // Just below and right of the pressed button.
    if (button && strip_)
      panel->move(strip_->x() + button->x() + button->width(), strip_->y() + button->y() + button->height());
  } else {
    panel->move(kAreaX, kAreaY);
  }
  panel->show();
  panel->raise();
}

void PanelFrame::ShowSearchResult() {
  PanelRow* row = Row(Panel::kSearchResult);
  if (!row) return;
  if (PanelKind != Panel::kSearchResult) ClosePanel();
  PanelKind = Panel::kSearchResult;
  row->box->move(kAreaX, kAreaY);
  row->box->show();
  row->box->raise();
}

void PanelFrame::CornerClose() {
  KeepEqBox = false;
  ClosePanel();
}

void PanelFrame::WireButtons(const std::vector<QAbstractButton*>& cornerCloseButtons) {
  for (const PanelRow& row : rows_) {
    const Panel kind = row.kind;
    auto wire = [this, kind](QPushButton* button, int channel) {
      QObject::connect(button, &QPushButton::clicked, button,
                       [this, button, kind, channel] { OpenPanel(kind, channel, button); });
    };
    if (row.soleOpener) wire(row.soleOpener, 0);
    for (int c = 0; c < 4; ++c)
      if (QPushButton* b = row.openers[static_cast<std::size_t>(c)]) wire(b, c);
  }
  for (QAbstractButton* corner : cornerCloseButtons)
    QObject::connect(corner, &QAbstractButton::clicked, corner, [this] { CornerClose(); });
}

}  // namespace k7310

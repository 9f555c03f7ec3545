#include "eq/ui/eq_controller.h"

#include <span>

#include "app/kit/panel_frame.h"
#include "eq/ui/eq_box.h"
#include "eq/ui/response_graph.h"
#include "link/device_backend.h"
#include "protocol/catalogue.h"

namespace k7310 {
namespace {

// The marker drag's bounds, in graph pixels: every column maps into the frequency table, every row into the gains.
constexpr int kDragLeft = 97, kDragRight = 689, kDragTop = 32, kDragBottom = 198;
// A press picks a marker within this distance (exclusive) on both axes.
constexpr int kPickReach = 8;

}  // namespace

EqController::EqController(EqBox& box, DeviceBackend& backend, PanelFrame& panels, QObject* parent)
    : QObject(parent), box_(box), backend_(backend), panels_(panels) {
  ResponseGraph& graph = *box_.Image5;
  graph.onPress = [this](QPoint p) { Image5MouseDown(p); };
  graph.onMove = [this](QPoint p) { Image5MouseMove(p); };
  graph.onRelease = [this] { Image5MouseUp(); };
  panels_.SetFill(Panel::kEq, [this](int c) { Show(c); });
  // A whole group arrived or was loaded: every band and crossover is recomputed, the open panel redrawn.
  connect(&backend_, &DeviceBackend::ModelApplied, this, [this] {
    RecomputeGroup(curves, backend_.Session().model);
    if (panels_.PanelKind == Panel::kEq) Redraw();
  });
}

int EqController::SelectedChannel() const { return panels_.SelectedChannel; }

void EqController::Redraw(bool withCurve) {
  ResponseGraph& graph = *box_.Image5;
  const int c = SelectedChannel();
  graph.CopyGrid();
  if (c < 0 || c >= kChannelCount) return;
  if (withCurve) {
    const ResponseArray sum = CompositeCurve(curves, c);
    graph.DrawResponseCurve(std::span<const double>(sum.data() + (kFirstResponseColumn - kResponseColumnOffset),
                                                    kLastResponseColumn - kFirstResponseColumn + 1));
  }
  std::array<QPoint, kBandsPerChannel> markers;
  for (int b = 0; b < kBandsPerChannel; ++b) {
    const MarkerPoint m = curves.BandMarker[static_cast<std::size_t>(kBandsPerChannel * c + b)];
    markers[static_cast<std::size_t>(b)] = {m.x, m.y};
  }
  graph.DrawBandMarkers(markers);
}

void EqController::UpdateBand(int type) {
  const bool computed = k7310::UpdateBand(curves, backend_.Session().model, SelectedBand, type);
  Redraw(computed);
}

void EqController::SendEqBand(int k) { backend_.QueueCommand(EqBandSlot(k)); }

void EqController::UpdateCrossover(int channel, bool highPass, int type) {
  if (highPass)
    ComputeHpfResponse(curves, backend_.Session().model, channel, type);
  else
    ComputeLpfResponse(curves, backend_.Session().model, channel, type);
  Redraw();
}

void EqController::Show(int channel) {
  if (fillEditors) fillEditors(channel);
  Redraw();
}

void EqController::Image5MouseDown(QPoint at) {
  // The edit that had the focus commits its text first.
  box_.RzEdit94->setFocus(Qt::MouseFocusReason);
  const int c = SelectedChannel();
  if (c < 0 || c >= kChannelCount) return;
  for (int b = 0; b < kBandsPerChannel; ++b) {
    const int k = kBandsPerChannel * c + b;
    const MarkerPoint m = curves.BandMarker[static_cast<std::size_t>(k)];
    if (m.x - kPickReach < at.x() && at.x() < m.x + kPickReach && m.y - kPickReach < at.y() &&
        at.y() < m.y + kPickReach) {
      SelectedBand = k;
      dragging_ = true;
      return;
    }
  }
}

void EqController::Image5MouseMove(QPoint at) {
  if (!dragging_) return;
  const int k = SelectedBand;
  MarkerPoint& m = curves.BandMarker[static_cast<std::size_t>(k)];
  if (kDragLeft <= at.x() && at.x() <= kDragRight) m.x = at.x();
  if (kDragTop <= at.y() && at.y() <= kDragBottom) m.y = at.y();
  ParameterModel& model = backend_.Session().model;
  const std::size_t i = static_cast<std::size_t>(k);
  model.EqFreqIndex[i] = std::min(GraphXToFreqIndex(m.x), kMaxFreqIndex);
  int& gain = model.EqType[i] == 0 ? model.EqPeakGainIndex[i] : model.EqShelfGainIndex[i];
  gain = GraphYToGainIndex(m.y);
  model.EqPeakGainIndex[i] = std::min(model.EqPeakGainIndex[i], kMaxEqGainIndex);
  model.EqShelfGainIndex[i] = std::min(model.EqShelfGainIndex[i], kMaxEqGainIndex);
  if (showBandEdits) showBandEdits(k);
  UpdateBand(model.EqType[i]);
  SendEqBand(k);
}

void EqController::Image5MouseUp() { dragging_ = false; }

}  // namespace k7310

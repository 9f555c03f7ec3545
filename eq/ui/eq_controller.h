// The EQ panel's controller: the response arrays and markers of every band, UpdateBand (place the marker, recompute,
// redraw), SendEqBand, the marker drag on the graph, what opening the panel draws, and the recompute after a whole
// group has been applied. The band table and the crossover editor reach it through UpdateBand and the redraws.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

#include "eq/response.h"

namespace k7310 {

class DeviceBackend;
class EqBox;
class PanelFrame;

class EqController : public QObject {
 public:
  EqController(EqBox& box, DeviceBackend& backend, PanelFrame& panels, QObject* parent);

  // The flat band being worked on.
  int SelectedBand = 0;
  // The output whose panel is open (the panel frame's SelectedChannel).
  int SelectedChannel() const;

  // Places band SelectedBand's marker from the model and recomputes its array for type, then redraws the graph.
  void UpdateBand(int type);
  // Queues band k's frame (slot of the band) from the model.
  void SendEqBand(int k);
  // The crossover of a channel changed: its filter array is recomputed with the type given, then the graph redrawn.
  void UpdateCrossover(int channel, bool highPass, int type);
  // Grid, the channel's curve from the stored arrays, its markers.
  void Redraw(bool withCurve = true);

  // The marker drag.
  void Image5MouseDown(QPoint at);
  void Image5MouseMove(QPoint at);
  void Image5MouseUp();
  bool Dragging() const { return dragging_; }

  // What opening the panel for channel c fills besides the graph (the band table, the crossover controls).
  std::function<void(int channel)> fillEditors;
  // Step 4 of a drag: the band's frequency and gain edits show the band's new values.
  std::function<void(int band)> showBandEdits;

  EqCurves curves;

 private:
  // Opening the panel: the editors filled, the graph drawn from the stored arrays (nothing is recomputed).
  void Show(int channel);

  EqBox& box_;
  DeviceBackend& backend_;
  PanelFrame& panels_;
  bool dragging_ = false;
};

}  // namespace k7310

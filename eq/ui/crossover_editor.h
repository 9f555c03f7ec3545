// The crossover controls of the EQ box: per filter (high-pass, low-pass) a cutoff edit with its spins and a type
// combo of nine items. Every accepted change goes into the model of the open channel, redraws the filter curve and
// queues the channel's crossover command.
#pragma once

#include <QObject>

#include <functional>

#include "app/kit/edit_commit.h"
#include "eq/ui/eq_box.h"

namespace k7310 {

class DeviceBackend;

class CrossoverEditor : public QObject {
 public:
  enum Filter { kHighPass, kLowPass };

  // selectedChannel: the channel whose EQ panel is open (0..3, anything else when none is).
  // crossoverChanged(c): recomputes the crossover curves of channel c and redraws the graph with its markers.
  CrossoverEditor(EqBox& box, DeviceBackend& backend, EditSnapshot& snapshot, std::function<int()> selectedChannel,
                  std::function<void(int channel)> crossoverChanged, QObject* parent = nullptr);

  // Loads the cutoff edits and type combos of a channel from the model; sends nothing.
  void Fill(int channel);

  // The handlers of both filters.
  void CommitCrossoverFreq(Filter filter, double v);  // Enter, or leaving a changed cutoff edit
  void SpinDown(Filter filter);
  void SpinUp(Filter filter);
  void TypeChange(Filter filter, int item);  // RzComboBox69Change, RzComboBox71Change

 private:
  int Channel() const;  // -1 while no channel is selected
  void Update(int channel);

  EqBox& box_;
  DeviceBackend& backend_;
  std::function<int()> selectedChannel_;
  std::function<void(int)> crossoverChanged_;
};

}  // namespace k7310

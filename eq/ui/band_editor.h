// The band table of the EQ box: six rows of frequency, Q and gain edits with their spins and a type combo, and the
// "0 dB" button. Every accepted change goes into the model, through the band update (marker, curve) and out to
// the device at once.
#pragma once

#include <QObject>
#include <QProgressBar>
#include <QWidget>

#include <array>
#include <functional>

#include "app/kit/edit_commit.h"
#include "app/kit/regions.h"
#include "eq/ui/eq_box.h"

namespace k7310 {

class DeviceBackend;
struct ParameterModel;

class EqBandEditor : public QObject {
 public:
  enum Column { kFreq, kQ, kGain };

  // selectedChannel: the channel whose EQ panel is open (0..3, anything else when none is).
  // updateBand(k): the band update with k as the selected band: places its marker, recomputes and redraws.
  EqBandEditor(EqBox& box, DeviceBackend& backend, EditSnapshot& snapshot, QWidget* progressBox,
               QProgressBar* progressBar, const Regions& regions, std::function<int()> selectedChannel,
               std::function<void(int flatBand)> updateBand, QObject* parent = nullptr);

  // Loads the six rows of a channel from the model; sends nothing.
  void FillEqPanel(int channel);
  // Rewrites the frequency and gain edits of a flat band from the model (after a marker drag).
  void ShowBandPosition(int flatBand);

  // The handlers of one family, by column and row b = 0..5.
  void CommitValue(Column column, int b, double v);  // Enter, or leaving a changed edit
  void SpinDown(Column column, int b);
  void SpinUp(Column column, int b);
  void TypeChange(int b, int item);  // RzComboBox66Change ...
  void RzButton97Click();            // "0 dB"

  // The gain index in effect for a band: the peak gain for PEQ, the shelf gain for LS and HS.
  static int& GainInEffect(ParameterModel& m, int flatBand);

 private:
  int FlatBand(int b) const;  // -1 while no channel is selected
  void Step(Column column, int b, int delta);
  void ShowValue(Column column, int b, int index);
  void UpdateBand(int flatBand);
  void SendEqBand(int flatBand);

  EqBox& box_;
  DeviceBackend& backend_;
  QWidget* progressBox_;
  QProgressBar* progressBar_;
  const Regions& regions_;
  std::function<int()> selectedChannel_;
  std::function<void(int)> updateBand_;
};

}  // namespace k7310

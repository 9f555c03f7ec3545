// The channel controls: the mute and polarity buttons of the strip, the master volume, and the limiter and delay
// panels. Every change writes the model and raises the slot of its command; with no link open nothing is queued.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "app/kit/edit_commit.h"

namespace k7310 {

class ChannelStrip;
class DelayPanel;
class DeviceBackend;
class LimiterPanel;
class PanelFrame;

// Label1's text for a volume position: "Mute" at 0, otherwise position x 0.2 - 60.2 dB.
QString VolumeText(int position);

class ChannelController : public QObject {
 public:
  // applyingModel: true while a received block is written into the strip (the volume then sends nothing).
  ChannelController(DeviceBackend& backend, ChannelStrip& strip, LimiterPanel& limiter, DelayPanel& delay,
                    PanelFrame& panels, EditSnapshot& snapshot, std::function<bool()> applyingModel,
                    QObject* parent);

  void MuteClick(int c);      // RzButton46Click, RzButton52Click, RzButton58Click
  void PolarityClick(int c);  // RzButton1Click .. RzButton3Click, RzButton6Click (c = 3)
  void TrackBar1Change(int position);
  void LimiterPick(int field, int index);  // RzComboBox2Change (0), RzComboBox3Change (1), RzComboBox5Change (2)
  void ScrollBar1Change(int position);

 private:
  void FillLimiter(int c);
  void FillDelay(int c);
  void ShowDelay(int steps);
  void QueueSettings(int c);  // WriteChannelSettings of an output, WriteMainSettings of Main

  DeviceBackend& backend_;
  ChannelStrip& strip_;
  LimiterPanel& limiter_;
  DelayPanel& delay_;
  PanelFrame& panels_;
  std::function<bool()> applyingModel_;
  bool fillingDelay_ = false;
};

}  // namespace k7310

// The gain panel: the drawn fader, its up/down buttons and the gain edit, acting on the panel's output.
#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>

#include <array>

#include "app/kit/edit_commit.h"

namespace k7310 {

class DeviceBackend;
class GainPanel;
class PanelFrame;

// The fader knob's top row for a gain in dB.
int FaderKnobTop(double db);

class GainController : public QObject {
 public:
  GainController(DeviceBackend& backend, GainPanel& panel, PanelFrame& panels, EditSnapshot& snapshot,
                 QObject* parent);

  void Image2MouseDown(int x, int y);
  void Image2MouseMove(int y);
  void Image2MouseUp();
  void SpinButton1UpClick();
  void SpinButton1DownClick();
  // Commits a gain text (RzEdit17): unit stripped, clamped, snapped to the nearest table entry.
  void CommitText(const QString& text);

  bool Dragging() const { return dragging_; }
  int KnobTop(int c) const { return knobTop_[static_cast<std::size_t>(c)]; }
  // What Image2 shows.
  const QImage& Canvas() const { return canvas_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Channel() const;
  void Fill(int c);
  void DrawFader();
  void ShowGainIndex(int c);  // the edit, the knob, and the channel's settings raised

  DeviceBackend& backend_;
  GainPanel& panel_;
  PanelFrame& panels_;
  EditSnapshot& snapshot_;
  QPixmap back_, knob_, hotKnob_;
  QImage canvas_;
  std::array<int, 3> knobTop_{62, 62, 62};
  bool dragging_ = false;
};

}  // namespace k7310

// What the window shows of the device: the applied group on the strip, the status readouts, the device settings,
// the group names, and the end of a long action's progress. It reacts to the backend's decoded replies.
#pragma once

#include <QObject>

namespace k7310 {

class DeviceBackend;
class TForm1;

class DeviceView : public QObject {
 public:
  DeviceView(TForm1& form, DeviceBackend& backend);

  // Shows the model on the strip: volume, polarity, mute and recoup buttons, the BTL display.
  void ShowModel();

  // Set while the model is written into controls whose change handlers would otherwise send.
  bool ApplyingModel = false;

 private:
  TForm1& form_;
  DeviceBackend& backend_;
};

// Texts of the readouts, in the edition's words.
QString TemperatureReadout(int tempStep);  // ">=70 °C", "68 °C" .. "12 °C", "<=10 °C"
QString AttenuationReadout(int db);        // "3 dB"
QString LastLoadedGroupText(int group);    // "The last load group:Usr0         "

}  // namespace k7310

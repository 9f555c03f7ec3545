// Choosing the device to address, and broadcast mode on and off.
#pragma once

namespace k7310 {

class DeviceApp;

class DeviceIdController {
 public:
  explicit DeviceIdController(DeviceApp& app);

  void RzComboBox6Change(int index);  // the user chose a device ID
  void RzButton8Click();              // broadcast mode on/off

  int BroadcastOn = 0;

 private:
  DeviceApp& app_;
};

}  // namespace k7310

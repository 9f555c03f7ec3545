// The composition root of the program: the serial and USB links, the device backend, and the controllers that bind the
// window to it. Nothing else lives here.
#pragma once

#include <QStringList>

#include <memory>

#include "app/connection.h"
#include "app/device_view.h"
#include "app/usb_view.h"
#include "app/kit/edit_commit.h"
#include "channel/ui/channel_controller.h"
#include "channel/ui/gain_controller.h"
#include "device/ui/device_id_controller.h"
#include "device/ui/device_settings_controller.h"
#include "device/ui/search_controller.h"
#include "eq/ui/band_editor.h"
#include "eq/ui/crossover_editor.h"
#include "eq/ui/eq_controller.h"
#include "link/device_backend.h"
#include "link/hidapi_platform.h"
#include "link/serial_link.h"
#include "link/usb_link.h"

namespace k7310 {

class Dialogs;
class TForm1;
class TForm_Disconnected;

class ControllerApp {
 public:
  // extraPorts: serial device paths given on the command line, joined to the machine's port list.
  ControllerApp(TForm1& form, TForm_Disconnected& warning, Dialogs& dialogs, QStringList extraPorts = {});
  ~ControllerApp();

  // Reads the port list and arms the start-up sweep, the lamp and the port list upkeep.
  void Start();

  SerialLink serial;
  // The USB link over the machine's HID devices; the platform outlives the link, which closes its device.
  HidapiPlatform usbPlatform;
  UsbLink usb{usbPlatform};
  DeviceBackend backend;
  ConnectionController connection;
  DeviceView view;
  UsbView usbView;
  SearchController search;
  DeviceIdController deviceId;
  DeviceSettingsController deviceSettings;
  // The snapshot every numeric edit of the window shares.
  EditSnapshot editSnapshot;
  EqController eq;
  EqBandEditor bandEditor;
  CrossoverEditor crossoverEditor;
  ChannelController channel;
  GainController gain;
};

}  // namespace k7310

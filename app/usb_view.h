// The window's side of the USB link: the hidden diagnostic controls (the device list, the history list in a fixed
// font, the status label), the port list and the device-ID list switched off while the processor is on USB and on
// again when it goes, and the one message that tells the user how to give this machine access to the unit.
#pragma once

#include <QObject>

namespace k7310 {

class Dialogs;
class TForm1;
class UsbLink;

class UsbView : public QObject {
 public:
  UsbView(TForm1& form, Dialogs& dialogs, UsbLink& usb);

 private:
  void ShowDevices();

  TForm1& form_;
  Dialogs& dialogs_;
  UsbLink& usb_;
};

}  // namespace k7310

// The machine's USB HID devices as the USB link needs them: a watcher that reports the devices present at the
// start and every change after, and one opened device whose input reports arrive one by one. Everything reaches
// its user on the thread that made it (the window thread), whatever threads the platform runs inside. The program's
// platform calls the HID library; tests use a double.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string>
#include <vector>

#include "protocol/hid_reports.h"

namespace k7310 {

// Why an open or a write failed: the system's error code and its message text.
struct UsbError {
  int code = 0;
  std::string message;
};

class UsbPlatform : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~UsbPlatform() override = default;

  // Begins watching. The devices present now are reported as arrivals as soon as the event loop runs.
  virtual void Start() = 0;
  // Opens a device and starts delivering its input reports. False, with the error, when it cannot be opened.
  virtual bool Open(const std::string& path, UsbError& error) = 0;
  // Stops the delivery (no report arrives after this) and closes the device. Nothing when none is open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Writes one output report (report number and 64 bytes). False, with the error, when the write failed.
  virtual bool Write(const UsbReport& report, UsbError& error) = 0;

 signals:
  // The device set changed: what arrived, what went, and what is present now (in the platform's order).
  void DevicesChanged(const std::vector<UsbDeviceInfo>& arrived, const std::vector<UsbDeviceInfo>& removed,
                      const std::vector<UsbDeviceInfo>& present);
  // One input report of the open device: its data bytes, without the report number.
  void ReportRead(const QByteArray& data);
  // Reading the open device failed.
  void ReadFailed(const UsbError& error);
};

}  // namespace k7310

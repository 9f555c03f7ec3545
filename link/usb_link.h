// The USB link: the processor on USB, taken from the machine's HID devices. It keeps the device list, takes the
// device named "DEVADUVORARAZ01 (Serial=0000002)" when the list changes, writes frames as 65-byte output reports
// (a report keeps, behind the frame, what earlier frames left in it), logs every written report and error in its
// history, and turns input reports back into whole replies for the parser. A disconnect leaves the device taken;
// only its removal lets it go.
#pragma once

#include <QString>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/link.h"
#include "link/usb_platform.h"
#include "protocol/hid_reports.h"

namespace k7310 {

class UsbLink : public Link {
  Q_OBJECT

 public:
  explicit UsbLink(UsbPlatform& platform, QObject* parent = nullptr);
  ~UsbLink() override;

  // Link. Open marks the link as in use (there is no port to open): true while the processor is taken. Close
  // unmarks it and keeps the device. Write stages the frame in the report and writes it.
  Abilities Can() const override { return {.search = false, .broadcast = false, .wholeReplies = true}; }
  bool Open(const QString& port) override;
  void Close() override;
  bool IsOpen() const override { return linked_; }
  bool Write(const Bytes& frame) override;
  void ResetAssembly() override { assembly_.Reset(); }

  // Starts the platform's watcher.
  void Start();

  // The processor is taken (UseHid with a device).
  bool UseHid() const { return useHid_; }
  bool HasDevice() const { return taken_.has_value(); }
  // The device list: every HID device present, by name; the processor's entry, or kNoUsbEntry.
  const std::vector<UsbDeviceInfo>& Devices() const { return devices_; }
  const std::vector<std::string>& DeviceNames() const { return names_; }
  int HidListIndex() const { return hidListIndex_; }
  const UsbReassembly& Assembly() const { return assembly_; }

  // While another link is open (or a search sweeps the serial ports), a device change lists the devices but takes
  // none; when the hold ends the device list is looked at again.
  void SetHeld(bool held);

  // One output report as it stands (UsbHidSendDataClick): logged as "W 00  ..." or as a write error. Nothing
  // without a device.
  bool SendReport(const UsbReport& report);
  // A group upload body as six reports staged in `report` (UsbHidSendBigData); stops at the first failed write.
  bool SendBlockBody(UsbReport& report, std::span<const std::uint8_t, kUsbBlockBodySize> body);

  // The controller's events, as the platform reports them (public so that tests can drive them).
  void Arrival(const UsbDeviceInfo& device);
  void Removal(const UsbDeviceInfo& device);
  void DeviceChange();
  void ShowRead(std::span<const std::uint8_t> data);
  void DeviceDataError(const UsbError& error);

 signals:
  // A line for the history list ("Arrival of ...", "W 00  ...", "WRITE ERROR: ...", "READ ERROR: ...").
  void History(const QString& line);
  // The device list was rebuilt.
  void DevicesListed();
  // A device with the processor's IDs arrived, or went (after the link, if it was in use, has been ended).
  void ProcessorArrived();
  void ProcessorRemoved();
  // The processor is listed but cannot be opened (no permission on its device node). Told once per run.
  void OpenRefused(const QString& path, const UsbError& error);

 private:
  void Take(std::size_t index);
  void Release();
  // The link in use is down (its device went): unmarked, and Vanished once.
  void EndLink();

  UsbPlatform& platform_;
  std::vector<UsbDeviceInfo> devices_;
  std::vector<std::string> names_;
  std::vector<UsbDeviceInfo> present_;
  int hidListIndex_ = kNoUsbEntry;
  bool useHid_ = false;
  std::optional<UsbDeviceInfo> taken_;
  bool linked_ = false;
  bool held_ = false;
  bool refusalTold_ = false;
  UsbReassembly assembly_;
  UsbReport report_{};
};

}  // namespace k7310

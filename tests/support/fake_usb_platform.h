// A USB platform for tests: the device set is scripted (each change is reported at once, as the platform would
// from its event loop), opens and writes succeed or fail as told, written reports are recorded, and input reports
// are delivered on demand.
#pragma once

#include <algorithm>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/usb_platform.h"

namespace k7310::test {

inline UsbDeviceInfo ProcessorDevice(std::string path = "hid:processor") {
  return {.path = std::move(path), .vendorId = kUsbVendorId, .productId = kUsbProductId, .product = kUsbProduct,
          .serial = kUsbSerial};
}
inline UsbDeviceInfo OtherDevice(std::string path, std::string product, std::uint16_t vid = 0x046D,
                                 std::uint16_t pid = 0xC077, std::string serial = {}) {
  return {.path = std::move(path), .vendorId = vid, .productId = pid, .product = std::move(product),
          .serial = std::move(serial)};
}

class FakeUsbPlatform : public UsbPlatform {
 public:
  void Start() override { ++starts; }
  bool Open(const std::string& path, UsbError& error) override {
    opens.push_back(path);
    if (refuseOpen) {
      error = {13, "Permission denied"};
      return false;
    }
    open_ = path;
    return true;
  }
  void Close() override {
    if (!open_.empty()) closes.push_back(open_);
    open_.clear();
  }
  bool IsOpen() const override { return !open_.empty(); }
  bool Write(const UsbReport& report, UsbError& error) override {
    attempted.push_back(report);
    if (open_.empty()) {
      error = {19, "No such device"};
      return false;
    }
    std::optional<UsbError> result;
    if (!writeResults.empty()) {
      result = writeResults.front();
      writeResults.pop_front();
    }
    if (result) {
      error = *result;
      return false;
    }
    written.push_back(report);
    return true;
  }

  // The machine's device set becomes `now`: arrivals and removals by path, reported in one change.
  void SetDevices(const std::vector<UsbDeviceInfo>& now) {
    std::vector<UsbDeviceInfo> arrived, removed;
    auto has = [](const std::vector<UsbDeviceInfo>& set, const UsbDeviceInfo& d) {
      return std::any_of(set.begin(), set.end(), [&](const UsbDeviceInfo& x) { return x.path == d.path; });
    };
    for (const UsbDeviceInfo& d : now)
      if (!has(present_, d)) arrived.push_back(d);
    for (const UsbDeviceInfo& d : present_)
      if (!has(now, d)) removed.push_back(d);
    present_ = now;
    emit DevicesChanged(arrived, removed, present_);
  }
  // One input report of the open device (its 64 data bytes, zero-padded).
  void Deliver(std::span<const std::uint8_t> data) {
    QByteArray report(static_cast<qsizetype>(kUsbReportDataSize), '\0');
    std::copy_n(data.begin(), std::min(data.size(), kUsbReportDataSize), report.begin());
    emit ReportRead(report);
  }
  void FailRead(const UsbError& error) { emit ReadFailed(error); }

  int starts = 0;
  bool refuseOpen = false;
  // The results of the next writes, one each: an error, or nothing for success. Writes succeed once it is empty.
  std::deque<std::optional<UsbError>> writeResults;
  std::vector<std::string> opens;
  std::vector<std::string> closes;
  std::vector<UsbReport> attempted;  // every report given to a write, failed ones included
  std::vector<UsbReport> written;    // the reports written

 private:
  std::vector<UsbDeviceInfo> present_;
  std::string open_;
};

}  // namespace k7310::test

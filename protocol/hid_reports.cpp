#include "protocol/hid_reports.h"

#include <algorithm>
#include <cstdio>

#include "protocol/frame.h"

namespace k7310 {

std::string UsbDeviceName(const UsbDeviceInfo& device) {
  std::string name = device.product;
  if (name.empty()) {
    char ids[40];
    std::snprintf(ids, sizeof ids, "Device VID=%.4X PID=%.4X", device.vendorId, device.productId);
    name = ids;
  }
  if (!device.serial.empty()) name += " (Serial=" + device.serial + ")";
  return name;
}

bool HasProcessorIds(const UsbDeviceInfo& device) {
  return device.vendorId == kUsbVendorId && device.productId == kUsbProductId;
}

void StageFrame(UsbReport& report, std::span<const std::uint8_t> frame) {
  report[0] = 0;
  const std::size_t n = std::min(frame.size(), kUsbReportDataSize);
  std::copy_n(frame.begin(), n, report.begin() + 1);
}

void StageBlockReport(UsbReport& report, std::span<const std::uint8_t, kUsbBlockBodySize> body, int k) {
  report[0] = 0;
  if (k < kUsbBlockReports - 1) {
    std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(kUsbReportDataSize) * k, kUsbReportDataSize,
                report.begin() + 1);
    return;
  }
  report[1] = body[kUsbBlockBodySize - 2];
  report[2] = body[kUsbBlockBodySize - 1];
}

std::string WrittenReportLine(std::span<const std::uint8_t> report) {
  if (report.empty()) return {};
  std::string line = "W " + ToHexText(report.first(1)) + "  ";
  if (report.size() > 1) line += ToSpacedHex(report.subspan(1)) + " ";
  return line;
}

static std::string ErrorLine(const char* what, const std::string& message, int code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(code));
  return std::string(what) + ": " + message + " (" + hex + ")";
}

std::string WriteErrorLine(const std::string& message, int code) { return ErrorLine("WRITE ERROR", message, code); }
std::string ReadErrorLine(const std::string& message, int code) { return ErrorLine("READ ERROR", message, code); }
std::string OpenErrorLine(const std::string& message, int code) { return ErrorLine("OPEN ERROR", message, code); }

std::optional<std::string> UsbReassembly::Take(std::span<const std::uint8_t> data) {
  const std::string t = ToHexText(data);
  if (!collecting_) {
    if (t.compare(0, 6, "A5A5A5") != 0) {
      text_.clear();
      return std::nullopt;
    }
    // Frame bytes 8 and 9, big-endian; a header report too short to hold them announces nothing.
    const int hi = HexByteAt(t, 8);
    const int lo = HexByteAt(t, 9);
    length_ = (hi < 0 || lo < 0) ? 0 : hi * 256 + lo;
    text_ = t.substr(0, 20);
    pieces_ = 0;
    collecting_ = true;
    return std::nullopt;
  }
  const int last = length_ / static_cast<int>(kUsbReportDataSize);
  if (pieces_ == last) {
    const std::size_t keep = static_cast<std::size_t>(length_ % static_cast<int>(kUsbReportDataSize)) * 2 + 4;
    text_ += t.substr(0, keep);
    std::string whole = std::move(text_);
    Reset();
    return whole;
  }
  text_ += t;
  ++pieces_;
  return std::nullopt;
}

void UsbReassembly::Reset() {
  text_.clear();
  collecting_ = false;
  pieces_ = 0;
  length_ = 0;
}

}  // namespace k7310

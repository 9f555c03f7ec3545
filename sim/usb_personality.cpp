#include "sim/usb_personality.h"

#include <algorithm>

#include "sim/frame_assembler.h"

namespace k7310::sim {

namespace {

constexpr std::size_t kReportSize = kUsbReportDataSize;

std::size_t LengthField(std::span<const std::uint8_t> header) {
  return static_cast<std::size_t>(header[8]) << 8 | header[9];
}

bool StartsWithSync(std::span<const std::uint8_t> data) {
  return data[0] == kSync && data[1] == kSync && data[2] == kSync;
}

}  // namespace

std::vector<UsbReportData> ReplyReports(std::span<const std::uint8_t> frame) {
  std::vector<UsbReportData> reports;
  if (frame.size() < kHeaderSize) return reports;
  UsbReportData& header = reports.emplace_back();
  std::copy_n(frame.begin(), kHeaderSize, header.begin());
  // Frame bytes 10.. (the payload, the checksum, the end byte): length div 64 + 1 reports for every length the
  // protocol uses, whose remainder leaves room for the checksum and the end byte.
  for (std::size_t at = kHeaderSize; at < frame.size(); at += kReportSize) {
    UsbReportData& data = reports.emplace_back();
    const std::size_t n = std::min(kReportSize, frame.size() - at);
    std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(at), n, data.begin());
  }
  return reports;
}

// On USB the unit is alone on its link: it answers whatever device index it is asked under, with its own.
static BusOptions WithAnyIndex(BusOptions options) {
  options.anyIndex = true;
  return options;
}

UsbPersonality::UsbPersonality(int deviceId, BusOptions options) : bus_(WithAnyIndex(options)) {
  bus_.AddUnit(deviceId);
}

void UsbPersonality::TakeOutputReport(std::span<const std::uint8_t, kUsbReportDataSize> data, std::int64_t nowMs) {
  // A body that stopped coming is given up; the assembler has long cut its header by then.
  if (bodyReportsLeft_ > 0 && nowMs - lastUploadReportMs_ > kUploadBodyWaitMs) bodyReportsLeft_ = 0;

  if (bodyReportsLeft_ > 0) {
    lastUploadReportMs_ = nowMs;
    --bodyReportsLeft_;
    Feed(data.first(bodyReportsLeft_ > 0 ? kReportSize : lastBodyBytes_), nowMs);
    return;
  }
  if (!StartsWithSync(data)) return;  // not the start of a frame: the unit ignores it
  const std::size_t length = LengthField(data);
  const std::size_t whole = kHeaderSize + length + 2;
  if (whole <= kReportSize) {
    Feed(data.first(whole), nowMs);  // what follows the frame is left over from earlier reports
    return;
  }
  if (length > kMaxRequestPayload) return;  // no request is that long
  // A group upload header: it goes to the unit alone (opening its upload window, as on the line), and the body
  // follows as length div 64 + 1 data reports, the last holding the remaining payload, the checksum and the end byte.
  Feed(data.first(kHeaderSize), nowMs);
  bodyReportsLeft_ = static_cast<int>(length / kReportSize) + 1;
  lastBodyBytes_ = length % kReportSize + 2;
  lastUploadReportMs_ = nowMs;
}

void UsbPersonality::Advance(std::int64_t nowMs) { Queue(bus_.Advance(nowMs)); }

std::vector<InputReport> UsbPersonality::TakeDue(std::int64_t nowMs) {
  std::vector<InputReport> due;
  while (!out_.empty() && out_.front().dueMs <= nowMs) {
    due.push_back(out_.front());
    out_.pop_front();
  }
  return due;
}

std::optional<std::int64_t> UsbPersonality::NextDueMs() const {
  if (out_.empty()) return std::nullopt;
  return out_.front().dueMs;
}

void UsbPersonality::Disconnect() {
  out_.clear();
  bodyReportsLeft_ = 0;
}

void UsbPersonality::Feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
  Queue(bus_.Receive(bytes, nowMs));
}

void UsbPersonality::Queue(std::vector<Outgoing> out) {
  for (const Outgoing& o : out) {
    if (o.kind != Traffic::Tx) continue;  // the line's noise does not exist on USB
    for (const UsbReportData& r : ReplyReports(o.bytes)) {
      endpointFreeMs_ = std::max(endpointFreeMs_, o.dueMs) + kUsbReportIntervalMs;
      out_.push_back({endpointFreeMs_, r});
    }
  }
}

}  // namespace k7310::sim

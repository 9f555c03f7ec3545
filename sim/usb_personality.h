// The processor's USB side: one unit on a bus of its own, reached through 64-byte output reports and answering
// with input reports. Frames ride in reports as the USB link sends them: a report starting with the sync holds a
// whole short frame (bytes behind it are leftovers of earlier reports), while a group upload header comes alone and
// its body follows in data reports. Replies go out as one header report followed by data reports, one report per
// millisecond, as a full-speed interrupt endpoint delivers them. Toolkit-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "protocol/hid_reports.h"
#include "sim/bus.h"

namespace k7310::sim {

// One report per frame of the interrupt endpoint.
inline constexpr std::int64_t kUsbReportIntervalMs = 1;

using UsbReportData = std::array<std::uint8_t, kUsbReportDataSize>;

struct InputReport {
  std::int64_t dueMs = 0;
  UsbReportData data{};
};

// A reply frame as input reports: the header report (frame bytes 0..9, the rest zero), then frame bytes 10.. in
// 64-byte data reports, the last one zero-padded.
std::vector<UsbReportData> ReplyReports(std::span<const std::uint8_t> frame);

class UsbPersonality {
 public:
  explicit UsbPersonality(int deviceId = 1, BusOptions options = {});

  Bus& Model() { return bus_; }
  const Bus& Model() const { return bus_; }

  // The data bytes of one output report (after the report number), written at nowMs.
  void TakeOutputReport(std::span<const std::uint8_t, kUsbReportDataSize> data, std::int64_t nowMs);
  // Lets the model's time pass (its upload window, a cut partial frame).
  void Advance(std::int64_t nowMs);

  // Input reports due by nowMs, oldest first; they leave the queue.
  std::vector<InputReport> TakeDue(std::int64_t nowMs);
  // When the next queued report falls due; nothing when none is queued.
  std::optional<std::int64_t> NextDueMs() const;
  std::size_t Queued() const { return out_.size(); }

  // The cable was pulled: reports not yet delivered and a group body being collected are forgotten. The unit keeps
  // its state.
  void Disconnect();

  // A group body is being collected (the header came, data reports are awaited).
  bool CollectingBody() const { return bodyReportsLeft_ > 0; }

 private:
  void Feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
  void Queue(std::vector<Outgoing> out);

  Bus bus_;
  std::deque<InputReport> out_;
  std::int64_t endpointFreeMs_ = 0;  // the last report already queued goes out at this time
  int bodyReportsLeft_ = 0;
  std::size_t lastBodyBytes_ = 0;  // bytes of the last body report that belong to the frame
  std::int64_t lastUploadReportMs_ = 0;
};

}  // namespace k7310::sim

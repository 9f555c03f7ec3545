// Cuts the received byte stream into checked frames: finds the sync, waits for the length the header names,
// verifies end byte and checksum, and starts again at the next sync after anything that does not fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/frame.h"

namespace k7310::sim {

// A partial frame whose bytes stop coming for longer than this is cut off.
inline constexpr std::int64_t kFrameGapMs = 100;
// A block upload header waits this long for the first byte of its body, counted from the header's last byte.
inline constexpr std::int64_t kUploadBodyWindowMs = 1000;
// A pseudo-terminal hands the header over at once, where a 9600-baud line would still carry it for 10.4 ms; the
// sender times its pause from the moment it wrote the header, so on a pty the pause looks that much longer.
inline constexpr std::int64_t kUploadHeaderLineMs = 11;
// And the sender's pause timer, or this side's wake-up, may come a little late on a busy machine.
inline constexpr std::int64_t kUploadBodyMarginMs = 100;
// How long after the header's arrival (as seen here) its body may still begin.
inline constexpr std::int64_t kUploadBodyWaitMs = kUploadBodyWindowMs + kUploadHeaderLineMs + kUploadBodyMarginMs;
// Longest payload a request can carry: a group block.
inline constexpr std::size_t kMaxRequestPayload = 320;

struct AssemblerStats {
  std::size_t noiseBytes = 0;  // bytes skipped while looking for a sync
  std::size_t badFrames = 0;   // wrong checksum, end byte or length
  std::size_t cutFrames = 0;   // partial frames given up after a pause
};

class FrameAssembler {
 public:
  // Bytes received at nowMs; returns the complete frames, oldest first.
  std::vector<Bytes> Push(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
  // Lets time pass: a partial frame that waited too long is dropped, and whatever followed it is read again.
  std::vector<Bytes> Expire(std::int64_t nowMs);
  // When the partial frame held now is given up, if there is one.
  std::optional<std::int64_t> DeadlineMs() const;

  std::size_t Pending() const { return buf_.size(); }
  const AssemblerStats& Stats() const { return stats_; }

 private:
  void Scan(std::vector<Bytes>& out);
  bool HoldsUploadHeaderOnly() const;

  Bytes buf_;
  std::int64_t lastByteMs_ = 0;
  AssemblerStats stats_;
};

}  // namespace k7310::sim

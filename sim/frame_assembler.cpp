#include "sim/frame_assembler.h"

#include <algorithm>

namespace k7310::sim {

std::vector<Bytes> FrameAssembler::Push(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
  std::vector<Bytes> out = Expire(nowMs);
  if (bytes.empty()) return out;
  buf_.insert(buf_.end(), bytes.begin(), bytes.end());
  lastByteMs_ = nowMs;
  Scan(out);
  return out;
}

std::vector<Bytes> FrameAssembler::Expire(std::int64_t nowMs) {
  std::vector<Bytes> out;
  // Every byte held arrived by lastByteMs_; after dropping a stale frame, what is left may hold complete frames
  // (read again) or another partial one with its own limit.
  while (auto deadline = DeadlineMs()) {
    if (nowMs <= *deadline) break;
    if (buf_.size() >= 3) {
      ++stats_.cutFrames;
    } else {
      ++stats_.noiseBytes;  // a lone A5 or A5 A5 that never became a sync
    }
    buf_.erase(buf_.begin());
    Scan(out);
  }
  return out;
}

std::optional<std::int64_t> FrameAssembler::DeadlineMs() const {
  if (buf_.empty()) return std::nullopt;
  return lastByteMs_ + (HoldsUploadHeaderOnly() ? kUploadBodyWaitMs : kFrameGapMs);
}

bool FrameAssembler::HoldsUploadHeaderOnly() const {
  return buf_.size() == kHeaderSize && buf_[4] == frame_type::kWrite &&
         (buf_[6] == area::kActiveGroup || buf_[6] == area::kStoredGroup) && buf_[7] == 0 &&
         buf_[8] == (kMaxRequestPayload >> 8) && buf_[9] == (kMaxRequestPayload & 0xFF);
}

void FrameAssembler::Scan(std::vector<Bytes>& out) {
  for (;;) {
    // Skip to the first sync; a trailing A5 or A5 A5 may be the start of one.
    std::size_t i = 0;
    while (i < buf_.size()) {
      if (buf_[i] == kSync) {
        const std::size_t n = std::min<std::size_t>(3, buf_.size() - i);
        bool sync = true;
        for (std::size_t j = 1; j < n; ++j) sync = sync && buf_[i + j] == kSync;
        if (sync) break;
      }
      ++i;
    }
    if (i > 0) {
      stats_.noiseBytes += i;
      buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (buf_.size() < kHeaderSize) return;
    const std::size_t length = static_cast<std::size_t>(buf_[8]) << 8 | buf_[9];
    if (length > kMaxRequestPayload) {
      ++stats_.badFrames;
      buf_.erase(buf_.begin());
      continue;
    }
    const std::size_t total = kHeaderSize + length + 2;
    if (buf_.size() < total) return;
    const std::size_t last = kHeaderSize + length - 1;
    if (buf_[total - 1] != kEnd || FrameChecksum(buf_, last) != buf_[last + 1]) {
      ++stats_.badFrames;
      buf_.erase(buf_.begin());
      continue;
    }
    out.emplace_back(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(total));
    buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(total));
  }
}

}  // namespace k7310::sim

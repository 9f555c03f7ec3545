#include "sim/pacer.h"

#include <algorithm>

namespace k7310::sim {

namespace {
constexpr std::int64_t kBitUnits = kBitsPerByte * 1000000;  // byte time = kBitUnits / kBaudRate microseconds
}

std::int64_t Pacer::ByteDoneUs(std::int64_t startUs, std::size_t i) {
  const std::int64_t units = static_cast<std::int64_t>(i + 1) * kBitUnits;
  return startUs + (units + kBaudRate - 1) / kBaudRate;  // rounded up: a byte is never early
}

void Pacer::Enqueue(Bytes bytes, Traffic kind, std::int64_t readyUs) {
  if (bytes.empty()) return;
  const std::int64_t start = std::max(readyUs, lineFreeUs_);
  lineFreeUs_ = ByteDoneUs(start, bytes.size() - 1);
  queue_.push_back({std::move(bytes), kind, start});
}

std::size_t Pacer::DueCount(const Piece& p, std::int64_t nowUs) const {
  if (nowUs <= p.startUs) return 0;
  const std::int64_t carried = (nowUs - p.startUs) * kBaudRate / kBitUnits;
  return static_cast<std::size_t>(std::min<std::int64_t>(carried, static_cast<std::int64_t>(p.bytes.size())));
}

std::span<const std::uint8_t> Pacer::Due(std::int64_t nowUs) const {
  if (queue_.empty()) return {};
  const Piece& p = queue_.front();
  const std::size_t due = DueCount(p, nowUs);
  if (due <= p.sent) return {};
  return std::span<const std::uint8_t>(p.bytes).subspan(p.sent, due - p.sent);
}

std::optional<Pacer::Finished> Pacer::Consume(std::size_t n) {
  if (queue_.empty()) return std::nullopt;
  Piece& p = queue_.front();
  p.sent = std::min(p.bytes.size(), p.sent + n);
  if (p.sent < p.bytes.size()) return std::nullopt;
  Finished done{p.kind, std::move(p.bytes)};
  queue_.pop_front();
  return done;
}

std::optional<std::int64_t> Pacer::NextWakeUs() const {
  if (queue_.empty()) return std::nullopt;
  const Piece& p = queue_.front();
  const std::size_t upto = std::min(p.bytes.size(), p.sent + std::max<std::size_t>(batch_, 1));
  return ByteDoneUs(p.startUs, upto - 1);
}

std::size_t Pacer::QueuedBytes() const {
  std::size_t n = 0;
  for (const Piece& p : queue_) n += p.bytes.size() - p.sent;
  return n;
}

}  // namespace k7310::sim

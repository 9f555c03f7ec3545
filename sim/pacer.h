// Holds outgoing bytes back until a 9600-baud line would have carried them, so a pseudo-terminal (which has no
// baud rate) delivers replies at the pace of the real line, in small pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "protocol/frame.h"
#include "sim/bus.h"

namespace k7310::sim {

// 10 bits a byte (start, 8 data, stop) at 9600 baud.
inline constexpr std::int64_t kBitsPerByte = 10;
inline constexpr std::int64_t kBaudRate = 9600;

class Pacer {
 public:
  // Bytes are handed out once at least this many are due (or the piece ends), to keep wake-ups few.
  explicit Pacer(std::size_t batch = 8) : batch_(batch) {}

  // Queues a piece that may start going out at readyUs, after everything queued before it.
  void Enqueue(Bytes bytes, Traffic kind, std::int64_t readyUs);

  // The bytes of the front piece that the line has carried by nowUs and that were not yet taken.
  std::span<const std::uint8_t> Due(std::int64_t nowUs) const;
  struct Finished {
    Traffic kind;
    Bytes bytes;
  };
  // Marks n bytes of the front piece as written; returns the piece when its last byte was.
  std::optional<Finished> Consume(std::size_t n);
  // When the next batch falls due (or the front piece ends); nothing when the queue is empty.
  std::optional<std::int64_t> NextWakeUs() const;

  bool Empty() const { return queue_.empty(); }
  std::size_t QueuedBytes() const;
  void Clear() { queue_.clear(); }

  // The moment byte i of a piece starting at startUs has been carried.
  static std::int64_t ByteDoneUs(std::int64_t startUs, std::size_t i);

 private:
  struct Piece {
    Bytes bytes;
    Traffic kind;
    std::int64_t startUs;
    std::size_t sent = 0;
  };
  std::size_t DueCount(const Piece& p, std::int64_t nowUs) const;

  std::size_t batch_;
  std::deque<Piece> queue_;
  std::int64_t lineFreeUs_ = 0;
};

}  // namespace k7310::sim

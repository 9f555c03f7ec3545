// A shared line with several processors on it: frames are assembled once and handed to the unit whose device
// index they carry (or to every unit for index 255, which then answers nothing). Faults of the line itself live
// here: noise and hang-up.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "protocol/frame.h"
#include "sim/frame_assembler.h"
#include "sim/processor.h"

namespace k7310::sim {

enum class Traffic { Rx, Tx, Noise };

// What goes out on the line, and from when.
struct Outgoing {
  std::int64_t dueMs = 0;
  Traffic kind = Traffic::Tx;
  Bytes bytes;
};

struct LogEntry {
  std::int64_t timeMs = 0;
  Traffic kind = Traffic::Rx;
  Bytes bytes;
};

struct BusOptions {
  std::int64_t replyDelayMs = 0;  // processing time before a reply starts
  std::uint32_t seed = 1;         // temperature drift of the units, noise bytes and pauses
  bool keepLog = true;            // false: entries only go to onLog (a long-running front-end)
  // One unit alone on its own link (USB): it takes frames for every device index but the broadcast one, and
  // answers under its own index.
  bool anyIndex = false;
};

// Noise bursts come this long after the previous one, while frames keep arriving.
inline constexpr std::int64_t kNoiseMinGapMs = 300;
inline constexpr std::int64_t kNoiseMaxGapMs = 900;
// No noise once the line has been quiet this long (nobody listens, and the pty buffer would fill).
inline constexpr std::int64_t kNoiseQuietMs = 3000;
inline constexpr std::size_t kNoiseMaxBurst = 6;

class Bus {
 public:
  explicit Bus(BusOptions options = {});

  // Adds a unit with a device ID 1..255; references stay valid as units are added.
  Unit& AddUnit(int id);
  Unit* FindUnit(int id);
  std::deque<Unit>& Units() { return units_; }

  // Bytes received at nowMs; returns what is to be sent in answer.
  std::vector<Outgoing> Receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
  // Time passing without input: cuts stale partial frames, emits noise bursts.
  std::vector<Outgoing> Advance(std::int64_t nowMs);
  // When Advance next has something to do.
  std::optional<std::int64_t> NextEventMs() const;

  void SetNoise(bool on, std::int64_t nowMs = 0);
  bool Noise() const { return noise_; }
  // The line is closed for good: nothing is taken or sent any more.
  void HangUp() { hungUp_ = true; }
  bool HungUp() const { return hungUp_; }

  // Every frame taken from the line (to whomever), every reply and every noise burst.
  const std::vector<LogEntry>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  std::function<void(const LogEntry&)> onLog;

  const AssemblerStats& Stats() const { return assembler_.Stats(); }

 private:
  void Dispatch(const Bytes& frame, std::int64_t nowMs, std::vector<Outgoing>& out);
  Bytes NoiseBurst();
  std::uint32_t Next();
  void Record(std::int64_t t, Traffic kind, const Bytes& bytes);
  void EmitNoise(std::int64_t dueMs, std::vector<Outgoing>& out);

  BusOptions options_;
  std::deque<Unit> units_;
  FrameAssembler assembler_;
  std::vector<LogEntry> log_;
  std::uint32_t rng_;
  bool noise_ = false;
  bool hungUp_ = false;
  std::optional<std::int64_t> lastFrameMs_;
  std::int64_t nextNoiseMs_ = 0;
};

}  // namespace k7310::sim

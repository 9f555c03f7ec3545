#include "sim/bus.h"

#include <algorithm>

namespace k7310::sim {

Bus::Bus(BusOptions options) : options_(options), rng_(options.seed * 747796405u + 2891336453u) {}

Unit& Bus::AddUnit(int id) {
  return units_.emplace_back(id, options_.seed + static_cast<std::uint32_t>(units_.size()) * 7919u);
}

Unit* Bus::FindUnit(int id) {
  for (Unit& u : units_)
    if (u.Id() == id) return &u;
  return nullptr;
}

std::vector<Outgoing> Bus::Receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
  std::vector<Outgoing> out;
  if (hungUp_) return out;
  for (const Bytes& f : assembler_.Push(bytes, nowMs)) Dispatch(f, nowMs, out);
  return out;
}

std::vector<Outgoing> Bus::Advance(std::int64_t nowMs) {
  std::vector<Outgoing> out;
  if (hungUp_) return out;
  for (const Bytes& f : assembler_.Expire(nowMs)) Dispatch(f, nowMs, out);
  if (noise_ && lastFrameMs_ && nowMs - *lastFrameMs_ <= kNoiseQuietMs && nowMs >= nextNoiseMs_) {
    EmitNoise(nowMs, out);
    nextNoiseMs_ = nowMs + kNoiseMinGapMs +
                   static_cast<std::int64_t>(Next() % (kNoiseMaxGapMs - kNoiseMinGapMs + 1));
  }
  return out;
}

std::optional<std::int64_t> Bus::NextEventMs() const {
  if (hungUp_) return std::nullopt;
  std::optional<std::int64_t> next = assembler_.DeadlineMs();
  if (next) *next += 1;  // a deadline is the last moment the partial frame is still waited for
  if (noise_ && lastFrameMs_ && nextNoiseMs_ <= *lastFrameMs_ + kNoiseQuietMs)
    next = next ? std::min(*next, nextNoiseMs_) : nextNoiseMs_;
  return next;
}

void Bus::SetNoise(bool on, std::int64_t nowMs) {
  if (on && !noise_) nextNoiseMs_ = nowMs + kNoiseMinGapMs;
  noise_ = on;
}

void Bus::Dispatch(const Bytes& frame, std::int64_t nowMs, std::vector<Outgoing>& out) {
  Record(nowMs, Traffic::Rx, frame);
  if (noise_ && (!lastFrameMs_ || nextNoiseMs_ < nowMs)) nextNoiseMs_ = nowMs + kNoiseMinGapMs;
  lastFrameMs_ = nowMs;
  const std::uint8_t index = frame[3];
  const bool broadcast = index == kBroadcastIndex;
  for (Unit& u : units_) {
    if (!broadcast && !options_.anyIndex && u.DeviceIndex() != index) continue;
    std::optional<Bytes> reply = u.Take(frame, nowMs);
    if (!reply || broadcast) continue;
    const std::int64_t due = nowMs + options_.replyDelayMs;
    if (noise_) EmitNoise(due, out);
    Record(due, Traffic::Tx, *reply);
    out.push_back({due, Traffic::Tx, std::move(*reply)});
  }
}

void Bus::EmitNoise(std::int64_t dueMs, std::vector<Outgoing>& out) {
  Bytes burst = NoiseBurst();
  Record(dueMs, Traffic::Noise, burst);
  out.push_back({dueMs, Traffic::Noise, std::move(burst)});
}

Bytes Bus::NoiseBurst() {
  Bytes b(1 + Next() % kNoiseMaxBurst);
  for (std::uint8_t& x : b) {
    // Anything but the sync byte, so that noise never looks like the start of a frame.
    do {
      x = static_cast<std::uint8_t>(Next() >> 24);
    } while (x == kSync);
  }
  return b;
}

std::uint32_t Bus::Next() {
  // PCG-style step: deterministic per seed.
  rng_ = rng_ * 747796405u + 2891336453u;
  std::uint32_t w = ((rng_ >> ((rng_ >> 28) + 4)) ^ rng_) * 277803737u;
  return (w >> 22) ^ w;
}

void Bus::Record(std::int64_t t, Traffic kind, const Bytes& bytes) {
  const LogEntry entry{t, kind, bytes};
  if (onLog) onLog(entry);
  if (options_.keepLog) log_.push_back(entry);
}

}  // namespace k7310::sim

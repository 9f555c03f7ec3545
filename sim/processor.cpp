#include "sim/processor.h"

#include <algorithm>
#include <string>

namespace k7310::sim {

namespace {

constexpr std::array<std::uint8_t, 8> kNeutralChannel{0xC8, 0x01, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 8> kNeutralCrossover{0x00, 0x00, 0, 0, 0xF3, 0x00, 0, 0};
constexpr std::array<std::uint8_t, 8> kNeutralLimiter{0x13, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 8> kNeutralEqBand{0x00, 0x00, 0x78, 0x00, 0x78, 0x00, 0x04, 0x00};
constexpr std::array<std::uint8_t, 8> kNeutralMain{0x00, 0x00, 0x2D, 0x01, 0, 0, 0, 0};

// The temperature wanders by this much around its start, once up and down per period.
constexpr int kTempSwing = 40;
constexpr std::int64_t kTempPeriodMs = 120000;

void Put(GroupPayload& p, int k, const std::array<std::uint8_t, 8>& rec) {
  std::copy(rec.begin(), rec.end(), p.begin() + static_cast<std::ptrdiff_t>(8 * k));
}

std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

}  // namespace

GroupPayload NeutralSet() {
  GroupPayload p{};
  for (int c = 0; c < 3; ++c) {
    Put(p, BlockRecordIndex(c, 0), kNeutralChannel);
    Put(p, BlockRecordIndex(c, 1), kNeutralCrossover);
    Put(p, BlockRecordIndex(c, 2), kNeutralLimiter);
    for (int b = 0; b < 6; ++b) Put(p, BlockRecordIndex(c, 3 + b), kNeutralEqBand);
  }
  Put(p, BlockRecordIndex(3, 0), kNeutralMain);
  Put(p, BlockRecordIndex(4, 0), kNeutralCrossover);
  for (int b = 0; b < 6; ++b) Put(p, BlockRecordIndex(5 + b, 0), kNeutralEqBand);
  return p;
}

GroupPayload DefaultStoredGroup(int n) {
  GroupPayload p = NeutralSet();
  RecordOf(p, BlockRecordIndex(0, 0))[0] = static_cast<std::uint8_t>(200 - n);
  RecordOf(p, BlockRecordIndex(0, 3))[0] = static_cast<std::uint8_t>(n);
  return p;
}

GroupName MakeGroupName(std::string_view text) {
  GroupName name{};
  for (std::size_t i = 0; i < text.size() && i < name.size(); ++i) name[i] = static_cast<std::uint8_t>(text[i]);
  return name;
}

GroupName DefaultGroupName(int n) {
  const char* prefix = n <= 4 ? "Usr Group " : n <= 8 ? "Pre Group " : "Group ";
  return MakeGroupName(prefix + std::to_string(n));
}

std::string NameText(const GroupName& name) {
  std::string s;
  for (std::uint8_t b : name) {
    if (b == 0) break;
    s.push_back(static_cast<char>(b));
  }
  return s;
}

std::span<std::uint8_t, 8> RecordOf(GroupPayload& payload, int k) {
  return std::span<std::uint8_t, 8>(payload.data() + 8 * k, 8);
}

std::span<const std::uint8_t, 8> RecordOf(const GroupPayload& payload, int k) {
  return std::span<const std::uint8_t, 8>(payload.data() + 8 * k, 8);
}

Unit::Unit(int id, std::uint32_t seed) : id_(id), active_(NeutralSet()) {
  for (int n = 1; n <= kStoredGroupCount; ++n) {
    StoredGroup(n) = DefaultStoredGroup(n);
    StoredName(n) = DefaultGroupName(n);
  }
  const std::uint32_t h = Mix(seed * 2654435761u + static_cast<std::uint32_t>(id));
  tempBase_ = 2950 + static_cast<int>(h % 101);
  tempPhaseMs_ = static_cast<int>((h >> 8) % kTempPeriodMs);
}

int Unit::TemperatureRaw(std::int64_t nowMs) const {
  if (fixedTemp_) return *fixedTemp_;
  // Triangle wave: rises kTempSwing over half a period, falls back over the other half.
  const std::int64_t t = (std::max<std::int64_t>(nowMs, 0) + tempPhaseMs_) % kTempPeriodMs;
  const std::int64_t half = kTempPeriodMs / 2;
  const std::int64_t up = t < half ? t : kTempPeriodMs - t;
  const int raw = tempBase_ - kTempSwing / 2 + static_cast<int>(up * kTempSwing / half);
  return std::clamp(raw, kTempRawMin, kTempRawMax);
}

void Unit::FixTemperatureRaw(int raw) { fixedTemp_ = std::clamp(raw, 0, 0xFFFF); }

std::optional<Bytes> Unit::Take(std::span<const std::uint8_t> frame, std::int64_t nowMs) {
  if (frame.size() < kHeaderSize + 2) return std::nullopt;
  const std::uint8_t type = frame[4];
  const std::uint8_t group = frame[5];
  const std::uint8_t areaCode = frame[6];
  const std::uint8_t record = frame[7];
  const auto payload = frame.subspan(kHeaderSize, frame.size() - kHeaderSize - 2);
  std::optional<Bytes> reply;
  if (type == frame_type::kRead) {
    reply = TakeRead(group, areaCode, nowMs);
  } else if (type == frame_type::kWrite) {
    reply = TakeWrite(group, areaCode, record, payload);
  }
  if (silent) return std::nullopt;
  return reply;
}

Bytes Unit::BlockReply(std::uint8_t group, std::uint8_t areaCode, const GroupPayload& payload) const {
  return BuildFrame(DeviceIndex(), frame_type::kDataReply, group, areaCode, 0, payload);
}

std::optional<Bytes> Unit::TakeRead(std::uint8_t group, std::uint8_t areaCode, std::int64_t nowMs) {
  switch (areaCode) {
    case area::kStatus: {
      const int raw = TemperatureRaw(nowMs);
      const std::array<std::uint8_t, 8> p{0, 0, static_cast<std::uint8_t>(raw & 0xFF),
                                          static_cast<std::uint8_t>((raw >> 8) & 0xFF),
                                          static_cast<std::uint8_t>(attenuationDb_), 0, 0, 0};
      return BuildFrame(DeviceIndex(), frame_type::kDataReply, 0, area::kStatus, 0, p);
    }
    case area::kActiveGroup:
      if (group == 0) return BlockReply(0, area::kActiveGroup, active_);
      if (group > kStoredGroupCount) return std::nullopt;
      // Recall: the stored group becomes the working set.
      active_ = StoredGroup(group);
      settings_.LastLoadedGroup = group;
      return BlockReply(group, area::kActiveGroup, active_);
    case area::kStoredGroup:
      if (group < 1 || group > kStoredGroupCount) return std::nullopt;
      return BlockReply(group, area::kStoredGroup, StoredGroup(group));
    case area::kGroupNames: {
      if (noNames) return std::nullopt;
      Bytes p;
      p.reserve(kStoredGroupCount * kGroupNameSize);
      for (const GroupName& n : names_) p.insert(p.end(), n.begin(), n.end());
      return BuildFrame(DeviceIndex(), frame_type::kDataReply, 0, area::kGroupNames, 0, p);
    }
    case area::kDeviceSettings: {
      const std::array<std::uint8_t, 8> p{settings_.LastLoadedGroup, settings_.DeviceSetting1,
                                          settings_.DeviceSetting2, static_cast<std::uint8_t>(id_),
                                          0, settings_.TempThreshold, 0, 0};
      return BuildFrame(DeviceIndex(), frame_type::kDataReply, 0, area::kDeviceSettings, 0, p);
    }
    default:
      return std::nullopt;
  }
}

std::optional<Bytes> Unit::TakeWrite(std::uint8_t group, std::uint8_t areaCode, std::uint8_t record,
                                     std::span<const std::uint8_t> payload) {
  const std::array<std::uint8_t, 0> none{};
  switch (areaCode) {
    case area::kDeviceSettings: {
      if (payload.size() != 8) return std::nullopt;
      // The acknowledge still goes out under the index the request was addressed to.
      Bytes ack = BuildFrame(DeviceIndex(), frame_type::kAcknowledge, 0, area::kDeviceSettings, 0, none);
      if (payload[3] != 0) id_ = payload[3];
      settings_.TempThreshold = payload[5];
      return ack;
    }
    case area::kStoreGroup: {
      if (group < 1 || group > kStoredGroupCount || payload.size() != kGroupNameSize) return std::nullopt;
      StoredGroup(group) = active_;
      std::copy(payload.begin(), payload.end(), StoredName(group).begin());
      return BuildFrame(DeviceIndex(), frame_type::kAcknowledge, 0, 0, 0, none);
    }
    case area::kActiveGroup:
      if (payload.size() == kBlockPayloadSize) std::copy(payload.begin(), payload.end(), active_.begin());
      return std::nullopt;
    case area::kStoredGroup:
      if (payload.size() == kBlockPayloadSize && group >= 1 && group <= kStoredGroupCount)
        std::copy(payload.begin(), payload.end(), StoredGroup(group).begin());
      return std::nullopt;
    default: {
      const int k = BlockRecordIndex(areaCode, record);
      if (k >= 0 && payload.size() == 8) std::copy(payload.begin(), payload.end(), RecordOf(active_, k).begin());
      return std::nullopt;
    }
  }
}

}  // namespace k7310::sim

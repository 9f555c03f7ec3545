// One simulated processor on the bus: its active set, 20 stored groups with names, device settings and
// readings, and the reply it gives to each request addressed to it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/frame.h"
#include "protocol/group_block.h"

namespace k7310::sim {

inline constexpr int kStoredGroupCount = 20;
inline constexpr std::size_t kGroupNameSize = 20;
inline constexpr int kTempRawMin = 1123;  // lowest sensor reading: 70 °C or more
inline constexpr int kTempRawMax = 5118;  // highest sensor reading: 10 °C or less

using GroupPayload = std::array<std::uint8_t, kBlockPayloadSize>;
using GroupName = std::array<std::uint8_t, kGroupNameSize>;

// Every parameter at its neutral value: 0 dB gains, sound on, open crossovers, limiter at 0 dBu,
// flat EQ bands, master volume 0 dB, reserved records zero.
GroupPayload NeutralSet();
// Start content of stored group n (1..20): the neutral set with the High gain index 200 - n and the first High
// EQ band at frequency index n, so that groups can be told apart.
GroupPayload DefaultStoredGroup(int n);
// Start name of stored group n: "Usr Group n" for 1..4, "Pre Group n" for 5..8, "Group n" after.
GroupName DefaultGroupName(int n);
GroupName MakeGroupName(std::string_view text);
// The name up to its first zero byte.
std::string NameText(const GroupName& name);

// Block record k (0..39) of a payload.
std::span<std::uint8_t, 8> RecordOf(GroupPayload& payload, int k);
std::span<const std::uint8_t, 8> RecordOf(const GroupPayload& payload, int k);

struct DeviceSettings {
  std::uint8_t LastLoadedGroup = 1;
  std::uint8_t DeviceSetting1 = 0;
  std::uint8_t DeviceSetting2 = 0;
  std::uint8_t TempThreshold = 0;
};

class Unit {
 public:
  // id 1..255; the seed sets where the temperature starts and how it drifts.
  explicit Unit(int id, std::uint32_t seed = 1);

  int Id() const { return id_; }
  std::uint8_t DeviceIndex() const { return static_cast<std::uint8_t>(id_ - 1); }

  GroupPayload& ActiveSet() { return active_; }
  const GroupPayload& ActiveSet() const { return active_; }
  GroupPayload& StoredGroup(int n) { return stored_.at(static_cast<std::size_t>(n - 1)); }
  const GroupPayload& StoredGroup(int n) const { return stored_.at(static_cast<std::size_t>(n - 1)); }
  GroupName& StoredName(int n) { return names_.at(static_cast<std::size_t>(n - 1)); }
  const GroupName& StoredName(int n) const { return names_.at(static_cast<std::size_t>(n - 1)); }
  DeviceSettings& Settings() { return settings_; }
  const DeviceSettings& Settings() const { return settings_; }

  // Raw sensor reading at a time: drifts slowly around its start unless fixed.
  int TemperatureRaw(std::int64_t nowMs) const;
  void FixTemperatureRaw(int raw);
  void ReleaseTemperature() { fixedTemp_.reset(); }
  int AttenuationDb() const { return attenuationDb_; }
  void SetAttenuationDb(int db) { attenuationDb_ = db; }

  // Fault switches. A silent unit still takes every frame (its state changes) but never answers.
  bool silent = false;
  bool noNames = false;

  // Takes one checked frame addressed to this unit (or to every unit) and returns the reply it would send. A
  // settings write gives the unit the ID it carries, also when it was addressed to every unit, as the hardware
  // does: all units then answer under that one ID.
  std::optional<Bytes> Take(std::span<const std::uint8_t> frame, std::int64_t nowMs);

 private:
  std::optional<Bytes> TakeRead(std::uint8_t group, std::uint8_t areaCode, std::int64_t nowMs);
  std::optional<Bytes> TakeWrite(std::uint8_t group, std::uint8_t areaCode, std::uint8_t record,
                                 std::span<const std::uint8_t> payload);
  Bytes BlockReply(std::uint8_t group, std::uint8_t areaCode, const GroupPayload& payload) const;

  int id_;
  GroupPayload active_;
  std::array<GroupPayload, kStoredGroupCount> stored_;
  std::array<GroupName, kStoredGroupCount> names_;
  DeviceSettings settings_;
  int tempBase_;
  int tempPhaseMs_;
  std::optional<int> fixedTemp_;
  int attenuationDb_ = 0;
};

}  // namespace k7310::sim

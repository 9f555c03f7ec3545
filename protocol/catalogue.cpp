#include "protocol/catalogue.h"

#include <array>

namespace k7310 {

namespace {

constexpr std::array<SlotCommand, kSlotCount + 1> MakeSlotTable() {
  std::array<SlotCommand, kSlotCount + 1> t{};
  for (int c = 0; c < kOutputCount; ++c) {
    const auto a = static_cast<std::uint8_t>(c);
    t[ChannelSettingsSlot(c)] = {SlotKind::ChannelSettings, c, a, 0};
    t[CrossoverSlot(c)] = {SlotKind::Crossover, c, a, 1};
    t[LimiterSlot(c)] = {SlotKind::Limiter, c, a, 2};
  }
  for (int i = 0; i < kBandCount; ++i) {
    const bool main = i >= 18;
    t[EqBandSlot(i)] = {SlotKind::EqBand, i,
                        static_cast<std::uint8_t>(main ? area::kMainEqFirst + (i - 18) : i / 6),
                        static_cast<std::uint8_t>(main ? 0 : 3 + i % 6)};
  }
  t[kMainSettingsSlot] = {SlotKind::MainSettings, kMain, area::kMainSettings, 0};
  t[kDeviceSettingsSlot] = {SlotKind::DeviceSettings, 0, area::kDeviceSettings, 0};
  t[kMainCrossoverSlot] = {SlotKind::Crossover, kMain, area::kMainCrossover, 0};
  t[kQueryDeviceSettingsSlot] = {SlotKind::QueryDeviceSettings, 0, area::kDeviceSettings, 0};
  return t;
}

constexpr auto kSlotTable = MakeSlotTable();

Bytes Request(std::uint8_t d, std::uint8_t group, std::uint8_t areaCode) {
  return BuildFrame(d, frame_type::kRead, group, areaCode, 0, {});
}

}  // namespace

SlotCommand SlotTable(int slot) {
  if (slot < 1 || slot > kSlotCount) return {};
  return kSlotTable[static_cast<std::size_t>(slot)];
}

std::uint8_t EqBandArea(int band) { return kSlotTable[EqBandSlot(band)].areaCode; }
std::uint8_t EqBandRecordNumber(int band) { return kSlotTable[EqBandSlot(band)].record; }

Bytes BuildParameterFrame(std::uint8_t d, std::uint8_t areaCode, std::uint8_t record, const ParameterRecord& p) {
  return BuildFrame(d, frame_type::kWrite, 0, areaCode, record, p);
}

Bytes BuildSlotFrame(int slot, const ParameterModel& m, std::uint8_t d) {
  const SlotCommand cmd = SlotTable(slot);
  switch (cmd.kind) {
    case SlotKind::ChannelSettings:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, ChannelSettingsRecord(m, cmd.index));
    case SlotKind::Crossover:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, CrossoverRecord(m, cmd.index));
    case SlotKind::Limiter:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, LimiterRecord(m, cmd.index));
    case SlotKind::EqBand:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, EqBandRecord(m, cmd.index));
    case SlotKind::MainSettings:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, MainSettingsRecord(m));
    case SlotKind::DeviceSettings:
      return BuildParameterFrame(d, cmd.areaCode, cmd.record, DeviceSettingsRecord(m));
    case SlotKind::QueryDeviceSettings:
      return QueryDeviceSettings(d);
    case SlotKind::None:
      break;
  }
  return {};
}

Bytes WriteChannelSettings(const ParameterModel& m, std::uint8_t d, int c) {
  return BuildSlotFrame(ChannelSettingsSlot(c), m, d);
}
Bytes WriteCrossover(const ParameterModel& m, std::uint8_t d, int c) { return BuildSlotFrame(CrossoverSlot(c), m, d); }
Bytes WriteLimiter(const ParameterModel& m, std::uint8_t d, int c) { return BuildSlotFrame(LimiterSlot(c), m, d); }
Bytes WriteEqBand(const ParameterModel& m, std::uint8_t d, int band) { return BuildSlotFrame(EqBandSlot(band), m, d); }
Bytes WriteMainSettings(const ParameterModel& m, std::uint8_t d) { return BuildSlotFrame(kMainSettingsSlot, m, d); }
Bytes WriteDeviceSettings(const ParameterModel& m, std::uint8_t d) {
  return BuildSlotFrame(kDeviceSettingsSlot, m, d);
}

Bytes QueryDeviceSettings(std::uint8_t d) {
  const std::array<std::uint8_t, 8> zeros{};
  return BuildFrame(d, frame_type::kRead, 0, area::kDeviceSettings, 0, zeros);
}
Bytes QueryStatus(std::uint8_t d) { return Request(d, 0, area::kStatus); }
Bytes QueryCurrentBlock(std::uint8_t d) { return Request(d, 0, area::kActiveGroup); }
Bytes RecallGroup(std::uint8_t d, int n) { return Request(d, static_cast<std::uint8_t>(n), area::kActiveGroup); }
Bytes QueryGroupNames(std::uint8_t d) { return Request(d, 0, area::kGroupNames); }
Bytes ReadStoredGroup(std::uint8_t d, int n) { return Request(d, static_cast<std::uint8_t>(n), area::kStoredGroup); }

Bytes StoreGroup(std::uint8_t d, int n, std::string_view name) {
  // Blanks and control characters (0x00..0x20 and DEL); bytes from 0x80 up are text in the 8-bit code page (a GBK
  // character's bytes among them), never trimmed.
  const auto blank = [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= 0x20 || b == 0x7F;
  };
  while (!name.empty() && blank(name.front())) name.remove_prefix(1);
  while (!name.empty() && blank(name.back())) name.remove_suffix(1);
  std::array<std::uint8_t, 20> payload{};
  for (std::size_t i = 0; i < name.size() && i < payload.size() - 1; ++i)
    payload[i] = static_cast<std::uint8_t>(name[i]);
  return BuildFrame(d, frame_type::kWrite, static_cast<std::uint8_t>(n), area::kStoreGroup, 0, payload);
}

Bytes WriteBlockHeader(std::uint8_t d) { return BuildHeader(d, frame_type::kWrite, 0, area::kActiveGroup, 0, 320); }
Bytes WriteStoredGroupHeader(std::uint8_t d, int n) {
  return BuildHeader(d, frame_type::kWrite, static_cast<std::uint8_t>(n), area::kStoredGroup, 0, 320);
}

}  // namespace k7310

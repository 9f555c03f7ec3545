// The command catalogue: every frame the program sends, built from the model.
#pragma once

#include <cstdint>
#include <string_view>

#include "protocol/frame.h"
#include "protocol/model.h"

namespace k7310 {

inline constexpr int kSlotCount = 50;
inline constexpr int kBufferedSlots = 36;  // slots 1..36 own a 20-byte frame buffer
inline constexpr int kMainSettingsSlot = 28;
inline constexpr int kDeviceSettingsSlot = 29;
inline constexpr int kMainCrossoverSlot = 36;
inline constexpr int kQueryDeviceSettingsSlot = 37;

enum class SlotKind { None, ChannelSettings, Crossover, Limiter, EqBand, MainSettings, DeviceSettings,
                      QueryDeviceSettings };

struct SlotCommand {
  SlotKind kind = SlotKind::None;
  int index = 0;  // channel or flat band
  std::uint8_t areaCode = 0;
  std::uint8_t record = 0;
};

// What slot n (1..50) carries.
SlotCommand SlotTable(int slot);

// No slot: it carries nothing (its frame is empty) and queueing it does nothing.
inline constexpr int kNoSlot = 0;

constexpr bool IsOutputChannel(int c) { return c >= 0 && c < kOutputCount; }

// The slot of a command for a channel or a flat band. Only the outputs have channel settings of this kind and a
// limiter: the Main bus (and anything out of range) gets kNoSlot, so that WriteChannelSettings and WriteLimiter
// for it build nothing instead of the frame of some other slot.
constexpr int ChannelSettingsSlot(int c) { return IsOutputChannel(c) ? 1 + 3 * c : kNoSlot; }
constexpr int CrossoverSlot(int c) {
  return IsOutputChannel(c) ? 2 + 3 * c : c == kMain ? kMainCrossoverSlot : kNoSlot;
}
constexpr int LimiterSlot(int c) { return IsOutputChannel(c) ? 3 + 3 * c : kNoSlot; }
constexpr int EqBandSlot(int band) {
  return band < 0 || band >= kBandCount ? kNoSlot : band < 18 ? 10 + band : 12 + band;
}

// Address of a band's record: outputs by Area = channel and Record 3..8, Main by Area 5..10, Record 0.
std::uint8_t EqBandArea(int band);
std::uint8_t EqBandRecordNumber(int band);

// 20-byte parameter write frame.
Bytes BuildParameterFrame(std::uint8_t deviceIndex, std::uint8_t areaCode, std::uint8_t record,
                          const ParameterRecord& payload);

// The frame slot n carries for the model as it is now (slots 1..37); empty for any other number.
Bytes BuildSlotFrame(int slot, const ParameterModel& m, std::uint8_t deviceIndex);

Bytes WriteChannelSettings(const ParameterModel& m, std::uint8_t d, int channel);
Bytes WriteCrossover(const ParameterModel& m, std::uint8_t d, int channel);
Bytes WriteLimiter(const ParameterModel& m, std::uint8_t d, int channel);
Bytes WriteEqBand(const ParameterModel& m, std::uint8_t d, int band);
Bytes WriteMainSettings(const ParameterModel& m, std::uint8_t d);
Bytes WriteDeviceSettings(const ParameterModel& m, std::uint8_t d);

Bytes QueryDeviceSettings(std::uint8_t d);
Bytes QueryStatus(std::uint8_t d);
Bytes QueryCurrentBlock(std::uint8_t d);
Bytes RecallGroup(std::uint8_t d, int group);      // 1..8
Bytes QueryGroupNames(std::uint8_t d);
Bytes ReadStoredGroup(std::uint8_t d, int group);  // 1..20
// Name bytes as they go on the wire; blanks and control characters around them are removed, at most 19 bytes are
// kept so that a zero byte always ends the name.
Bytes StoreGroup(std::uint8_t d, int group, std::string_view nameBytes);
// First piece of a block upload: ten header bytes, no checksum, no end byte.
Bytes WriteBlockHeader(std::uint8_t d);
Bytes WriteStoredGroupHeader(std::uint8_t d, int group);

}  // namespace k7310

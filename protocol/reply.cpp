#include "protocol/reply.h"

#include <algorithm>

#include "eq/scales.h"
#include "protocol/frame.h"
#include "protocol/group_block.h"

namespace k7310 {
namespace {

int ByteAt(std::string_view t, std::size_t n) { return HexByteAt(t, n); }

bool HeadIs(const ReplyHead& h, int type, int group, int areaCode, int record, int length) {
  return h.type == type && h.group == group && h.area == areaCode && h.record == record && h.length == length;
}

}  // namespace

ReplyHead ReadHead(std::string_view rx) {
  ReplyHead h;
  h.type = ByteAt(rx, 4);
  h.group = ByteAt(rx, 5);
  h.area = ByteAt(rx, 6);
  h.record = ByteAt(rx, 7);
  const int hi = ByteAt(rx, 8), lo = ByteAt(rx, 9);
  h.length = hi < 0 || lo < 0 ? -1 : hi * 256 + lo;
  return h;
}

bool StartsWithSync(std::string_view rx) { return rx.substr(0, 6) == "A5A5A5"; }

std::optional<DeviceSettingsReply> DecodeDeviceSettings(std::string_view rx) {
  if (rx.size() < reply::kSettingsChars) return std::nullopt;
  if (!HeadIs(ReadHead(rx), frame_type::kDataReply, 0, area::kDeviceSettings, 0, 8)) return std::nullopt;
  DeviceSettingsReply r;
  r.lastLoadedGroup = std::max(ByteAt(rx, 10), 0);
  r.setting1 = std::max(ByteAt(rx, 11), 0);
  r.setting2 = std::max(ByteAt(rx, 12), 0);
  r.tempThreshold = std::max(ByteAt(rx, 15), 0);
  r.replyingIndex = std::max(ByteAt(rx, 3), 0);
  return r;
}

std::optional<StatusReply> DecodeStatus(std::string_view rx) {
  if (rx.size() < reply::kStatusChars) return std::nullopt;
  if (!HeadIs(ReadHead(rx), frame_type::kDataReply, 0, area::kStatus, 0, 8)) return std::nullopt;
  StatusReply r;
  r.tempRaw = std::min(std::max(ByteAt(rx, 12), 0) + 256 * std::max(ByteAt(rx, 13), 0), reply::kTempRawCap);
  r.tempStep = TemperatureStep(r.tempRaw);
  r.attenuationDb = std::max(ByteAt(rx, 14), 0);
  return r;
}

bool IsSettingsAck(std::string_view rx) {
  return rx.size() >= reply::kAckChars && HeadIs(ReadHead(rx), frame_type::kAcknowledge, 0, area::kDeviceSettings, 0, 0);
}

bool IsStoreAck(std::string_view rx) {
  return rx.size() >= reply::kAckChars && HeadIs(ReadHead(rx), frame_type::kAcknowledge, 0, 0, 0, 0);
}

bool IsStoredGroup(std::string_view rx) {
  return rx.size() >= kBlockTextLength && ByteAt(rx, 4) == frame_type::kDataReply && ByteAt(rx, 6) == area::kStoredGroup;
}

bool IsActiveGroup(std::string_view rx) {
  return rx.size() >= kBlockTextLength && ByteAt(rx, 4) == frame_type::kDataReply && ByteAt(rx, 6) == area::kActiveGroup;
}

std::optional<GroupNames> DecodeGroupNames(std::string_view rx) {
  if (rx.size() < reply::kNamesChars) return std::nullopt;
  if (ByteAt(rx, 4) != frame_type::kDataReply || ByteAt(rx, 5) != 0 || ByteAt(rx, 6) != area::kGroupNames)
    return std::nullopt;
  GroupNames names{};
  for (std::size_t j = 0; j < static_cast<std::size_t>(kGroupCount); ++j)
    for (std::size_t k = 0; k < static_cast<std::size_t>(kGroupNameSize); ++k)
      names[j][k] = static_cast<std::uint8_t>(std::max(ByteAt(rx, 10 + 20 * j + k), 0));
  return names;
}

int TemperatureStep(int tempRaw) {
  return NearestIndex(TemperatureTable, static_cast<double>(std::min(tempRaw, reply::kTempRawCap)));
}

}  // namespace k7310

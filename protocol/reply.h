// The replies of the processor, read from the front of the receive text. Each decoder looks only at the front, by
// fixed positions, and returns what the reply carries as numbers; nothing here consumes text or knows who awaits a
// reply (the receive parser does the first, the device backend's dispatch the second). Checksums are not verified.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace k7310 {

inline constexpr int kGroupCount = 20;
inline constexpr int kGroupNameSize = 20;
using GroupNameBytes = std::array<std::uint8_t, kGroupNameSize>;
using GroupNames = std::array<GroupNameBytes, kGroupCount>;

namespace reply {
// Lengths in hex characters.
inline constexpr std::size_t kSettingsChars = 40;  // device settings reply: header, 8 bytes, checksum, end
inline constexpr std::size_t kStatusChars = 40;    // status reply
inline constexpr std::size_t kAckChars = 24;       // acknowledge: header, checksum, end
inline constexpr std::size_t kNamesChars = 824;    // group names reply: header, 400 bytes, checksum, end
// Receive text this long is dropped whole.
inline constexpr std::size_t kRxHexLimit = 1000;
// The temperature reading is capped here before it is looked up.
inline constexpr int kTempRawCap = 5118;
}  // namespace reply

// The address fields of a reply: frame bytes 4 to 9 (type, group, area, record, payload length high byte first).
// A field is -1 when the text does not reach it or does not hold hex digits there.
struct ReplyHead {
  int type = -1;
  int group = -1;
  int area = -1;
  int record = -1;
  int length = -1;
};
ReplyHead ReadHead(std::string_view rx);
// The text starts with the three sync bytes.
bool StartsWithSync(std::string_view rx);

struct DeviceSettingsReply {
  int lastLoadedGroup = 0;  // byte 10
  int setting1 = 0;         // byte 11
  int setting2 = 0;         // byte 12
  int tempThreshold = 0;    // byte 15
  int replyingIndex = 0;    // byte 3: the device index of the unit that answered
};
struct StatusReply {
  int tempRaw = 0;        // bytes 12 and 13, low byte first, capped
  int tempStep = 0;       // nearest temperature table index of tempRaw
  int attenuationDb = 0;  // byte 14
};

std::optional<DeviceSettingsReply> DecodeDeviceSettings(std::string_view rx);
std::optional<StatusReply> DecodeStatus(std::string_view rx);
bool IsSettingsAck(std::string_view rx);
bool IsStoreAck(std::string_view rx);
// A stored group (area 29) or the active group (area 28), complete (664 characters).
bool IsStoredGroup(std::string_view rx);
bool IsActiveGroup(std::string_view rx);
std::optional<GroupNames> DecodeGroupNames(std::string_view rx);

// Temperature step of a raw reading: the nearest temperature table index, the reading capped first.
int TemperatureStep(int tempRaw);

// What one run of the receive parser recognised, with the route each reply took.
namespace rx {
struct DeviceSettings {
  DeviceSettingsReply values;
};
struct Status {
  StatusReply values;
};
// Acknowledges: `awaited` when a feature was waiting for it (its routing flag was set and is now clear).
struct SettingsAck {
  bool awaited = false;
};
struct StoreAck {
  bool awaited = false;
};
// One block of an all-groups download; `count` blocks so far, the 20th ends the download.
struct StoredGroup {
  std::string block;
  int count = 0;
  bool last = false;
};
// The active group, by the route it took.
enum class BlockRoute { Apply, Recall, Keep, DumpOne };
struct ActiveGroup {
  BlockRoute route = BlockRoute::Apply;
  std::string block;  // the 664 characters (Keep, DumpOne)
};
struct Names {};  // the names are in the session
}  // namespace rx

using Reply = std::variant<rx::DeviceSettings, rx::Status, rx::SettingsAck, rx::StoreAck, rx::StoredGroup,
                           rx::ActiveGroup, rx::Names>;

}  // namespace k7310

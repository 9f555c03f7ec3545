// The 332-byte group block: header, forty 8-byte records in address order, checksum, end byte.
// Carried on the wire and in files as 664 upper-case hex characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/frame.h"
#include "protocol/model.h"

namespace k7310 {

inline constexpr std::size_t kBlockSize = 332;
inline constexpr std::size_t kBlockTextLength = 2 * kBlockSize;  // 664
inline constexpr std::size_t kBlockPayloadSize = 320;
inline constexpr std::size_t kBlockBodySize = kBlockPayloadSize + 2;  // payload, checksum, end byte
inline constexpr int kBlockRecordCount = 40;

// Block record k of an address: k = 9 x Area + Record for the outputs, 24 + Area for the Main bus (Area 3..10).
// -1 for an address that has no block record.
int BlockRecordIndex(int areaCode, int record);
// First byte of record k inside the block.
constexpr std::size_t BlockRecordOffset(int k) { return 10 + 8 * static_cast<std::size_t>(k); }

// True when text holds at least 664 characters and the first 664 are hexadecimal digits.
bool IsBlockText(std::string_view text);

// Copies the fields of a block into the model and clamps them to the kept ranges. Device settings are not part of a
// block and stay. Returns false, leaving the model untouched, when the text is no block text.
bool DecodeBlock(std::string_view text, ParameterModel& m);

// The body of an upload: the 320 payload bytes of the block text, the frame checksum over header and payload
// (target 0 = the active group, n = stored group n) and 0xAA. Empty when the text is no block text.
Bytes BuildBlockBody(std::string_view blockText, std::uint8_t deviceIndex, int targetGroup);

}  // namespace k7310
